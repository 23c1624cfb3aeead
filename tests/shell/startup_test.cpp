// Start-up as the player meets it: the first run's defaults, saved files
// taken as they stand, the effects primed in silence, the intro module loaded
// but quiet, the stars as the first draws of the seeded source, and a missing
// or short collection stopping start-up with the file's name.
#include "shell/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "game/reset.h"
#include "levpack.h"
#include "media/media_error.h"
#include "media/mixer.h"
#include "state/saved_files.h"
#include "state/world.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// A world before start-up, reading the game's data and saving into its own
// directory, with every value start-up sets spoiled first so that a missing
// step shows.
TestWorld FreshWorld(const std::string& saveDir, const std::string& dataDir = TestDataDir()) {
    TestWorld t = MakeTestWorld(false);
    World& w = t.w();
    w.shell.options.dataDir = dataDir;
    w.shell.options.saveDir = saveDir;
    w.shell.options.seed = 777;
    w.shell.CurrentScene = Scene::Animace;
    w.shell.ShowFrameRate = 1;
    w.shell.SoundEnabled = 0;
    w.shell.MusicEnabled = 0;
    w.shell.MusicVolume = 3;
    w.front.MenuPage = Page::Load;
    w.front.GameActive = 1;
    w.front.EnteredName.Assign("Xaver");
    w.front.IdleTimer = 99;
    w.front.LogoHoverState = 5;
    w.front.SelectionPulse = 7;
    w.front.HoverItem = 2;
    w.front.TypedKey = 65;
    w.front.NameEntryActive = 1;
    w.saved.CurrentProfile = 4;
    w.game.Progress.Level = 6;
    w.game.Progress.Difficulty = 3;
    w.game.Progress.PlayerName.Assign("Xaver");
    return t;
}

int PlayingVoices(const Mixer& mixer) {
    int n = 0;
    for (const Voice& v : mixer.voices) n += v.playing ? 1 : 0;
    return n;
}

std::string StartUpError(World& w) {
    try {
        StartUp(w);
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

// A data directory holding the game's picture collections and the given
// sound collection file (or none).
std::string DataDirWith(const std::string& tag, const std::vector<std::string>& pictures,
                        const std::vector<uint8_t>* sounds) {
    const fs::path dir = MakeTempDir(tag);
    fs::create_directories(dir / "video");
    fs::create_directories(dir / "audio");
    for (const std::string& name : pictures)
        fs::create_symlink(fs::path(TestDataDir()) / "video" / name, dir / "video" / name);
    if (sounds) WriteFileBytes((dir / "audio" / "zvuky.lev").string(), *sounds);
    return dir.string();
}

}  // namespace

TEST(StartUp, FirstRunOpensTheIntroWithEveryDefaultAndWritesNothing) {
    const std::string saveDir = MakeTempDir("startup-first-run");
    TestWorld t = FreshWorld(saveDir);
    World& w = t.w();
    StartUp(w);

    EXPECT_EQ(w.shell.CurrentScene, Scene::Intro);
    EXPECT_EQ(w.shell.ShowFrameRate, 0);
    EXPECT_EQ(w.front.MenuPage, Page::None);
    EXPECT_EQ(w.shell.SoundEnabled, 1);
    EXPECT_EQ(w.shell.MusicEnabled, 1);
    EXPECT_EQ(w.shell.MusicVolume, 100);
    EXPECT_EQ(w.media.music.musicVolume, 100);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(w.saved.ScoreTable.Scores[i], 55000 - 5000 * i);
        EXPECT_EQ(w.saved.ScoreTable.Names[i].View(), "Kavrix");
    }
    for (int k = 1; k <= 6; ++k) {
        EXPECT_TRUE(w.saved.ProfileTable[k].PlayerName.Empty());
        EXPECT_EQ(w.saved.ProfileTable[k].Level, 3);
        EXPECT_EQ(w.saved.ProfileTable[k].ScrollDistance, 600);
    }
    EXPECT_EQ(w.saved.CurrentProfile, 0);
    EXPECT_EQ(w.game.Progress.Level, 1);
    EXPECT_EQ(w.game.Progress.Difficulty, 2);
    EXPECT_TRUE(w.game.Progress.PlayerName.Empty());
    EXPECT_EQ(w.front.GameActive, 0);
    EXPECT_EQ(w.front.EnteredName.size, 0);
    EXPECT_EQ(w.front.IdleTimer, 0);
    EXPECT_EQ(w.front.LogoHoverState, 0);
    EXPECT_EQ(w.front.SelectionPulse, 1);
    EXPECT_EQ(w.front.HoverItem, 10);
    EXPECT_EQ(w.front.TypedKey, 0);
    EXPECT_EQ(w.front.NameEntryActive, 0);
    // The game state is that of a new game.
    EXPECT_EQ(w.game.Progress.Lives, 3);
    EXPECT_EQ(w.game.ArrivalWidth, 400);

    // The intro module is loaded but not heard until the intro starts it.
    EXPECT_NE(w.shell.MusicChannel, 0);
    EXPECT_NE(IsSongPlaying(w.media.music, w.shell.MusicChannel), 1);

    // Nothing is written at start-up.
    EXPECT_TRUE(fs::is_empty(saveDir));
}

TEST(StartUp, SavedFilesAreTakenAsTheyStand) {
    const std::string saveDir = MakeTempDir("startup-saved");
    WriteFileBytes((fs::path(saveDir) / "nastaveni.lev").string(), {0, 1, 150});
    ScoreTableRecord scores;
    DefaultScores(scores);
    scores.Scores[1] = 99999;
    scores.Names[1].Assign("Ema");
    const auto scoreBytes = EncodeScores(scores);
    WriteFileBytes((fs::path(saveDir) / "skore.lev").string(), {scoreBytes.begin(), scoreBytes.end()});
    std::vector<uint8_t> profiles(648, 0);
    ProgressRecord slot;
    slot.PlayerName.Assign("Ema");
    slot.Level = 5;
    const auto slotBytes = EncodeProgress(slot);
    std::copy(slotBytes.begin(), slotBytes.end(), profiles.begin() + 108);
    WriteFileBytes((fs::path(saveDir) / "profily.lev").string(), profiles);

    TestWorld t = FreshWorld(saveDir);
    World& w = t.w();
    StartUp(w);
    EXPECT_EQ(w.shell.SoundEnabled, 0);
    EXPECT_EQ(w.shell.MusicEnabled, 1);
    EXPECT_EQ(w.shell.MusicVolume, 150);  // above 100, kept; the keys only step it down
    EXPECT_EQ(w.saved.ScoreTable.Scores[1], 99999);
    EXPECT_EQ(w.saved.ScoreTable.Names[1].View(), "Ema");
    EXPECT_EQ(w.saved.ProfileTable[2].PlayerName.View(), "Ema");
    EXPECT_EQ(w.saved.ProfileTable[2].Level, 5);
    EXPECT_TRUE(w.saved.ProfileTable[1].PlayerName.Empty());
    EXPECT_EQ(w.saved.ProfileTable[1].Level, 0);  // as stored, not the missing file's default
    EXPECT_EQ(w.game.Progress.Level, 1);          // the live game does not take a slot
}

TEST(StartUp, EffectsArePrimedInSilenceAndLeftAtMinus1000) {
    TestWorld t = FreshWorld(MakeTempDir("startup-prime"));
    World& w = t.w();
    StartUp(w);
    WaveCollection& zvuky = w.media.Zvuky;
    ASSERT_GE(zvuky.items.size(), 26u);
    for (int i = 0; i < 26; ++i) {
        const WaveItem& item = SoundAt(zvuky, i);
        EXPECT_EQ(item.volume, -1000) << item.Name;
        // Every effect was started: its voices are there before play begins.
        if (!item.Looped) {
            EXPECT_FALSE(item.voices.empty()) << item.Name;
        }
    }
    for (size_t i = 26; i < zvuky.items.size(); ++i) EXPECT_EQ(zvuky.items[i].volume, 0) << zvuky.items[i].Name;
    EXPECT_EQ(PlayingVoices(*w.media.mixer), 0);
}

TEST(StartUp, StarsAreTheFirstDrawsOfTheSeededSource) {
    TestWorld t = FreshWorld(MakeTempDir("startup-stars"));
    World& w = t.w();
    StartUp(w);
    TestWorld other = MakeTestWorld(false);
    SeedRandom(other.w().random, 777);
    ResetGameState(other.w());
    for (int i = 0; i < kStarCount; ++i) {
        ASSERT_EQ(w.game.Stars[i].X, other.w().game.Stars[i].X) << "star " << i;
        ASSERT_EQ(w.game.Stars[i].Y, other.w().game.Stars[i].Y) << "star " << i;
        ASSERT_EQ(w.game.Stars[i].Colour, other.w().game.Stars[i].Colour) << "star " << i;
        ASSERT_EQ(w.game.Stars[i].Speed, other.w().game.Stars[i].Speed) << "star " << i;
    }
    EXPECT_EQ(w.random.seed, other.w().random.seed);
}

TEST(StartUpErrors, AMissingCollectionStopsStartUpInLoadingOrder) {
    // The city scenery loads first, then the menu pictures: without
    // "menu.lev" the ships' collection is never reached, nor the saved files.
    const std::string dataDir = DataDirWith("startup-no-menu", {"mesto.lev"}, nullptr);
    TestWorld t = FreshWorld(MakeTempDir("startup-no-menu-save"), dataDir);
    World& w = t.w();
    const std::string error = StartUpError(w);
    EXPECT_NE(error.find("menu.lev"), std::string::npos) << error;
    EXPECT_FALSE(w.media.Level.items.empty());
    EXPECT_TRUE(w.media.Rakety.items.empty());
    EXPECT_EQ(w.saved.ScoreTable.Scores[1], 0);
    EXPECT_EQ(w.shell.CurrentScene, Scene::Intro);  // set before the collections
}

TEST(StartUpErrors, ASoundCollectionWithFewerThan26EffectsIsNamed) {
    std::vector<levpack::WaveEntry> waves;
    for (int i = 0; i < 25; ++i)
        waves.push_back(levpack::WaveEntry{"Zvuk" + std::to_string(i), false, 0, 1, 8000, 8, {128, 130, 126}});
    const std::vector<uint8_t> sounds = levpack::WriteWaveCollection(waves);
    const std::string dataDir =
        DataDirWith("startup-few-sounds", {"mesto.lev", "menu.lev", "rakety.lev", "obrazky.lev"}, &sounds);
    TestWorld t = FreshWorld(MakeTempDir("startup-few-sounds-save"), dataDir);
    World& w = t.w();
    const std::string error = StartUpError(w);
    EXPECT_NE(error.find("zvuky.lev"), std::string::npos) << error;
    EXPECT_NE(error.find("25"), std::string::npos) << error;
    EXPECT_EQ(w.media.Zvuky.items.size(), 25u);
    EXPECT_EQ(PlayingVoices(*w.media.mixer), 0);
    EXPECT_EQ(w.game.Progress.Level, 6);  // start-up stopped before the game's values
}
