// What survives between runs, as held in memory: the settings, the ten best
// scores and the six profile slots (1-based), and the active slot.
#pragma once
#include <cstdint>
#include <string>

#include "state/fixed.h"
#include "state/game_state.h"

struct SettingsRecord {
    uint8_t sound = 1;
    uint8_t music = 1;
    uint8_t volume = 100;
};

struct ScoreTableRecord {
    NumberedArray<int32_t, 10> Scores;       // rank 1..10, best first
    NumberedArray<ShortString20, 10> Names;  // parallel to Scores
    uint8_t padding[2] = {};
};

// A saved file found damaged at start-up (too short, unreadable, or not a
// file at all): what was wrong with it, and the name it is kept under before
// the game first saves over it.
struct DamagedSavedFile {
    std::string path;     // empty: the file was read whole, or was missing
    std::string problem;  // "is damaged (100 bytes, 648 expected)", "is a folder, not a file"
    std::string keepAs;   // empty when nothing stands there to keep
    bool kept = false;
};

// The name of a kept replay (its file in the replay folder without
// ".replay"), empty for none.
using ReplayName = FixedString<32>;

struct SavedFiles {
    SettingsRecord Settings;
    ScoreTableRecord ScoreTable;
    // Beside each entry of the score table, the kept replay of the game that
    // made it (none for entries without one): the score page marks those
    // entries, and they move down with the table as later scores enter.
    NumberedArray<ReplayName, 10> ScoreReplays;
    NumberedArray<ProgressRecord, 6> ProfileTable;  // slots 1..6
    int32_t CurrentProfile = 0;                     // 0 none
    DamagedSavedFile settingsDamage, scoresDamage, profilesDamage;
};
