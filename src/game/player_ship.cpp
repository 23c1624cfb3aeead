// Placeholder until this routine is built; replaced by its own implementation.
#include "game/player_ship.h"

#include "shell/world.h"

void UpdatePlayerShip(World&) {}
