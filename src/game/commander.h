// The commander's messages: briefings at level starts typed on the panel of
// the instrument bar; a step of UpdateHud.
#pragma once

struct World;

void UpdateCommander(World& w);
