// The combat sounds: the player's weapons, explosions and impacts, each
// already levelled for its role.
#pragma once
#include "sfx_kit.h"

namespace sfx {

Buffer Laser();
Buffer GoodLaser();
Buffer BallShot();
Buffer BeamSpread();
Buffer BeamHum();  // looped
Buffer Explosion();
Buffer Ring();
Buffer ShipBlast();
Buffer Hit();

}  // namespace sfx
