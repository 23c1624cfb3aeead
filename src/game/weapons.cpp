// Placeholder until this routine is built; replaced by its own implementation.
#include "game/weapons.h"

#include "shell/world.h"

void UpdateWeapons(World&) {}
