// The fighter's flight with inertia: speed by one per frame toward the held
// direction (a reversal first cuts it to 10), pixels per frame by speed
// band, bounds tested before the step, friction when nothing is pressed.
#include "ship_model.h"

namespace {

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

void ShipModel::Advance(Steer steer) {
    bool noHorizontal = true, noVertical = true;
    if (steer.h < 0 && speedX > -36) {
        speedX -= 1;
        noHorizontal = false;
        if (speedX > 10) speedX = 10;
    }
    if (steer.h > 0 && speedX < 36) {
        speedX += 1;
        noHorizontal = false;
        if (speedX < -10) speedX = -10;
    }
    if (steer.v < 0 && speedY > -23) {
        speedY -= 1;
        noVertical = false;
    }
    if (steer.v > 0 && speedY < 23) {
        speedY += 1;
        noVertical = false;
    }
    stepX = StepForSpeedX(speedX, stepX);
    stepY = StepForSpeedY(speedY, stepY);
    if (speedX > 0 && x < 762) x += stepX;
    if (speedX < 0 && x > 45) x -= stepX;
    if (speedY > 0 && y < 495) y += stepY;
    if (speedY < 0 && y > 40) y -= stepY;
    if (noHorizontal) speedX = TowardZero(speedX);
    if (noVertical) speedY = TowardZero(speedY);
}
