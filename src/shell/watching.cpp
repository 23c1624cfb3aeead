// Watching a replay: the session's records copied aside (the world's state,
// the input's edges, the music, the canvas, the scenery, the platform's
// clock and keys), the replay driven frame by frame as a replay run drives
// it, and everything put back afterwards.
#include "shell/watching.h"

#include <cctype>
#include <mutex>
#include <stdexcept>

#include "frontend/language.h"
#include "game/level_build.h"
#include "media/mixer.h"
#include "shell/frame.h"
#include "shell/frame_platform.h"
#include "shell/replay.h"
#include "shell/runner.h"
#include "shell/starting_state.h"
#include "state/world.h"

namespace {

constexpr uint8_t kEscape = 27;

bool IsMotherShipScenery(const PictureCollection& level) {
    if (level.items.empty()) return false;
    const std::string& name = level.items[0].Name;
    return name.size() == 3 && std::tolower(uint8_t(name[0])) == 'l' && std::tolower(uint8_t(name[1])) == 'o' &&
           std::tolower(uint8_t(name[2])) == 'd';
}

}  // namespace

// The session as watching found it.
struct Watching::Session {
    Shell shell;
    SavedFiles saved;
    GameState game;
    FrontEnd front;
    Random random;
    Input input;
    Music music;
    Canvas canvas;
    bool city = true;  // the city's scenery in place, else the mother ship's
    KeySet keys;
    InputSet joystick;
    bool virtualClock = false;
    uint32_t clock = 0;
};

Watching::Watching(World& w, FramePlatform& platform, const InputScript& replay, const std::string& file)
    : w_(w), platform_(platform), session_(std::make_unique<Session>()), file_(file) {
    Session& s = *session_;
    s.shell = w.shell;
    s.saved = w.saved;
    s.game = w.game;
    s.front = w.front;
    s.front.WatchRequest = 0;  // the click that began watching is answered
    s.random = w.random;
    s.input = w.media.input;
    s.music = w.media.music;
    s.canvas = w.media.canvas;
    s.city = !IsMotherShipScenery(w.media.Level);
    s.keys = platform.keys;
    s.joystick = platform.joystick;
    s.virtualClock = platform.virtualClock;
    s.clock = platform.clock;

    for (const ScriptEvent& e : replay.events) (e.kind == ScriptEventKind::Hash ? hashes_ : inputs_).push_back(e);
    end_ = replay.endFrame;
    try {
        // A replay plays in the language it was recorded in (its commander's
        // lines type for as long as they are long).
        const Language language = replay.hasLanguage ? replay.language : Language::Czech;
        if (language != w.shell.language) UseLanguage(w, language);
        clock_ = ReadStartingState(w, replay.startingState);
    } catch (const std::exception& e) {
        PutSessionBack();
        throw std::runtime_error("replay '" + file + "': " + e.what());
    }
    w.shell.options.writeSaves = false;
    w.shell.quitRequested = false;
    w.front.WatchRequest = 0;
    platform.virtualClock = true;
    // The replay's first hash (frame 0) proves the starting state.
    if (!hashes_.empty() && hashes_.front().frame == 0) {
        std::string difference;
        if (!CheckHashLine(w, hashes_.front(), difference)) problem_ = "replay '" + file + "': " + difference;
        ++nextHash_;
    }
}

Watching::~Watching() { PutSessionBack(); }

void Watching::PutSessionBack() {
    if (!session_) return;
    Session& s = *session_;
    Pause(false);
    const Language shown = w_.shell.language;  // the replay's, or one its clicks chose
    w_.shell = s.shell;
    if (shown != s.shell.language) {
        w_.shell.language = shown;
        try {
            UseLanguage(w_, s.shell.language);
        } catch (const std::exception&) {
            // Loaded once already from the same files: as with the scenery
            // below, only data gone away can fail, and the game says so later.
        }
    }
    w_.saved = s.saved;
    w_.game = s.game;
    w_.front = s.front;
    w_.random = s.random;
    w_.media.input = s.input;
    w_.media.canvas = s.canvas;
    w_.media.music = s.music;
    try {
        EnsureLevelScenery(w_, s.city ? 4 : 9);
    } catch (const std::exception&) {
        // The scenery was loaded once from the same file: this cannot fail
        // unless the data went away, and then the next level reports it.
    }
    for (WaveItem& item : w_.media.Zvuky.items) StopSound(*w_.media.mixer, item);
    RestoreSong(w_.media.music);
    platform_.keys = s.keys;
    platform_.joystick = s.joystick;
    platform_.virtualClock = s.virtualClock;
    platform_.clock = s.clock;
    platform_.holdPresent = false;
    session_.reset();
}

void Watching::Pause(bool on) {
    if (paused_ == on) return;
    paused_ = on;
    // The module's sound is silenced while the picture stands still.
    Mixer& mixer = *w_.media.mixer;
    std::lock_guard<std::mutex> guard(mixer.lock);
    mixer.musicGain = on ? 0.0f : MusicGain(w_.media.music.musicVolume);
}

bool Watching::Tick(const std::vector<PlatformEvent>& events, bool focused) {
    if (!problem_.empty()) return false;
    for (const PlatformEvent& e : events) {
        if (e.kind == EventKind::Quit) return false;
        if (e.kind != EventKind::KeyPress) continue;
        if (e.key == kEscape) return false;
        if (e.key == '1' || e.key == '2' || e.key == '4') speed_ = e.key - '0';
        if (e.key == ' ') Pause(!paused_);
    }
    if (!focused) return true;  // the window is inactive: the replay waits too
    if (paused_) {
        platform_.holdPresent = false;
        platform_.Present(*w_.media.back);  // the picture stays on the screen
        return true;
    }
    for (int i = 0; i < speed_; ++i) {
        if (frame_ >= end_) return false;
        platform_.holdPresent = i + 1 < speed_;  // only the tick's last frame is shown
        if (!Frame()) return false;
    }
    platform_.holdPresent = false;
    return frame_ < end_;
}

// One frame of the replay: its input, the frame, its hash.
bool Watching::Frame() {
    for (; nextInput_ < inputs_.size() && inputs_[nextInput_].frame <= frame_; ++nextInput_) {
        const ScriptEvent& e = inputs_[nextInput_];
        if (e.kind == ScriptEventKind::Down) keys_.set(size_t(e.key));
        else if (e.kind == ScriptEventKind::Up) keys_.reset(size_t(e.key));
        else if (e.kind == ScriptEventKind::Pad) pad_ = e.pad;
        else DeliverScriptEvent(w_, e);
    }
    platform_.keys = keys_;
    platform_.joystick = pad_;
    platform_.clock = clock_ + uint32_t(frame_) * 16u;
    RunFrame(w_);
    ++frame_;
    w_.front.WatchRequest = 0;  // a click on a mark inside the replay plays nothing
    for (; nextHash_ < hashes_.size() && hashes_[nextHash_].frame <= frame_; ++nextHash_) {
        std::string difference;
        if (hashes_[nextHash_].frame == frame_ && !CheckHashLine(w_, hashes_[nextHash_], difference)) {
            problem_ = "replay '" + file_ + "': " + difference;
            return false;
        }
    }
    return !w_.shell.quitRequested;
}
