// The main loop of the kavrix program, in a window or headless: start-up,
// events between frames, one frame per tick, input scripts, screenshots,
// state dumps, recording and replaying, shutdown.
#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "media/input.h"
#include "shell/input_script.h"
#include "shell/options.h"

struct World;
class HeadlessPlatform;

// Something that plays in the player's place (a test's or a tool's player):
// before every frame it looks at the world and says which keys are held and
// which characters and mouse events arrive, exactly as a keyboard and mouse
// would. The game never asks it anything; recordings take its input like a
// player's. Returning false ends the run before the frame.
class FramePilot {
public:
    virtual ~FramePilot() = default;
    virtual bool BeforeFrame(const World& w, int64_t frame, KeySet& held, std::vector<ScriptEvent>& events) = 0;
    // Called once the frame has run and been presented.
    virtual void AfterFrame(const World& w, int64_t frame) {}
};

// What takes every tick of a headless run as it was presented and heard (a
// video of it): begun once the run has opened, told after every tick,
// finished when the run ends well and dropped otherwise. The video library
// above the shell makes one; the shell knows only this.
class TickCapture {
public:
    virtual ~TickCapture() = default;
    virtual void AfterTick() = 0;
    virtual void Finish() = 0;   // throws naming the file
    virtual void Abandon() = 0;  // nothing of it is kept
};
// Begins the capture that --video asks for (throws naming the file); the
// platform is already capturing. totalTicks: the run's length, -1 unknown.
using TickCaptureMaker = std::unique_ptr<TickCapture> (*)(const RunOptions& options, HeadlessPlatform& platform,
                                                          int64_t totalTicks);

// One run of the game in three steps: opening (the input script or
// recording read and checked, the outputs looked at, the platform, the data
// and the saved files, the new game and the recording begun), one tick at a
// time, and closing (the recording's end, the replay's verdict, the video,
// the state dump, shutdown). RunKavrix runs them in a loop; a host with a
// frame callback of its own (the browser) calls Tick from it.
class GameRun {
public:
    // A pilot, when given, plays along with (or instead of) the keyboard and
    // the input script; a replay ignores it. makeCapture makes the video of
    // a run that asks for one (a program without it makes no videos).
    explicit GameRun(const RunOptions& options, FramePilot* pilot = nullptr, TickCaptureMaker makeCapture = nullptr);
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;
    // 0 when the run can begin, else its exit status (the reason is on
    // stderr, and in a message box in a window).
    int Open();
    // Waits for the next tick and runs it; false once the run is over (the
    // game quit, the frames are done, a replay went its own way, an error).
    bool Tick();
    // Ends the run (also one that never opened); returns the exit status.
    int Close();
    // The player may be leaving (the browser's tab hidden or closed): the
    // sound and music settings are saved as the window's close saves them.
    // Nothing is saved by a replay, nor while a kept replay is watched.
    void SaveSettingsBeforeLeaving();
    World& world();

private:
    struct State;
    std::unique_ptr<State> s;
    int OpenRun();
    void Finish();
};

// Runs the game with these options; returns the process exit status
// (0 success, 1 start-up or run error, 2 a damaged input script or replay,
// 3 a replay that went its own way, 4 a replay that is not a new game with
// --verify-new-game). A pilot, when given, plays along with
// (or instead of) the keyboard and the input script.
int RunKavrix(const RunOptions& options, FramePilot* pilot = nullptr, TickCaptureMaker makeCapture = nullptr);
// What the menu's Start does, then straight into the game: the first free
// profile slot gets the new player (saved), the level is built and the game
// scene entered. Throws std::runtime_error on a name that is not cp1250 or
// longer than 20 characters.
void StartNewGame(World& w, const std::string& utf8Name, int difficulty, int level);
// Writes the back surface as an RGB PNG; throws std::runtime_error naming the file.
void WriteScreenshot(const World& w, const std::string& path);
// A character, mouse move or click of a script or recording, handed to the
// menu's handlers as the window's would be.
void DeliverScriptEvent(World& w, const ScriptEvent& event);
// What --replay plays: a path as given when something stands there, else
// the kept replay of that name ("2026-03-14_21-05-33", with or without
// ".replay") in the player's replay folder.
std::string ResolveReplayFile(const RunOptions& options, const std::string& nameOrPath);
// --list-replays: the kept replays with their date, player, score, level
// reached and length, and the score entry each stands beside.
int ListKeptReplays(const RunOptions& options, std::ostream& out);
