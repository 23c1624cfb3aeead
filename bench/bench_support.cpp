// Thread CPU time and the full-screen blit reference of the benchmarks.
#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <system_error>

#include "media/picture.h"

double BenchThreadNs() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
}

double ReferenceBlitNs() {
    static const double ns = [] {
        RgbImage image;
        image.width = kSurfaceWidth;
        image.height = kSurfaceHeight;
        image.pixels.resize(size_t(kSurfaceWidth) * kSurfaceHeight);
        for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
        PictureItem screen;
        screen.Name = "screen";
        screen.Transparent = false;
        PreparePicture(screen, image);
        auto surface = std::make_unique<Surface>();
        double best = 1e30;
        for (int batch = 0; batch < 5; ++batch) {
            const double start = BenchThreadNs();
            for (int i = 0; i < 50; ++i) {
                DrawPattern(screen, *surface, 0, 0, 0);
                benchmark::ClobberMemory();
            }
            best = std::min(best, (BenchThreadNs() - start) / 50);
        }
        return best;
    }();
    return ns;
}

void ReportRelative(benchmark::State& state, double totalNs) {
    const double each = totalNs / double(std::max<int64_t>(1, int64_t(state.iterations())));
    state.counters["x_fullscreen_blit"] = each / ReferenceBlitNs();
}

BenchWorld::BenchWorld(const std::string& tag) : platform(CreateHeadlessPlatform()), world(std::make_unique<World>()) {
    saveDir = (std::filesystem::temp_directory_path() / ("kavrix-" + tag + "-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(saveDir);
    World& w = *world;
    w.media.platform = platform.get();
    w.media.music.mixer = w.media.mixer.get();
    w.shell.options.dataDir = KAVRIX_TEST_DATA_DIR;
    w.shell.options.saveDir = saveDir;
    w.shell.options.seed = 7;
    platform->OpenAudio(*w.media.mixer);
}

BenchWorld::~BenchWorld() {
    std::error_code ec;
    std::filesystem::remove_all(saveDir, ec);
}
