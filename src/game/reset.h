// ResetGameState: puts every record of a running game into the state of a
// new game (stars drawn anew, shots, objects and companions cleared).
#pragma once

struct World;

void ResetGameState(World& w);
