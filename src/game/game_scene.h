// The scene "HlavniHra": one frame of play, its steps in their fixed order.
#pragma once

struct World;

// Music upkeep, starfield, mother ship, city, ship, level objects, weapons,
// finish flags, ship picture, HUD, shield clock, level end, finish line.
void RunGameScene(World& w);
