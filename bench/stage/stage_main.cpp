// kavrix-stage: the real game (runner, platform, frame) held in one scene for
// as long as a measurement needs it: the menu with static noise on its
// monitor, level 1 in play, level 3 around its busiest moment, the mother ship
// battle. It plays through the runner's pilot seam and keeps the ship alive,
// so a CPU or pacing measurement sees the scene and not a game over. With
// KAVRIX_STAGE_PACING=N it times N frame starts and prints the median and
// 99th percentile interval and the drift from the 16 ms grid, then ends.
// The scene "start" is a plain start that ends once its first frame is
// presented, printing when main began, when the first frame began and when it
// was presented (wall clock, microseconds since the epoch) and the CPU time
// the process and its main thread had used by then; "pieces" times the
// start-up's loading steps one by one. With KAVRIX_STAGE_HOLD=N the run stops
// for KAVRIX_STAGE_HOLD_SECONDS (4) before frame N with frame N-1 on the
// screen, for a screenshot of the window, and ends there.
//
//   kavrix-stage SCENE [kavrix options...]   SCENE: menu, level1, level3, mothership, start
//   kavrix-stage pieces DATA_DIR [window]
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "../busiest_scroll.h"
#include "game/level_build.h"
#include "game/level_objects.h"
#include "shell/options.h"
#include "shell/runner.h"
#include "startup_pieces.h"
#include "state/world.h"

namespace {

enum class Stage { Menu, Level1, Level3, MotherShip, Start };

int64_t WallMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

int64_t CpuMicroseconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return int64_t(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

// The menu's logo hotspot and a place beside it: the pointer going on and off
// the logo sends the monitor through six frames of noise each time.
constexpr int kLogoX = 730, kLogoY = 587, kAwayX = 600, kAwayY = 587;
constexpr int kNoiseFrames = 6;
// The mother ship comes in at scroll distance 10700: start just before it.
constexpr int32_t kBeforeMotherShip = 10640;

// Brings level 3 (already built by the new game) to `lead` frames before its
// busiest moment, the objects moved as the frames between would move them.
void StageLevel3(World& w, int lead) {
    GameState& g = w.game;
    const GameState fresh = g;
    const int32_t busiest = BusiestScroll(w);
    g = fresh;
    const int32_t start = std::max(600, busiest - lead);
    for (int32_t scroll = 600; scroll < start; ++scroll) {
        g.Progress.ScrollDistance = scroll;
        UpdateLevelObjects(w);
    }
    g.Progress.ScrollDistance = start;
    std::cerr << "kavrix-stage: level 3 is busiest at scroll distance " << busiest << "; play starts at " << start
              << "\n";
}

// Frame starts on the steady clock, and what they say about the pacing.
class PacingLog {
public:
    explicit PacingLog(int frames) : wanted_(frames) { starts_.reserve(size_t(frames) + 1); }
    // False once the frames are counted (and the figures printed). The first
    // frames (start-up, the first window events) are not counted.
    bool Tick() {
        if (wanted_ <= 0 || ++seen_ <= kSettleFrames) return true;
        starts_.push_back(std::chrono::steady_clock::now());
        if (int(starts_.size()) <= wanted_) return true;
        Report();
        return false;
    }

private:
    void Report() const {
        std::vector<double> ms;
        for (size_t i = 1; i < starts_.size(); ++i)
            ms.push_back(std::chrono::duration<double, std::milli>(starts_[i] - starts_[i - 1]).count());
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const double total = std::chrono::duration<double, std::milli>(starts_.back() - starts_.front()).count();
        const double drift = total - 16.0 * double(ms.size());
        int late = 0;
        for (double m : ms) late += m > 17.5;
        std::printf(
            "pacing over %zu frames: median %.3f ms, p99 %.3f ms, max %.3f ms, over 17.5 ms %d, "
            "drift %+.3f ms in %.1f s\n",
            ms.size(), sorted[sorted.size() / 2], sorted[sorted.size() * 99 / 100], sorted.back(), late, drift,
            total / 1000);
    }
    static constexpr int kSettleFrames = 60;
    int wanted_;
    int seen_ = 0;
    std::vector<std::chrono::steady_clock::time_point> starts_;
};

class StagePilot : public FramePilot {
public:
    StagePilot(Stage stage, int lead, int pacingFrames) : stage_(stage), lead_(lead), pacing_(pacingFrames) {}

    bool BeforeFrame(const World& seen, int64_t frame, KeySet& held, std::vector<ScriptEvent>& events) override {
        if (hold > 0 && frame == hold) {
            std::printf("holding frame %" PRId64 "\n", frame - 1);
            std::fflush(stdout);
            std::this_thread::sleep_for(std::chrono::duration<double>(holdSeconds));
            return false;
        }
        if (stage_ == Stage::Start) {
            if (frame == 0) firstFrame_ = WallMicroseconds();
            return frame == 0;
        }
        if (!pacing_.Tick()) return false;
        // The stage owns this run's world; the seam hands it out read-only.
        World& w = const_cast<World&>(seen);
        if (stage_ == Stage::Menu) return MenuFrame(w, frame, events);
        if (frame == 0 && stage_ == Stage::Level3) StageLevel3(w, lead_);
        if (frame == 0 && stage_ == Stage::MotherShip) w.game.Progress.ScrollDistance = kBeforeMotherShip;
        if (frame == 0) w.game.CommanderStep = 0;  // straight into play, no briefing
        held.set(size_t(GameKey::Space));
        // The ship neither dies nor runs dry: the scene stays as busy as it is.
        ProgressRecord& p = w.game.Progress;
        p.Energy = std::max(p.Energy, 60);
        p.Lives = std::max<int8_t>(p.Lives, 3);
        w.game.WeaponEnergy = std::max(w.game.WeaponEnergy, 60);
        return true;
    }

    void AfterFrame(const World&, int64_t frame) override {
        if (stage_ == Stage::Start && frame == 0)
            std::printf("start-up: main %" PRId64 " first-frame %" PRId64 " presented %" PRId64 " cpu-process %" PRId64
                        " cpu-main-thread %" PRId64 "\n",
                        mainStart, firstFrame_, WallMicroseconds(), CpuMicroseconds(CLOCK_PROCESS_CPUTIME_ID),
                        CpuMicroseconds(CLOCK_THREAD_CPUTIME_ID));
    }
    int64_t mainStart = 0;
    int64_t hold = 0;
    double holdSeconds = 4;

private:
    bool MenuFrame(World& w, int64_t frame, std::vector<ScriptEvent>& events) {
        ScriptEvent e;
        if (frame == 0) {  // any key ends the intro
            e.kind = ScriptEventKind::Type;
            e.code = ' ';
            events.push_back(e);
            return true;
        }
        if (frame % kNoiseFrames != 0) return true;
        const bool onLogo = (frame / kNoiseFrames) % 2 == 1;
        e.kind = ScriptEventKind::Move;
        e.x = onLogo ? kLogoX : kAwayX;
        e.y = onLogo ? kLogoY : kAwayY;
        events.push_back(e);
        return true;
    }

    Stage stage_;
    int64_t firstFrame_ = 0;
    int lead_;
    PacingLog pacing_;
};

}  // namespace

int main(int argc, char** argv) {
    const int64_t mainStart = WallMicroseconds();
    if (argc < 2) {
        std::cerr << "usage: kavrix-stage menu|level1|level3|mothership|start [kavrix options...]\n"
                     "       kavrix-stage pieces DATA_DIR [window]\n";
        return 2;
    }
    const std::string name = argv[1];
    if (name == "pieces" && argc >= 3)
        return TimeStartUpPieces(argv[2], argc >= 4 && std::strcmp(argv[3], "window") == 0);
    Stage stage;
    std::vector<const char*> args = {argv[0]};
    if (name == "menu" || name == "start") {
        stage = name == "menu" ? Stage::Menu : Stage::Start;
    } else if (name == "level1" || name == "level3" || name == "mothership") {
        stage = name == "level1" ? Stage::Level1 : name == "level3" ? Stage::Level3 : Stage::MotherShip;
        const char* level = name == "level1" ? "1" : name == "level3" ? "3" : "9";
        args.insert(args.end(), {"--new-game", "Stage", "--difficulty", "2", "--level", level});
    } else {
        std::cerr << "kavrix-stage: unknown scene '" << name << "'\n";
        return 2;
    }
    // Level 3's busiest moment falls in the middle of an 11 s run (3 s of
    // warm-up and 8 s measured) unless KAVRIX_STAGE_LEAD says otherwise.
    int lead = 62 * 7;
    if (const char* text = std::getenv("KAVRIX_STAGE_LEAD")) lead = std::atoi(text);
    for (int i = 2; i < argc; ++i) args.push_back(argv[i]);
    RunOptions options;
    std::string error;
    if (!ParseOptions(int(args.size()), args.data(), options, error)) {
        std::cerr << "kavrix-stage: " << error << "\n";
        return 2;
    }
    const char* pacing = std::getenv("KAVRIX_STAGE_PACING");
    StagePilot pilot(stage, lead, pacing ? std::atoi(pacing) : 0);
    pilot.mainStart = mainStart;
    if (const char* hold = std::getenv("KAVRIX_STAGE_HOLD")) pilot.hold = std::atoll(hold);
    if (const char* seconds = std::getenv("KAVRIX_STAGE_HOLD_SECONDS")) pilot.holdSeconds = std::atof(seconds);
    return RunKavrix(options, &pilot);
}
