// Placeholder until this routine is built; replaced by its own implementation.
#include "game/level_build.h"

#include "shell/world.h"

void BuildLevel(World&) {}
void PlaceLevelObject(World&, int32_t, int32_t, int32_t) {}
