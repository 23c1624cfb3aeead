// Shared by the benchmarks: thread CPU time (so other work on a shared
// machine does not skew the numbers) and the reference every cost is also
// reported against, one full-screen opaque blit measured in the same run.
#pragma once
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "media/headless_platform.h"
#include "state/world.h"

double BenchThreadNs();
// Nanoseconds of one 800 x 600 opaque DrawPattern: the best of several batches.
double ReferenceBlitNs();

// Reports the mean of totalNs over the run's iterations as a multiple of the
// full-screen blit, in the counter "x_fullscreen_blit".
void ReportRelative(benchmark::State& state, double totalNs);

// A world on the headless platform, ready for StartUp: the generated data,
// seed 7, saved files in a scratch directory removed again at the end.
struct BenchWorld {
    std::unique_ptr<HeadlessPlatform> platform;
    std::unique_ptr<World> world;
    std::string saveDir;
    explicit BenchWorld(const std::string& tag);
    ~BenchWorld();
};
