// Playing the levels with the generated pictures and sounds: every level is
// built and flown for a while with the fire key held through the game
// scene's frame, and level 9's layout is reproduced by a replay.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/game_scene.h"
#include "game/level_build.h"
#include "game/reset.h"
#include "media/surface.h"
#include "shell/frame.h"
#include "test_support.h"

namespace {

struct Flight {
    int objectsInPlay = 0;   // most objects in play at once
    int enemyShotsSeen = 0;  // most enemy shots in flight at once
    int struck = 0;          // most objects showing sparks or explosions at once
    int spentSlots = 0;
};

Flight FlyLevel(World& w, HeadlessPlatform& platform, int level, int frames) {
    GameState& g = w.game;
    g.Progress.Level = level;
    g.Progress.Difficulty = 3;
    g.Progress.ScrollDistance = 600;
    BuildLevel(w);
    g.CommanderStep = 0;  // the briefing is its own routine's business
    w.shell.CurrentScene = Scene::HlavniHra;
    platform.heldKeys.set(size_t(GameKey::Space));
    Flight f;
    for (int frame = 0; frame < frames; ++frame) {
        FillSurface(*w.media.back, 0);
        SampleInput(w.media.input, w.media.platform);
        RunGameScene(w);
        // Keep the ship alive and its gun charged: this flight is about the objects.
        g.Progress.Energy = 100;
        g.WeaponEnergy = 110;
        int inPlay = 0, shots = 0, struck = 0;
        for (const LevelObject& o : g.LevelObjects) {
            inPlay += o.Visible == 1;
            struck += o.Hit != 0;
        }
        f.struck = std::max(f.struck, struck);
        for (const EnemyShotRecord& e : g.EnemyShots) shots += e.Active == 1;
        f.objectsInPlay = std::max(f.objectsInPlay, inPlay);
        f.enemyShotsSeen = std::max(f.enemyShotsSeen, shots);
    }
    for (const LevelObject& o : g.LevelObjects) f.spentSlots += o.X == -1;
    return f;
}

TEST(LevelPlay, EveryLevelComesToLifeWithTheGamesOwnPicturesAndSounds) {
    auto t = MakeTestWorld(true);
    for (int level = 1; level <= 9; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        SeedRandom(t.w().random, 4000u + uint32_t(level));
        ResetGameState(t.w());
        const Flight f = FlyLevel(t.w(), *t.platform, level, 700);
        EXPECT_GT(f.objectsInPlay, 0);
        // Struck by the ship's fire or by ramming it.
        EXPECT_GT(f.struck, 0);
        // Unused slots and everything far behind are spent by now.
        EXPECT_GT(f.spentSlots, 0);
        const bool armedEarly = level == 4 || level == 5 || level == 6 || level == 7 || level == 8 || level == 9;
        if (armedEarly) {
            EXPECT_GT(f.enemyShotsSeen, 0);
        }
    }
}

TEST(LevelPlay, LevelNineIsBuiltAlikeByAReplayAndAfreshAtAnotherMoment) {
    auto t = MakeTestWorld(true);
    auto layout = [&](uint32_t seed, uint32_t clock) {
        SeedRandom(t.w().random, seed);
        ResetGameState(t.w());
        t.platform->clock = clock;
        t.w().game.Progress.Level = 9;
        t.w().game.Progress.Difficulty = 3;
        BuildLevel(t.w());
        std::vector<int32_t> xy;
        for (const LevelObject& o : t.w().game.LevelObjects) {
            xy.push_back(o.X);
            xy.push_back(o.Y);
            xy.push_back(o.Picture);
        }
        return xy;
    };
    // The random source is reseeded from the clock, so the seed of the run
    // before does not matter, only the moment.
    EXPECT_EQ(layout(1, 123456), layout(99, 123456));
    EXPECT_NE(layout(1, 123456), layout(1, 123472));
}

}  // namespace
