// The player's weapons against the mother ship: lasers, rockets, balls and
// bombs strike single parts (parts 12 and 17 are armoured against all but
// bombs), bomb bursts shake every part nearby, egg beams burn, homing discs
// hit or are drawn in, and shield orbs stop the probe. What each hit takes is
// the weapon's row of the weapon table (weapon_table.h).
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "game/mother_ship_hits.h"
#include "game/weapon_table.h"
#include "state/world.h"

namespace mothership {

PartRect RectOf(const GameState& g, int record) {
    const ShipPart& part = g.MotherShipParts[record];
    if (record == kProbe) return {part.X, part.Y, part.Width, part.Height};
    return {g.MotherShip.X + part.X, g.MotherShip.Y + part.Y, part.Width, part.Height};
}

namespace {

// A shot gets through armour only when RandomInt(kArmourRoll) = 1.
constexpr int kArmouredPart = 12;
constexpr int32_t kArmourRoll = 10;
// A homing disc is drawn towards a part whose middle lies within this.
constexpr int kDiscPullReach = 100;

// The cheap nearness test every shot passes before it is sampled.
bool Near(const ShotRecord& s, const PartRect& r) {
    return std::abs(s.X - r.left) < kReach && std::abs(s.Y - r.top) < kReach;
}

// Some point (x + i, y + j), 0 <= i < box.width, 0 <= j < box.height, lies
// inside.
bool BoxInside(int x, int y, StrikeBox box, const PartRect& r) {
    return std::max(x, r.left + 1) <= std::min(x + box.width - 1, r.left + r.width - 1) &&
           std::max(y, r.top + 1) <= std::min(y + box.height - 1, r.top + r.height - 1);
}

bool Armoured(int record) { return record == kArmouredPart || record == kLauncher; }

// Energy taken, the hit animation started and, once the part is gone, its
// points scored. Direct hits score at exactly 0; bursts, beams and discs
// only once the energy is below 0. Beams and discs go on striking a part
// that one of them has just finished in the same frame; a part is worth its
// points once, so only the blow that takes it past the mark scores.
void Damage(GameState& g, ShipPart& part, int32_t amount, bool scoreAtZero) {
    const bool scoredBefore = scoreAtZero ? part.Energy <= 0 : part.Energy < 0;
    part.Energy -= amount;
    part.Hit = 1;
    const bool scoredNow = scoreAtZero ? part.Energy <= 0 : part.Energy < 0;
    if (scoredNow && !scoredBefore) g.Progress.Score += part.Score;
}

// A shot sampled on its box at (x + i, y + j), i the outer loop: the first
// column holding a point inside gives the hit. Against armour the hit only
// happens on the armour roll; a failed roll goes on with the next column,
// which may roll again. Every column has the same rows, so a column holds a
// point inside exactly when it lies inside horizontally and some row lies
// inside vertically.
bool GridStrikes(World& w, bool armoured, const ShotRecord& s, StrikeBox box, const PartRect& r) {
    if (!BoxInside(s.X, s.Y, box, r)) return false;
    for (int i = 0; i < box.width; ++i) {
        if (!r.InsideX(s.X + i)) continue;
        if (!armoured || RandomInt(w, kArmourRoll) == 1) return true;
    }
    return false;
}

// The first laser level with the part ends the laser test for it this
// frame, whether the armour lets it through or not.
void LasersAgainst(World& w, int record) {
    ShipPart& part = w.game.MotherShipParts[record];
    const PartRect r = RectOf(w.game, record);
    for (ShotRecord& s : w.game.LaserShots) {
        if (part.Energy <= 0) return;
        if (s.Active != 1 || !Near(s, r)) continue;
        if (!r.InsideY(s.Y + kLaserTips[0].y) ||
            !(r.InsideX(s.X + kLaserTips[0].x) || r.InsideX(s.X + kLaserTips[1].x)))
            continue;
        if (!Armoured(record) || RandomInt(w, kArmourRoll) == 1) {
            s.Active = 0;
            Damage(w.game, part, s.Damage, true);
        }
        return;
    }
}

void GridShotsAgainst(World& w, int record, ShotRecord (&shots)[kShotCount], StrikeBox box) {
    ShipPart& part = w.game.MotherShipParts[record];
    const PartRect r = RectOf(w.game, record);
    for (ShotRecord& s : shots) {
        if (part.Energy <= 0) return;
        if (s.Active != 1 || !Near(s, r)) continue;
        if (!GridStrikes(w, Armoured(record), s, box, r)) continue;
        s.Active = 0;
        Damage(w.game, part, s.Damage, true);
    }
}

void StartShipBlast(GameState& g, const ShotRecord& bomb) {
    g.ShipBlast[0] = 1;
    g.ShipBlast[1] = bomb.X;
    g.ShipBlast[2] = bomb.Y;
}

// Bombs pass any armour without a roll; a bomb that strikes also bursts on
// the ship.
void BombsAgainst(GameState& g, int record) {
    ShipPart& part = g.MotherShipParts[record];
    const PartRect r = RectOf(g, record);
    for (ShotRecord& s : g.BombShots) {
        if (part.Energy <= 0) return;
        if (s.Active != 1 || !Near(s, r)) continue;
        if (!BoxInside(s.X, s.Y, kWeapons.bomb.box, r)) continue;
        s.Active = 0;
        Damage(g, part, s.Damage, false);
        StartShipBlast(g, s);
    }
}

}  // namespace

void StrikeWithShots(World& w) {
    GameState& g = w.game;
    const WeaponTable& t = kWeapons;
    for (int record = 0; record < kRecords; ++record) {
        if (g.MotherShipParts[record].Energy <= 0) continue;
        LasersAgainst(w, record);
        GridShotsAgainst(w, record, g.RocketShots, t.rocket.box);
        GridShotsAgainst(w, record, g.SideBallShots, t.sideBall.box);
        GridShotsAgainst(w, record, g.DiagonalBallShots, t.diagonalBall.box);
        BombsAgainst(g, record);
    }
}

void BurstBombs(World& w) {
    GameState& g = w.game;
    for (ShotRecord& bomb : g.BombShots) {
        if (bomb.Active != 1 || std::abs(bomb.Y - bomb.StartY) <= kBombBurstHeight) continue;
        StartShipBlast(g, bomb);
        bomb.Active = 0;
        for (int record = 0; record < kRecords; ++record) {
            ShipPart& part = g.MotherShipParts[record];
            if (part.Energy <= 0) continue;
            const PartRect r = RectOf(g, record);
            const int64_t dx = bomb.X - r.left, dy = bomb.Y - r.top;
            if (std::abs(dx) >= kShipBlastReach || std::abs(dy) >= kShipBlastReach) continue;
            // A burst right on the corner would divide by 0: it counts as a
            // distance of 1, the heaviest blow a burst can deal.
            const int64_t distance2 = std::max<int64_t>(dx * dx + dy * dy, 1);
            const int64_t amount = int64_t(bomb.Damage) * kBlastStrength / distance2 + bomb.Damage;
            Damage(g, part, int32_t(std::clamp<int64_t>(amount, INT32_MIN / 2, INT32_MAX / 2)), false);
        }
    }
}

void BurnWithEggBeams(World& w) {
    GameState& g = w.game;
    for (int record = 0; record < kRecords; ++record) {
        ShipPart& part = g.MotherShipParts[record];
        if (part.Energy <= 0) continue;
        const PartRect r = RectOf(g, record);
        for (const ShotRecord& beam : g.EggBeams) {
            if (beam.Active != 1 || beam.Mode != 3 || !r.InsideY(beam.Y)) continue;
            Damage(g, part, kWeapons.eggBeam.shipDamage, false);
        }
    }
}

void StrikeWithDiscs(World& w) {
    GameState& g = w.game;
    for (int record = 0; record < kRecords; ++record) {
        ShipPart& part = g.MotherShipParts[record];
        if (part.Energy <= 0) continue;
        const PartRect r = RectOf(g, record);
        for (auto& group : g.HomingDiscs) {
            for (ShotRecord& disc : group) {
                if (disc.Active != 1) continue;
                if (BoxInside(disc.X, disc.Y, kWeapons.homingDisc.box, r)) {
                    disc.Active = 0;
                    Damage(g, part, kWeapons.homingDisc.shipDamage, false);
                    continue;
                }
                if (disc.Mode == 1) continue;
                const int cx = r.left + r.width / 2, cy = r.top + r.height / 2;
                if (std::abs(cx + 7 - disc.X) >= kDiscPullReach || std::abs(cy + 7 - disc.Y) >= kDiscPullReach)
                    continue;
                disc.X += cx > disc.X + 7 ? 4 : -4;
                disc.Y += cy > disc.Y + 7 ? 5 : -3;
                break;  // one pull per group and part
            }
        }
    }
}

void OrbsAgainstProbe(World& w) {
    GameState& g = w.game;
    ShipPart& probe = g.MotherShipParts[kProbe];
    if (probe.Energy <= 0) return;
    // Every orb touching the probe is spent, also after the first has
    // brought it down.
    const PartRect r = RectOf(g, kProbe);
    for (ShotRecord& orb : g.ShieldOrbs) {
        if (orb.Active != 1) continue;
        if (!BoxInside(orb.X, orb.Y, kWeapons.shieldOrb.box, r)) continue;
        orb.Active = 0;
        probe.Energy -= orb.Damage;
        probe.Hit = 1;
    }
}

}  // namespace mothership
