// The three saved files: byte layouts against hand-written byte strings,
// first-run defaults, a profile's round trip, the score entry rule, and the
// handling of longer files and of what is not a file, atomic writes and
// clearing without a slot (damaged files: damaged_saves_test.cpp).
#include "state/saved_files.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "state/world.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    return names;
}

ProgressRecord SampleProgress() {
    ProgressRecord p;
    p.PlayerX = 0x01020304;
    p.PlayerY = -2;
    p.SpeedX = -36;
    p.SpeedY = 23;
    p.Energy = 200;
    p.Score = 123456;
    p.Difficulty = 3;
    p.HasGoodLaser = 1;
    p.HasDiagonalBalls = 0;
    p.HasRockets = 1;
    p.HasSideBalls = 0;
    p.HasBombs = 1;
    p.LastWeapon = -1;
    p.PlayerName.Assign("Petr");
    p.Level = 7;
    p.ScrollDistance = 9661;
    p.ItemSlots[1] = 5;
    p.ItemSlots[2] = 0;
    p.ItemSlots[3] = 7;
    p.LevelEnd = 9600;
    p.WeaponPickupState[1] = 1;
    p.WeaponPickupState[5] = 1;
    p.BlackBoxCount = 4;
    p.ShipExplosionFrame = -1;
    p.Lives = -1;
    return p;
}

// The 108 bytes of SampleProgress as a profile slot holds them.
const std::vector<uint8_t> kSampleProgressBytes = {
    0x04, 0x03, 0x02, 0x01,        // 0 PlayerX
    0xFE, 0xFF, 0xFF, 0xFF,        // 4 PlayerY -2
    0xDC, 0xFF, 0xFF, 0xFF,        // 8 SpeedX -36
    0x17, 0x00, 0x00, 0x00,        // 12 SpeedY 23
    0xC8, 0x00, 0x00, 0x00,        // 16 Energy 200
    0x40, 0xE2, 0x01, 0x00,        // 20 Score 123456
    0x03,                          // 24 Difficulty
    0x01, 0x00, 0x01, 0x00, 0x01,  // 25..29 weapon flags
    0xFF,                          // 30 LastWeapon -1
    0x04, 'P',  'e',  't',  'r',  0,    0,    0,    0,    0,    0,    0,
    0,    0,    0,    0,    0,    0,    0,    0,    0,                       // 31 PlayerName
    0x07, 0x00, 0x00, 0x00,                                                  // 52 Level
    0xBD, 0x25, 0x00, 0x00,                                                  // 56 ScrollDistance 9661
    0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00, 0x00,  // 60 ItemSlots
    0x80, 0x25, 0x00, 0x00,                                                  // 72 LevelEnd 9600
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  // 76 WeaponPickupState
    0x04, 0x00, 0x00, 0x00,                          // 96 BlackBoxCount + padding
    0xFF, 0xFF, 0xFF, 0xFF,                          // 100 ShipExplosionFrame -1
    0xFF, 0x00, 0x00, 0x00,                          // 104 Lives -1 + padding
};

}  // namespace

TEST(SavedFileLayout, ProgressRecordIsWrittenFieldByFieldAtItsOffsets) {
    ASSERT_EQ(kSampleProgressBytes.size(), 108u);
    const auto bytes = EncodeProgress(SampleProgress());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), kSampleProgressBytes);

    const ProgressRecord back = DecodeProgress(kSampleProgressBytes.data());
    EXPECT_EQ(back.LastWeapon, -1);
    EXPECT_EQ(back.Lives, -1);
    EXPECT_EQ(back.PlayerName.View(), "Petr");
    EXPECT_EQ(back.ScrollDistance, 9661);
    EXPECT_EQ(back.ItemSlots[3], 7);
    EXPECT_EQ(back.WeaponPickupState[5], 1);
    EXPECT_EQ(back.PlayerY, -2);
}

TEST(SavedFileLayout, ProfileFileHoldsSixSlotsOf108Bytes) {
    SaveDirWorld s("profiles-layout");
    DefaultProfiles(s.w().saved);
    s.w().saved.ProfileTable[3] = SampleProgress();
    SaveProfiles(s.w());
    const auto file = ReadFileBytes(s.Path("profily.lev"));
    ASSERT_EQ(file.size(), 648u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 216, file.begin() + 324), kSampleProgressBytes);
    // A free default slot: empty name, Level 3, ScrollDistance 600, all else zero.
    std::vector<uint8_t> freeSlot(108, 0);
    freeSlot[52] = 3;
    freeSlot[56] = 0x58;
    freeSlot[57] = 0x02;
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 108), freeSlot);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 540, file.end()), freeSlot);
}

TEST(SavedFileLayout, ScoreFileIsTenScoresThenTenNamesThenPadding) {
    SaveDirWorld s("scores-layout");
    DefaultScores(s.w().saved.ScoreTable);
    s.w().saved.ScoreTable.Scores[1] = 70000;
    s.w().saved.ScoreTable.Names[2].Assign("Jana");
    SaveScores(s.w());
    const auto file = ReadFileBytes(s.Path("skore.lev"));
    ASSERT_EQ(file.size(), 252u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 8),
              (std::vector<uint8_t>{0x70, 0x11, 0x01, 0x00, 0xC8, 0xAF, 0x00, 0x00}));  // 70000, 45000
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 36, file.begin() + 40),
              (std::vector<uint8_t>{0x88, 0x13, 0x00, 0x00}));  // rank 10: 5000
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 40, file.begin() + 47),
              (std::vector<uint8_t>{6, 'K', 'a', 'v', 'r', 'i', 'x'}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 61, file.begin() + 66),
              (std::vector<uint8_t>{4, 'J', 'a', 'n', 'a'}));
    EXPECT_EQ(file[40 + 21 * 9], 6);  // rank 10's name
    EXPECT_EQ(file[250], 0);
    EXPECT_EQ(file[251], 0);
}

TEST(SavedFileLayout, SettingsFileIsThreeBytesSoundMusicVolume) {
    SaveDirWorld s("settings-layout");
    s.w().shell.SoundEnabled = 0;
    s.w().shell.MusicEnabled = 1;
    s.w().shell.MusicVolume = 57;
    SaveSettings(s.w());
    EXPECT_EQ(ReadFileBytes(s.Path("nastaveni.lev")), (std::vector<uint8_t>{0, 1, 57}));

    // Read back as it stands, a volume above 100 included.
    WriteFileBytes(s.Path("nastaveni.lev"), {1, 0, 150});
    LoadSettingsFile(s.w());
    EXPECT_EQ(s.w().shell.SoundEnabled, 1);
    EXPECT_EQ(s.w().shell.MusicEnabled, 0);
    EXPECT_EQ(s.w().shell.MusicVolume, 150);
}

TEST(SavedFiles, FirstRunUsesDefaultsAndWritesNothing) {
    SaveDirWorld s("first-run");
    s.w().shell.SoundEnabled = 0;
    LoadSettingsFile(s.w());
    LoadScoresFile(s.w());
    LoadProfilesFile(s.w());
    EXPECT_EQ(s.w().shell.SoundEnabled, 1);
    EXPECT_EQ(s.w().shell.MusicEnabled, 1);
    EXPECT_EQ(s.w().shell.MusicVolume, 100);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(s.w().saved.ScoreTable.Scores[i], 55000 - 5000 * i);
        EXPECT_EQ(s.w().saved.ScoreTable.Names[i].View(), "Kavrix");
    }
    for (int k = 1; k <= 6; ++k) {
        const ProgressRecord& slot = s.w().saved.ProfileTable[k];
        EXPECT_TRUE(slot.PlayerName.Empty());
        EXPECT_EQ(slot.Level, 3);
        EXPECT_EQ(slot.ScrollDistance, 600);
        EXPECT_EQ(slot.Lives, 0);
        EXPECT_EQ(slot.Energy, 0);
    }
    EXPECT_TRUE(FilesIn(s.dir).empty());
}

TEST(SavedFiles, ProfileSurvivesTheRoundTripThroughTheFile) {
    SaveDirWorld s("round-trip");
    LoadProfilesFile(s.w());
    const ProgressRecord saved = SampleProgress();
    s.w().saved.ProfileTable[2] = saved;
    SaveProfiles(s.w());

    SaveDirWorld other("round-trip-read");
    other.w().shell.options.saveDir = s.dir;
    LoadProfilesFile(other.w());
    const ProgressRecord& back = other.w().saved.ProfileTable[2];
    EXPECT_EQ(back.Level, saved.Level);
    EXPECT_EQ(back.ScrollDistance, saved.ScrollDistance);
    EXPECT_EQ(back.Score, saved.Score);
    EXPECT_EQ(back.Lives, saved.Lives);
    EXPECT_EQ(back.PlayerName.View(), "Petr");
    EXPECT_EQ(back.HasRockets, 1);
    EXPECT_EQ(back.HasBombs, 1);
    EXPECT_EQ(back.LastWeapon, -1);
    EXPECT_EQ(back.ItemSlots[1], 5);
    EXPECT_EQ(back.Difficulty, 3);
    EXPECT_EQ(EncodeProgress(back), EncodeProgress(saved));
    EXPECT_TRUE(other.w().saved.ProfileTable[1].PlayerName.Empty());
}

TEST(ScoreEntry, EqualScoreStaysOutOnePointMoreEntersAtRankTen) {
    ScoreTableRecord table;
    DefaultScores(table);
    ProgressRecord p;
    p.PlayerName.Assign("Eva");
    p.Score = 5000;
    EXPECT_EQ(EnterScore(table, p), 0);
    EXPECT_EQ(p.Score, 5000);
    EXPECT_EQ(table.Names[10].View(), "Kavrix");

    p.Score = 5001;
    EXPECT_EQ(EnterScore(table, p), 10);
    EXPECT_EQ(table.Scores[10], 5001);
    EXPECT_EQ(table.Names[10].View(), "Eva");
    EXPECT_EQ(table.Scores[9], 10000);
    EXPECT_EQ(p.Score, 0);
}

TEST(ScoreEntry, EqualScoreGoesBelowAndLowerRanksMoveDown) {
    ScoreTableRecord table;
    DefaultScores(table);
    ProgressRecord p;
    p.PlayerName.Assign("Ota");
    p.Score = 45000;  // equal to rank 2
    EXPECT_EQ(EnterScore(table, p), 3);
    EXPECT_EQ(table.Scores[2], 45000);
    EXPECT_EQ(table.Names[2].View(), "Kavrix");
    EXPECT_EQ(table.Names[3].View(), "Ota");
    EXPECT_EQ(table.Scores[4], 40000);
    EXPECT_EQ(table.Scores[10], 10000);  // old rank 10 (5000) dropped out
}

TEST(ScoreEntry, WorldEntryWritesTheScoreFileOnlyWhenARankIsTaken) {
    SaveDirWorld s("score-save");
    DefaultScores(s.w().saved.ScoreTable);
    s.w().game.Progress.Score = 100;
    EXPECT_EQ(EnterScore(s.w()), 0);
    EXPECT_FALSE(fs::exists(s.Path("skore.lev")));
    s.w().game.Progress.Score = 60000;
    s.w().game.Progress.PlayerName.Assign("Iva");
    EXPECT_EQ(EnterScore(s.w()), 1);
    const auto file = ReadFileBytes(s.Path("skore.lev"));
    ASSERT_EQ(file.size(), 252u);
    EXPECT_EQ(file[0] | file[1] << 8 | file[2] << 16, 60000);
    EXPECT_EQ(file[40], 3);
}

TEST(SavedFilesMended, NameLengthAbove20IsClampedTo20) {
    std::vector<uint8_t> slot = kSampleProgressBytes;
    slot[31] = 200;
    for (int i = 0; i < 20; ++i) slot[32 + size_t(i)] = uint8_t('a' + i);
    const ProgressRecord p = DecodeProgress(slot.data());
    EXPECT_EQ(p.PlayerName.length, 20);
    EXPECT_EQ(p.PlayerName.View(), "abcdefghijklmnopqrst");
    EXPECT_EQ(p.Level, 7);  // the fields after the name are still in place
    // Written back with the clamped length, every other byte as it was.
    const auto again = EncodeProgress(p);
    std::vector<uint8_t> expected = slot;
    expected[31] = 20;
    EXPECT_EQ(std::vector<uint8_t>(again.begin(), again.end()), expected);

    std::vector<uint8_t> scores(252, 0);
    scores[40 + 21 * 4] = 0xFF;
    const ScoreTableRecord table = DecodeScores(scores.data());
    EXPECT_EQ(table.Names[5].length, 20);
    EXPECT_EQ(table.Names[6].View().size(), 0u);
    EXPECT_EQ(EncodeScores(table)[40 + 21 * 4], 20);
}

TEST(SavedFilesMended, OnlyRegularFilesAreReadAPipeFolderOrDeviceIsNamedAndNothingWaits) {
    SaveDirWorld s("not-files");
    ASSERT_EQ(::mkfifo(s.Path("profily.lev").c_str(), 0600), 0);
    fs::create_directory(s.Path("skore.lev"));
    fs::create_symlink("/dev/null", s.Path("nastaveni.lev"));
    World& w = s.w();
    w.shell.MusicVolume = 7;

    testing::internal::CaptureStderr();
    std::atomic<bool> done{false};
    std::thread reader([&] {
        LoadSettingsFile(w);
        LoadScoresFile(w);
        LoadProfilesFile(w);
        done = true;
    });
    for (int i = 0; i < 500 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const bool waited = !done;
    if (waited) ::close(::open(s.Path("profily.lev").c_str(), O_WRONLY | O_NONBLOCK));  // lets the reader go
    reader.join();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(waited) << "reading stood waiting on the named pipe";
    EXPECT_NE(errors.find("'" + s.Path("profily.lev") + "' is a named pipe, not a file"), std::string::npos) << errors;
    EXPECT_NE(errors.find("'" + s.Path("skore.lev") + "' is a folder, not a file"), std::string::npos) << errors;
    EXPECT_NE(errors.find("'" + s.Path("nastaveni.lev") + "' is a device, not a file"), std::string::npos) << errors;
    EXPECT_EQ(w.shell.MusicVolume, 100) << "defaults";
    EXPECT_EQ(w.saved.ScoreTable.Scores[1], 50000);
    EXPECT_EQ(w.saved.ProfileTable[1].Level, 3);
}

TEST(SavedFilesMended, LongerFileReadsItsFirstRecordAndTheNextSaveTruncatesIt) {
    SaveDirWorld s("long-file");
    std::vector<uint8_t> bytes(300, 0);
    bytes[0] = 0x10;  // rank 1: 0x2710 = 10000
    bytes[1] = 0x27;
    WriteFileBytes(s.Path("skore.lev"), bytes);
    LoadScoresFile(s.w());
    EXPECT_EQ(s.w().saved.ScoreTable.Scores[1], 10000);
    SaveScores(s.w());
    EXPECT_EQ(ReadFileBytes(s.Path("skore.lev")).size(), 252u);
}

TEST(SavedFilesMended, WritesReplaceTheFileWholeAndLeaveNoTemporaryFile) {
    SaveDirWorld s("atomic");
    WriteFileBytes(s.Path("profily.lev"), std::vector<uint8_t>(700, 9));
    DefaultProfiles(s.w().saved);
    SaveProfiles(s.w());
    SaveSettings(s.w());
    EXPECT_EQ(ReadFileBytes(s.Path("profily.lev")).size(), 648u);
    auto names = FilesIn(s.dir);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"nastaveni.lev", "profily.lev"}));

    // A save that cannot be written fails with the file's name and creates nothing.
    s.w().shell.options.saveDir = (fs::path(s.dir) / "missing-dir").string();
    try {
        SaveScores(s.w());
        FAIL() << "saving into a missing directory succeeded";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("skore.lev"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(fs::path(s.dir) / "missing-dir"));
}

TEST(ProfileSlots, ClearingTheActiveSlotKeepsItsOtherBytes) {
    SaveDirWorld s("clear-slot");
    DefaultProfiles(s.w().saved);
    s.w().saved.ProfileTable[4] = SampleProgress();
    s.w().saved.CurrentProfile = 4;
    ClearProfileSlot(s.w());
    EXPECT_EQ(s.w().saved.CurrentProfile, 0);
    const auto file = ReadFileBytes(s.Path("profily.lev"));
    ASSERT_EQ(file.size(), 648u);
    std::vector<uint8_t> expected = kSampleProgressBytes;
    expected[31] = 0;                                               // name length
    expected[20] = expected[21] = expected[22] = expected[23] = 0;  // Score
    expected[52] = 1;                                               // Level 1
    expected[56] = 0x58;                                            // ScrollDistance 600
    expected[57] = 0x02;
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 324, file.begin() + 432), expected);
}

TEST(SavedFilesMended, ClearingWithoutAnActiveSlotTouchesNoSlotAndNoFile) {
    SaveDirWorld s("clear-none");
    DefaultProfiles(s.w().saved);
    for (int k = 1; k <= 6; ++k) s.w().saved.ProfileTable[k] = SampleProgress();
    s.w().saved.CurrentProfile = 0;
    ClearProfileSlot(s.w());
    EXPECT_TRUE(FilesIn(s.dir).empty());
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(s.w().saved.ProfileTable[k].PlayerName.View(), "Petr");
    EXPECT_EQ(s.w().saved.CurrentProfile, 0);
}
