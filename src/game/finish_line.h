// The end of a level: the finish line with its waving flags, the lights and
// the profile save when the ship crosses it, and the scroll distance at which
// the level ends and the next one is built.
#pragma once
#include <cstdint>

struct World;

// The two flags at the finish line's row (not drawn in level 9).
void DrawFinishFlags(World& w);
// The crossing: "Vlajky", the lights, and the one save point of a game.
void CheckFinishLine(World& w);
// The lights beside the flags for 60 frames after the crossing; runs in
// every scene, after the game scene.
void DrawFinishLights(World& w);
// At the level's last scroll distance: the next level, built at 600.
void CheckLevelEnd(World& w);
// The scroll distance at which a level (1..8) ends; 0 for level 9 and any
// other, which no distance ends.
int32_t LevelEndDistance(int32_t level);
