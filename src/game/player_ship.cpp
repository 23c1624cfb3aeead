// The player's fighter each frame: speed with inertia from the direction
// states, the arrival zoom, the fire gate that paces the volleys, and the
// three carried special items (keys 1, 2, 3); the fighter's picture and the
// invulnerability shield with its clock.
#include "game/player_ship.h"

#include "game/ship_flight.h"
#include "game/weapon_table.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

// A Lifepack starts a refill of this many frames (the HUD gives one energy
// every second frame); invulnerability lasts kInvulnerableFrames.
constexpr uint8_t kLifepackRefill = 50;
constexpr int32_t kInvulnerableFrames = 1000;

// Picks a banking frame from the horizontal speed: level 1, right 2, left 0.
int BankingFrame(int32_t speedX) { return speedX == 0 ? 1 : (speedX > 0 ? 2 : 0); }

void UseProtectiveOrbs(World& w, int32_t& slot) {
    PlayGameSound(w, "Ochranne koule");
    for (ShotRecord& orb : w.game.ShieldOrbs) {
        orb.Mode = 0;
        orb.Active = 1;
        orb.Damage = kWeapons.shieldOrb.damage;
        orb.X = 0;
        orb.Y = 0;
    }
    slot = 0;
}

// Takes the first idle beam; with all five in flight the item stays.
void UseEggBeam(GameState& g, int32_t& slot) {
    for (ShotRecord& beam : g.EggBeams) {
        if (beam.Active != 0) continue;
        beam.Active = 1;
        beam.Mode = 1;
        slot = 0;
        g.ItemSlotToUse = 0;
        return;
    }
}

// Fills the idle discs of the first group whose first disc is idle; with no
// such group the item stays (the sound plays all the same).
void UseHomingDiscs(World& w, int32_t& slot) {
    PlayGameSound(w, "Disky");
    for (auto& group : w.game.HomingDiscs) {
        if (group[0].Active != 0) continue;
        for (ShotRecord& disc : group) {
            if (disc.Active != 0) continue;
            disc.Active = 1;
            disc.Mode = 1;
            disc.X = -1;
            disc.Y = -1;
        }
        slot = 0;
        return;
    }
}

// Calls the two wingmen in from below the screen, turns leaving ones back,
// and in any case restarts their time out.
void UseWingmen(World& w, int32_t& slot) {
    GameState& g = w.game;
    g.WingmanTimer = 0;
    PlayGameSound(w, "Kamaradi");
    if (g.Wingmen[0].State == 0) {
        // The draws are made in exactly this order.
        g.Wingmen[0].X = RandomInt(w, 200);
        g.Wingmen[1].X = RandomInt(w, 250) + 200;
        g.Wingmen[0].Y = RandomInt(w, 200) + 650;
        g.Wingmen[1].Y = RandomInt(w, 200) + 650;
        g.Wingmen[0].State = g.Wingmen[1].State = 1;
        g.Wingmen[0].Spare = g.Wingmen[1].Spare = 0;
    } else if (g.Wingmen[0].State == 3) {
        g.Wingmen[0].State = g.Wingmen[1].State = 1;
    }
    slot = 0;
}

// The item in the chosen slot, tested in a fixed order, each test on the
// slot's value as the previous one left it.
void UseItem(World& w) {
    GameState& g = w.game;
    int32_t& slot = g.Progress.ItemSlots[g.ItemSlotToUse];
    if (slot == 3) UseProtectiveOrbs(w, slot);
    if (slot == 1) UseEggBeam(g, slot);
    if (slot == 2) UseHomingDiscs(w, slot);
    if (slot == 4) UseWingmen(w, slot);
    if (slot == 5) {
        PlayGameSound(w, "Nesmrtelnost");
        g.InvulnerableTimer = 0;
        g.InvulnerableEnergy = g.Progress.Energy;
        slot = 0;
    }
    if (slot == 6) {
        PlayGameSound(w, "Lifepack");
        g.EnergyRefill = kLifepackRefill;
        slot = 0;
    }
    if (slot == 7) {
        PlayGameSound(w, "Energypack");
        g.WeaponEnergy = kFullWeaponEnergy;
        slot = 0;
    }
    g.ItemSlotToUse = 0;
}

// The flight's values live in the progress record (saved with a profile)
// and in the game state (the speed band's step).
ShipFlight FlightOf(const GameState& g) {
    const ProgressRecord& p = g.Progress;
    return ShipFlight{p.PlayerX, p.PlayerY, p.SpeedX, p.SpeedY, g.StepX, g.StepY};
}

void StoreFlight(GameState& g, const ShipFlight& f) {
    ProgressRecord& p = g.Progress;
    p.PlayerX = f.x;
    p.PlayerY = f.y;
    p.SpeedX = f.speedX;
    p.SpeedY = f.speedY;
    g.StepX = f.stepX;
    g.StepY = f.stepY;
}

}  // namespace

void UpdatePlayerShip(World& w) {
    SampleInput(w.media.input, w.media.platform);
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    Input& input = w.media.input;
    // Direction states push the speed by one per frame. Pressing against the
    // current motion first cuts the speed to 10, so reversing is quick.
    ShipFlight flight = FlightOf(g);
    const ShipPush push = SteerShip(flight, DirectionKeys{IsHeld(input, isLeft), IsHeld(input, isRight),
                                                          IsHeld(input, isUp), IsHeld(input, isDown)});
    StoreFlight(g, flight);

    // Arrival zoom: the ship shrinks from 400 pixels onto its place.
    if (g.ArrivalWidth > 74) {
        g.ArrivalWidth -= 4;
        g.ArrivalHeight -= 4;
        g.ArrivalRect =
            Rect{p.PlayerX - 42, p.PlayerY - 34, p.PlayerX - 42 + g.ArrivalWidth, p.PlayerY - 34 + g.ArrivalHeight};
    }
    const bool underControl = g.ArrivalWidth < kArrivedWidth;

    // Fire gate: open when fire is held and the laser has reloaded. The first
    // frame of a press lines the cadence counters up so everything fires now.
    if (IsHeld(input, kFireKey) && underControl && g.ReloadTimer == kReloadFrames && p.Lives > 0) {
        if (g.FireHeld == 0) {
            g.VolleyTick = uint8_t(kWeapons.laser.cadence);
            g.RocketTick = uint8_t(kWeapons.rocket.cadence);
            g.BallTick = uint8_t(kWeapons.sideBall.cadence);
        }
        g.FireHeld = 1;
    } else {
        g.FireHeld = 0;
        if (g.ReloadTimer < kReloadFrames) g.ReloadTimer += 1;
    }

    // Item keys: the highest key pressed this frame wins; all three are
    // consumed so a held key uses only one item.
    if (underControl) {
        if (IsHeld(input, kItemKey1)) g.ItemSlotToUse = 1;
        if (IsHeld(input, kItemKey2)) g.ItemSlotToUse = 2;
        if (IsHeld(input, kItemKey3)) g.ItemSlotToUse = 3;
        Consume(input, kItemKey1);
        Consume(input, kItemKey2);
        Consume(input, kItemKey3);
    }
    if (g.ItemSlotToUse >= 1 && g.ItemSlotToUse <= 3) UseItem(w);

    // Bounds are tested before the step, so the ship may end a step beyond.
    flight = FlightOf(g);
    MoveShip(flight, push);
    StoreFlight(g, flight);

    // A hit shows for six frames.
    if (g.ShipHitTimer >= 1 && g.ShipHitTimer <= 5) {
        g.ShipHitTimer += 1;
    } else {
        g.ShipHitTimer = 0;
    }
}

void DrawPlayerShip(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    const bool shipLeft = p.Lives > 0;
    const bool exploding = p.ShipExplosionFrame >= 0 && p.ShipExplosionFrame <= 3;
    if (!shipLeft && !exploding) return;
    if (g.ArrivalWidth > 77) {
        StretchDrawPattern(FindPicture(w.media.Rakety, "Kavrix"), *w.media.back, g.ArrivalRect, 1);
    } else {
        const int frame = BankingFrame(p.SpeedX) + (g.ShipHitTimer != 0 ? 3 : 0);
        DrawPicture(w, w.media.Rakety, "Kavrix", p.PlayerX - 42, p.PlayerY - 34, frame);
    }
    if (g.InvulnerableEnergy > 0) {
        // The shield shows steadily below 850 and then blinks every 25 frames.
        const int32_t q = (g.InvulnerableTimer - 825) / 25;
        const int32_t r = q % 2;
        if (r != 1) {
            DrawPicture(w, w.media.Obrazky, "Nesmrtelnost", p.PlayerX - 43, p.PlayerY - 35, BankingFrame(p.SpeedX));
            p.Energy = g.InvulnerableEnergy;
        }
    }
}

void RunInvulnerabilityClock(GameState& g) {
    if (g.InvulnerableEnergy <= 0) return;
    if (g.InvulnerableTimer < kInvulnerableFrames) {
        ++g.InvulnerableTimer;
    } else {
        g.InvulnerableEnergy = 0;
        g.InvulnerableTimer = 0;
    }
}
