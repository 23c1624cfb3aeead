// Cost of the drawing work every frame repeats: a keyed 100x100 sprite, a
// full-screen opaque picture, a 40-character text line and the copy of the
// finished surface toward the screen. Each is also reported as a multiple of
// one full-screen opaque blit measured in the same run (x_fullscreen_blit).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

#include "media/canvas.h"
#include "media/cp1250.h"
#include "media/headless_platform.h"
#include "media/picture.h"
#include "media/sharp_scaler.h"

namespace {

// Thread CPU time, so that other work on a shared machine does not skew the ratios.
struct Clock {
    using duration = std::chrono::nanoseconds;
    using time_point = std::chrono::time_point<Clock, duration>;
    static time_point now() {
        timespec ts;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return time_point(duration(int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec));
    }
};

// A round craft on the key colour; ragged pictures also get a hole every 23
// pixels, giving five or more opaque runs per row.
PictureItem MakePicture(int width, int height, bool transparent, bool ragged = false) {
    RgbImage image;
    image.width = width;
    image.height = height;
    const int cx = width / 2, cy = height / 2, r2 = (width / 2) * (height / 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool inside =
                (x - cx) * (x - cx) + (y - cy) * (y - cy) < r2 && (!ragged || (x * 7 + y * 3) % 23 != 0);
            image.pixels.push_back(inside ? 0x204080u + uint32_t(x * 2 + y) : 0xFF00FFu);
        }
    PictureItem item;
    item.Name = "bench";
    item.Transparent = transparent;
    item.TransparentColor = 0xFF00FF;
    PreparePicture(item, image);
    return item;
}

// Nanoseconds of one full-screen opaque blit: the best of several batches.
double FullScreenBlitNs() {
    static const double ns = [] {
        PictureItem screen = MakePicture(kSurfaceWidth, kSurfaceHeight, false);
        auto surface = std::make_unique<Surface>();
        double best = 1e30;
        for (int batch = 0; batch < 5; ++batch) {
            const auto start = Clock::now();
            for (int i = 0; i < 50; ++i) {
                DrawPattern(screen, *surface, 0, 0, 0);
                benchmark::ClobberMemory();
            }
            const double each = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / 50;
            best = std::min(best, each);
        }
        return best;
    }();
    return ns;
}

// Runs body once per iteration and reports the time as a multiple of the reference blit.
template <typename Body>
void RunRelative(benchmark::State& state, Body body) {
    const double reference = FullScreenBlitNs();
    const auto start = Clock::now();
    for (auto _ : state) {
        body();
        benchmark::ClobberMemory();
    }
    const double each =
        std::chrono::duration<double, std::nano>(Clock::now() - start).count() / double(state.iterations());
    state.counters["x_fullscreen_blit"] = each / reference;
}

void BM_FullScreenOpaqueBlit(benchmark::State& state) {
    PictureItem screen = MakePicture(kSurfaceWidth, kSurfaceHeight, false);
    auto surface = std::make_unique<Surface>();
    RunRelative(state, [&] { DrawPattern(screen, *surface, 0, 0, 0); });
}
BENCHMARK(BM_FullScreenOpaqueBlit);

void BM_DrawPatternOpaque100(benchmark::State& state) {
    PictureItem sprite = MakePicture(100, 100, false);
    auto surface = std::make_unique<Surface>();
    int x = 0;
    RunRelative(state, [&] {
        DrawPattern(sprite, *surface, x, 200, 0);
        x = (x + 37) % 700;
    });
}
BENCHMARK(BM_DrawPatternOpaque100);

void BM_DrawPatternKeyed100(benchmark::State& state) {
    PictureItem sprite = MakePicture(100, 100, true, state.range(0) != 0);
    PictureItem opaque = MakePicture(100, 100, false);
    auto surface = std::make_unique<Surface>();
    // The opaque copy of the same size, to hold the keyed blit against.
    double opaqueNs = 1e30;
    for (int batch = 0; batch < 5; ++batch) {
        const auto start = Clock::now();
        for (int i = 0; i < 2000; ++i) {
            DrawPattern(opaque, *surface, (i * 37) % 700, 200, 0);
            benchmark::ClobberMemory();
        }
        opaqueNs = std::min(opaqueNs, std::chrono::duration<double, std::nano>(Clock::now() - start).count() / 2000);
    }
    int x = 0;
    const auto start = Clock::now();
    RunRelative(state, [&] {
        DrawPattern(sprite, *surface, x, 200, 0);
        x = (x + 37) % 700;
    });
    const double each =
        std::chrono::duration<double, std::nano>(Clock::now() - start).count() / double(state.iterations());
    state.counters["x_opaque_100"] = each / opaqueNs;
}
// Argument 0: a smooth outline; 1: a ragged one with many runs per row.
BENCHMARK(BM_DrawPatternKeyed100)->Arg(0)->Arg(1);

void BM_TextOut40(benchmark::State& state) {
    auto surface = std::make_unique<Surface>();
    Canvas canvas;
    canvas.surface = surface.get();
    SurfaceCanvas(canvas);
    canvas.Font = CanvasFont{"Arial", 13, false, 0x00FF00};
    canvas.BrushColor = 0;
    const std::string line = Utf8ToCp1250("Příliš žluťoučký kůň úpěl ďábelské ódy!!");
    TextOut(canvas, 10, 10, line);  // the glyphs are rendered once, before timing
    RunRelative(state, [&] { TextOut(canvas, 10, 100, line); });
    ReleaseCanvas(canvas);
}
BENCHMARK(BM_TextOut40);

// The SDL upload path: the 5-6-5 surface copied row by row into a streaming
// texture whose rows may be padded.
void BM_PresentTextureCopy(benchmark::State& state) {
    auto surface = std::make_unique<Surface>();
    const int pitch = kSurfaceWidth * 2 + 64;
    std::vector<uint8_t> texture(size_t(pitch) * kSurfaceHeight);
    RunRelative(state, [&] {
        for (int y = 0; y < kSurfaceHeight; ++y)
            std::memcpy(texture.data() + size_t(y) * pitch, surface->pixels[y], sizeof(surface->pixels[0]));
    });
}
BENCHMARK(BM_PresentTextureCopy);

// Sharp scaling of a whole changed frame on the CPU (the window-pixels present
// path full screen): 1440 x 1080 on a 1920 x 1080 screen (argument 1080) and
// 960 x 720 on a 1280 x 720 one (720).
void BM_PresentSharpScale(benchmark::State& state) {
    const int h = int(state.range(0)), w = h * 4 / 3;
    std::vector<uint32_t> frame(size_t(kSurfaceWidth) * kSurfaceHeight);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    std::vector<uint32_t> window(size_t(w) * h);
    SharpScaler scaler;
    scaler.Resize(w, h);
    RunRelative(state, [&] {
        int first = 0, end = 0;
        scaler.Scale(reinterpret_cast<const uint8_t*>(frame.data()), kSurfaceWidth * 4, 0, kSurfaceHeight,
                     reinterpret_cast<uint8_t*>(window.data()), w * 4, first, end);
    });
}
BENCHMARK(BM_PresentSharpScale)->Arg(1080)->Arg(720);

// The headless present: counting the frame and hashing the surface.
void BM_PresentHeadless(benchmark::State& state) {
    auto surface = std::make_unique<Surface>();
    auto platform = CreateHeadlessPlatform();
    RunRelative(state, [&] { platform->Present(*surface); });
}
BENCHMARK(BM_PresentHeadless);

}  // namespace
