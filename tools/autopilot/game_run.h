// Running one game headless with the autopilot at the controls: a fresh
// save directory when none is given, the runner's options for a new game
// or for the whole game from the intro, an optional recording, and the
// pilot's report of how it went.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "autopilot.h"

namespace autopilot {

struct GameSetup {
    std::string dataDir;  // empty: the runner's default
    std::string saveDir;  // empty: a fresh temporary directory, removed afterwards
    uint32_t seed = 1;
    int level = 1;           // ignored for the whole game
    std::string recordFile;  // empty: no recording
    std::string language;    // "cs" or "en"; empty: Czech, the game's own
    int64_t frameLimit = 400000;
    std::vector<std::string> screenshots;  // "FRAME:FILE.png", as kavrix takes them
    PilotOptions pilot;
};

struct GameResult {
    int status = 0;  // the runner's exit status
    PilotReport report;
    double seconds = 0;  // wall-clock time of the run
};

GameResult PlayGame(const GameSetup& setup);

// A new empty directory under the system's temporary directory; throws
// std::runtime_error when it cannot be made.
std::string MakeTempDir();
void RemoveDir(const std::string& dir);

}  // namespace autopilot
