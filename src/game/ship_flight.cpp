// The fighter's speed bands, its bounds and its friction.
#include "game/ship_flight.h"

namespace {

constexpr int32_t kMaxSpeedX = 36;
constexpr int32_t kMaxSpeedY = 23;

// Pixels per frame for a horizontal speed; the left side switches to the
// second step one unit later than the right (-6 against 5).
int32_t StepForSpeedX(int32_t s, int32_t previous) {
    int32_t step = previous;
    if (s > 0) step = 2;
    if (s > 5) step = 3;
    if (s > 10) step = 4;
    if (s > 22) step = 5;
    if (s > 27) step = 6;
    if (s > 35) step = 7;
    if (s < 0) step = 2;
    if (s < -6) step = 3;
    if (s < -10) step = 4;
    if (s < -22) step = 5;
    if (s < -27) step = 6;
    if (s < -35) step = 7;
    return step;
}

int32_t StepForSpeedY(int32_t s, int32_t previous) {
    int32_t step = previous;
    if (s > 0) step = 2;
    if (s > 5) step = 3;
    if (s > 10) step = 4;
    if (s > 22) step = 5;
    if (s < 0) step = 2;
    if (s < -5) step = 3;
    if (s < -10) step = 4;
    if (s < -22) step = 5;
    return step;
}

int32_t TowardZero(int32_t v) { return v > 0 ? v - 1 : (v < 0 ? v + 1 : 0); }

}  // namespace

ShipPush SteerShip(ShipFlight& f, DirectionKeys keys) {
    ShipPush push;
    if (keys.left && f.speedX > -kMaxSpeedX) {
        f.speedX -= 1;
        push.horizontal = true;
        if (f.speedX > 10) f.speedX = 10;
    }
    if (keys.right && f.speedX < kMaxSpeedX) {
        f.speedX += 1;
        push.horizontal = true;
        if (f.speedX < -10) f.speedX = -10;
    }
    if (keys.up && f.speedY > -kMaxSpeedY) {
        f.speedY -= 1;
        push.vertical = true;
    }
    if (keys.down && f.speedY < kMaxSpeedY) {
        f.speedY += 1;
        push.vertical = true;
    }
    return push;
}

void MoveShip(ShipFlight& f, ShipPush push) {
    f.stepX = StepForSpeedX(f.speedX, f.stepX);
    f.stepY = StepForSpeedY(f.speedY, f.stepY);
    if (f.speedX > 0 && f.x < 762) f.x += f.stepX;
    if (f.speedX < 0 && f.x > 45) f.x -= f.stepX;
    if (f.speedY > 0 && f.y < 495) f.y += f.stepY;
    if (f.speedY < 0 && f.y > 40) f.y -= f.stepY;
    if (!push.horizontal) f.speedX = TowardZero(f.speedX);
    if (!push.vertical) f.speedY = TowardZero(f.speedY);
}
