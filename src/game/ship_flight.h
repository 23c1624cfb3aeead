// The fighter's flight with inertia, apart from the rest of the ship's frame:
// held direction keys push the speed, the speed band sets the pixels per
// frame, and friction slows an axis nothing pushed. The game's ship routine
// and anything that must foresee the ship's path use the same two steps.
#pragma once
#include <cstdint>

struct ShipFlight {
    int32_t x = 0, y = 0;  // the ship's reference point
    int32_t speedX = 0, speedY = 0;
    int32_t stepX = 0, stepY = 0;  // pixels per frame of the current speed band
};

struct DirectionKeys {
    bool left = false, right = false, up = false, down = false;
};

// Which axes the keys pushed this frame (the others coast and slow down).
struct ShipPush {
    bool horizontal = false, vertical = false;
};

// The speed change of one frame: one unit toward each held direction, and a
// reversal first cuts the horizontal speed to 10 so turning is quick.
ShipPush SteerShip(ShipFlight& flight, DirectionKeys keys);

// The move of one frame: the step for the speed band, bounds tested before
// the step (so the ship may end a step beyond), then friction on the axes
// that were not pushed.
void MoveShip(ShipFlight& flight, ShipPush push);
