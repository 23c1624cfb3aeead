// Spending the three carried special items (keys 1, 2, 3) as a player
// would: the energy pack when the gun runs dry with work to do, the life
// pack and invulnerability when the hull runs low, protective orbs when a
// hit looks unavoidable, egg beam, discs and wingmen against crowds and the
// mother ship, and any item when all slots are full and a box comes.
#pragma once
#include "situation.h"

namespace autopilot {

// Slot 1..3 to use this frame, 0 for none.
int ChooseItemSlot(const Situation& s, double unavoidableDamage, bool firing);

}  // namespace autopilot
