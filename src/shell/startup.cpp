// Program start and end: the five collections from the data directory (those
// with words in the language's variant), the texts, priming of the sound
// effects, the saved files or their defaults, the new-game reset and the
// music library, leaving the game in "Intro".
#include "shell/startup.h"

#include <chrono>
#include <future>
#include <string>

#include "frontend/language.h"
#include "frontend/texts.h"
#include "game/reset.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/media_error.h"
#include "state/saved_files.h"
#include "state/world.h"

namespace {

constexpr int kPrimedSounds = 26;
#ifdef KAVRIX_SINGLE_THREADED
constexpr std::launch kFontLaunch = std::launch::deferred;
#else
constexpr std::launch kFontLaunch = std::launch::async;
#endif

// Loading errors name the collection file, so the user knows what is missing.
template <class Collection, class Loader>
void LoadCollection(World& w, Collection& collection, const std::string& assetName, Loader load) {
    const std::string path = ResolveAssetPath(w.shell.options.dataDir, assetName);
    try {
        load(collection, path);
    } catch (const std::exception& error) {
        throw MediaError(std::string("Cannot load collection file '") + path + "': " + error.what());
    }
}

// Every effect is played five times in silence and stopped, leaving each at
// -1000 (hundredths of a dB) for the rest of the run.
void PrimeSounds(World& w) {
    // The first 26 effects are primed by index: a sound file with fewer is
    // named here, before any effect is touched, rather than failing part-way.
    if (int(w.media.Zvuky.items.size()) < kPrimedSounds) {
        throw MediaError("Cannot load collection file '" +
                         ResolveAssetPath(w.shell.options.dataDir, "audio\\zvuky.lev") + "': it holds " +
                         std::to_string(w.media.Zvuky.items.size()) + " sounds, " + std::to_string(kPrimedSounds) +
                         " needed");
    }
    Mixer& mixer = *w.media.mixer;
    for (int i = 0; i < kPrimedSounds; ++i) {
        WaveItem& item = SoundAt(w.media.Zvuky, i);
        for (int k = 0; k < 5; ++k) {
            SetSoundVolume(mixer, item, -10000);
            PlaySound(mixer, item);
        }
    }
    for (int i = 0; i < kPrimedSounds; ++i) {
        WaveItem& item = SoundAt(w.media.Zvuky, i);
        for (int k = 0; k < 5; ++k) {
            StopSound(mixer, item);
            SetSoundVolume(mixer, item, -1000);
        }
    }
}

}  // namespace

uint32_t ClockSeed(const World& w) {
    if (w.shell.options.seed >= 0) return uint32_t(w.shell.options.seed);
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void LoadGameData(World& w) {
    // The fonts' glyphs are rendered on a second thread while the
    // collections load and the waves are converted: they share nothing until
    // the first text is drawn, and start-up takes the longer of the two. The
    // browser build has no threads: there they are rendered at the end.
    std::future<void> fonts = std::async(kFontLaunch, [&canvas = w.media.canvas] { PreloadFonts(canvas); });
    LoadCollection(w, w.media.Level, "video\\mesto.lev", LoadPictureCollection);
    // The collections with words in the language's variant.
    const Language language = w.shell.language;
    LoadWordsCollection(w.media.MenuObr, w.shell.options.dataDir, language, kMenuAsset);
    LoadCollection(w, w.media.Rakety, "video\\rakety.lev", LoadPictureCollection);
    LoadWordsCollection(w.media.Obrazky, w.shell.options.dataDir, language, kObrazkyAsset);
    LoadCollection(w, w.media.Zvuky, "audio\\zvuky.lev", LoadWaveCollection);
    AttachWaves(*w.media.mixer, w.media.Zvuky);
    LoadTexts(w);
    fonts.get();  // a missing font is reported from here
}

void LoadAssets(World& w) {
    w.shell.CurrentScene = Scene::Intro;
    SeedRandom(w.random, ClockSeed(w));
    w.front.MenuPage = Page::None;

    LoadGameData(w);
    PrimeSounds(w);

    w.game.Progress.Level = 1;
    RemoveStaleSaveTemporaries(w);
    LoadScoresFile(w);
    w.game.Progress.Difficulty = 2;
    w.game.Progress.PlayerName = ShortString20{};
    w.front.GameActive = 0;
    w.front.EnteredName.Assign("");
    w.saved.CurrentProfile = 0;
    LoadProfilesFile(w);

    w.front.IdleTimer = 0;
    w.front.LogoHoverState = 0;
    w.front.SelectionPulse = 1;
    w.front.HoverItem = 10;
    w.front.TypedKey = 0;
    w.front.NameEntryActive = 0;
}

void StartUp(World& w) {
    w.media.dataDir = w.shell.options.dataDir;
    w.media.music.dataDir = w.shell.options.dataDir;
    if (!w.media.music.mixer) w.media.music.mixer = w.media.mixer.get();

    // The display is fixed at 16 bits per pixel, so there is no palette to
    // build from the collections' colour tables.
    w.shell.ShowFrameRate = 0;
    LoadAssets(w);
    ResetGameState(w);
    LoadSettingsFile(w);
    SetMusicVolumes(w.media.music, w.shell.MusicVolume, 1, 1);
    OpenMusic(w.media.music, -1, 44100, 0, nullptr);
    StartMusic(w.media.music);
    // Loaded looping (4) with ramping (1), not played: the intro starts it.
    w.shell.MusicChannel = LoadSong(w.media.music, false, "audio\\intro.mod", 0, 0, kMusicLoop | kMusicRamp);
}

void ShutDown(World& w) { CloseMusic(w.media.music); }
