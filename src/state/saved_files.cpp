// Reading and writing the three saved files: settings, score table and the
// six profile slots. A damaged file is reported with its name and its
// defaults are used, and kept before it is first saved over; every write
// replaces its file atomically.
#include "state/saved_files.h"

#include <algorithm>

#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <vector>

#include "media/utf8_path.h"
#include "media/whole_file.h"
#include "state/damaged_saves.h"
#include "state/user_folders.h"
#include "state/world.h"

namespace {

enum class ReadResult { Missing, Damaged, Ok };

// Something stands at path (keepable) or cannot even be looked at.
ReadResult Damaged(DamagedSavedFile& note, const std::string& path, const std::string& problem, bool keepable = true) {
    NoteDamagedSavedFile(note, path, problem, keepable);
    return ReadResult::Damaged;
}

// Reads the first `size` bytes of a saved file. A longer file is accepted
// (only its first record counts); a shorter or unreadable one is reported and
// its defaults are used, so one damaged file neither keeps the game from
// starting nor stops the other files from loading. Only a regular file is
// read: a folder, pipe or device in its place is reported as what it is and
// never read, so a pipe cannot hold up the start. The damage is noted for the
// player and for keeping the file before it is saved over (not when the
// place cannot even be looked at).
ReadResult ReadRecord(const std::string& path, uint8_t* out, size_t size, DamagedSavedFile& note) {
    note = DamagedSavedFile{};
    size_t got = 0;
    const WholeFileRead read = ReadFileStart(path, out, size, got);
    if (read.status == WholeFileStatus::Missing) return ReadResult::Missing;
    if (!read.Ok()) return Damaged(note, path, read.problem, read.status != WholeFileStatus::Unexaminable);
    if (got < size)
        return Damaged(note, path,
                       "is damaged (" + std::to_string(got) + " bytes, " + std::to_string(size) + " expected)");
    return ReadResult::Ok;
}

// Where a save goes; the per-user save folder is created on the first save.
std::string PathToSave(const World& w, const char* fileName) {
    if (w.shell.options.createSaveDir) CreateUserFolder(w.shell.options.saveDir);
    return SavedFilePath(w, fileName);
}

// One save: a file found damaged at start-up is first kept under a name of
// its own, then the new record replaces it. A replay saves nothing.
void WriteSavedFile(World& w, DamagedSavedFile& damage, const char* fileName, const uint8_t* bytes, size_t size) {
    if (!w.shell.options.writeSaves) return;
    const std::string path = PathToSave(w, fileName);
    KeepDamagedSavedFile(damage, path);
    WriteFileAtomically(path, bytes, size, "saved file ");
}

// NAME.tmpXXXXXX of one of the three files: the temporary name a save
// writes before it renames (mkstemp's six letters and digits).
bool IsSaveTemporary(const std::string& name) {
    for (const char* file : {kSettingsFileName, kScoresFileName, kProfilesFileName}) {
        const std::string prefix = std::string(file) + ".tmp";
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        return std::all_of(name.begin() + long(prefix.size()), name.end(),
                           [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
    }
    return false;
}

}  // namespace

void RemoveStaleSaveTemporaries(const World& w) {
    namespace fs = std::filesystem;
    // A save renames its file within moments; one a minute old was stopped
    // for good (a save of another game running beside this one is spared).
    constexpr auto kStale = std::chrono::minutes(1);
    const auto now = fs::file_time_type::clock::now();
    std::error_code ec;
    for (fs::directory_iterator it(Utf8Path(w.shell.options.saveDir), ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        std::error_code fileError;
        if (!IsSaveTemporary(path.filename().string()) || !fs::is_regular_file(fs::symlink_status(path, fileError)))
            continue;
        const auto written = fs::last_write_time(path, fileError);
        if (fileError || now - written < kStale) continue;
        if (fs::remove(path, fileError))
            std::cerr << "Kavrix: removed '" << path.string() << "', left behind by a save that did not finish\n";
    }
}

std::string SavedFilePath(const World& w, const char* fileName) {
    return (Utf8Path(w.shell.options.saveDir) / fileName).string();
}

void DefaultScores(ScoreTableRecord& table) {
    table = ScoreTableRecord{};
    for (int i = 1; i <= 10; ++i) {
        table.Scores[i] = 55000 - 5000 * i;
        table.Names[i].Assign("Kavrix");
    }
}

void DefaultProfiles(SavedFiles& saved) {
    for (int k = 1; k <= 6; ++k) {
        const uint8_t zeros[kProgressRecordSize] = {};
        ProgressRecord slot = DecodeProgress(zeros);  // every field zero
        slot.Level = 3;
        slot.ScrollDistance = 600;
        saved.ProfileTable[k] = slot;
    }
}

void LoadSettingsFile(World& w) {
    uint8_t bytes[kSettingsFileSize];
    const std::string path = SavedFilePath(w, kSettingsFileName);
    if (ReadRecord(path, bytes, sizeof bytes, w.saved.settingsDamage) == ReadResult::Ok) {
        w.shell.SoundEnabled = bytes[0];
        w.shell.MusicEnabled = bytes[1];
        w.shell.MusicVolume = bytes[2];  // taken as it is, even above 100
    } else {
        w.shell.SoundEnabled = 1;
        w.shell.MusicEnabled = 1;
        w.shell.MusicVolume = 100;
    }
    w.saved.Settings = {w.shell.SoundEnabled, w.shell.MusicEnabled, w.shell.MusicVolume};
}

void LoadScoresFile(World& w) {
    uint8_t bytes[kScoresFileSize];
    if (ReadRecord(SavedFilePath(w, kScoresFileName), bytes, sizeof bytes, w.saved.scoresDamage) == ReadResult::Ok)
        w.saved.ScoreTable = DecodeScores(bytes);
    else DefaultScores(w.saved.ScoreTable);
}

void LoadProfilesFile(World& w) {
    uint8_t bytes[kProfilesFileSize];
    const std::string path = SavedFilePath(w, kProfilesFileName);
    if (ReadRecord(path, bytes, sizeof bytes, w.saved.profilesDamage) == ReadResult::Ok) {
        for (int k = 1; k <= 6; ++k)
            w.saved.ProfileTable[k] = DecodeProgress(bytes + kProgressRecordSize * size_t(k - 1));
    } else {
        DefaultProfiles(w.saved);
    }
}

void SaveSettings(World& w) {
    w.saved.Settings = {w.shell.SoundEnabled, w.shell.MusicEnabled, w.shell.MusicVolume};
    const uint8_t bytes[kSettingsFileSize] = {w.saved.Settings.sound, w.saved.Settings.music, w.saved.Settings.volume};
    WriteSavedFile(w, w.saved.settingsDamage, kSettingsFileName, bytes, sizeof bytes);
}

void SaveScores(World& w) {
    const auto bytes = EncodeScores(w.saved.ScoreTable);
    WriteSavedFile(w, w.saved.scoresDamage, kScoresFileName, bytes.data(), bytes.size());
}

void SaveProfiles(World& w) {
    std::array<uint8_t, kProfilesFileSize> bytes{};
    for (int k = 1; k <= 6; ++k) {
        const auto slot = EncodeProgress(w.saved.ProfileTable[k]);
        std::memcpy(bytes.data() + kProgressRecordSize * size_t(k - 1), slot.data(), slot.size());
    }
    WriteSavedFile(w, w.saved.profilesDamage, kProfilesFileName, bytes.data(), bytes.size());
}

void ClearProfileSlot(World& w) {
    const int32_t slot = w.saved.CurrentProfile;
    // With no active slot there is nothing to clear: no slot and no file is
    // touched (slot 0 would otherwise address memory before the table).
    if (slot < 1 || slot > 6) {
        w.saved.CurrentProfile = 0;
        return;
    }
    ProgressRecord& p = w.saved.ProfileTable[slot];
    p.PlayerName.length = 0;
    p.Score = 0;
    p.ScrollDistance = 600;
    p.Level = 1;
    SaveProfiles(w);
    w.saved.CurrentProfile = 0;
}

int EnterScore(ScoreTableRecord& table, ProgressRecord& progress) {
    int rank = 0;
    for (int i = 1; i <= 10; ++i) {
        if (table.Scores[i] < progress.Score) {
            rank = i;
            break;
        }
    }
    if (rank == 0) return 0;
    for (int i = 10; i > rank; --i) {
        table.Scores[i] = table.Scores[i - 1];
        table.Names[i] = table.Names[i - 1];
    }
    table.Scores[rank] = progress.Score;
    table.Names[rank] = progress.PlayerName;
    progress.Score = 0;
    return rank;
}

int EnterScore(World& w) {
    const int rank = EnterScore(w.saved.ScoreTable, w.game.Progress);
    if (rank == 0) return 0;
    // The replays move with their entries; the new entry's replay is put
    // beside it once its recording is kept.
    auto& replays = w.saved.ScoreReplays;
    for (int i = 10; i > rank; --i) replays[i] = replays[i - 1];
    replays[rank] = ReplayName{};
    SaveScores(w);
    return rank;
}

ProgressRecord ResumableProgress(const ProgressRecord& slot) {
    ProgressRecord p = slot;
    p.PlayerX = std::clamp(p.PlayerX, 39, 768);
    p.PlayerY = std::clamp(p.PlayerY, 36, 499);
    p.SpeedX = std::clamp(p.SpeedX, -36, 36);
    p.SpeedY = std::clamp(p.SpeedY, -23, 23);
    p.Energy = std::clamp(p.Energy, -1000, 200);
    p.Score = std::clamp(p.Score, 0, 999999999);
    p.Level = std::clamp(p.Level, 1, 9);
    p.ScrollDistance = std::clamp(p.ScrollDistance, 0, 1000000);
    p.LevelEnd = std::clamp(p.LevelEnd, 0, 1000000);
    p.ShipExplosionFrame = std::clamp(p.ShipExplosionFrame, -1, 8);
    p.Lives = std::clamp<int8_t>(p.Lives, 0, 9);
    return p;
}
