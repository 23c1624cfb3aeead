// The scrolling, animated alien city under levels 4 and 8.
#pragma once

struct World;

void UpdateCity(World& w);
