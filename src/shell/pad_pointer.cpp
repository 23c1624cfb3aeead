// Stick deflection to pointer speed: quadratic past the dead zone, up to 12
// game pixels a frame (the menu's width in about a second).
#include "shell/pad_pointer.h"

#include <algorithm>

#include "media/input.h"
#include "media/surface.h"

namespace {

constexpr int kFastestStep = 12;

int Step(int deflection) {
    const int beyond = std::abs(deflection) - kPadStickDeadZone;
    if (beyond <= 0) return 0;
    const int span = 1000 - kPadStickDeadZone;
    const int step = std::max(1, kFastestStep * beyond * beyond / (span * span));
    return deflection < 0 ? -step : step;
}

}  // namespace

bool PadPointerStep(int x, int y, int stickX, int stickY, int& nextX, int& nextY) {
    const int dx = Step(stickX), dy = Step(stickY);
    if (dx == 0 && dy == 0) return false;
    nextX = std::clamp(x + dx, 0, kSurfaceWidth - 1);
    nextY = std::clamp(y + dy, 0, kSurfaceHeight - 1);
    return true;
}
