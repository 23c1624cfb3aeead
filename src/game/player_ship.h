// The player's fighter: inertia, the arrival zoom, the fire gate, the use of
// the three carried special items, its picture and the invulnerability shield.
#pragma once

struct GameState;
struct World;

void UpdatePlayerShip(World& w);
// The fighter's picture (zooming in, banking, hit) and its shield.
void DrawPlayerShip(World& w);
// The shield lasts 1000 frames, then the ship is vulnerable again.
void RunInvulnerabilityClock(GameState& g);
