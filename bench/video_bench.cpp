// Rendering a game into a video: level 1 in flight with the fire key held,
// each tick split into the game's frame, its sound (mixing, resampling and
// Opus) and its picture (conversion and VP9), as process CPU time (the
// encoder's own threads included) per tick, and the speed as a multiple of
// real time (16 ms of game a tick) by the wall clock and by CPU time.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <unistd.h>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "shell/frame.h"
#include "shell/runner.h"
#include "shell/startup.h"
#include "state/world.h"
#include "video/writer.h"

namespace {

double ProcessNs() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

double WallNs() {
    return double(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

void BM_VideoTick(benchmark::State& state) {
    const int scale = int(state.range(0));
    BenchWorld b("video-bench");
    World& w = *b.world;
    b.platform->StartCapture();
    b.platform->OpenAudio(*w.media.mixer);
    StartUp(w);
    b.platform->heldKeys.set(size_t(GameKey::Space));
    auto newGame = [&] {
        StartNewGame(w, "Bench", 2, 1);
        w.game.CommanderStep = 0;  // no briefing: the level scrolls at once
        w.game.Progress.ScrollDistance = 1500;
        for (int i = 0; i < 300; ++i) RunFrame(w);
    };
    newGame();
    const std::string path = b.saveDir + "/bench.webm";
    double gameNs = 0, soundNs = 0, pictureNs = 0, wallNs = 0;
    {
        VideoWriter writer(path, scale);
        int16_t sound[2 * kMaxTickSamples];
        for (auto _ : state) {
            if (w.game.Progress.ScrollDistance > 9000 || w.shell.CurrentScene != Scene::HlavniHra) {
                state.PauseTiming();
                newGame();
                state.ResumeTiming();
            }
            const double wall = WallNs();
            const double t0 = ProcessNs();
            RunFrame(w);
            w.game.Progress.Energy = 100;  // keep the ship flying
            const double t1 = ProcessNs();
            writer.AddSound(sound, b.platform->RenderTickAudio(sound));
            const double t2 = ProcessNs();
            writer.AddPicture(b.platform->PresentedPicture());
            const double t3 = ProcessNs();
            wallNs += WallNs() - wall;
            gameNs += t1 - t0;
            soundNs += t2 - t1;
            pictureNs += t3 - t2;
        }
        writer.Finish();
    }
    const double ticks = double(std::max<int64_t>(1, int64_t(state.iterations())));
    state.counters["game_ms"] = gameNs / ticks / 1e6;
    state.counters["sound_ms"] = soundNs / ticks / 1e6;
    state.counters["picture_ms"] = pictureNs / ticks / 1e6;
    state.counters["x_real_time_wall"] = 16e6 * ticks / wallNs;
    state.counters["x_real_time_cpu"] = 16e6 * ticks / (gameNs + soundNs + pictureNs);
    std::error_code ec;
    state.counters["MB_per_minute"] = double(std::filesystem::file_size(path, ec)) / 1e6 * 3750.0 / ticks;
    ShutDown(w);
}
BENCHMARK(BM_VideoTick)->Arg(1)->Arg(2)->Iterations(1500)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
