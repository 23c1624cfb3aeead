// The program's environment variables as the game's UTF-8 text (on Windows
// the narrow environment is in the ANSI code page, so it is read in UTF-16).
#pragma once
#include <string>

// The variable's value; empty when it is unset.
std::string EnvironmentVariable(const char* name);
