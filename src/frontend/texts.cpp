// Placeholder until this routine is built; replaced by its own implementation.
#include "frontend/texts.h"

#include "shell/world.h"

void LoadTexts(World&) {}
