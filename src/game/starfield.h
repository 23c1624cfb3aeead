// The background stars of the game, the intro and the ending; advances the
// level's scroll distance by one each frame.
#pragma once

struct World;

void DrawStarfield(World& w);
