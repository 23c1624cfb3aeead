// The player's volley and every shot in flight, and the companions the
// special items call up: wingmen, protective orbs, egg beams, homing discs.
#pragma once

struct World;

void UpdateWeapons(World& w);
