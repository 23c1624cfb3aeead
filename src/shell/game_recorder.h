// Every game of a session recorded for the replay folder. A recording begins
// when a game begins (a new game, a profile loaded: the menu counts them in
// GamesBegun) with the world's starting state, takes each frame's input, and
// ends after the first frame that starts with the game over (the score page
// has entered its score by then), when another game begins, or with the
// session. Nothing in a frame allocates: the text goes into room taken when
// the game began.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "media/input.h"
#include "shell/input_script.h"

struct World;
class Recorder;
class ReplayLibrary;

class GameRecorder {
public:
    // Games begun before now (GamesBegun as it stands) are not recorded.
    GameRecorder(ReplayLibrary& library, const World& w);
    ~GameRecorder();

    // Between the events of a tick and its frame: a game begun since the
    // last frame starts a recording (the one before ends as it stands).
    // clock: the platform's milliseconds the frame will read.
    void BeforeFrame(World& w, uint32_t clock);
    // The frame's held keys and pad states, and each character and mouse
    // event delivered before it.
    void Input(const KeySet& keys, const InputSet& pad);
    void Event(const ScriptEvent& event);
    // After the frame: the hash lines, and the end of a game that is over.
    void AfterFrame(World& w);
    // The session ends: the game in progress is kept as it stands.
    void Finish(World& w);
    bool Recording() const { return recorder_ != nullptr; }

private:
    ReplayLibrary& library_;
    uint32_t gamesBegun_ = 0;
    std::unique_ptr<Recorder> recorder_;
    std::string name_;
    ScriptGame game_;
    Language language_ = Language::Czech;  // the language the game began in
    int64_t frame_ = 0;
    bool overAtFrameStart_ = false;  // the frame began with the game over
    bool scoreToEnter_ = false;      // and with a score for the table

    void Begin(World& w, uint32_t clock);
    void End(World& w, int rank);
};
