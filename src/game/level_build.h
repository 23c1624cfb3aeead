// Level construction: the rules of levels 1..9 that fill LevelObjects with
// meteors, craft, barriers and boxes along the level.
#pragma once
#include <cstdint>


struct World;

void BuildLevel(World& w);
void PlaceLevelObject(World& w, int32_t index, int32_t low, int32_t high);
