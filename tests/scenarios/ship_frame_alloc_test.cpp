// Frames of play with every weapon and companion in flight must not touch
// the heap: this executable counts the allocations made while frames run.
#include <gtest/gtest.h>

#include "heap_counter.h"
#include "shell/frame.h"
#include "state/saved_files.h"
#include "test_support.h"

namespace {

TEST(ShipFrameHeap, FramesWithEveryWeaponAndCompanionAllocateNothing) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    w.shell.options.saveDir = MakeTempDir("ship-frame-heap");
    w.shell.MusicEnabled = 0;  // loading a song is the one allocation a game frame may make
    w.shell.SoundEnabled = 1;
    DefaultProfiles(w.saved);
    p.Level = 2;
    p.ScrollDistance = 3000;
    p.LevelEnd = 9500;
    g.ArrivalWidth = g.ArrivalHeight = 72;
    p.HasGoodLaser = p.HasDiagonalBalls = p.HasRockets = p.HasSideBalls = p.HasBombs = 1;
    g.BombTick = 10;
    g.InvulnerableEnergy = 100;
    w.shell.CurrentScene = Scene::HlavniHra;
    w.front.GameActive = 1;

    // Orbs, discs, an egg beam and the wingmen called with keys 1, 2, 3
    // and 1 again, fire held throughout.
    p.ItemSlots[1] = 3;
    p.ItemSlots[2] = 2;
    p.ItemSlots[3] = 1;
    auto key = [&](GameKey k, bool down) { t.platform->heldKeys.set(size_t(k), down); };
    key(GameKey::Space, true);
    key(GameKey::Right, true);
    const GameKey items[] = {GameKey::Key1, GameKey::Key2, GameKey::Key3};
    for (GameKey item : items) {
        key(item, true);
        RunFrame(w);
        key(item, false);
        RunFrame(w);
    }
    p.ItemSlots[1] = 4;
    key(GameKey::Key1, true);
    RunFrame(w);
    key(GameKey::Key1, false);
    for (int f = 0; f < 60; ++f) RunFrame(w);  // caches and voices settle
    ASSERT_EQ(w.shell.CurrentScene, Scene::HlavniHra);
    ASSERT_EQ(g.EggBeams[0].Active, 1);
    ASSERT_EQ(g.HomingDiscs[0][0].Active, 1);
    ASSERT_GT(g.Wingmen[0].State, 0);

    counting = true;
    for (int f = 0; f < 120; ++f) {
        if (f == 40) key(GameKey::Right, false), key(GameKey::Left, true);
        RunFrame(w);
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    int lasers = 0;
    for (const ShotRecord& shot : g.LaserShots) lasers += shot.Active;
    EXPECT_GT(lasers, 0);
}

}  // namespace
