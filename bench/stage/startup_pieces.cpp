// The game's start-up taken apart: the window, the sound device, the four
// picture collections, the wave collection and its conversion to the mixer's
// format, the texts, the fonts, the saved files and the intro module, each
// timed as the game loads it.
#include "startup_pieces.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>

#include "frontend/texts.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/headless_platform.h"
#include "media/music.h"
#include "state/saved_files.h"
#include "state/world.h"

namespace {

class StepClock {
public:
    template <class Step>
    void Time(const char* name, Step step) {
        const auto start = std::chrono::steady_clock::now();
        step();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        total_ += ms;
        std::printf("  %-34s %7.1f ms\n", name, ms);
    }
    double Total() const { return total_; }

private:
    double total_ = 0;
};

}  // namespace

int TimeStartUpPieces(const std::string& dataDir, bool window) {
    try {
        StepClock clock;
        std::unique_ptr<Platform> platform;
        clock.Time(window ? "SDL window and present path" : "headless platform", [&] {
            if (window) {
                SdlOptions options;
                options.fullScreen = false;
                platform = CreateSdlPlatform(options);
            } else {
                platform = CreateHeadlessPlatform();
            }
        });
        if (!platform) throw std::runtime_error("cannot open the display");
        auto world = std::make_unique<World>();
        World& w = *world;
        w.media.platform = platform.get();
        w.media.music.mixer = w.media.mixer.get();
        w.media.dataDir = w.media.music.dataDir = w.shell.options.dataDir = dataDir;
        w.shell.options.saveDir.assign(1, '.');  // the working directory
        clock.Time("sound device", [&] { platform->OpenAudio(*w.media.mixer); });
        auto pictures = [&](PictureCollection& c, const char* name) {
            LoadPictureCollection(c, ResolveAssetPath(dataDir, name));
        };
        clock.Time("pictures: mesto.lev", [&] { pictures(w.media.Level, "video\\mesto.lev"); });
        clock.Time("pictures: menu.lev", [&] { pictures(w.media.MenuObr, "video\\menu.lev"); });
        clock.Time("pictures: rakety.lev", [&] { pictures(w.media.Rakety, "video\\rakety.lev"); });
        clock.Time("pictures: obrazky.lev", [&] { pictures(w.media.Obrazky, "video\\obrazky.lev"); });
        clock.Time("waves: zvuky.lev read",
                   [&] { LoadWaveCollection(w.media.Zvuky, ResolveAssetPath(dataDir, "audio\\zvuky.lev")); });
        clock.Time("waves: converted to 44100 Hz float", [&] { AttachWaves(*w.media.mixer, w.media.Zvuky); });
        clock.Time("texts", [&] { LoadTexts(w); });
        clock.Time("fonts (fontconfig, SDL_ttf)", [&] { PreloadFonts(w.media.canvas); });
        clock.Time("saved files", [&] {
            LoadScoresFile(w);
            LoadProfilesFile(w);
            LoadSettingsFile(w);
        });
        clock.Time("module: intro.mod (libopenmpt)", [&] {
            OpenMusic(w.media.music, -1, 44100, 0, nullptr);
            StartMusic(w.media.music);
            LoadSong(w.media.music, false, "audio\\intro.mod", 0, 0, kMusicLoop | kMusicRamp);
        });
        std::printf("  %-34s %7.1f ms\n", "sum of the steps", clock.Total());
        CloseMusic(w.media.music);
        platform->CloseAudio();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavrix-stage: %s\n", e.what());
        return 1;
    }
}
