// Cost of one frame of the main menu: with the monitor in static noise (its
// busiest picture, one random grey per pixel) and the terminal typing, and
// with the score page open; and one frame of the story text screen. Each is
// also given as a multiple of one full-screen opaque blit.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <ctime>
#include <memory>

#include "frontend/menu.h"
#include "frontend/text_screen.h"
#include "frontend/texts.h"
#include "game/reset.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/headless_platform.h"
#include "media/picture.h"
#include "state/saved_files.h"
#include "state/world.h"

namespace {

// The menu's world: pictures, waves and texts loaded, sound off.
struct MenuBenchWorld {
    std::unique_ptr<HeadlessPlatform> platform = CreateHeadlessPlatform();
    std::unique_ptr<World> world = std::make_unique<World>();
    MenuBenchWorld() {
        World& w = *world;
        w.media.platform = platform.get();
        w.media.music.mixer = w.media.mixer.get();
        const std::string dir = KAVRIX_TEST_DATA_DIR;
        LoadPictureCollection(w.media.MenuObr, ResolveAssetPath(dir, "video\\menu.lev"));
        LoadPictureCollection(w.media.Rakety, ResolveAssetPath(dir, "video\\rakety.lev"));
        LoadWaveCollection(w.media.Zvuky, ResolveAssetPath(dir, "audio\\zvuky.lev"));
        AttachWaves(*w.media.mixer, w.media.Zvuky);
        LoadTexts(w);
        SeedRandom(w.random, 7);
        ResetGameState(w);
        DefaultScores(w.saved.ScoreTable);
        w.shell.SoundEnabled = 0;
        w.shell.CurrentScene = Scene::Menu;
    }
};

void Report(benchmark::State& state, double totalNs, int64_t frames) {
    state.counters["blits"] = totalNs / double(frames) / ReferenceBlitNs();
}

void BM_MenuFrameNoise(benchmark::State& state) {
    MenuBenchWorld b;
    World& w = *b.world;
    double total = 0;
    int64_t frames = 0;
    for (auto _ : state) {
        w.front.MonitorMode = -1;  // keep the noise on
        w.front.MonitorTimer = 0;
        const double start = BenchThreadNs();
        RunMenu(w);
        total += BenchThreadNs() - start;
        ++frames;
    }
    Report(state, total, frames);
}
BENCHMARK(BM_MenuFrameNoise);

void BM_MenuFrameScorePage(benchmark::State& state) {
    MenuBenchWorld b;
    World& w = *b.world;
    w.front.MenuPage = Page::Scores;
    w.front.HoverItem = 3;
    double total = 0;
    int64_t frames = 0;
    for (auto _ : state) {
        w.front.IdleTimer = 1500;
        const double start = BenchThreadNs();
        RunMenu(w);
        total += BenchThreadNs() - start;
        ++frames;
    }
    Report(state, total, frames);
}
BENCHMARK(BM_MenuFrameScorePage);

void BM_TextScreenFrame(benchmark::State& state) {
    MenuBenchWorld b;
    World& w = *b.world;
    w.shell.CurrentScene = Scene::Uvod;
    double total = 0;
    int64_t frames = 0;
    for (auto _ : state) {
        // The whole story on screen, its busiest state.
        w.game.TextScreenLine = 8;
        w.game.CommanderTextPos = int32_t(w.front.Texty[8].size());
        const double start = BenchThreadNs();
        RunTextScreen(w);
        total += BenchThreadNs() - start;
        ++frames;
    }
    Report(state, total, frames);
}
BENCHMARK(BM_TextScreenFrame);

}  // namespace
