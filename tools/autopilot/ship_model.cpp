// The fighter's flight with inertia, foreseen through the game's own two
// steps of flight (steering, then the move), so the model cannot drift from
// the ship it predicts.
#include "ship_model.h"

#include "game/ship_flight.h"

void ShipModel::Advance(Steer steer) {
    ShipFlight flight{x, y, speedX, speedY, stepX, stepY};
    const ShipPush push = SteerShip(flight, DirectionKeys{steer.h<0, steer.h> 0, steer.v<0, steer.v> 0});
    MoveShip(flight, push);
    x = flight.x;
    y = flight.y;
    speedX = flight.speedX;
    speedY = flight.speedY;
    stepX = flight.stepX;
    stepY = flight.stepY;
}
