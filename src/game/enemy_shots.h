// Enemy fire: armed level objects firing into the shared EnemyShots array
// (the mother ship fires into it too), and every enemy shot hitting the
// ship or shot down, its flight, drawing and burst.
#pragma once

#include "game/object_passes.h"

struct World;

// An armed object in play firing one or two shots when its clock comes up.
void FireFromObject(GameState& g, const LevelObject& o, PictureSize size, RaketySizes& sizes);
// Every enemy shot against the ship and the player's shots, then its flight
// and drawing, then the bursts of shots that were shot down.
void UpdateEnemyShots(World& w, RaketySizes& sizes);
