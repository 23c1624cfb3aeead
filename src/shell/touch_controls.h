// The touch controls each scene asks for: flying in the game, a name typed on
// the New Game page once its field is clicked, a pointer everywhere else. The
// runner tells the platform after every tick; only the browser's page shows
// them (on a touch screen).
#pragma once
#include "media/platform.h"

struct World;

ControlsHint ControlsFor(const World& w);
