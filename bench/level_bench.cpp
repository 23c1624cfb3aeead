// Cost of level construction (BuildLevel for every level at difficulty 3)
// and of the level objects' frame at the busiest moment of levels 3 and 7,
// with the player's shots in the air. Each is also given as a multiple of
// one full-screen opaque blit measured in the same run.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "busiest_scroll.h"

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>

#include "game/level_build.h"
#include "game/level_objects.h"
#include "game/reset.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/headless_platform.h"
#include "media/picture.h"
#include "state/world.h"

namespace {

struct LevelBenchWorld {
    std::unique_ptr<HeadlessPlatform> platform = CreateHeadlessPlatform();
    std::unique_ptr<World> world = std::make_unique<World>();
    LevelBenchWorld() {
        World& w = *world;
        w.media.platform = platform.get();
        w.shell.options.dataDir = KAVRIX_TEST_DATA_DIR;
        w.shell.SoundEnabled = 0;
        const std::string dir = KAVRIX_TEST_DATA_DIR;
        LoadPictureCollection(w.media.Level, ResolveAssetPath(dir, "video\\mesto.lev"));
        LoadPictureCollection(w.media.Rakety, ResolveAssetPath(dir, "video\\rakety.lev"));
        LoadPictureCollection(w.media.Obrazky, ResolveAssetPath(dir, "video\\obrazky.lev"));
        SeedRandom(w.random, 2026);
        ResetGameState(w);
        w.game.Progress.Difficulty = 3;
    }
};

void BM_BuildLevel(benchmark::State& state) {
    LevelBenchWorld bench;
    World& w = *bench.world;
    const int level = int(state.range(0));
    w.game.Progress.Level = level;
    BuildLevel(w);  // brings in the level's scenery once
    double total = 0;
    for (auto _ : state) {
        w.game.Progress.Level = level;
        const double start = BenchThreadNs();
        BuildLevel(w);
        total += BenchThreadNs() - start;
        benchmark::ClobberMemory();
    }
    const double each = total / double(std::max<int64_t>(1, int64_t(state.iterations())));
    state.counters["x_fullscreen_blit"] = each / ReferenceBlitNs();
}
BENCHMARK(BM_BuildLevel)->DenseRange(1, 9)->Unit(benchmark::kMicrosecond);

// A volley of every weapon spread over the screen, so the strike tests of
// the objects' pass find shots near every object.
void FillShots(GameState& g) {
    for (int i = 0; i < kShotCount; ++i) {
        const int x = 40 + i * 38;
        g.LaserShots[i] = ShotRecord{x, 100 + (i % 5) * 90, 0, 0, 20, 0, 1};
        g.RocketShots[i] = ShotRecord{x + 10, 150 + (i % 4) * 100, 0, 0, 40, 0, 1};
        g.SideBallShots[i] = ShotRecord{x + 5, 300, 0, 0, 20, 1 + i % 2, 1};
        g.DiagonalBallShots[i] = ShotRecord{x + 15, 250 + (i % 3) * 60, 0, 0, 20, 1 + i % 2, 1};
        g.BombShots[i] = ShotRecord{x, 400 - (i % 4) * 40, x, 420, 100, 0, 1};
    }
    for (int i = 0; i < kOrbCount; ++i) g.ShieldOrbs[i] = ShotRecord{340 + i * 10, 260 + i * 5, 0, 0, 300, 0, 1};
}

// Builds the level with a fixed seed and returns its busiest scroll distance.
int32_t BusiestMoment(World& w, int level) {
    GameState& g = w.game;
    g.Progress.Level = level;
    g.Progress.ScrollDistance = 600;
    SeedRandom(w.random, 77);
    BuildLevel(w);
    g.CommanderStep = 0;
    return BusiestScroll(w);
}

void BM_LevelObjectsBusiestFrame(benchmark::State& state) {
    LevelBenchWorld bench;
    World& w = *bench.world;
    GameState& g = w.game;
    const int level = int(state.range(0));
    const int32_t busiest = BusiestMoment(w, level);
    // Fly again up to just before that moment and keep the state there.
    g.Progress.ScrollDistance = 600;
    SeedRandom(w.random, 77);
    BuildLevel(w);
    g.CommanderStep = 0;
    for (int32_t scroll = 600; scroll < busiest; ++scroll) {
        g.Progress.ScrollDistance = scroll;
        UpdateLevelObjects(w);
    }
    g.Progress.ScrollDistance = busiest;
    const auto snapshot = std::make_unique<GameState>(g);
    int inPlay = 0;
    for (const LevelObject& o : g.LevelObjects) inPlay += o.Visible == 1;

    double total = 0;
    for (auto _ : state) {
        g = *snapshot;
        FillShots(g);
        const double start = BenchThreadNs();
        UpdateLevelObjects(w);
        total += BenchThreadNs() - start;
        benchmark::ClobberMemory();
    }
    const double each = total / double(std::max<int64_t>(1, int64_t(state.iterations())));
    state.counters["x_fullscreen_blit"] = each / ReferenceBlitNs();
    state.counters["objects_in_play"] = inPlay;
}
BENCHMARK(BM_LevelObjectsBusiestFrame)->Arg(3)->Arg(7)->Unit(benchmark::kMicrosecond);

}  // namespace
