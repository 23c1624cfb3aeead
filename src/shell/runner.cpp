// The main loop: a platform (SDL or headless) wrapped so that the held keys
// of a frame come from one place (keyboard, input script or replay), the
// window's events delivered to the menu's handlers between frames (and the
// full-screen switch and the close button handled), and the frame run once
// per tick until the game quits or the frame count is done.
#include "shell/runner.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <vector>

#include "frontend/menu_input.h"
#include "game/level_build.h"
#include "game/reset.h"
#include "media/cp1250.h"
#include "media/headless_platform.h"
#include "media/png_writer.h"
#include "shell/data_folder.h"
#include "shell/display_settings.h"
#include "shell/frame.h"
#include "shell/frame_platform.h"
#include "shell/input_script.h"
#include "shell/pad_pointer.h"
#include "shell/replay.h"
#include "shell/startup.h"
#include "shell/state_dump.h"
#include "shell/video_capture.h"
#include "state/damaged_saves.h"
#include "state/saved_files.h"
#include "state/user_folders.h"
#include "state/world.h"

namespace {

constexpr uint32_t kHeadlessSeed = 1;

void Deliver(World& w, const ScriptEvent& e) {
    switch (e.kind) {
        case ScriptEventKind::Type: {
            uint8_t key = e.code;
            DXDrawKeyPress(w, key);
            break;
        }
        case ScriptEventKind::Move: DXDrawMouseMove(w, e.x, e.y); break;
        case ScriptEventKind::Click: DXDrawClick(w); break;
        default: break;
    }
}

// Where the saved files go when --save-dir is not given: the per-user data
// folder for the windowed game (created on the first save), the working
// directory for headless runs and replays, so tests and replays keep to their
// folder and never touch the player's own saves.
void ChooseSaveFolder(const RunOptions& options, ShellOptions& shell) {
    shell.createSaveDir = false;
    if (!options.saveDir.empty()) {
        shell.saveDir = options.saveDir;
    } else if (options.headless || !options.replayFile.empty()) {
        shell.saveDir = ".";
    } else if (std::string folder = UserDataFolder(); !folder.empty()) {
        shell.saveDir = folder;
        shell.createSaveDir = true;
    } else {
        std::cerr << "Kavrix: neither XDG_DATA_HOME nor a home folder is known; saved files go to the working "
                     "directory\n";
        shell.saveDir = ".";
    }
}

}  // namespace

void StartNewGame(World& w, const std::string& utf8Name, int difficulty, int level) {
    const std::string name = Utf8ToCp1250(utf8Name);
    if (name.empty() || name.size() > 20)
        throw std::runtime_error("player name '" + utf8Name + "' must have 1 to 20 characters");
    int slot = 0;
    for (int k = 1; k <= 6 && slot == 0; ++k)
        if (w.saved.ProfileTable[k].PlayerName.Empty()) slot = k;
    ProgressRecord& p = w.game.Progress;
    ResetGameState(w);
    p.Difficulty = uint8_t(difficulty);
    p.PlayerName.Assign(name);
    p.Level = 1;
    p.BlackBoxCount = 0;
    if (slot != 0) {
        w.saved.ProfileTable[slot] = p;
        w.saved.CurrentProfile = slot;
        SaveProfiles(w);
    } else {
        std::cerr << "Kavrix: all six profile slots are taken; this game is not saved\n";
        w.saved.CurrentProfile = 0;
    }
    p.Level = level;
    BuildLevel(w);
    w.shell.FinishPassed = 0;
    w.shell.CurrentScene = Scene::HlavniHra;
    w.front.GameActive = 1;
}

void WriteScreenshot(const World& w, const std::string& path) {
    if (!WritePng(*w.media.back, path)) throw std::runtime_error("cannot write screenshot '" + path + "'");
}

namespace {

// The input that drives a run: an input script, or a recording to replay,
// split into its input lines and its hash lines. Returns 0, or 2 with the
// reason on stderr when the file is damaged.
int LoadDrivingScript(const RunOptions& options, InputScript& script, std::vector<ScriptEvent>& hashes) {
    const bool replaying = !options.replayFile.empty();
    const std::string file = replaying ? options.replayFile : options.inputFile;
    if (file.empty()) return 0;
    std::string error;
    if (!LoadInputScript(file, script, error)) {
        std::cerr << "Kavrix: " << error << "\n";
        return 2;
    }
    std::vector<ScriptEvent> inputs;
    for (const ScriptEvent& e : script.events) (e.kind == ScriptEventKind::Hash ? hashes : inputs).push_back(e);
    script.events = std::move(inputs);
    if (replaying && hashes.empty()) {
        std::cerr << "Kavrix: replay '" << file << "' holds no hash lines: it is not a recording\n";
        return 2;
    }
    return 0;
}

// The windowed game's remembered window settings and where they are kept.
struct WindowSettings {
    DisplaySettingsFile file{std::string()};
    DisplaySettings settings;
};

std::unique_ptr<Platform> OpenPlatform(const RunOptions& options, WindowSettings& window,
                                       HeadlessPlatform*& headless) {
    if (options.headless) {
        std::unique_ptr<HeadlessPlatform> platform = CreateHeadlessPlatform();
        headless = platform.get();
        return platform;
    }
    window.file = DisplaySettingsFile(DisplaySettingsPath());
    const SdlOptions sdl = WindowOptions(options, window.file, window.settings);
    try {
        std::unique_ptr<Platform> platform = CreateSdlPlatform(sdl);
        if (!platform) std::cerr << "Kavrix: cannot open the display\n";
        // Which way frames reach the screen, when someone asked about it.
        if (platform && (!options.renderer.empty() || std::getenv("KAVRIX_RENDERER")))
            std::cerr << "Kavrix: presenting through " << platform->PresentPathName() << "\n";
        return platform;
    } catch (const std::exception& e) {
        std::cerr << "Kavrix: cannot open the display: " << e.what() << "\n";
        return nullptr;
    }
}

// The window's close button, and the session ending (which reaches the game
// the same way), quit as the menu's quit does: the settings are saved first.
// A save that fails is reported and the game ends all the same.
void SaveSettingsOnClose(World& w) {
    try {
        SaveSettings(w);
    } catch (const std::exception& e) {
        std::cerr << "Kavrix: " << e.what() << "\n";
    }
}

// Hands the window's events of one tick to the menu's handlers (and the
// recording); a replay listens only to its recording, so it drops them.
void DeliverWindowEvents(World& w, const std::vector<PlatformEvent>& events, int64_t frame, bool replaying,
                         Recorder* recorder, WindowSettings& window) {
    Platform& platform = *w.media.platform;
    for (const PlatformEvent& e : events) {
        if (e.kind == EventKind::Quit) {
            if (!replaying && !platform.IsHeadless()) SaveSettingsOnClose(w);
            w.shell.quitRequested = true;
            continue;
        }
        if (e.kind == EventKind::ToggleFullScreen) {
            platform.SetFullScreen(!platform.IsFullScreen());
            window.settings.fullScreen = platform.IsFullScreen();
            window.file.Save(window.settings);
            continue;
        }
        if (replaying) continue;
        ScriptEvent recorded;
        recorded.frame = frame;
        if (e.kind == EventKind::MouseMove) {
            recorded.kind = ScriptEventKind::Move;
            recorded.x = e.x;
            recorded.y = e.y;
        } else if (e.kind == EventKind::Click) {
            recorded.kind = ScriptEventKind::Click;
        } else if (e.kind == EventKind::KeyPress) {
            recorded.kind = ScriptEventKind::Type;
            recorded.code = e.key;
        } else {
            continue;
        }
        Deliver(w, recorded);
        if (recorder) recorder->Event(recorded);
    }
}

// In the menu a pad's left stick moves the pointer, as a mouse move would.
void PadPointer(World& w, Platform& platform, int64_t frame, Recorder* recorder) {
    if (w.shell.CurrentScene != Scene::Menu) return;
    int stickX = 0, stickY = 0;
    platform.PadStick(stickX, stickY);
    ScriptEvent move;
    if (!PadPointerStep(w.front.MouseX, w.front.MouseY, stickX, stickY, move.x, move.y)) return;
    move.kind = ScriptEventKind::Move;
    move.frame = frame;
    Deliver(w, move);
    if (recorder) recorder->Event(move);
}

}  // namespace

int RunKavrix(const RunOptions& options, FramePilot* pilot) {
    InputScript script;
    std::vector<ScriptEvent> hashes;
    if (const int status = LoadDrivingScript(options, script, hashes); status != 0) return status;
    const bool replaying = !options.replayFile.empty();
    const std::string& scriptFile = replaying ? options.replayFile : options.inputFile;
    if (replaying) pilot = nullptr;  // a replay plays only what was recorded

    int64_t limit = options.frames;
    if (limit < 0 && replaying) {
        limit = script.LastFrame() + 1;
        for (const ScriptEvent& h : hashes) limit = std::max(limit, h.frame);
    }

    WindowSettings window;
    HeadlessPlatform* headless = nullptr;
    std::unique_ptr<Platform> owned = OpenPlatform(options, window, headless);
    if (!owned) return 1;
    // A video's file is created before anything else runs, so a path that
    // cannot be written stops the run at once.
    std::unique_ptr<VideoCapture> video;
    if (!options.videoFile.empty()) {
        try {
            video = std::make_unique<VideoCapture>(options.videoFile, options.videoScale, options.quiet, *headless,
                                                   limit);
        } catch (const std::exception& e) {
            std::cerr << "Kavrix: " << e.what() << "\n";
            return 1;
        }
    }
    Platform& inner = *owned;
    FramePlatform platform(inner);

    auto world = std::make_unique<World>();
    World& w = *world;
    w.media.platform = &platform;
    w.media.music.mixer = w.media.mixer.get();
    w.shell.options.dataDir = options.dataDir;
    ChooseSaveFolder(options, w.shell.options);
    // One seed for the run, which also stands for the clock at later reseeds.
    int64_t seed = options.seed;
    if (seed < 0 && script.hasSeed) seed = script.seed;
    if (seed < 0 && (options.headless || !options.recordFile.empty())) {
        seed = options.headless ? kHeadlessSeed : int64_t(ClockSeed(w));
    }
    w.shell.options.seed = seed;
    platform.virtualClock = replaying || !options.recordFile.empty();
    platform.clock = uint32_t(seed);
    platform.OpenAudio(*w.media.mixer);

    try {
        std::string error;
        if (options.dataDir.empty() && !FindDataFolder(w.shell.options.dataDir, error)) throw std::runtime_error(error);
        FormCreate(w);
    } catch (const std::exception& e) {
        // Headless runs have no message box: stderr is the whole report.
        std::cerr << "Kavrix: " << e.what() << "\n";
        if (!platform.IsHeadless()) platform.ShowError("Kavrix", e.what());
        platform.CloseAudio();
        return 1;
    }

    // A player who starts from the desktop sees no stderr: damaged saved
    // files are told in one message box, and the game goes on.
    if (!platform.IsHeadless()) {
        const std::string damaged = DamagedSavedFilesMessage(w.saved);
        if (!damaged.empty()) platform.ShowError("Kavrix", damaged);
    }

    int status = 0;
    try {
        // A new game from the command line, else the one the script names.
        ScriptNewGame newGame;
        const bool startsGame = options.newGame || script.hasNewGame;
        if (options.newGame) newGame = {options.newGameName, options.difficulty, options.level};
        else if (script.hasNewGame) newGame = script.newGame;
        if (startsGame) StartNewGame(w, newGame.name, newGame.difficulty, newGame.level);

        std::unique_ptr<Recorder> recorder;
        if (!options.recordFile.empty())
            recorder = std::make_unique<Recorder>(options.recordFile, uint32_t(seed), startsGame ? &newGame : nullptr);

        // A replay that went its own way ends the run with status 3, its
        // partial video removed.
        auto divergence = [&](const std::string& text) {
            if (video) video->Abandon();
            std::cerr << "Kavrix: replay '" << scriptFile << "': " << text << "\n";
            status = 3;
        };
        size_t nextEvent = 0, nextHash = 0;
        size_t hashesMatched = 0;
        KeySet scriptKeys, pilotKeys;
        std::vector<PlatformEvent> events;
        std::vector<ScriptEvent> pilotEvents;
        events.reserve(64);
        pilotEvents.reserve(64);
        int64_t frame = 0;
        while (!w.shell.quitRequested && (limit < 0 || frame < limit)) {
            const bool tick = inner.WaitForTick();
            events.clear();
            inner.PollEvents(events);
            DeliverWindowEvents(w, events, frame, replaying, recorder.get(), window);
            if (w.shell.quitRequested) break;
            if (!tick) continue;  // the window is inactive: the game pauses

            for (; nextEvent < script.events.size() && script.events[nextEvent].frame <= frame; ++nextEvent) {
                const ScriptEvent& e = script.events[nextEvent];
                if (e.kind == ScriptEventKind::Down) scriptKeys.set(size_t(e.key));
                else if (e.kind == ScriptEventKind::Up) scriptKeys.reset(size_t(e.key));
                else Deliver(w, e);
                if (recorder && e.kind != ScriptEventKind::Down && e.kind != ScriptEventKind::Up) {
                    ScriptEvent copy = e;
                    copy.frame = frame;
                    recorder->Event(copy);
                }
            }
            if (pilot) {
                pilotEvents.clear();
                pilotKeys.reset();
                if (!pilot->BeforeFrame(w, frame, pilotKeys, pilotEvents)) break;
                for (ScriptEvent& e : pilotEvents) {
                    e.frame = frame;
                    Deliver(w, e);
                    if (recorder) recorder->Event(e);
                }
            }
            platform.keys = replaying ? scriptKeys : (scriptKeys | pilotKeys | inner.HeldKeys());
            // Joystick input is not part of recordings, so it is left out of
            // recorded and replayed games.
            platform.joystick = (replaying || recorder) ? InputSet() : inner.JoystickStates();
            if (!replaying) PadPointer(w, inner, frame, recorder.get());
            if (recorder) recorder->Keys(frame, platform.keys);

            platform.clock = uint32_t(seed) + uint32_t(frame) * 16u;
            DXTimerTimer(w);
            if (pilot) pilot->AfterFrame(w, frame);
            ++frame;
            if (video) video->AfterTick();

            for (const ScreenshotRequest& shot : options.screenshots)
                if (shot.frame == frame - 1) WriteScreenshot(w, shot.file);
            if (recorder && frame % kReplayHashInterval == 0) recorder->Hash(HashLine(w, frame));
            for (; nextHash < hashes.size() && hashes[nextHash].frame <= frame; ++nextHash) {
                if (hashes[nextHash].frame != frame) continue;
                std::string difference;
                if (!CheckHashLine(w, hashes[nextHash], difference)) {
                    divergence(difference);
                    break;
                }
                ++hashesMatched;
            }
            if (status != 0) break;
        }
        if (recorder) {
            if (frame % kReplayHashInterval != 0) recorder->Hash(HashLine(w, frame));
            recorder->Close();
        }
        if (replaying && status == 0 && nextHash < hashes.size()) {
            divergence("the game ended after frame " + std::to_string(frame) + ", before the hash of frame " +
                       std::to_string(hashes[nextHash].frame) + " (line " + std::to_string(hashes[nextHash].line) +
                       ")");
        }
        if (video && status == 0) video->Finish();
        if (replaying && status == 0)
            std::cout << "Kavrix: replay '" << scriptFile << "': " << hashesMatched << " of " << hashes.size()
                      << " hashes matched over " << frame << " frames\n";
        if (!options.dumpStateFile.empty()) WriteStateDump(w, options.dumpStateFile);
    } catch (const std::exception& e) {
        if (video) video->Abandon();
        std::cerr << "Kavrix: " << e.what() << "\n";
        status = 1;
    }
    FormDestroy(w);
    platform.CloseAudio();
    return status;
}
