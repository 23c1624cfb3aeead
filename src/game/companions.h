// The four companions the special items call up, each moved and drawn once
// per frame by UpdateWeapons in this order: wingmen, then (after the bombs)
// protective orbs, egg beams and homing discs.
#pragma once

struct World;

void UpdateWingmen(World& w);
void UpdateShieldOrbs(World& w);
void UpdateEggBeams(World& w);
void UpdateHomingDiscs(World& w);
