// The ship touching a level object: collision damage from ordinary objects,
// and the pick-ups of item boxes, the mystery box, weapon boxes, black boxes
// and the extra-life box.
#include <cstdlib>

#include "game/object_passes.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

int FirstEmptyItemSlot(ProgressRecord& p) {
    for (int i = 1; i <= 3; ++i)
        if (p.ItemSlots[i] == 0) return i;
    return 0;
}

// What one touch does, in the order the pick-ups are decided.
void ApplyTouch(World& w, LevelObject& o) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    const bool slotsFull = FirstEmptyItemSlot(p) == 0;
    const int content = o.Content;
    if (content >= 1 && content <= 8 && !slotsFull) PlayGameSound(w, "Box");
    if (content == 0) {
        p.Energy -= o.CollisionDamage;
        o.Hit = 1;
        o.Energy = -1;
        o.Visible = 0;
        g.ShipHitTimer = 1;
    }
    if (content >= 100 && content <= 104) {
        PlayGameSound(w, "BoxGun");
        p.LastWeapon = int8_t(content - 100);
        WeaponFlag(p, content - 100) = 1;
        o.Energy = 0;
    }
    if (content == 0 || content == 14 || (content >= 100 && content <= 104) ||
        (content >= 1 && content <= 7 && !slotsFull))
        o.Visible = 0;
    if (content >= 1 && content <= 7 && !slotsFull) {
        p.ItemSlots[FirstEmptyItemSlot(p)] = content;
        o.Energy = 0;
        o.Content = 255;
    }
    if (content == 8 && !slotsFull) {
        if (RandomInt(w, 2) != 0) {
            // The trap: it stays, and a later sample row of this touch hurts.
            o.CollisionDamage = 30;
            o.Content = 0;
        } else {
            p.ItemSlots[FirstEmptyItemSlot(p)] = RandomInt(w, 7) + 1;
            o.Energy = 0;
            o.Content = 255;
            o.Visible = 0;
        }
    }
    if (content == 14) {
        ++p.BlackBoxCount;
        p.Score += 20;
        o.Content = 255;
        o.Energy = -1;
        PlayGameSound(w, "Baterie");
    }
    if (content == 9 && g.LifeTakenShift == 0) {
        g.EnergyRefill = 100;
        g.LifeTakenShift = 3;
        PlayGameSound(w, "Lifepack");
    }
}

}  // namespace

void TouchShip(World& w, LevelObject& o, int sy, PictureSize size) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    if (g.ArrivalWidth >= 78 || o.Visible != 1) return;
    if (std::abs(p.PlayerX - o.X) >= 150 || std::abs(p.PlayerY - sy) >= 150) return;
    // The ship is sampled at 36 x 36 points two pixels apart, column by
    // column; a touch ends its column, and the next column touches again
    // while the object is still there.
    for (int i = 0; i < 36; ++i) {
        const int px = p.PlayerX - 37 + 2 * i;
        if (!(o.X < px && px < o.X + size.width)) continue;
        if (!SampleBetween(p.PlayerY - 25, 2, 36, sy, sy + size.height)) continue;
        ApplyTouch(w, o);
        if (o.Visible != 1) return;
    }
}
