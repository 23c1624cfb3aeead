// Placeholder until this routine is built; replaced by its own implementation.
#include "game/reset.h"

#include "shell/world.h"

void ResetGameState(World&) {}
