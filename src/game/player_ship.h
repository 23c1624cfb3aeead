// The player's fighter: inertia, the arrival zoom, the fire gate and the
// use of the three carried special items.
#pragma once


struct World;

void UpdatePlayerShip(World& w);
