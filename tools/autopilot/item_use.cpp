// Which item to use now, from the situation and the flight planner's
// expectation of damage.
#include "item_use.h"

namespace autopilot {
namespace {

enum Item { kEggBeam = 1, kDiscs = 2, kOrbs = 3, kWingmen = 4, kInvulnerable = 5, kLifePack = 6, kEnergyPack = 7 };

// Hostile things on the screen.
int CrowdOnScreen(const Situation& s) {
    int crowd = 0;
    for (const Mover& m : s.movers)
        if (m.kind == MoverKind::Object && m.damage > 0 && m.birth <= 1 && m.Top(1) > -m.height && m.Top(1) < s.ship.y)
            ++crowd;
    return crowd;
}

bool BoxComing(const Situation& s) {
    for (const Mover& m : s.movers)
        if (m.content >= 1 && m.content <= 7 && m.Top(1) > -150 && m.Top(1) < s.ship.y) return true;
    return false;
}

bool Wanted(const Situation& s, int item, double unavoidableDamage, bool firing, int crowd) {
    const bool fighting = s.battle && !s.motherDestroyed;
    switch (item) {
        case kEnergyPack: return s.weaponEnergy < 20 && (firing || fighting);
        case kLifePack: return s.energy < 55;
        case kInvulnerable:
            return !s.invulnerable && (s.energy < 40 || (fighting && s.energy < 70) || unavoidableDamage >= s.energy);
        case kOrbs: return !s.orbsActive && (unavoidableDamage > 0 || fighting || crowd >= 6);
        case kEggBeam: return !s.beamActive && (fighting || crowd >= 5);
        case kDiscs: return !s.discsActive && (fighting || crowd >= 4);
        case kWingmen: return !s.wingmenOut && (fighting || crowd >= 5);
        default: return false;
    }
}

}  // namespace

int ChooseItemSlot(const Situation& s, double unavoidableDamage, bool firing) {
    if (!s.underControl || s.briefing) return 0;
    const int crowd = CrowdOnScreen(s);
    for (int slot = 1; slot <= 3; ++slot) {
        const int item = s.itemSlots[slot - 1];
        if (item != 0 && Wanted(s, item, unavoidableDamage, firing, crowd)) return slot;
    }
    // All full and a box on its way: make room with the first one.
    if (s.itemSlots[0] && s.itemSlots[1] && s.itemSlots[2] && BoxComing(s)) return 1;
    return 0;
}

}  // namespace autopilot
