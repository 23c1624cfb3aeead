// The frame on a headless world: the global keys as a player holds them
// (F12 freeze, Numpad volume, F2/F3 once per press, F1 help), the finish
// line's single save, the level change at the table's distance, the
// invulnerability shield and clock, and errors reported once per message.
#include "shell/frame.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "frame_probes.h"
#include "shell/runner.h"
#include "state/saved_files.h"
#include "state/world.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

void Hold(TestWorld& t, GameKey key, bool down) { t.platform->heldKeys.set(size_t(key), down); }

void Frames(TestWorld& t, int n) {
    for (int i = 0; i < n; ++i) RunFrame(t.w());
}

// A game in progress on level `level`, ship under control, nothing around it.
TestWorld GameWorld(int level, int scrollDistance, const std::string& saveDir) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    w.shell.options.saveDir = saveDir;
    w.shell.MusicEnabled = 0;
    w.shell.SoundEnabled = 0;
    DefaultProfiles(w.saved);
    ProgressRecord& p = w.game.Progress;
    p.Level = level;
    p.LevelEnd = 9400;
    p.ScrollDistance = scrollDistance;
    p.PlayerName.Assign("Pilot");
    w.game.ArrivalWidth = 77;
    w.game.ArrivalHeight = 77;
    w.saved.ProfileTable[1].PlayerName.Assign("Pilot");
    w.saved.CurrentProfile = 1;
    w.shell.CurrentScene = Scene::HlavniHra;
    w.front.GameActive = 1;
    return t;
}

}  // namespace

TEST(GlobalKeys, HoldingF12TogglesTheRateTextEveryFrameAndPresentsNothing) {
    TestWorld t = MakeTestWorld();
    Frames(t, 3);
    EXPECT_EQ(t.platform->presentedFrames, 3u);
    const uint64_t shown = t.platform->lastPresentedHash;

    Hold(t, GameKey::F12, true);
    RunFrame(t.w());
    EXPECT_EQ(t.w().shell.ShowFrameRate, 1);
    RunFrame(t.w());
    EXPECT_EQ(t.w().shell.ShowFrameRate, 0);
    Frames(t, 3);
    EXPECT_EQ(t.w().shell.ShowFrameRate, 1);
    EXPECT_EQ(t.platform->presentedFrames, 3u);  // the picture on screen stays frozen
    EXPECT_EQ(t.platform->lastPresentedHash, shown);

    Hold(t, GameKey::F12, false);
    RunFrame(t.w());
    EXPECT_EQ(t.platform->presentedFrames, 4u);
    EXPECT_EQ(t.w().shell.ShowFrameRate, 1);  // released after an odd number of frames
}

TEST(GlobalKeys, NumpadPlusHeldFrom95StopsAt100AndMinusAt0) {
    TestWorld t = MakeTestWorld();
    t.w().shell.MusicVolume = 95;
    Hold(t, GameKey::KPPlus, true);
    for (int expected = 96; expected <= 100; ++expected) {
        RunFrame(t.w());
        EXPECT_EQ(t.w().shell.MusicVolume, expected);
    }
    Frames(t, 4);
    EXPECT_EQ(t.w().shell.MusicVolume, 100);
    EXPECT_EQ(t.w().media.music.musicVolume, 100);
    Hold(t, GameKey::KPPlus, false);

    t.w().shell.MusicVolume = 2;
    Hold(t, GameKey::KPMinus, true);
    Frames(t, 5);
    EXPECT_EQ(t.w().shell.MusicVolume, 0);
    EXPECT_EQ(t.w().media.music.musicVolume, 0);
}

TEST(GlobalKeys, F2AndF3ToggleOncePerPress) {
    TestWorld t = MakeTestWorld();
    ASSERT_EQ(t.w().shell.SoundEnabled, 1);
    Hold(t, GameKey::F2, true);
    Frames(t, 6);
    EXPECT_EQ(t.w().shell.SoundEnabled, 0);
    Hold(t, GameKey::F2, false);
    Frames(t, 2);
    EXPECT_EQ(t.w().shell.SoundEnabled, 0);
    Hold(t, GameKey::F2, true);
    Frames(t, 3);
    EXPECT_EQ(t.w().shell.SoundEnabled, 1);

    const uint8_t music = t.w().shell.MusicEnabled;
    Hold(t, GameKey::F3, true);
    Frames(t, 4);
    EXPECT_EQ(t.w().shell.MusicEnabled, !music);
    Hold(t, GameKey::F3, false);
    RunFrame(t.w());
    Hold(t, GameKey::F3, true);
    RunFrame(t.w());
    EXPECT_EQ(t.w().shell.MusicEnabled, music);
}

TEST(GlobalKeys, F1OpensTheHelpPageAndTheIdleTimerRunsDown) {
    TestWorld t = MakeTestWorld();
    t.w().front.IdleTimer = 2;
    Frames(t, 3);
    EXPECT_EQ(t.w().front.IdleTimer, 0);
    ASSERT_EQ(t.w().shell.CurrentScene, Scene::Intro);
    Hold(t, GameKey::F1, true);
    RunFrame(t.w());
    EXPECT_EQ(t.w().shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(t.w().front.MenuPage, Page::Help);
}

TEST(FinishLine, SavesTheProgressExactlyOnceAndTheLevelChangesAtItsDistance) {
    const std::string dir = MakeTempDir("finish-line");
    const fs::path file = fs::path(dir) / "profily.lev";
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    w.shell.options.saveDir = dir;
    w.shell.MusicEnabled = 0;
    DefaultProfiles(w.saved);
    StartNewGame(w, "Pilot", 1, 1);  // as the menu's Start: slot 1 is written
    ASSERT_EQ(w.saved.CurrentProfile, 1);
    ASSERT_TRUE(fs::remove(file));
    ASSERT_EQ(w.game.Progress.LevelEnd, 9400);
    w.game.Progress.ScrollDistance = 9600;
    int saves = 0;
    // Each time the file appears it is counted and removed, so a second
    // save would make it appear again.
    while (w.game.Progress.ScrollDistance < 9999) {
        RunFrame(w);
        if (fs::exists(file)) {
            ++saves;
            const auto bytes = ReadFileBytes(file.string());
            ASSERT_EQ(bytes.size(), 648u);
            const ProgressRecord slot = DecodeProgress(bytes.data());
            EXPECT_EQ(slot.Level, 1);
            EXPECT_EQ(slot.PlayerName.View(), "Pilot");
            EXPECT_EQ(slot.ScrollDistance, 9400 + slot.PlayerY - 39);  // first frame within 40 rows
            EXPECT_EQ(w.game.FinishPassed, 1);
            EXPECT_EQ(w.game.FinishLightOn, 1);
            fs::remove(file);
        }
    }
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(w.game.Progress.Level, 1);
    RunFrame(w);  // scroll distance 10000: the end of level 1
    EXPECT_EQ(w.game.Progress.Level, 2);
    EXPECT_EQ(w.game.Progress.ScrollDistance, 600);
    EXPECT_EQ(w.game.FinishPassed, 0);
    EXPECT_FALSE(fs::exists(file));
}

TEST(FinishLine, LevelNineHasNoFlagsAndNoSave) {
    const std::string dir = MakeTempDir("level-nine");
    TestWorld t = GameWorld(9, 9600, dir);
    Frames(t, 200);
    EXPECT_EQ(t.w().game.FinishPassed, 0);
    EXPECT_EQ(t.w().game.FinishLightOn, 0);
    EXPECT_EQ(t.w().game.Progress.Level, 9);
    EXPECT_FALSE(fs::exists(fs::path(dir) / "profily.lev"));
}

TEST(Invulnerability, ShieldHoldsEnergyOnlyOnShownFramesAndEndsAt1000) {
    TestWorld t = GameWorld(1, 1000, MakeTempDir("shield"));
    World& w = t.w();
    w.game.InvulnerableEnergy = 150;
    w.game.InvulnerableTimer = 855;  // 855..874: hidden
    w.game.Progress.Energy = 60;
    RunFrame(w);
    EXPECT_NE(w.game.Progress.Energy, 150);
    EXPECT_EQ(w.game.InvulnerableTimer, 856);
    w.game.InvulnerableTimer = 880;  // shown
    RunFrame(w);
    EXPECT_EQ(w.game.Progress.Energy, 150);

    w.game.InvulnerableTimer = 999;
    RunFrame(w);
    EXPECT_EQ(w.game.InvulnerableTimer, 1000);
    EXPECT_EQ(w.game.InvulnerableEnergy, 150);
    RunFrame(w);
    EXPECT_EQ(w.game.InvulnerableTimer, 0);
    EXPECT_EQ(w.game.InvulnerableEnergy, 0);
}

TEST(FrameErrors, AMissingPictureIsReportedOnceAndLaterFramesStillRun) {
    TestWorld t = GameWorld(1, 1000, MakeTempDir("missing-picture"));
    World& w = t.w();
    w.media.Obrazky.byLowerName.erase("vlajkaleva");
    testing::internal::CaptureStderr();
    Frames(t, 3);
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(w.game.Progress.ScrollDistance, 1003);  // every frame ran up to the flags
    size_t count = 0;
    for (size_t at = errors.find("VlajkaLeva"); at != std::string::npos; at = errors.find("VlajkaLeva", at + 1))
        ++count;
    EXPECT_EQ(count, 1u) << errors;
}

namespace {}  // namespace

TEST(ShipPicture, BanksWithTheSpeedAndShowsTheHitFrames) {
    TestWorld t = GameWorld(1, 1000, MakeTempDir("ship-frames"));
    World& w = t.w();
    const ProgressRecord& p = w.game.Progress;
    RunFrame(w);
    ASSERT_EQ(p.SpeedX, 0);
    EXPECT_TRUE(Shows(w, w.media.Rakety, "Kavrix", p.PlayerX - 42, p.PlayerY - 34, 1));
    EXPECT_FALSE(Shows(w, w.media.Rakety, "Kavrix", p.PlayerX - 42, p.PlayerY - 34, 4));

    Hold(t, GameKey::Right, true);
    Frames(t, 3);
    ASSERT_GT(p.SpeedX, 0);
    EXPECT_TRUE(Shows(w, w.media.Rakety, "Kavrix", p.PlayerX - 42, p.PlayerY - 34, 2));
    Hold(t, GameKey::Right, false);

    Hold(t, GameKey::Left, true);
    Frames(t, 12);
    ASSERT_LT(p.SpeedX, 0);
    w.game.ShipHitTimer = 2;  // hit a moment ago: still flashing when drawn
    RunFrame(w);
    ASSERT_NE(w.game.ShipHitTimer, 0);
    EXPECT_TRUE(Shows(w, w.media.Rakety, "Kavrix", p.PlayerX - 42, p.PlayerY - 34, 3));
    Hold(t, GameKey::Left, false);
}

TEST(ShipPicture, ArrivalStretchesFrameOneIntoTheArrivalRectangle) {
    TestWorld t = GameWorld(1, 1000, MakeTempDir("ship-arrival"));
    World& w = t.w();
    w.game.ArrivalWidth = 400;
    w.game.ArrivalHeight = 400;
    RunFrame(w);
    ASSERT_GT(w.game.ArrivalWidth, 77);
    static Surface reference;
    FillSurface(reference, 0x0841);
    StretchDrawPattern(FindPicture(w.media.Rakety, "Kavrix"), reference, w.game.ArrivalRect, 1);
    int drawn = 0, matching = 0;
    // Above the instrument bar, which the HUD draws over the arriving ship.
    for (int row = 0; row < 460; ++row)
        for (int col = 0; col < kSurfaceWidth; ++col) {
            if (reference.pixels[row][col] == 0x0841) continue;
            ++drawn;
            matching += w.media.back->pixels[row][col] == reference.pixels[row][col];
        }
    EXPECT_GT(drawn, 1000);
    EXPECT_EQ(matching, drawn);
}

TEST(FinishFlags, WaveEveryFourthFrameAndTheLightsShowFor61Frames) {
    TestWorld t = GameWorld(1, 1000, MakeTempDir("flags"));
    World& w = t.w();
    const int expectedFrames[] = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 0};
    for (int expected : expectedFrames) {
        RunFrame(w);
        ASSERT_EQ(w.game.FlagFrame, expected);
    }
    // Flags are drawn where the finish line stands on screen.
    w.game.Progress.LevelEnd = w.game.Progress.ScrollDistance + 1 - 100;  // row 100 after the next frame
    RunFrame(w);
    EXPECT_TRUE(Shows(w, w.media.Obrazky, "VlajkaPrava", 750, 100, 4 - 0));

    w.game.FinishLightOn = 1;
    Frames(t, 60);
    EXPECT_EQ(w.game.FinishLightOn, 1);
    EXPECT_TRUE(
        Shows(w, w.media.Obrazky, "VlajkaLight", 787, w.game.Progress.ScrollDistance - w.game.Progress.LevelEnd, 1));
    RunFrame(w);
    EXPECT_EQ(w.game.FinishLightOn, 0);
    EXPECT_EQ(w.game.FinishLightTimer, 0);
}

TEST(SceneDispatch, TheMenuDrawsItsPointerWhereTheMouseIs) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    w.shell.CurrentScene = Scene::Menu;
    w.front.MouseX = 333;
    w.front.MouseY = 222;
    RunFrame(w);
    EXPECT_TRUE(Shows(w, w.media.MenuObr, "Sipka", 333, 222, 0));
}

TEST(FrameMusic, GameAndMenuKeepMusicPlayingAndF3StopsIt) {
    TestWorld t = GameWorld(1, 1000, MakeTempDir("music"));
    World& w = t.w();
    w.shell.MusicEnabled = 1;
    const int32_t before = w.shell.MusicChannel;
    RunFrame(w);
    EXPECT_NE(w.shell.MusicChannel, before);
    EXPECT_EQ(IsSongPlaying(w.media.music, w.shell.MusicChannel), 1);
    const int32_t song = w.shell.MusicChannel;
    Frames(t, 3);
    EXPECT_EQ(w.shell.MusicChannel, song);  // no new song while one plays

    Hold(t, GameKey::F3, true);
    RunFrame(w);
    Hold(t, GameKey::F3, false);
    EXPECT_EQ(w.shell.MusicEnabled, 0);
    EXPECT_NE(IsSongPlaying(w.media.music, w.shell.MusicChannel), 1);
    Frames(t, 2);
    EXPECT_NE(IsSongPlaying(w.media.music, w.shell.MusicChannel), 1);  // stays off

    w.shell.CurrentScene = Scene::Menu;
    Hold(t, GameKey::F3, true);
    RunFrame(w);  // switched on after this frame's menu step
    Hold(t, GameKey::F3, false);
    RunFrame(w);  // the menu brings its own music back
    EXPECT_EQ(IsSongPlaying(w.media.music, w.shell.MusicChannel), 1);
}

TEST(LevelEnd, EachLevelEndsExactlyAtItsDistanceAndLevelNineNever) {
    struct End {
        int level;
        int distance;
    };
    const End ends[] = {{1, 10000}, {2, 10100}, {3, 13500}, {4, 11500}, {5, 13700}, {6, 10200}, {7, 10200}, {8, 10000}};
    const std::string dir = MakeTempDir("level-ends");
    for (const End& end : ends) {
        SCOPED_TRACE("level " + std::to_string(end.level));
        TestWorld t = GameWorld(end.level, end.distance + 5, dir);
        World& w = t.w();
        RunFrame(w);  // past the end: only the exact distance counts
        EXPECT_EQ(w.game.Progress.Level, end.level);

        w.game.Progress.ScrollDistance = end.distance - 2;
        w.game.FinishPassed = 1;
        RunFrame(w);
        EXPECT_EQ(w.game.Progress.Level, end.level);
        EXPECT_EQ(w.game.Progress.ScrollDistance, end.distance - 1);
        RunFrame(w);  // the starfield brings the distance to the end
        EXPECT_EQ(w.game.Progress.Level, end.level + 1);
        EXPECT_EQ(w.game.Progress.ScrollDistance, 600);
        EXPECT_EQ(w.game.FinishPassed, 0);
    }
    TestWorld t = GameWorld(9, 9990, dir);
    Frames(t, 30);
    EXPECT_EQ(t.w().game.Progress.Level, 9);
    EXPECT_EQ(t.w().game.Progress.ScrollDistance, 10020);
}

TEST(FinishLine, WithoutAnActiveSlotTheFlagsLightButNothingIsSaved) {
    // A game that no profile belongs to has no slot to save into.
    const std::string dir = MakeTempDir("finish-no-slot");
    TestWorld t = GameWorld(2, 9650, dir);
    World& w = t.w();
    w.saved.CurrentProfile = 0;
    const ProgressRecord before = w.saved.ProfileTable[1];
    Frames(t, 20);
    EXPECT_EQ(w.game.FinishPassed, 1);
    EXPECT_EQ(w.game.FinishLightOn, 1);
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_EQ(EncodeProgress(w.saved.ProfileTable[1]), EncodeProgress(before));
}

TEST(FinishLine, AFinishLineFarAwayInADamagedProfileIsNeverReached) {
    // Profiles are loaded as they stand: a LevelEnd near the bottom of the
    // integer range puts the line 2^31 rows away, not within 40 rows.
    const std::string dir = MakeTempDir("finish-far");
    TestWorld t = GameWorld(3, 1000, dir);
    World& w = t.w();
    w.game.Progress.LevelEnd = INT32_MIN + 701;  // 1001 - 300 - 2^31 once the scroll moves on
    RunFrame(w);
    ASSERT_EQ(w.game.Progress.ScrollDistance, 1001);
    ASSERT_EQ(w.game.Progress.PlayerY, 300);
    EXPECT_EQ(w.game.FinishPassed, 0);
    EXPECT_TRUE(fs::is_empty(dir));
    w.game.Progress.LevelEnd = INT32_MAX;
    Frames(t, 2);
    EXPECT_EQ(w.game.FinishPassed, 0);
}

TEST(FinishFlags, TheLightsGoOnShowingAfterTheGameGivesWayToTheMenu) {
    // Escape right after the flags: the lights are drawn over the menu and
    // run out there, as they do in every scene.
    TestWorld t = GameWorld(1, 1000, MakeTempDir("lights-menu"));
    World& w = t.w();
    w.shell.CurrentScene = Scene::Menu;
    w.game.FinishLightOn = 1;
    w.game.FinishLightTimer = 58;
    w.game.Progress.LevelEnd = w.game.Progress.ScrollDistance - 200;  // the menu does not scroll
    RunFrame(w);
    EXPECT_EQ(w.game.Progress.ScrollDistance, 1000);
    EXPECT_EQ(w.game.FinishLightTimer, 59);
    EXPECT_TRUE(Shows(w, w.media.Obrazky, "VlajkaLight", 0, 200, 0));
    EXPECT_TRUE(Shows(w, w.media.Obrazky, "VlajkaLight", 787, 200, 1));
    Frames(t, 2);
    EXPECT_EQ(w.game.FinishLightOn, 0);
    EXPECT_EQ(w.game.FlagFrame, 0);  // the flags themselves wave only in the game
}
