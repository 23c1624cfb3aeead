// Reading a frame's situation: level objects within the radar's reach, enemy
// shots in flight, the shots that armed craft and the mother ship's guns
// will fire within the horizon (their clocks and places are in plain
// sight), the boxes and what each is worth now, and the mother ship's parts.
#include "situation.h"

#include <algorithm>

#include "media/picture.h"
#include "state/world.h"

namespace autopilot {
namespace {

struct Size {
    int width = 0, height = 0;
};

Size RaketySize(const World& w, int index) {
    const auto& items = w.media.Rakety.items;
    if (index < 0 || index >= int(items.size())) return {};
    const PictureItem& picture = items[size_t(index)];
    return {PatternWidth(picture), PatternHeight(picture)};
}

// The guns of the mother ship as a pilot sees them fire: part, muzzles
// (offsets from the ship's corner), and the shot kind.
struct Gun {
    int part;
    int count;
    int dx[3];
    int dy;
};
constexpr Gun kGuns[] = {
    {0, 2, {604, 624, 0}, 106},  {3, 1, {192, 0, 0}, 65},      {4, 1, {508, 0, 0}, 60},  {5, 1, {544, 0, 0}, 60},
    {6, 1, {92, 0, 0}, 162},     {7, 1, {114, 0, 0}, 177},     {8, 1, {683, 0, 0}, 179}, {9, 1, {705, 0, 0}, 161},
    {12, 2, {548, 583, 0}, 148}, {16, 3, {257, 269, 281}, 40},
};
constexpr int kShieldParts[] = {0, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 16};
constexpr int kLauncher = 17, kCore = 18, kProbe = 19;

bool AnySlotFree(const ProgressRecord& p) { return p.ItemSlots[1] == 0 || p.ItemSlots[2] == 0 || p.ItemSlots[3] == 0; }

// What touching a box is worth now; 0 = nothing (it is left alone).
int BoxValue(const ProgressRecord& p, int content, int& damage) {
    damage = 0;
    if (content >= 1 && content <= 7) return AnySlotFree(p) ? 14 : 0;
    if (content == 8) {
        // Half the time an item, half the time a 30-point trap.
        if (!AnySlotFree(p)) return 0;
        damage = 15;
        return 0;
    }
    if (content == 9) return p.Energy < 160 ? 30 : 4;
    if (content == 14) return 10;
    if (content >= 100 && content <= 104) {
        const int weapon = content - 100;
        const uint8_t owned = weapon == 0   ? p.HasGoodLaser
                              : weapon == 1 ? p.HasDiagonalBalls
                              : weapon == 2 ? p.HasRockets
                              : weapon == 3 ? p.HasSideBalls
                                            : p.HasBombs;
        return owned ? 0 : 80;
    }
    return 0;
}

void ReadObjects(const World& w, int horizon, Situation& s) {
    const GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    const bool frozen = g.CommanderStep != 0 && p.ScrollDistance <= 10400;
    for (const LevelObject& o : g.LevelObjects) {
        if (o.X == -1 || o.Energy < 0) continue;
        const int sy = p.ScrollDistance - o.Y;
        if (sy <= -600 || sy > 580) continue;  // beyond the radar, or gone below
        // In play, or still to come in from above; anything else was
        // destroyed or taken (an object left at exactly 0 stands).
        if (o.Visible != 1 && (sy >= 0 || o.Energy == 0)) continue;
        const Size size = RaketySize(w, o.Picture);
        Mover m;
        m.kind = MoverKind::Object;
        m.left = o.X;
        m.right = o.X + size.width;
        m.height = size.height;
        m.speed = 1 + o.Speed;
        m.birth = 1;
        m.topAtBirth = sy + m.speed;
        m.slot = int(&o - &g.LevelObjects[1]) + 1;
        m.content = o.Content;
        if (o.Content == 0) {
            m.damage = o.CollisionDamage;
            m.energy = o.Energy;
            m.score = o.Score;
            m.shootable = true;
        } else {
            m.value = BoxValue(p, o.Content, m.damage);
            if (m.value == 0 && m.damage == 0 && !(o.Content >= 1 && o.Content <= 8)) continue;
        }
        // Its guns, in two columns either side of its centre (or one).
        const Size shot = RaketySize(w, o.ShotKind + 23);
        const int centre = o.X + size.width / 2 - shot.width / 2;
        m.gunLeft = centre - o.ShotSpread;
        m.gunRight = centre + o.ShotSpread;
        m.shotWidth = shot.width;
        if (o.Fires == 1 && o.FireInterval != 0 && o.ShotDamage > 0) {
            m.fireInterval = o.FireInterval;
            m.shotDamage = o.ShotDamage;
        }
        s.movers.push_back(m);

        // The shots this craft will fire within the horizon.
        if (o.Fires != 1 || o.FireInterval == 0 || frozen) continue;
        for (int k = 1; k <= horizon; ++k) {
            const int clock = (g.FireClock + k - 1) % 1001;
            if (clock % o.FireInterval != 0) continue;
            const int top = sy + k * m.speed;
            if (top <= -size.height || top > 580) continue;
            for (int gun = 0; gun < (o.ShotSpread ? 2 : 1); ++gun) {
                Mover f;
                f.kind = MoverKind::Shot;
                f.left = gun == 0 ? m.gunLeft : m.gunRight;
                f.right = f.left + shot.width;
                f.height = shot.height;
                f.birth = k;
                f.topAtBirth = top + size.height - 5;
                f.speed = 1 + o.ShotSpeed;
                f.damage = o.ShotDamage;
                f.shootable = o.ShotKind != 1;
                if (f.damage > 0) s.movers.push_back(f);
            }
        }
    }
}

void ReadEnemyShots(const World& w, Situation& s) {
    const GameState& g = w.game;
    for (const EnemyShotRecord& e : g.EnemyShots) {
        if (e.Active != 1 || e.BurstFrame != -1 || e.Damage <= 0) continue;
        const Size size = RaketySize(w, e.Kind + 23);
        Mover m;
        m.kind = MoverKind::Shot;
        m.left = e.X;
        m.right = e.X + size.width;
        m.height = size.height;
        m.speed = 1 + e.Speed;
        m.birth = 1;
        m.topAtBirth = g.Progress.ScrollDistance - e.Y + 1;
        m.damage = e.Damage;
        m.shootable = e.Kind != 1;
        s.movers.push_back(m);
    }
}

void ReadMotherShip(const World& w, int horizon, Situation& s) {
    const GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    if (p.Level != 9 || p.ScrollDistance + 1 <= 10700) return;
    s.battle = true;
    s.motherX = g.MotherShip.X;
    s.motherY = g.MotherShip.Y;
    s.motherDestroyed = g.MotherShipParts[kCore].Energy < 1;
    for (int record = 0; record < 19; ++record) {
        const ShipPart& part = g.MotherShipParts[record];
        if (part.Energy < 1) continue;
        s.parts.push_back({record, g.MotherShip.X + part.X, g.MotherShip.Y + part.Y, part.Width, part.Height,
                           part.Energy, record == 12 || record == kLauncher});
    }
    s.launcherShielded = false;
    for (int part : kShieldParts)
        if (g.MotherShipParts[part].Energy > 0) s.launcherShielded = true;
    s.coreShielded = g.MotherShipParts[kLauncher].Energy > 0;
    const ShipPart& probe = g.MotherShipParts[kProbe];
    s.probeAlive = probe.Energy > 0;
    s.probeOut = s.probeAlive && probe.X > -500;
    s.probeX = probe.X;
    s.probeY = probe.Y;
    s.probeCounter = g.ProbeLaunchCounter;
    s.shipTick6 = g.ShipTick6;

    // Shots the guns will fire: every standing gun whose interval comes up.
    const Size shard = RaketySize(w, 3 + 23);
    for (const Gun& gun : kGuns) {
        const ShipPart& part = g.MotherShipParts[gun.part];
        if (part.Energy < 1 || part.FireInterval <= 0 || part.ShotDamage <= 0) continue;
        for (int k = 1; k <= horizon; ++k) {
            if ((g.ShipFireClock + k - 1) % 1501 % part.FireInterval != 0) continue;
            const int dir = g.ShipDirX ? 1 : -1;
            const int shipX = std::clamp(g.MotherShip.X + dir * (k / 2), -100, 100);
            const int shipY = std::min(0, g.MotherShip.Y + k);
            for (int i = 0; i < gun.count; ++i) {
                Mover f;
                f.kind = MoverKind::Shot;
                f.left = shipX + gun.dx[i];
                f.right = f.left + shard.width;
                f.height = shard.height;
                f.birth = k;
                f.topAtBirth = shipY + gun.dy;
                f.speed = 1 + part.ShotSpeed;
                f.damage = part.ShotDamage;
                f.shootable = true;
                s.movers.push_back(f);
            }
        }
    }
}

}  // namespace

void ReadSituation(const World& w, int horizon, Situation& s) {
    const GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    s.movers.clear();
    s.parts.clear();
    s.ship.x = p.PlayerX;
    s.ship.y = p.PlayerY;
    s.ship.speedX = p.SpeedX;
    s.ship.speedY = p.SpeedY;
    s.ship.stepX = g.StepX;
    s.ship.stepY = g.StepY;
    s.level = p.Level;
    s.difficulty = p.Difficulty;
    s.lives = p.Lives;
    s.energy = p.Energy;
    s.weaponEnergy = g.WeaponEnergy;
    s.scroll = p.ScrollDistance;
    s.underControl = g.ArrivalWidth < 78;
    s.framesToControl = g.ArrivalWidth < 78 ? 0 : (g.ArrivalWidth - 77 + 3) / 4;
    s.briefing = g.CommanderStep != 0 && p.ScrollDistance <= 10400;
    s.commanderSpeaking = !IsNoText(g.CommanderText);
    s.commanderLineTyped = s.commanderSpeaking && g.CommanderTextPos >= g.CommanderText.size;
    s.laserDamage = p.HasGoodLaser ? 20 : 10;
    s.hasRockets = p.HasRockets != 0;
    s.hasBombs = p.HasBombs != 0;
    s.hasDiagonalBalls = p.HasDiagonalBalls != 0;
    for (int i = 0; i < 3; ++i) s.itemSlots[i] = p.ItemSlots[i + 1];
    s.orbsActive = false;
    for (const ShotRecord& orb : g.ShieldOrbs) s.orbsActive = s.orbsActive || orb.Active == 1;
    s.beamActive = false;
    for (const ShotRecord& beam : g.EggBeams) s.beamActive = s.beamActive || beam.Active == 1;
    s.discsActive = false;
    for (const auto& group : g.HomingDiscs)
        for (const ShotRecord& disc : group) s.discsActive = s.discsActive || disc.Active == 1;
    s.wingmenOut = g.Wingmen[0].State != 0 || g.Wingmen[1].State != 0;
    s.invulnerable = g.InvulnerableEnergy > 0;
    s.exploding = p.ShipExplosionFrame > 0 ? p.ShipExplosionFrame : 0;
    s.battle = false;
    s.probeAlive = s.probeOut = false;
    s.motherDestroyed = false;
    if (w.shell.CurrentScene != Scene::HlavniHra) return;
    ReadObjects(w, horizon, s);
    ReadEnemyShots(w, s);
    ReadMotherShip(w, horizon, s);
}

}  // namespace autopilot
