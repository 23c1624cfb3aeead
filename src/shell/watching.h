// Watching a kept replay inside the running game: the session is put aside
// whole, the replay's starting state takes its place, and the replay's frames
// run in the game's own scenes at the watcher's pace (Escape back to the
// score page, 1, 2 and 4 for the speed, Space to pause), every hash checked.
// Nothing is saved meanwhile, and the session comes back as it was: its
// profiles, settings and scores, the music where it was.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/platform.h"
#include "shell/input_script.h"

struct World;
class FramePlatform;

class Watching {
public:
    // Begins watching a recording already read and checked (it carries a
    // starting state). Throws std::runtime_error saying what is wrong, with
    // the session put back.
    Watching(World& w, FramePlatform& platform, const InputScript& replay, const std::string& file);
    ~Watching();  // puts the session back
    Watching(const Watching&) = delete;
    Watching& operator=(const Watching&) = delete;

    // One tick: the watcher's characters first, then none, one, two or four
    // of the replay's frames (only the last presented). False once watching
    // is over: the replay's end, Escape, or a hash that differed (Problem()).
    bool Tick(const std::vector<PlatformEvent>& events, bool focused);
    const std::string& Problem() const { return problem_; }

private:
    struct Session;
    World& w_;
    FramePlatform& platform_;
    std::unique_ptr<Session> session_;
    std::string file_;
    std::vector<ScriptEvent> inputs_, hashes_;
    int64_t end_ = 0, frame_ = 0;
    size_t nextInput_ = 0, nextHash_ = 0;
    uint32_t clock_ = 0;
    KeySet keys_;
    InputSet pad_;
    int speed_ = 1;
    bool paused_ = false;
    std::string problem_;

    bool Frame();
    void Pause(bool on);
    void PutSessionBack();
};
