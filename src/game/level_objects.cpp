// Placeholder until this routine is built; replaced by its own implementation.
#include "game/level_objects.h"

#include "shell/world.h"

void UpdateLevelObjects(World&) {}
