// The player's fighter: inertia, the arrival zoom, the fire gate, the use of
// the three carried special items, its picture and the invulnerability shield.
#pragma once

struct GameState;
struct World;

// The fighter is under control (fire, items) and can touch and be hit once
// its arrival zoom has shrunk below this width. Its collision area is
// sampled from (PlayerX, PlayerY) plus this corner.
constexpr int kArrivedWidth = 78;
constexpr int kShipAreaLeft = -37, kShipAreaTop = -25;

void UpdatePlayerShip(World& w);
// The fighter's picture (zooming in, banking, hit) and its shield.
void DrawPlayerShip(World& w);
// The shield lasts 1000 frames, then the ship is vulnerable again.
void RunInvulnerabilityClock(GameState& g);
