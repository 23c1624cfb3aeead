// The survival survey: the autopilot plays every chosen level at every
// chosen difficulty with a run of seeds (each a new game started at that
// level, so with none of the weapons earlier levels would give), or the
// whole game from the intro, and prints how often it got through.
#pragma once
#include <cstdint>
#include <string>

namespace autopilot {

struct SurveySetup {
    std::string dataDir;
    int firstLevel = 1, lastLevel = 9;
    int firstDifficulty = 1, lastDifficulty = 3;
    int seeds = 20;
    uint32_t seedBase = 1;
    int jobs = 1;  // games played side by side (processes)
    bool wholeGame = false;
};

// Prints one line per game and the table; returns 0.
int RunSurvey(const SurveySetup& setup);

}  // namespace autopilot
