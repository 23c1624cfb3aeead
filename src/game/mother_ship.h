// The mother ship battle of level 9: its parts, guns, probe, shields and the
// destruction sequence that wins the game.
#pragma once
#include <cstdint>

struct World;

void SetUpMotherShip(World& w, double strengthFactor);
void UpdateMotherShip(World& w);
