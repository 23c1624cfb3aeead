// What survives between runs, as held in memory: the settings, the ten best
// scores and the six profile slots (1-based), and the active slot.
#pragma once
#include <cstdint>

#include "state/fixed.h"
#include "state/game_state.h"

struct SettingsRecord {
    uint8_t sound = 1;
    uint8_t music = 1;
    uint8_t volume = 100;
};

struct ScoreTableRecord {
    NumberedArray<int32_t, 10> Scores;        // rank 1..10, best first
    NumberedArray<ShortString20, 10> Names;  // parallel to Scores
    uint8_t padding[2] = {};
};

struct SavedFiles {
    SettingsRecord Settings;
    ScoreTableRecord ScoreTable;
    NumberedArray<ProgressRecord, 6> ProfileTable;  // slots 1..6
    int32_t CurrentProfile = 0;                     // 0 none
};
