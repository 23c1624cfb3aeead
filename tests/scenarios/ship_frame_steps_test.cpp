// The frame's own gameplay steps around the ship, run through whole frames:
// when the ship picture is shown, the invulnerability shield's blinking and
// the energy it holds, the finish line without a profile, the finish lights
// outside the game scene, the waving flags and where each level ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "frame_probes.h"
#include "shell/frame.h"
#include "state/saved_files.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// A level in flight with the ship under control and nothing around it.
struct Flight {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = w.game.Progress;
    std::string dir = MakeTempDir("ship-frame-steps");

    Flight(int level = 1, int32_t scrollDistance = 1000) {
        w.shell.options.saveDir = dir;
        w.shell.MusicEnabled = 0;
        w.shell.SoundEnabled = 0;
        DefaultProfiles(w.saved);
        p.Level = level;
        p.LevelEnd = 9400;
        p.ScrollDistance = scrollDistance;
        g.ArrivalWidth = g.ArrivalHeight = 72;
        w.shell.CurrentScene = Scene::HlavniHra;
        w.front.GameActive = 1;
    }
    void Frame() { RunFrame(w); }
};

TEST(ShipFrameSteps, ShipShownWhileLivesLastOrTheFirstExplosionStepsRun) {
    struct Case {
        int8_t lives;
        int32_t explosionFrame;
        bool shown;
    };
    // Flying on the last ship; the last ship in its small explosions (the
    // sparks cover only a corner of it); the pause after the last ship.
    Flight f;
    for (Case c : {Case{1, -1, true}, Case{0, 2, true}, Case{-1, -1, false}}) {
        f.p.Lives = c.lives;
        f.p.ShipExplosionFrame = c.explosionFrame;
        f.g.DeathTick = 0;
        f.Frame();
        const double share = ShownShare(f.w, f.w.media.Rakety, "Kavrix", f.p.PlayerX - 42, f.p.PlayerY - 34, 1);
        if (c.shown) {
            EXPECT_GT(share, 0.8) << int(c.lives) << "/" << c.explosionFrame;
        } else {
            EXPECT_LT(share, 0.2) << int(c.lives) << "/" << c.explosionFrame;
        }
    }
}

TEST(ShipFrameSteps, ShieldShowsSteadilyThenBlinksAndHoldsEnergyOnlyWhenShown) {
    // Shown all the way below 850 (also where the blink counter is still
    // negative), then hidden for 850-874, 900-924, 950-974 and 1000.
    Flight f;
    struct Case {
        int32_t timer;
        bool shown;
    };
    for (Case c : {Case{0, true}, Case{810, true}, Case{824, true}, Case{849, true}, Case{850, false}, Case{874, false},
                   Case{875, true}, Case{899, true}, Case{900, false}, Case{924, false}, Case{925, true},
                   Case{950, false}, Case{975, true}, Case{999, true}, Case{1000, false}}) {
        f.g.InvulnerableEnergy = 150;
        f.g.InvulnerableTimer = c.timer;
        f.p.Energy = 60;
        f.Frame();
        EXPECT_EQ(f.p.Energy, c.shown ? 150 : 60) << "timer " << c.timer;
        const double share = ShownShare(f.w, f.w.media.Obrazky, "Nesmrtelnost", f.p.PlayerX - 43, f.p.PlayerY - 35, 1);
        if (c.shown) {
            EXPECT_EQ(share, 1.0) << "timer " << c.timer;
        } else {
            EXPECT_LT(share, 0.5) << "timer " << c.timer;
        }
    }
}

TEST(ShipFrameSteps, ShieldBanksWithTheShip) {
    // Frame 2 moving right, 0 moving left, drawn where the ship now is.
    struct Case {
        int32_t speed;
        int frame;
    };
    for (Case c : {Case{20, 2}, Case{-20, 0}}) {
        Flight f;
        f.g.InvulnerableEnergy = 90;
        f.g.InvulnerableTimer = 100;
        f.p.SpeedX = c.speed;
        f.Frame();
        ASSERT_NE(f.p.PlayerX, 400);
        EXPECT_EQ(ShownShare(f.w, f.w.media.Obrazky, "Nesmrtelnost", f.p.PlayerX - 43, f.p.PlayerY - 35, c.frame), 1.0)
            << c.speed;
        EXPECT_EQ(f.g.InvulnerableTimer, 101);
    }
}

TEST(ShipFrameSteps, FinishLineWithoutAProfileLightsTheFlagsAndWritesNothing) {
    // A game with no active slot (none was created for it) still gets its
    // flag signal and lights; there is just no slot to save into.
    Flight f(2, 9500 + 300 - 40);
    f.w.shell.SoundEnabled = 1;
    f.p.LevelEnd = 9500;
    f.w.saved.CurrentProfile = 0;
    testing::internal::CaptureStderr();
    f.Frame();  // scroll 9761: the line is 39 rows from the ship, within reach
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "");
    EXPECT_EQ(f.w.game.FinishPassed, 1);
    EXPECT_EQ(f.w.game.FinishLightOn, 1);
    EXPECT_TRUE(SoundStarted(f.w, "Vlajky"));
    EXPECT_FALSE(fs::exists(fs::path(f.dir) / "profily.lev"));
    for (const ProgressRecord& slot : f.w.saved.ProfileTable) EXPECT_TRUE(slot.PlayerName.Empty());
}

TEST(ShipFrameSteps, FinishLightsGoOnInTheMenuToo) {
    // Escape to the menu right after the flags: the lights still show over
    // the menu and count their 61 frames.
    Flight f;
    f.w.shell.CurrentScene = Scene::Menu;
    f.w.game.FinishLightOn = 1;
    f.w.game.FinishLightTimer = 0;
    f.p.LevelEnd = f.p.ScrollDistance - 200;  // the menu does not scroll
    f.Frame();
    EXPECT_EQ(ShownShare(f.w, f.w.media.Obrazky, "VlajkaLight", 0, 200, 0), 1.0);
    EXPECT_EQ(ShownShare(f.w, f.w.media.Obrazky, "VlajkaLight", 787, 200, 1), 1.0);
    EXPECT_EQ(f.w.game.FinishLightTimer, 1);
}

TEST(ShipFrameSteps, FlagsWaveInOppositePhase) {
    Flight f;
    f.w.game.FlagFrame = 3;
    f.w.game.FlagTick = 1;
    f.p.LevelEnd = f.p.ScrollDistance + 1 - 150;  // row 150 after this frame's scroll
    f.Frame();
    EXPECT_EQ(ShownShare(f.w, f.w.media.Obrazky, "VlajkaLeva", 0, 150, 3), 1.0);
    EXPECT_EQ(ShownShare(f.w, f.w.media.Obrazky, "VlajkaPrava", 750, 150, 1), 1.0);
    EXPECT_EQ(f.w.game.FlagFrame, 3);  // the tick was not 0
    EXPECT_EQ(f.w.game.FlagTick, 2);
}

TEST(ShipFrameSteps, EachLevelEndsAtItsDistanceAndTheNextIsBuilt) {
    Flight f;
    struct Case {
        int32_t level, endsAt, nextFinishLine;
    };
    for (Case c : {Case{1, 10000, 9500}, Case{2, 10100, 12800}, Case{3, 13500, 10800}, Case{4, 11500, 13000},
                   Case{5, 13700, 9600}, Case{6, 10200, 9600}, Case{7, 10200, 9400}, Case{8, 10000, 0}}) {
        f.p.Level = c.level;
        f.p.ScrollDistance = c.endsAt - 2;
        f.p.LevelEnd = 0;  // no finish line in reach
        f.g.CommanderStep = 0;
        f.Frame();
        EXPECT_EQ(f.p.Level, c.level) << "one frame early";
        EXPECT_EQ(f.p.ScrollDistance, c.endsAt - 1);
        f.w.game.FinishPassed = 1;
        f.Frame();
        EXPECT_EQ(f.p.Level, c.level + 1) << "level " << c.level;
        EXPECT_EQ(f.p.ScrollDistance, 600);
        EXPECT_EQ(f.w.game.FinishPassed, 0);
        if (c.nextFinishLine != 0) {
            EXPECT_EQ(f.p.LevelEnd, c.nextFinishLine) << "level " << c.level + 1;
        }
    }
}

}  // namespace
