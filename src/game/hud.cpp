// Placeholder until this routine is built; replaced by its own implementation.
#include "game/hud.h"

#include "shell/world.h"

void UpdateHud(World&) {}
void DrawNumber(World&, int32_t, int) {}
