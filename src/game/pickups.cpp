// The ship touching a level object: collision damage from ordinary objects,
// and the pick-ups of item boxes, the mystery box, weapon boxes, black boxes
// and the extra-life box.
#include "game/pickups.h"

#include <cstdlib>

#include "game/player_ship.h"
#include "game/weapon_table.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

// A mystery box that turns out a trap hurts this much.
constexpr int32_t kTrapDamage = 30;
constexpr int32_t kBlackBoxScore = 20;
// The extra-life box starts a refill of this many frames (the HUD gives one
// energy every second frame: 50 in all) and plays its closing frames
// shifted by kLifeTakenShift.
constexpr uint8_t kExtraLifeRefill = 100;
constexpr int32_t kLifeTakenShift = 3;
// The fighter is sampled at 36 x 36 points two pixels apart.
constexpr int kShipSamples = 36, kShipSampleStep = 2;
constexpr int kItemSlots = 3;

bool IsItem(int content) { return content >= kFirstItem && content <= kLastItem; }
bool IsWeaponBox(int content) { return content >= kFirstWeaponBox && content <= kLastWeaponBox; }

int FirstEmptyItemSlot(const ProgressRecord& p) {
    for (int i = 1; i <= kItemSlots; ++i)
        if (p.ItemSlots[i] == 0) return i;
    return 0;
}

// What one touch does, in the order the pick-ups are decided.
void ApplyTouch(World& w, LevelObject& o) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    const bool slotsFull = FirstEmptyItemSlot(p) == 0;
    const int content = o.Content;
    if ((IsItem(content) || content == kMysteryBox) && !slotsFull) PlayGameSound(w, "Box");
    if (content == kOrdinary) {
        p.Energy -= o.CollisionDamage;
        o.Hit = 1;
        o.Energy = -1;
        o.Visible = 0;
        g.ShipHitTimer = 1;
    }
    if (IsWeaponBox(content)) {
        PlayGameSound(w, "BoxGun");
        p.LastWeapon = int8_t(content - kFirstWeaponBox);
        WeaponFlag(p, content - kFirstWeaponBox) = 1;
        o.Energy = 0;
    }
    if (content == kOrdinary || content == kBlackBox || IsWeaponBox(content) || (IsItem(content) && !slotsFull))
        o.Visible = 0;
    if (IsItem(content) && !slotsFull) {
        p.ItemSlots[FirstEmptyItemSlot(p)] = content;
        o.Energy = 0;
        o.Content = kTakenBox;
    }
    if (content == kMysteryBox && !slotsFull) {
        if (RandomInt(w, 2) != 0) {
            // The trap: it stays, and a later sample row of this touch hurts.
            o.CollisionDamage = kTrapDamage;
            o.Content = kOrdinary;
        } else {
            p.ItemSlots[FirstEmptyItemSlot(p)] = kFirstItem + RandomInt(w, kLastItem - kFirstItem + 1);
            o.Energy = 0;
            o.Content = kTakenBox;
            o.Visible = 0;
        }
    }
    if (content == kBlackBox) {
        ++p.BlackBoxCount;
        p.Score += kBlackBoxScore;
        o.Content = kTakenBox;
        o.Energy = -1;
        PlayGameSound(w, "Baterie");
    }
    if (content == kExtraLife && g.LifeTakenShift == 0) {
        g.EnergyRefill = kExtraLifeRefill;
        g.LifeTakenShift = kLifeTakenShift;
        PlayGameSound(w, "Lifepack");
    }
}

}  // namespace

void TouchShip(World& w, LevelObject& o, int sy, PictureSize size) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    if (g.ArrivalWidth >= kArrivedWidth || o.Visible != 1) return;
    if (std::abs(p.PlayerX - o.X) >= kReach || std::abs(p.PlayerY - sy) >= kReach) return;
    // The ship is sampled column by column; a touch ends its column, and the
    // next column touches again while the object is still there.
    for (int i = 0; i < kShipSamples; ++i) {
        const int px = p.PlayerX + kShipAreaLeft + kShipSampleStep * i;
        if (!(o.X < px && px < o.X + size.width)) continue;
        if (!SampleBetween(p.PlayerY + kShipAreaTop, kShipSampleStep, kShipSamples, sy, sy + size.height)) continue;
        ApplyTouch(w, o);
        if (o.Visible != 1) return;
    }
}
