// Placeholder until this routine is built; replaced by its own implementation.
#include "game/commander.h"

#include "shell/world.h"

void UpdateCommander(World&) {}
