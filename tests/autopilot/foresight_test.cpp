// The autopilot's model of the game against the game itself: it plays a
// barrier level and a level of armed cruisers, and every frame the ship must
// be where its ship model put it and every hit taken must have been in the
// plan's forecast. A change of the game's flight, hit boxes, speeds or guns
// that the autopilot does not know of fails here, not as a weaker pilot.
#include <gtest/gtest.h>

#include "game_run.h"
#include "test_support.h"

namespace {

autopilot::PilotReport Play(int level, int difficulty, uint32_t seed, int frames) {
    autopilot::GameSetup setup;
    setup.dataDir = TestDataDir();
    setup.seed = seed;
    setup.level = level;
    setup.frameLimit = frames;
    setup.pilot.difficulty = difficulty;
    const autopilot::GameResult result = autopilot::PlayGame(setup);
    EXPECT_EQ(result.status, 0);
    return result.report;
}

TEST(AutopilotForesight, ShipModelAndForecastMatchTheGame) {
    struct Case {
        int level, difficulty;
        uint32_t seed;
        int frames;
    };
    // Barrier rows at the hardest setting, and cruisers firing pairs of shots.
    for (const Case c : {Case{3, 3, 50, 2600}, Case{5, 3, 1, 2500}}) {
        SCOPED_TRACE("level " + std::to_string(c.level) + " difficulty " + std::to_string(c.difficulty));
        const autopilot::PilotReport r = Play(c.level, c.difficulty, c.seed, c.frames);
        EXPECT_EQ(r.frames, c.frames);
        EXPECT_EQ(r.shipMispredictions, 0);
        EXPECT_GT(r.hits, 0) << "no hit taken: nothing was checked";
        EXPECT_EQ(r.unforeseenHits, 0);
    }
}

}  // namespace
