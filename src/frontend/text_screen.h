// The story text screen "Uvod" typed before the first level.
#pragma once

struct World;

void RunTextScreen(World& w);
