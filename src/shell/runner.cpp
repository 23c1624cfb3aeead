// The main loop: a platform (SDL or headless) wrapped so that the held keys
// of a frame come from one place (keyboard, input script or replay), the
// window's events delivered to the menu's handlers between frames (and the
// full-screen switch and the close button handled), and the frame run once
// per tick until the game quits or the frame count is done.
#include "shell/runner.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
#include "media/utf8_path.h"
#include "media/whole_file.h"
#include "shell/data_folder.h"
#include "shell/display_settings.h"
#include "shell/frame.h"
#include "shell/frame_platform.h"
#include "shell/game_recorder.h"
#include "shell/input_script.h"
#include "shell/new_game_verdict.h"
#include "shell/pad_pointer.h"
#include "shell/replay.h"
#include "shell/replay_library.h"
#include "shell/starting_state.h"
#include "shell/startup.h"
#include "shell/state_dump.h"
#include "shell/submit_command.h"
#include "shell/touch_controls.h"
#include "shell/watching.h"
#include "state/damaged_saves.h"
#include "state/saved_files.h"
#include "state/user_folders.h"
#include "state/world.h"

namespace {

constexpr uint32_t kHeadlessSeed = 1;

void Deliver(World& w, const ScriptEvent& e) { DeliverScriptEvent(w, e); }

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

// The player's own save folder, whatever this run saves into: --save-dir,
// else the per-user data folder (the working directory without one). Kept
// replays are looked for in "replays" there.
std::string PlayerSaveFolder(const RunOptions& options) {
    if (!options.saveDir.empty()) return options.saveDir;
    const std::string folder = UserDataFolder();
    return folder.empty() ? "." : folder;
}

// The windowed game keeps the replay of every game; headless runs only when
// asked (--keep-replays); a replay never.
bool KeepsReplays(const RunOptions& options) {
    return options.replayFile.empty() && (!options.headless || options.keepReplays);
}

}  // namespace

void DeliverScriptEvent(World& w, const ScriptEvent& e) {
    switch (e.kind) {
        case ScriptEventKind::Type: {
            uint8_t key = e.code;
            OnKey(w, key);
            break;
        }
        case ScriptEventKind::Move: OnMouseMove(w, e.x, e.y); break;
        case ScriptEventKind::Click: OnClick(w); break;
        default: break;
    }
}

std::string ResolveReplayFile(const RunOptions& options, const std::string& nameOrPath) {
    std::error_code ec;
    if (nameOrPath.find('/') != std::string::npos || std::filesystem::exists(Utf8Path(nameOrPath), ec))
        return nameOrPath;
    std::string name = nameOrPath;
    if (name.size() > 7 && name.compare(name.size() - 7, 7, ".replay") == 0) name.resize(name.size() - 7);
    const std::string kept = ReplayLibrary(ReplayFolderIn(PlayerSaveFolder(options))).PathOf(name);
    return std::filesystem::exists(Utf8Path(kept), ec) ? kept : nameOrPath;
}

int ListKeptReplays(const RunOptions& options, std::ostream& out) {
    ReplayLibrary library(ReplayFolderIn(PlayerSaveFolder(options)));
    const std::vector<KeptReplay> replays = library.List();
    if (replays.empty()) {
        out << "No replays are kept in '" << library.Folder() << "'.\n";
        return 0;
    }
    // The score table the windowed game would show, to tell which replays
    // stand beside its entries.
    World w;
    w.shell.options.saveDir = PlayerSaveFolder(options);
    LoadScoresFile(w);
    NumberedArray<ReplayName, 10> marks;
    ReplayLibrary::MarkScores(replays, w.saved.ScoreTable, marks);
    out << "Replays kept in '" << library.Folder() << "' (kavrix --replay NAME plays one):\n";
    char line[160];
    std::snprintf(line, sizeof line, "%-22s %-16s %-20s %10s %5s %8s  %s\n", "NAME", "DATE", "PLAYER", "SCORE", "LEVEL",
                  "LENGTH", "");
    out << line;
    for (const KeptReplay& r : replays) {
        const int64_t seconds = r.game.frames * 16 / 1000;
        char length[24];
        std::snprintf(length, sizeof length, "%lld:%02lld:%02lld", (long long)(seconds / 3600),
                      (long long)(seconds / 60 % 60), (long long)(seconds % 60));
        std::string date = r.game.date.substr(0, 16);
        date[10] = ' ';
        std::string rank;
        for (int k = 1; k <= 10; ++k)
            if (marks[k].View() == r.name) rank = "score table rank " + std::to_string(k);
        // Names are padded by their characters, not their UTF-8 bytes.
        std::string player = r.game.name;
        size_t chars = player.size();
        try {
            chars = Utf8ToCp1250(player).size();
        } catch (const std::exception&) {
        }
        for (; chars < 20; ++chars) player += ' ';
        std::snprintf(line, sizeof line, "%-22s %-16s %s %10d %5d %8s  %s\n", r.name.c_str(), date.c_str(),
                      player.c_str(), int(r.game.score), r.game.level, length, rank.c_str());
        out << line;
    }
    return 0;
}

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
    w.game.FinishPassed = 0;
    w.shell.CurrentScene = Scene::HlavniHra;
    w.front.GameActive = 1;
    ++w.front.GamesBegun;
}

void WriteScreenshot(const World& w, const std::string& path) {
    if (!WritePng(*w.media.back, path)) throw std::runtime_error("cannot write screenshot '" + path + "'");
}

namespace {

// The input that drives a run: an input script, or a recording to replay,
// split into its input lines and its hash lines. Returns 0, or 2 with the
// reason on stderr when the file is damaged (a recording also when it was
// cut off or its hash lines cannot be a recording's).
int LoadDrivingScript(const RunOptions& options, const std::string& file, InputScript& script,
                      std::vector<ScriptEvent>& hashes) {
    const bool replaying = !options.replayFile.empty();
    if (file.empty()) return 0;
    std::string error;
    if (!LoadInputScript(file, script, error, replaying ? "recording" : "input script") ||
        (replaying && !CheckRecording(script, file, error))) {
        std::cerr << "Kavrix: " << error << "\n";
        return 2;
    }
    if (!replaying && !script.startingState.empty()) {
        std::cerr << "Kavrix: " << file << ":" << script.stateLine
                  << ": a starting state belongs to a recording; play it with --replay\n";
        return 2;
    }
    std::vector<ScriptEvent> inputs;
    for (const ScriptEvent& e : script.events) (e.kind == ScriptEventKind::Hash ? hashes : inputs).push_back(e);
    script.events = std::move(inputs);
    return 0;
}

// Every file the run will write is looked at before anything runs: what
// stands at its name and is not a file (a device, a pipe, a folder) is
// refused, so a long run never ends in a write that cannot happen, and
// nothing that is not a file is ever written over.
bool OutputsReplaceable(const RunOptions& options) {
    std::vector<std::string> outputs = {options.videoFile, options.recordFile, options.dumpStateFile,
                                        options.verifyNewGameFile};
    for (const ScreenshotRequest& shot : options.screenshots) outputs.push_back(shot.file);
    for (const std::string& path : outputs) {
        if (path.empty()) continue;
        try {
            CheckReplaceable(path);
        } catch (const std::exception& e) {
            std::cerr << "Kavrix: " << e.what() << "\n";
            return false;
        }
    }
    return true;
}

// The windowed game's remembered window settings and where they are kept.
struct WindowSettings {
    DisplaySettingsFile file{std::string()};
    DisplaySettings settings;
    Language inUse = Language::Czech;  // the run's language, which --lang may choose for this run only
};

std::unique_ptr<Platform> OpenPlatform(const RunOptions& options, WindowSettings& window, HeadlessPlatform*& headless) {
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
// What records a run's input: the recording --record asks for and the
// game being kept as a replay (either may be absent).
struct Recorders {
    Recorder* run = nullptr;
    GameRecorder* game = nullptr;
    void Event(const ScriptEvent& e) const {
        if (run) run->Event(e);
        if (game) game->Event(e);
    }
};

void DeliverWindowEvents(World& w, const std::vector<PlatformEvent>& events, int64_t frame, bool replaying,
                         const Recorders& recorders, WindowSettings& window) {
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
        recorders.Event(recorded);
    }
    // A language chosen on the help page is remembered for the next run.
    if (w.shell.language != window.inUse) {
        window.inUse = w.shell.language;
        if (!replaying && !platform.IsHeadless()) {
            window.settings.language = w.shell.language;
            window.settings.languageChosen = true;
            window.file.Save(window.settings);
        }
    }
}

// In the menu a pad's left stick moves the pointer, as a mouse move would.
void PadPointer(World& w, Platform& platform, int64_t frame, const Recorders& recorders) {
    if (w.shell.CurrentScene != Scene::Menu) return;
    int stickX = 0, stickY = 0;
    platform.PadStick(stickX, stickY);
    ScriptEvent move;
    if (!PadPointerStep(w.front.MouseX, w.front.MouseY, stickX, stickY, move.x, move.y)) return;
    move.kind = ScriptEventKind::Move;
    move.frame = frame;
    Deliver(w, move);
    recorders.Event(move);
}

}  // namespace

// Everything a run holds between its opening, its ticks and its closing.
struct GameRun::State {
    RunOptions options;
    FramePilot* pilot = nullptr;
    bool replaying = false;
    std::string scriptFile;  // the input script or the recording
    InputScript script;
    std::vector<ScriptEvent> hashes;
    int64_t limit = -1;  // frames to run, -1: until the game quits
    int64_t seed = -1;

    WindowSettings window;
    HeadlessPlatform* headless = nullptr;
    std::unique_ptr<Platform> inner;
    std::unique_ptr<FramePlatform> platform;
    std::unique_ptr<World> world;
    TickCaptureMaker makeCapture = nullptr;
    std::unique_ptr<TickCapture> video;
    std::unique_ptr<Recorder> recorder;           // --record
    std::unique_ptr<ReplacementFile> recordFile;  // where it goes, made when the run begins
    std::unique_ptr<ReplayLibrary> library;       // the kept replays
    std::unique_ptr<GameRecorder> gameRecorder;   // every game of the session, for the library
    std::unique_ptr<Watching> watching;           // a kept replay watched from the score page
    std::unique_ptr<NewGameVerdict> verdict;      // --verify-new-game
    uint32_t clockBase = 0;                       // the clock at frame 0: the seed, or a replay's starting state
    bool formCreated = false;
    bool audioOpen = false;
    bool opened = false;  // the run began: its first tick may run

    int status = 0;
    int64_t frame = 0;
    size_t nextEvent = 0, nextHash = 0, hashesMatched = 0;
    KeySet scriptKeys, pilotKeys;
    InputSet scriptPad;
    std::vector<PlatformEvent> events;
    std::vector<ScriptEvent> pilotEvents;

    Recorders Recording() const { return Recorders{recorder.get(), gameRecorder.get()}; }

    // A replay that went its own way ends the run with status 3, its
    // partial video removed.
    void Divergence(const std::string& text) {
        if (video) video->Abandon();
        std::cerr << "Kavrix: replay '" << scriptFile << "': " << text << "\n";
        status = 3;
    }
    // An error inside the run ends it with status 1; the recording so far is
    // kept (it shows how the run got there), the partial video is not.
    void Failure(const std::exception& e) {
        if (video) video->Abandon();
        std::cerr << "Kavrix: " << e.what() << "\n";
        status = 1;
    }
    void ScriptInput();
    void PilotInput();
    void CheckHashes();
    void Tell(const std::string& message);
    void StartWatching();
    bool WatchTick();
    void KeptReplayFailures();
    int BeginVerdict();
};

// --verify-new-game, a score board's check: only a game begun as a new one
// counts. 4 when the replay's game was not, with the reason on stderr.
int GameRun::State::BeginVerdict() {
    const std::string notNew = script.startingState.empty()
                                   ? "it carries no starting state: only a kept replay shows how its game began"
                                   : CheckBegunAsNewGame(*world);
    if (!notNew.empty()) {
        std::cerr << "Kavrix: replay '" << scriptFile << "' is not a new game: " << notNew << "\n";
        return 4;
    }
    verdict = std::make_unique<NewGameVerdict>(*world);
    return 0;
}

GameRun::GameRun(const RunOptions& options, FramePilot* pilot, TickCaptureMaker makeCapture)
    : s(std::make_unique<State>()) {
    s->options = options;
    s->makeCapture = makeCapture;
    s->replaying = !options.replayFile.empty();
    s->pilot = s->replaying ? nullptr : pilot;  // a replay plays only what was recorded
    s->scriptFile = s->replaying ? ResolveReplayFile(options, options.replayFile) : options.inputFile;
}

GameRun::~GameRun() = default;

World& GameRun::world() { return *s->world; }

int GameRun::Open() {
    State& r = *s;
    r.status = OpenRun();
    r.opened = r.status == 0;
    return r.status;
}

int GameRun::OpenRun() {
    State& r = *s;
    const RunOptions& options = r.options;
    if (const int status = LoadDrivingScript(options, r.scriptFile, r.script, r.hashes); status != 0) return status;
    r.limit = options.frames;
    if (r.limit < 0 && r.replaying) r.limit = r.script.endFrame;
    if (!OutputsReplaceable(options)) return 1;
    if (!options.videoFile.empty() && !r.makeCapture) {
        std::cerr << "Kavrix: this build makes no videos (--video)\n";
        return 1;
    }

    r.inner = OpenPlatform(options, r.window, r.headless);
    if (!r.inner) return 1;
    // A video's sound is the game's own mixer rendered tick by tick, so the
    // headless sink captures before the sound is opened.
    if (!options.videoFile.empty()) r.headless->StartCapture();
    r.platform = std::make_unique<FramePlatform>(*r.inner);
    FramePlatform& platform = *r.platform;

    r.world = std::make_unique<World>();
    World& w = *r.world;
    w.media.platform = &platform;
    w.media.music.mixer = w.media.mixer.get();
    w.shell.options.dataDir = options.dataDir;
    ChooseSaveFolder(options, w.shell.options);
    // The language and the keys: the remembered ones in a window, the
    // defaults headless; a replay plays in its recording's language.
    w.shell.language = RunLanguage(options, r.script, r.window.settings);
    r.window.inUse = w.shell.language;
    w.media.bindings = r.window.settings.bindings;
    // One seed for the run, which also stands for the clock at later reseeds.
    int64_t seed = options.seed;
    if (seed < 0 && r.script.hasSeed) seed = r.script.seed;
    // A recorded game (every game the windowed game plays, which keeps its
    // replay) reads a clock of its own, so it replays exactly.
    const bool recorded = !options.recordFile.empty() || KeepsReplays(options);
    if (seed < 0 && (options.headless || recorded)) {
        seed = options.headless ? kHeadlessSeed : int64_t(ClockSeed(w));
    }
    r.seed = seed;
    r.clockBase = uint32_t(seed);
    w.shell.options.seed = seed;
    platform.virtualClock = r.replaying || recorded;
    platform.clock = uint32_t(seed);
    // A replay reads the saved files it starts from and writes none.
    if (r.replaying) w.shell.options.writeSaves = false;
    platform.OpenAudio(*w.media.mixer);
    r.audioOpen = true;

    try {
        std::string error;
        if (options.dataDir.empty() && !FindDataFolder(w.shell.options.dataDir, error)) throw std::runtime_error(error);
        r.formCreated = true;
        StartUp(w);
    } catch (const std::exception& e) {
        // Headless runs have no message box: stderr is the whole report.
        std::cerr << "Kavrix: " << e.what() << "\n";
        if (!platform.IsHeadless()) platform.ShowError("Kavrix", e.what());
        r.formCreated = false;
        return 1;
    }

    // The video's file is begun once the data and the recording have been
    // read, so nothing is written for a run that cannot start.
    if (!options.videoFile.empty()) {
        try {
            r.video = r.makeCapture(options, *r.headless, r.limit);
        } catch (const std::exception& e) {
            std::cerr << "Kavrix: " << e.what() << "\n";
            return 1;
        }
    }

    // A player who starts from the desktop sees no stderr: damaged saved
    // files are told in one message box, and the game goes on.
    if (!platform.IsHeadless()) {
        const std::string damaged = DamagedSavedFilesMessage(w.saved, w.front.words.messages);
        if (!damaged.empty()) platform.ShowError("Kavrix", damaged);
    }

    // A kept replay begins from the state it carries, proved by its hash 0.
    if (r.replaying && !r.script.startingState.empty()) {
        try {
            r.clockBase = ReadStartingState(w, r.script.startingState);
        } catch (const std::exception& e) {
            std::cerr << "Kavrix: replay '" << r.scriptFile << "': " << e.what() << "\n";
            return 2;
        }
        r.CheckHashes();
        if (r.status != 0) return r.status;
    }
    if (!options.verifyNewGameFile.empty() && r.BeginVerdict() != 0) return 4;

    try {
        // The replay folder, and the score table's entries that have one.
        if (KeepsReplays(options)) {
            r.library = std::make_unique<ReplayLibrary>(ReplayFolderIn(w.shell.options.saveDir));
            std::vector<std::string> damaged;
            ReplayLibrary::MarkScores(r.library->List(&damaged), w.saved.ScoreTable, w.saved.ScoreReplays);
            // The player who starts from the desktop is told as of a damaged saved file.
            if (!damaged.empty() && !platform.IsHeadless()) {
                std::string message;
                for (const std::string& text : damaged) message += text + "\n";
                platform.ShowError("Kavrix", message);
            }
            r.gameRecorder = std::make_unique<GameRecorder>(*r.library, w);
        }
        // A new game from the command line, else the one the script names.
        ScriptNewGame newGame;
        const bool startsGame = options.newGame || r.script.hasNewGame;
        if (options.newGame) newGame = {options.newGameName, options.difficulty, options.level};
        else if (r.script.hasNewGame) newGame = r.script.newGame;
        if (startsGame) StartNewGame(w, newGame.name, newGame.difficulty, newGame.level);
        if (!options.recordFile.empty()) {
            r.recordFile = std::make_unique<ReplacementFile>(options.recordFile, false, "recording ");
            r.recorder = std::make_unique<Recorder>();
            r.recorder->Line(
                "# Kavrix recording: replay with kavrix --headless --replay FILE and the same saved files");
            r.recorder->Line(VersionLine());
            r.recorder->Line("seed " + std::to_string(uint32_t(seed)));
            // A game in another language than Czech says which.
            if (w.shell.language != Language::Czech) r.recorder->Line(FormatLanguageLine(w.shell.language));
            if (startsGame) {
                std::string line = FormatNewGameLine(newGame);  // one line, whatever the name holds
                for (char& c : line)
                    if (uint8_t(c) < 0x20) c = '?';
                r.recorder->Line(line);
            }
        }
    } catch (const std::exception& e) {
        r.Failure(e);
        return r.status;
    }
    r.events.reserve(64);
    r.pilotEvents.reserve(64);
    return 0;
}

// The script's lines due before this frame: held keys, and characters and
// mouse events delivered (and recorded) as the window's would be.
void GameRun::State::ScriptInput() {
    for (; nextEvent < script.events.size() && script.events[nextEvent].frame <= frame; ++nextEvent) {
        const ScriptEvent& e = script.events[nextEvent];
        if (e.kind == ScriptEventKind::Down) scriptKeys.set(size_t(e.key));
        else if (e.kind == ScriptEventKind::Up) scriptKeys.reset(size_t(e.key));
        else if (e.kind == ScriptEventKind::Pad) scriptPad = e.pad;
        else Deliver(*world, e);
        if (e.kind != ScriptEventKind::Down && e.kind != ScriptEventKind::Up && e.kind != ScriptEventKind::Pad) {
            ScriptEvent copy = e;
            copy.frame = frame;
            Recording().Event(copy);
        }
    }
}

// The recording's hash lines of the frame just run; the first that differs
// ends the run.
void GameRun::State::CheckHashes() {
    for (; nextHash < hashes.size() && hashes[nextHash].frame <= frame; ++nextHash) {
        if (hashes[nextHash].frame != frame) continue;
        std::string difference;
        if (!CheckHashLine(*world, hashes[nextHash], difference)) {
            Divergence(difference);
            return;
        }
        ++hashesMatched;
    }
}

bool GameRun::Tick() {
    State& r = *s;
    if (!r.opened) return false;
    World& w = *r.world;
    if (r.status != 0 || w.shell.quitRequested || (r.limit >= 0 && r.frame >= r.limit)) return false;
    try {
        if (r.watching) return r.WatchTick();
        const bool tick = r.inner->WaitForTick();
        r.events.clear();
        r.inner->PollEvents(r.events);
        DeliverWindowEvents(w, r.events, r.frame, r.replaying, r.Recording(), r.window);
        if (w.shell.quitRequested) return false;
        if (!tick) return true;  // the window is inactive: the game pauses

        r.ScriptInput();
        if (r.pilot) {
            r.pilotEvents.clear();
            r.pilotKeys.reset();
            if (!r.pilot->BeforeFrame(w, r.frame, r.pilotKeys, r.pilotEvents)) return false;
            for (ScriptEvent& e : r.pilotEvents) {
                e.frame = r.frame;
                Deliver(w, e);
                r.Recording().Event(e);
            }
        }
        // A click on a score entry's replay: watching takes the next ticks.
        if (w.front.WatchRequest != 0) {
            if (r.library && !r.replaying) r.StartWatching();
            w.front.WatchRequest = 0;
            if (r.watching) return true;
        }
        FramePlatform& platform = *r.platform;
        // The keys held become the game's keys through the player's
        // bindings; a replay holds the game's keys already.
        platform.keys = r.replaying
                            ? r.scriptKeys
                            : GameKeysFromHeld(r.scriptKeys | r.pilotKeys | r.inner->HeldKeys(), w.media.bindings);
        platform.joystick = r.replaying ? r.scriptPad : (r.scriptPad | r.inner->JoystickStates());
        if (!r.replaying) PadPointer(w, *r.inner, r.frame, r.Recording());
        platform.clock = r.clockBase + uint32_t(r.frame) * 16u;
        if (r.gameRecorder) {
            r.gameRecorder->BeforeFrame(w, platform.clock);
            r.gameRecorder->Input(platform.keys, platform.joystick);
        }
        if (r.recorder) {
            r.recorder->Keys(r.frame, platform.keys);
            r.recorder->Pad(r.frame, platform.joystick);
        }

        if (r.verdict) r.verdict->BeforeFrame(w);
        RunFrame(w);
        r.inner->ShowControls(ControlsFor(w));
        if (r.pilot) r.pilot->AfterFrame(w, r.frame);
        ++r.frame;
        if (r.verdict) r.verdict->AfterFrame(w, r.frame);
        if (r.video) r.video->AfterTick();

        for (const ScreenshotRequest& shot : r.options.screenshots)
            if (shot.frame == r.frame - 1) WriteScreenshot(w, shot.file);
        if (r.recorder && r.frame % kReplayHashInterval == 0) r.recorder->Hash(HashLine(w, r.frame));
        if (r.gameRecorder) r.gameRecorder->AfterFrame(w);
        if (r.library) r.KeptReplayFailures();
        r.CheckHashes();
    } catch (const std::exception& e) {
        r.Failure(e);
    }
    return r.status == 0;
}

// Something the player must know (a replay that cannot be watched): on
// stderr, and in a message box in the windowed game.
void GameRun::State::Tell(const std::string& message) {
    std::cerr << "Kavrix: " << message << "\n";
    if (!platform->IsHeadless()) platform->ShowError("Kavrix", message);
}

// The replay beside the clicked score entry, read and checked; a damaged
// one is moved aside, one of another version only refused.
void GameRun::State::StartWatching() {
    World& w = *world;
    const int rank = w.front.WatchRequest;
    ReplayName& mark = w.saved.ScoreReplays[rank];
    const std::string path = library->PathOf(std::string(mark.View()));
    InputScript replay;
    std::string error;
    switch (LoadReplayFile(path, replay, error)) {
        case ReplayFileStatus::Ok: break;
        case ReplayFileStatus::Missing:
            Tell("the replay of this score is no longer kept ('" + path + "' is gone)");
            mark = ReplayName{};
            return;
        case ReplayFileStatus::OtherVersion: Tell(error); return;
        case ReplayFileStatus::Damaged:
            MoveDamagedReplayAside(path, error);
            Tell(error);
            mark = ReplayName{};
            return;
    }
    if (replay.startingState.empty()) {
        Tell("'" + path + "' is not a kept replay: it carries no starting state");
        return;
    }
    try {
        watching = std::make_unique<Watching>(w, *platform, replay, path);
    } catch (const std::exception& e) {
        Tell(e.what());
    }
}

// A tick while watching: the window's events (and a pilot's characters)
// steer the watching; the session's frames wait.
bool GameRun::State::WatchTick() {
    World& w = *world;
    const bool tick = inner->WaitForTick();
    events.clear();
    inner->PollEvents(events);
    if (pilot) {
        pilotEvents.clear();
        pilotKeys.reset();
        pilot->BeforeFrame(w, frame, pilotKeys, pilotEvents);
        for (const ScriptEvent& e : pilotEvents)
            if (e.kind == ScriptEventKind::Type) events.push_back(PlatformEvent{EventKind::KeyPress, 0, 0, e.code});
    }
    bool quit = false;
    for (const PlatformEvent& e : events) {
        if (e.kind == EventKind::Quit) quit = true;
        if (e.kind == EventKind::ToggleFullScreen) {
            platform->SetFullScreen(!platform->IsFullScreen());
            window.settings.fullScreen = platform->IsFullScreen();
            window.file.Save(window.settings);
        }
    }
    if (!watching->Tick(events, tick)) {
        const std::string problem = watching->Problem();
        watching.reset();  // the session comes back
        if (!problem.empty()) Tell(problem);
    }
    if (quit) {
        watching.reset();
        if (!platform->IsHeadless()) SaveSettingsOnClose(w);
        w.shell.quitRequested = true;
        return false;
    }
    return true;
}

// A kept replay that could not be written leaves no mark behind.
void GameRun::State::KeptReplayFailures() {
    for (const std::string& name : library->TakeFailures())
        for (ReplayName& mark : world->saved.ScoreReplays)
            if (mark.View() == name) mark = ReplayName{};
}

void GameRun::SaveSettingsBeforeLeaving() {
    State& r = *s;
    if (r.opened && r.status == 0 && !r.replaying && !r.watching && !r.inner->IsHeadless())
        SaveSettingsOnClose(*r.world);
}

int GameRun::Close() {
    State& r = *s;
    if (r.opened) {
        r.opened = false;
        Finish();
    }
    if (r.formCreated) ShutDown(*r.world);
    r.formCreated = false;
    if (r.audioOpen) r.platform->CloseAudio();
    r.audioOpen = false;
    return r.status;
}

// What a run that began leaves behind: the recording closed with its end
// line, the replay's verdict, the video, the state dump.
void GameRun::Finish() {
    State& r = *s;
    World& w = *r.world;
    r.watching.reset();  // the session as it was
    try {
        if (r.recorder) {
            if (r.frame % kReplayHashInterval != 0) r.recorder->Hash(HashLine(w, r.frame));
            r.recorder->End(r.frame);
            if (r.recorder->Full())
                throw std::runtime_error("recording '" + r.options.recordFile + "' is not written: it grew beyond " +
                                         std::to_string(kMaxScriptBytes >> 20) + " MB, more than a replay reads");
            const std::string_view text = r.recorder->Text();
            if (std::fwrite(text.data(), 1, text.size(), r.recordFile->Stream()) != text.size())
                throw std::runtime_error("Cannot write recording '" + r.options.recordFile + "'");
            r.recordFile->Commit();
        }
        // The game in progress is kept as it stands, and the run ends once
        // every kept replay is on the disk.
        if (r.gameRecorder) r.gameRecorder->Finish(w);
        if (r.library) r.library->WaitForWrites();
        if (r.status == 1) return;  // the error is told; nothing more is written
        const bool stoppedEarly = r.options.frames >= 0 && r.frame == r.options.frames;
        if (r.replaying && r.status == 0 && r.nextHash < r.hashes.size() && !stoppedEarly) {
            r.Divergence("the game ended after frame " + std::to_string(r.frame) + ", before the hash of frame " +
                         std::to_string(r.hashes[r.nextHash].frame) + " (line " +
                         std::to_string(r.hashes[r.nextHash].line) + ")");
        }
        if (r.video && r.status == 0) r.video->Finish();
        if (r.replaying && r.status == 0) {
            std::cout << "Kavrix: replay '" << r.scriptFile << "': " << r.hashesMatched << " of " << r.hashes.size()
                      << " hashes matched over " << r.frame << " frames";
            // --frames stopped the replay before its end: how far it was checked.
            if (r.nextHash < r.hashes.size())
                std::cout << " (stopped by --frames; the recording goes on to frame " << r.script.endFrame << ")";
            std::cout << "\n";
        }
        if (!r.options.dumpStateFile.empty()) WriteStateDump(w, r.options.dumpStateFile);
        if (r.verdict && r.status == 0) {
            const std::string json = r.verdict->Json(r.frame);
            WriteFileAtomically(r.options.verifyNewGameFile, reinterpret_cast<const uint8_t*>(json.data()), json.size(),
                                "the verdict ");
        }
    } catch (const std::exception& e) {
        r.Failure(e);
    }
}

int RunKavrix(const RunOptions& options, FramePilot* pilot, TickCaptureMaker makeCapture) {
    if (options.listReplays) return ListKeptReplays(options, std::cout);
    if (!options.submitReplay.empty()) return SubmitKeptReplay(options, std::cout, std::cerr);
    GameRun run(options, pilot, makeCapture);
    if (run.Open() == 0) {
        while (run.Tick()) {
        }
    }
    return run.Close();
}
