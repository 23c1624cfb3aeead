// The autopilot's model of the player's fighter: how held direction keys
// change its speed and position from one frame to the next, and the boxes
// with which it touches level objects and enemy shots. The pilot predicts
// with it; the game's own ship routine stays the only one that moves it.
#pragma once
#include <cstdint>

// Direction keys held for a frame: -1 left or up, 0 none, +1 right or down.
struct Steer {
    int8_t h = 0, v = 0;
};

struct ShipModel {
    int32_t x = 400, y = 300;  // the ship's reference point
    int32_t speedX = 0, speedY = 0;
    int32_t stepX = 0, stepY = 0;

    // One frame of flight with these keys held.
    void Advance(Steer steer);
};

// The area in which the ship touches level objects (sampled every 2
// pixels) and enemy shots (every 4), relative to the reference point.
constexpr int kTouchLeft = -37, kTouchRight = 33, kTouchTop = -25, kTouchBottom = 45;
constexpr int kShotLeft = -37, kShotRight = 23, kShotTop = -25, kShotBottom = 35;
// The two laser beams leave at these offsets from the reference point.
constexpr int kLaserLeftX = -23, kLaserRightX = 12;
