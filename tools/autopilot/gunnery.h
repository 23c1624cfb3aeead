// When to hold the fire button: when something the guns can hurt is in the
// laser's line and no wanted box is in the way, and in bursts that leave
// the gun charged: firing stops when the gun energy runs low and starts
// again once it has recovered (the gun recharges only while not firing).
#pragma once
#include "situation.h"

namespace autopilot {

class Gunnery {
public:
    bool ShouldFire(const Situation& s);

private:
    bool resting_ = false;
};

}  // namespace autopilot
