// Placeholder until this routine is built; replaced by its own implementation.
#include "frontend/menu_input.h"

#include "shell/world.h"

void DXDrawMouseMove(World&, int, int) {}
void DXDrawClick(World&) {}
void DXDrawKeyPress(World&, uint8_t&) {}
