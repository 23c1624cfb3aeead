// Finding the game's data (video/ and audio/) when --data does not name it:
// the KAVRIX_DATA variable, the working directory, data/ beside the program,
// the installed data relative to the program, the install prefix.
#pragma once
#include <string>

// The first place in the order above that holds the game's data. When none
// does, returns false and error names every place tried and the --data option.
bool FindDataFolder(std::string& folder, std::string& error);
