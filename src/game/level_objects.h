// Level objects in play: entry, movement, drawing, hits by the player's
// shots, touching the ship, pick-ups, enemy fire, explosions and blasts.
#pragma once

struct World;

void UpdateLevelObjects(World& w);
