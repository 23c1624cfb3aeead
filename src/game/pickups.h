// The ship touching a level object in play: collision damage from ordinary
// objects, and the pick-ups of item boxes, the mystery box, weapon boxes,
// black boxes and the extra-life box.
#pragma once

#include "game/object_passes.h"

struct World;

// Samples the fighter's collision area against one object (sy its screen y)
// and applies what each touch does.
void TouchShip(World& w, LevelObject& o, int sy, PictureSize size);
