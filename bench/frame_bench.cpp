// Cost of one whole frame of the game scene (level 1 in flight, every
// gameplay routine, the HUD and presenting) and of start-up loading (the
// five collections, texts, sound priming, saved files). Each is also given
// as a multiple of one full-screen opaque blit measured in the same run.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>

#include "media/headless_platform.h"
#include "media/picture.h"
#include "shell/frame.h"
#include "shell/runner.h"
#include "shell/startup.h"
#include "state/world.h"

namespace {

void BM_GameSceneFrame(benchmark::State& state) {
    BenchWorld b("bench");
    World& w = *b.world;
    StartUp(w);
    w.shell.MusicEnabled = 0;
    auto newGame = [&] {
        StartNewGame(w, "Bench", 2, 1);
        // Without the opening briefing (it holds the scroll), part way up
        // the level and past the ship's arrival, objects in view.
        w.game.CommanderStep = 0;
        w.game.Progress.ScrollDistance = 1500;
        for (int i = 0; i < 300; ++i) RunFrame(w);
    };
    newGame();
    double total = 0;
    int64_t scrolled = 0;
    for (auto _ : state) {
        // Keep the game on level 1 in flight: before the end of the level,
        // with the ship alive.
        if (w.game.Progress.ScrollDistance > 9000 || w.shell.CurrentScene != Scene::HlavniHra) {
            state.PauseTiming();
            newGame();
            state.ResumeTiming();
        }
        const int32_t before = w.game.Progress.ScrollDistance;
        const double start = BenchThreadNs();
        RunFrame(w);
        total += BenchThreadNs() - start;
        scrolled += w.game.Progress.ScrollDistance - before == 1;
    }
    ReportRelative(state, total);
    // Share of the measured frames in which the level really scrolled on.
    state.counters["scrolling"] = double(scrolled) / double(std::max<int64_t>(1, int64_t(state.iterations())));
    ShutDown(w);
}
BENCHMARK(BM_GameSceneFrame);

void BM_StartUpLoading(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto b = std::make_unique<BenchWorld>("bench");
        state.ResumeTiming();
        const double start = BenchThreadNs();
        StartUp(*b->world);
        total += BenchThreadNs() - start;
        state.PauseTiming();
        ShutDown(*b->world);
        b.reset();
        state.ResumeTiming();
    }
    ReportRelative(state, total);
}
BENCHMARK(BM_StartUpLoading)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
