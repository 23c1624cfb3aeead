// The soak: the autopilot plays game after game (every level at every
// difficulty in turn, a new seed each time) until the frames asked for have
// run, and reports the frames per second, the errors the game printed and
// the resident memory at the start and at the end. Not part of the tests.
#pragma once
#include <string>

namespace autopilot {

// Returns 0 when no error was printed, 1 otherwise.
int RunSoak(const std::string& dataDir, long frames);

}  // namespace autopilot
