// The level builder: the current level's objects placed as its entry in the
// level table (level_table.cpp) describes them, its scenery loaded, and one
// prepared object placed at random inside a band.
#pragma once
#include <cstdint>

struct World;

void BuildLevel(World& w);
// The Level collection as a level needs it: the city (first picture
// "Kostky", video\mesto.lev) in levels 4 and 8, the mother ship ("Lod",
// video\velkalod.lev) in level 9, loaded only when another collection is in
// place. The other levels draw nothing of it and leave it as it is.
void EnsureLevelScenery(World& w, int level);
// Gives slot index (its other fields already set, X still 0, or -1 for a
// re-offered weapon box) a random X and Y inside the band low..high, away
// from everything already placed. False when no place was found within the
// attempt limit: the object is then left out and the slot keeps its X.
bool PlaceLevelObject(World& w, int32_t index, int32_t low, int32_t high);
