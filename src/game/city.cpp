// Placeholder until this routine is built; replaced by its own implementation.
#include "game/city.h"

#include "shell/world.h"

void UpdateCity(World&) {}
