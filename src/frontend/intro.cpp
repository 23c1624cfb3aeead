// Placeholder until this routine is built; replaced by its own implementation.
#include "frontend/intro.h"

#include "shell/world.h"

void RunIntro(World&) {}
