// Frames of the mother ship battle must not touch the heap: the guns firing,
// the probe homing in, every weapon of the player striking the parts, and
// the final shower of explosions. This executable counts the allocations
// made while those frames run.
#include <gtest/gtest.h>

#include "game/level_build.h"
#include "game/reset.h"
#include "heap_counter.h"
#include "shell/frame.h"
#include "state/saved_files.h"
#include "test_support.h"

namespace {

constexpr int kLauncher = 17, kCore = 18;

TEST(MothershipHeap, BattleFramesWithEveryWeaponAndTheFinalShowerAllocateNothing) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    w.shell.options.saveDir = MakeTempDir("mothership-heap");
    w.shell.MusicEnabled = 0;  // loading a song is the one allocation a game frame may make
    w.shell.SoundEnabled = 1;
    DefaultProfiles(w.saved);
    ResetGameState(w);
    p.Level = 9;
    p.Difficulty = 1;
    p.ScrollDistance = 600;
    BuildLevel(w);
    g.CommanderStep = 0;
    for (LevelObject& o : g.LevelObjects) o = LevelObject{};
    p.ScrollDistance = 10800;
    p.LevelEnd = 20000;
    g.MotherShip.Y = 0;
    p.HasGoodLaser = p.HasDiagonalBalls = p.HasRockets = p.HasSideBalls = p.HasBombs = 1;
    g.InvulnerableEnergy = 100;
    w.shell.CurrentScene = Scene::HlavniHra;
    w.front.GameActive = 1;
    p.PlayerX = 420;
    p.PlayerY = 420;

    // Orbs, discs and an egg beam called up, fire held throughout.
    p.ItemSlots[1] = 3;
    p.ItemSlots[2] = 2;
    p.ItemSlots[3] = 1;
    auto key = [&](GameKey k, bool down) { t.platform->heldKeys.set(size_t(k), down); };
    key(GameKey::Space, true);
    const GameKey items[] = {GameKey::Key1, GameKey::Key2, GameKey::Key3};
    for (GameKey item : items) {
        key(item, true);
        RunFrame(w);
        key(item, false);
        RunFrame(w);
    }
    for (int f = 0; f < 60; ++f) RunFrame(w);  // caches and voices settle
    ASSERT_EQ(w.shell.CurrentScene, Scene::HlavniHra);

    // The battle in full: guns on every interval, a probe out, parts hit.
    auto play = [&](int frames) {
        for (int f = 0; f < frames; ++f) {
            g.WeaponEnergy = 110;
            p.Energy = 100;
            if (f % 50 == 0) g.ShipFireClock = 0;
            RunFrame(w);
        }
    };
    g.MotherShipParts[19] = ShipPart{400, 200, 28, 23, 1};
    g.ProbeLaunchCounter = 20;
    const int32_t scoreBefore = p.Score;
    counting = true;
    play(300);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_GT(p.Score, scoreBefore);  // the weapons did strike the ship
    int shots = 0;
    for (const EnemyShotRecord& e : g.EnemyShots) shots += e.Active == 1;
    EXPECT_GT(shots, 0);

    // The core down: the shower of explosions up to the last frame of the battle.
    g.MotherShipParts[kLauncher].Energy = 0;
    g.LauncherState = 3;
    g.MotherShipParts[kCore].Energy = 0;
    g.MotherShipParts[kCore].Hit = 1;
    counting = true;
    play(499);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(w.shell.CurrentScene, Scene::HlavniHra);
    EXPECT_EQ(g.DestructionCounter, 499);
}

}  // namespace
