// Placeholder until this routine is built; replaced by its own implementation.
#include "game/starfield.h"

#include "shell/world.h"

void DrawStarfield(World& w) { w.game.Progress.ScrollDistance += 1; }
