// Placeholder until this routine is built; replaced by its own implementation.
#include "game/mother_ship.h"

#include "shell/world.h"

void SetUpMotherShip(World&, double) {}
void UpdateMotherShip(World&) {}
