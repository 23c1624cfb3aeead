// The frame loop on the page: emscripten's main loop on the browser's
// animation frames (about 60 a second, none while the tab is hidden). Each
// one runs the 16 ms ticks that are due on a fixed grid; a stall of more than
// a few ticks (a hidden tab, a slow machine) starts the grid anew rather than
// running a burst of frames to catch up, as the desktop does.
#include "media/frame_loop.h"

#include <emscripten.h>

#include <cstdlib>

namespace {

constexpr double kTick = 16.0;       // ms
constexpr int kMostTicksAFrame = 4;  // beyond this the grid starts anew

struct FrameLoop {
    std::function<bool()> tick;
    std::function<int()> finished;
    double nextTick = -1;
};
FrameLoop loop;  // main() has returned by the time the page calls back

void AnimationFrame() {
    const double now = emscripten_get_now();
    if (loop.nextTick < 0 || now - loop.nextTick > kTick * kMostTicksAFrame) loop.nextTick = now;
    for (int ran = 0; now >= loop.nextTick && ran < kMostTicksAFrame; ++ran) {
        loop.nextTick += kTick;
        if (!loop.tick()) {
            emscripten_cancel_main_loop();
            std::exit(loop.finished());
        }
    }
}

}  // namespace

void RunFrameLoop(std::function<bool()> tick, std::function<int()> finished) {
    loop.tick = std::move(tick);
    loop.finished = std::move(finished);
    emscripten_set_main_loop(AnimationFrame, 0, 1);
}
