// The fire decision: the first thing each laser beam would meet going up,
// and the gun energy's burst rhythm.
#include "gunnery.h"

#include "lanes.h"

#include <cstdlib>

namespace autopilot {
namespace {

// The thing a beam at x meets first going up from the ship: 1 worth
// shooting, -1 a box to spare, 0 nothing.
int FirstInBeam(const Situation& s, int x) {
    const Mover* first = nullptr;
    const int shipTop = s.ship.y - 40;
    for (const Mover& m : s.movers) {
        if (m.birth > 1 || !InColumns(m, x)) continue;
        const int top = m.Top(1), bottom = top + m.height;
        if (bottom <= 0 || top >= shipTop) continue;  // off the screen, or level with the ship
        if (!first || bottom > first->Top(1) + first->height) first = &m;
    }
    if (!first) return 0;
    if (first->content != 0) return -1;  // boxes are taken, not shot
    if (!first->shootable || first->damage <= 0) return 0;
    // Not worth the energy when it would reach the ship long before it fell.
    const int arrival = ArrivalFrame(s, *first);
    if (first->kind == MoverKind::Object && FramesToDestroy(s, *first) > arrival + 200) return 0;
    return 1;
}

// A beam at x would strike a part whose fall brings the ship's end nearer.
bool BattleTarget(const Situation& s, int x) {
    bool wanted = false;
    FirstPartInLine(s, x, wanted);
    return wanted;
}

}  // namespace

bool Gunnery::ShouldFire(const Situation& s) {
    const int left = FirstInBeam(s, s.ship.x + kLaserLeftX);
    const int right = FirstInBeam(s, s.ship.x + kLaserRightX);
    bool want = (left == 1 && right != -1) || (right == 1 && left != -1);
    if (s.battle && !s.motherDestroyed && left != -1 && right != -1) {
        if (BattleTarget(s, s.ship.x + kLaserLeftX) || BattleTarget(s, s.ship.x + kLaserRightX)) want = true;
    }
    // Bursts: rest at low gun energy until it has come back.
    const int low = s.battle ? 30 : 20, recovered = 60;
    if (resting_ && s.weaponEnergy >= recovered) resting_ = false;
    if (!resting_ && s.weaponEnergy < low) resting_ = true;
    // A probe on its way is worth the last of the charge.
    int probeX = 0, slack = 0;
    if (s.probeOut && ProbeColumn(s, probeX, slack) && std::abs(s.ship.x - probeX) < 60 && s.weaponEnergy > 9)
        return s.underControl;
    return want && !resting_ && s.underControl;
}

}  // namespace autopilot
