// The new-game reset: the order of the random draws for the stars, the
// values a fresh game starts from, and what a reset leaves alone.
#include "game/reset.h"

#include <gtest/gtest.h>

#include "state/world.h"
#include "test_support.h"

// The byte builders and state set-ups below are laid out by hand, a value per field.
// clang-format off

TEST(ResetGameState, StarsTakeFourDrawsEachInXYColourSpeedOrder) {
    TestWorld t = MakeTestWorld(false);
    World& w = t.w();
    SeedRandom(w.random, 4242);
    ResetGameState(w);

    Random expected;
    SeedRandom(expected, 4242);
    const int32_t greys[4] = {0x888888, 0x808080, 0x6C6C6C, 0x4C4C4C};
    for (int i = 0; i < kStarCount; ++i) {
        const int32_t x = RandomInt(expected, 800);
        const int32_t y = RandomInt(expected, 600);
        const int32_t colour = greys[RandomInt(expected, 4)];
        const int32_t speed = RandomInt(expected, 3) + 1;
        ASSERT_EQ(w.game.Stars[i].X, x) << "star " << i;
        ASSERT_EQ(w.game.Stars[i].Y, y) << "star " << i;
        ASSERT_EQ(w.game.Stars[i].Colour, colour) << "star " << i;
        ASSERT_EQ(w.game.Stars[i].Speed, speed) << "star " << i;
    }
    // The reset draws nothing else: the generator stands right after the stars.
    EXPECT_EQ(w.random.seed, expected.seed);
}

TEST(ResetGameState, PutsARunningGameIntoTheStateOfANewOne) {
    TestWorld t = MakeTestWorld(false);
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    // A game in full flight.
    p.PlayerX = 12; p.PlayerY = 34; p.SpeedX = 5; p.SpeedY = -5; p.Energy = 3; p.Score = 999;
    p.HasGoodLaser = p.HasDiagonalBalls = p.HasRockets = p.HasSideBalls = p.HasBombs = 1;
    p.LastWeapon = 2; p.ScrollDistance = 8000; p.Lives = 1; p.ShipExplosionFrame = 7;
    p.ItemSlots[2] = 4; p.WeaponPickupState[3] = 1;
    g.LaserShots[19].Active = 1; g.BombShots[0].Active = 1; g.SideBallShots[5].Active = 1;
    g.ShieldOrbs[9].Active = 1; g.ShieldOrbs[9].Mode = 270;
    g.Wingmen[2].State = 2; g.EnemyShots[49].Active = 1; g.EnemyShots[49].BurstFrame = 5;
    g.HomingDiscs[4][7].Active = 1; g.EggBeams[4].Active = 1; g.EggBeams[4].Mode = 3;
    g.LevelObjects[1200].X = 100; g.LevelObjects[1200].Visible = 1; g.LevelObjects[1200].Score = 77;
    g.LevelObjects[1].Picture = 9;
    g.CityGrid[9][6].Picture = 3; g.CityGrid[1][8].Picture = 5;
    g.ArrivalWidth = 60; g.ArrivalHeight = 50; g.StarMode = 2; g.ItemSlotToUse = 3;
    g.InvulnerableEnergy = 100; g.InvulnerableTimer = 500; g.FireHeld = 1; g.VolleyTick = 0;
    g.RocketTick = 0; g.BallTick = 0; g.WeaponEnergy = 3; g.ReloadTimer = 0; g.ShipHitTimer = 4;
    g.WingmanTimer = 99; g.EnergyRefill = 1; g.CommanderText.Assign("Hello"); g.CommanderTextPos = 4;
    g.CommanderStep = 3; g.CommanderTimer = 8; g.TextScreenLine = 6; g.BombTick = 7;
    g.EggBeamTimers[2] = 11;
    // Fields a reset keeps: the menu or a loaded profile sets them.
    p.Difficulty = 3; p.PlayerName.Assign("Kuba"); p.Level = 6; p.LevelEnd = 9600; p.BlackBoxCount = 2;

    ResetGameState(w);

    EXPECT_EQ(p.PlayerX, 400); EXPECT_EQ(p.PlayerY, 300); EXPECT_EQ(p.SpeedX, 0); EXPECT_EQ(p.SpeedY, 0);
    EXPECT_EQ(p.Energy, 100); EXPECT_EQ(p.Score, 0); EXPECT_EQ(p.ScrollDistance, 600);
    EXPECT_EQ(p.Lives, 3); EXPECT_EQ(p.ShipExplosionFrame, 0); EXPECT_EQ(p.LastWeapon, -1);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(WeaponFlag(p, k), 0);
    EXPECT_EQ(p.ItemSlots[2], 0); EXPECT_EQ(p.WeaponPickupState[3], 0);
    EXPECT_EQ(g.LaserShots[19].Active, 0); EXPECT_EQ(g.BombShots[0].Active, 0);
    EXPECT_EQ(g.SideBallShots[5].Active, 0);
    EXPECT_EQ(g.ShieldOrbs[9].Active, 0); EXPECT_EQ(g.ShieldOrbs[9].Mode, 0);
    EXPECT_EQ(g.Wingmen[2].State, 0);
    EXPECT_EQ(g.EnemyShots[49].Active, 0); EXPECT_EQ(g.EnemyShots[49].BurstFrame, -1);
    EXPECT_EQ(g.HomingDiscs[4][7].Active, 0);
    EXPECT_EQ(g.EggBeams[4].Active, 0); EXPECT_EQ(g.EggBeams[4].Mode, 1);
    EXPECT_EQ(g.LevelObjects[1200].X, 0); EXPECT_EQ(g.LevelObjects[1200].Visible, 0);
    EXPECT_EQ(g.LevelObjects[1].Picture, 0);
    EXPECT_EQ(g.CityGrid[9][6].Picture, -1);
    EXPECT_EQ(g.ArrivalWidth, 400); EXPECT_EQ(g.ArrivalHeight, 400); EXPECT_EQ(g.StarMode, 0);
    EXPECT_EQ(g.ItemSlotToUse, 0); EXPECT_EQ(g.InvulnerableEnergy, 0); EXPECT_EQ(g.InvulnerableTimer, 0);
    EXPECT_EQ(g.FireHeld, 0); EXPECT_EQ(g.VolleyTick, 10); EXPECT_EQ(g.RocketTick, 2);
    EXPECT_EQ(g.BallTick, 1); EXPECT_EQ(g.WeaponEnergy, 110); EXPECT_EQ(g.ReloadTimer, 15);
    EXPECT_EQ(g.ShipHitTimer, 0); EXPECT_EQ(g.WingmanTimer, 0); EXPECT_EQ(g.EnergyRefill, 0);
    EXPECT_TRUE(IsNoText(g.CommanderText)); EXPECT_EQ(g.CommanderTextPos, 1);
    EXPECT_EQ(g.CommanderStep, 0); EXPECT_EQ(g.CommanderTimer, 0); EXPECT_EQ(g.TextScreenLine, 0);

    // Left alone.
    EXPECT_EQ(p.Difficulty, 3); EXPECT_EQ(p.PlayerName.View(), "Kuba"); EXPECT_EQ(p.Level, 6);
    EXPECT_EQ(p.LevelEnd, 9600); EXPECT_EQ(p.BlackBoxCount, 2);
    EXPECT_EQ(g.LevelObjects[1200].Score, 77);  // fields after Visible stay
    EXPECT_EQ(g.CityGrid[1][8].Picture, 5);     // hidden cells stay
    EXPECT_EQ(g.BombTick, 7);
    EXPECT_EQ(g.EggBeamTimers[2], 11);
}
