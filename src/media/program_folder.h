// The folder the running program was started from, so that data installed
// or copied beside it can be found wherever the whole tree was moved.
#pragma once
#include <string>

// The program's folder as an absolute path (SDL's base path, else the target
// of /proc/self/exe), or empty when neither can tell.
std::string ProgramFolder();
