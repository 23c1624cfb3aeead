// Placeholder until this routine is built; replaced by its own implementation.
#include "frontend/text_screen.h"

#include "shell/world.h"

void RunTextScreen(World&) {}
