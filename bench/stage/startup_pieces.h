// Where the game's start-up goes: the same loading steps the game takes, in
// its order, each timed on the wall clock in one fresh process (so the first
// use of fontconfig, SDL or libopenmpt is counted where it happens).
#pragma once
#include <string>

// Prints one line per step to stdout; with window, SDL's window and renderer
// are opened first as the windowed game does. Returns the exit status.
int TimeStartUpPieces(const std::string& dataDir, bool window);
