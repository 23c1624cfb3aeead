// The three saved files: "nastaveni.lev" (3 bytes), "skore.lev" (252 bytes)
// and "profily.lev" (648 bytes), serialised field by field in little-endian,
// written atomically into the save directory.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "state/saved_state.h"

struct World;

constexpr size_t kSettingsFileSize = 3;
constexpr size_t kScoresFileSize = 252;
constexpr size_t kProgressRecordSize = 108;
constexpr size_t kProfilesFileSize = 6 * kProgressRecordSize;

std::array<uint8_t, kProgressRecordSize> EncodeProgress(const ProgressRecord& p);
ProgressRecord DecodeProgress(const uint8_t* bytes);  // 108 bytes
std::array<uint8_t, kScoresFileSize> EncodeScores(const ScoreTableRecord& table);
ScoreTableRecord DecodeScores(const uint8_t* bytes);  // 252 bytes

// Start-up: reads each file or applies its defaults; a damaged file is
// reported on stderr with its name, its defaults are used, and it is noted
// in SavedFiles (settingsDamage, ...) for the player and for keeping it as
// NAME.damaged before the first save over it.
void LoadSettingsFile(World& w);
void LoadScoresFile(World& w);
void LoadProfilesFile(World& w);
// Start-up, before the files are read: removes the temporary files
// (NAME.tmpXXXXXX) that saves stopped between writing and renaming left in
// the save directory, once they are a minute old, and says so on stderr.
void RemoveStaleSaveTemporaries(const World& w);
void DefaultScores(ScoreTableRecord& table);
void DefaultProfiles(SavedFiles& saved);

void SaveSettings(World& w);
void SaveScores(World& w);
void SaveProfiles(World& w);
void ClearProfileSlot(World& w);
// The score entry rule: returns the rank 1..10 taken, or 0 when none.
int EnterScore(ScoreTableRecord& table, ProgressRecord& progress);
// The whole entry of a finished game: the rule above on ScoreTable and
// Progress (the kept replays beside the entries moving with them), then
// SaveScores when a rank was taken. Returns the rank or 0.
int EnterScore(World& w);

constexpr const char* kSettingsFileName = "nastaveni.lev";
constexpr const char* kScoresFileName = "skore.lev";
constexpr const char* kProfilesFileName = "profily.lev";
// Where a saved file lives: the save directory (--save-dir, else the per-user
// data folder for the windowed game and the working directory for headless
// runs and replays) joined with the file name.
std::string SavedFilePath(const World& w, const char* fileName);
// A profile slot as a game resumes from it. The file's values are taken as
// stored, except those no game can reach (a damaged file): the ship's place
// and speeds are brought inside the field, the level into 1..9 and the
// distances into a range that frame arithmetic cannot overflow.
ProgressRecord ResumableProgress(const ProgressRecord& slot);
