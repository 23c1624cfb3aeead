// Level objects in play, once per frame: entry at the top edge, movement and
// spent slots, the per-object pass (drawing, strikes of every player weapon,
// bomb blasts, touching the ship, firing), explosions, the blast, weapon
// boxes offered again, and the clocks.
#include "game/level_objects.h"

#include <cstdlib>

#include "game/enemy_shots.h"
#include "game/level_build.h"
#include "game/level_table.h"
#include "game/object_passes.h"
#include "game/pickups.h"
#include "game/weapon_table.h"
#include "media/picture.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

// An object leaves play this far below the scroll position (the bottom of
// the screen, less a little), and its slot is spent this far below it.
constexpr int32_t kLeavesPlayBelow = 580;
constexpr int32_t kSpentBelow = 1200;
// While the commander speaks at a level's start, objects are neither drawn
// nor hit nor firing, up to this scroll position.
constexpr int32_t kBriefingQuietUntil = 10400;
// A weapon box that went by is placed again in the next band of this many
// ahead, with this much energy, unless the finish is within kNoOfferNearEnd.
constexpr int32_t kOfferBand = 600;
constexpr int32_t kOfferedBoxEnergy = 9;
constexpr int32_t kNoOfferNearEnd = 1200;
constexpr int kWeaponCount = 5;
// The black box's overlay flips every kBlinkFrames + 1 frames; explosions,
// sparks and the blast step every kExplosionStep + 1; the guns' clock runs
// 0..kFireClockTop.
constexpr uint8_t kBlinkFrames = 40;
constexpr int32_t kExplosionStep = 5;
constexpr int32_t kFireClockTop = 1000;
constexpr int32_t kLastLifeFrame = 3;
// The extra-life box has played its closing frames at this frame.
constexpr int kLifeBoxDone = 6;

// 4b: the object, its overlay, the extra-life box's frames, the blinking
// black box.
void DrawObject(World& w, LevelObject& o, int sy) {
    GameState& g = w.game;
    Surface& back = *w.media.back;
    if (o.Content != kExtraLife) DrawPattern(PictureAt(w.media.Rakety, o.Picture), back, o.X, sy, 0);
    const int ox = o.X + 13, oy = sy + 14;
    if (o.Content >= kFirstItem && o.Content <= kLastItem) {
        DrawPicture(w, w.media.Obrazky, "Special", ox, oy, o.Content - kFirstItem);
    } else if (o.Content == kMysteryBox) {
        DrawPicture(w, w.media.Obrazky, "Special", ox, oy, 7);
    } else if (o.Content == kExtraLife) {
        const int frame = g.LifeAnimFrame + g.LifeTakenShift;
        if (frame == kLifeBoxDone) {
            o.Energy = 0;
            o.Visible = 0;
            o.Content = kTakenBox;
            g.LifeAnimFrame = 0;
            g.LifeTakenShift = 0;
        } else {
            DrawPicture(w, w.media.Rakety, "Zivot", ox, oy, frame);
        }
    } else if (o.Content >= kFirstWeaponBox && o.Content <= kLastWeaponBox) {
        DrawPicture(w, w.media.Obrazky, "IconGuns", ox, oy, o.Content - kFirstWeaponBox);
    }
    if (o.Picture == kBlackBoxPicture)
        DrawPattern(PictureAt(w.media.Rakety, kBlackBoxPicture), back, o.X, sy, g.BlinkFrame);
}

// 4c-4h: the player's shots and companions against one object.
void StrikeObject(GameState& g, LevelObject& o, int sy, PictureSize size) {
    const WeaponTable& t = kWeapons;
    const int W = size.width, H = size.height;
    auto nearBy = [&](const ShotRecord& s, int reach) {
        return std::abs(s.X - o.X) < reach && std::abs(s.Y - sy) < reach;
    };
    auto boxStrikes = [&](const ShotRecord& s, StrikeBox box) {
        return BoxStrikes(s.X, s.Y, box.width, box.height, o.X, sy, W, H);
    };
    auto strike = [&](ShotRecord& s, int32_t damage) {
        s.Active = 0;
        DamageObject(g, o, damage);
    };
    auto strikeWith = [&](ShotRecord(&shots)[kShotCount], const WeaponRow& row) {
        for (ShotRecord& s : shots) {
            if (s.Active != 1 || o.Visible != 1 || !nearBy(s, row.reach)) continue;
            if (boxStrikes(s, row.box)) strike(s, s.Damage);
        }
    };

    for (ShotRecord& s : g.LaserShots) {
        if (s.Active != 1 || o.Visible != 1 || !nearBy(s, t.laser.reach)) continue;
        if (PointStrictlyInside(s.X + kLaserTips[0].x, s.Y + kLaserTips[0].y, o.X, sy, W, H) ||
            PointStrictlyInside(s.X + kLaserTips[1].x, s.Y + kLaserTips[1].y, o.X, sy, W, H))
            strike(s, s.Damage);
    }
    strikeWith(g.RocketShots, t.rocket);
    strikeWith(g.SideBallShots, t.sideBall);
    strikeWith(g.DiagonalBallShots, t.diagonalBall);
    for (ShotRecord& s : g.BombShots) {
        if (s.Active != 1 || o.Visible != 1 || !nearBy(s, t.bomb.reach)) continue;
        if (boxStrikes(s, t.bomb.box)) {
            StartBlast(g, s);
            strike(s, s.Damage);
            ApplyBlastDamage(g, s, true);
        }
    }
    // 4e: bombs that have risen far enough go off wherever they are.
    for (ShotRecord& s : g.BombShots) {
        if (s.Active != 1 || std::abs(s.Y - s.StartY) <= kBombBurstHeight) continue;
        StartBlast(g, s);
        s.Active = 0;
        ApplyBlastDamage(g, s, true);
    }
    // 4f-4h: orbs, egg beams and discs, like the shots above, pass over an
    // object that something earlier in this frame has already destroyed: a
    // wreck is not destroyed twice, so its score is added once and no orb or
    // disc is used up on it.
    // 4f: orbs wear down ordinary objects only.
    for (ShotRecord& s : g.ShieldOrbs) {
        if (s.Active != 1 || o.Visible != 1 || o.Content != kOrdinary || std::abs(s.Y - sy) >= t.shieldOrb.reach)
            continue;
        if (boxStrikes(s, t.shieldOrb.box)) strike(s, s.Damage);
    }
    // 4g: a sweeping egg beam burns whatever it crosses, and goes on.
    for (ShotRecord& s : g.EggBeams) {
        if (s.Active != 1 || s.Mode != 3 || o.Visible != 1 || std::abs(s.Y - sy) >= t.eggBeam.reach) continue;
        if (sy < s.Y && s.Y < sy + H) DamageObject(g, o, t.eggBeam.damage);
    }
    // 4h: homing discs carry no damage of their own; each takes its row's.
    for (auto& group : g.HomingDiscs) {
        for (ShotRecord& s : group) {
            if (s.Active != 1 || o.Visible != 1 || std::abs(s.Y - sy) >= t.homingDisc.reach) continue;
            if (boxStrikes(s, t.homingDisc.box)) strike(s, t.homingDisc.damage);
        }
    }
}

// 9: explosions of destroyed objects and sparks on hit ones.
void UpdateExplosions(World& w, RaketySizes& sizes) {
    GameState& g = w.game;
    const int32_t scroll = g.Progress.ScrollDistance;
    const bool step = g.ExplosionTick == kExplosionStep;
    for (LevelObject& o : g.LevelObjects) {
        if (o.Hit == 0) continue;
        const PictureSize size = sizes.Of(o.Picture);
        const int sy = scroll - o.Y;
        if (o.Visible == 0) {
            DrawPicture(w, w.media.Obrazky, "Velkybum", o.X + (size.width - 100) / 2, sy + (size.height - 100) / 2,
                        o.Hit - 1);
            if (step) {
                if (o.Hit == 1) PlayGameSound(w, "Vybuch");
                o.Hit = o.Hit >= 4 ? 0 : uint8_t(o.Hit + 1);
            }
        } else {
            const int x = o.X + RandomInt(w, size.width) - 12;
            const int y = sy + RandomInt(w, size.height) - 12;
            DrawPicture(w, w.media.Obrazky, "MalyBum", x, y, o.Hit);
            if (step) o.Hit = o.Hit >= 2 ? 0 : uint8_t(o.Hit + 1);
        }
    }
}

// 11: a weapon box that went by without being taken comes back in the next
// band ahead, unless the finish is near.
void OfferWeaponBoxesAgain(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    for (int n = 1; n <= kWeaponCount; ++n) {
        if (g.WeaponPickupSeen[n] == 1) {
            p.WeaponPickupState[n] = 1;
            continue;
        }
        if (p.WeaponPickupState[n] != 1 || WeaponFlag(p, n - 1) != 0) continue;
        if (std::abs(p.LevelEnd - p.ScrollDistance) <= kNoOfferNearEnd) continue;
        int slot = 0;
        for (int i = 1; i <= kLevelObjectCount && slot == 0; ++i)
            if (g.LevelObjects[i].X == -1) slot = i;
        if (slot == 0) continue;
        LevelObject& o = g.LevelObjects[slot];
        o.Picture = kBoxPicture;
        o.Speed = uint8_t(LevelDesignOf(p.Level).boxSpeed);
        o.Hit = 0;
        o.Content = uint8_t(kFirstWeaponBox + n - 1);
        o.Visible = 0;
        o.Energy = kOfferedBoxEnergy;
        o.Fires = o.ShotSpeed = o.FireInterval = o.ShotKind = o.ShotSpread = 0;
        // The spent slot may hold a former object's values: a box scores
        // nothing, hurts nothing and fires nothing.
        o.Score = 0;
        o.CollisionDamage = 0;
        o.ShotDamage = 0;
        const int32_t band = p.ScrollDistance / kOfferBand;
        if (PlaceLevelObject(w, slot, (band + 1) * kOfferBand, (band + 2) * kOfferBand)) p.WeaponPickupState[n] = 0;
    }
}

void AdvanceClocks(GameState& g) {
    if (g.BlinkTick >= kBlinkFrames) {
        g.BlinkTick = 0;
        g.BlinkFrame = g.BlinkFrame ? 0 : 1;
    } else {
        ++g.BlinkTick;
    }
    if (g.ExplosionTick >= kExplosionStep) {
        g.ExplosionTick = 0;
        g.LifeAnimFrame = g.LifeAnimFrame >= kLastLifeFrame ? 0 : g.LifeAnimFrame + 1;
    } else {
        ++g.ExplosionTick;
    }
    g.FireClock = g.FireClock >= kFireClockTop ? 0 : g.FireClock + 1;
}

}  // namespace

void UpdateLevelObjects(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    RaketySizes sizes(w.media.Rakety);

    // 1. Entry: an object comes into play while its lower part shows.
    for (LevelObject& o : g.LevelObjects) {
        const int32_t above = o.Y - p.ScrollDistance;
        if (above > 0 && above < sizes.Of(o.Picture).height && o.Energy > 0) o.Visible = 1;
    }
    // 2. Movement; slots far below the screen are spent.
    for (LevelObject& o : g.LevelObjects) {
        if (p.ScrollDistance - o.Y >= kSpentBelow) o.X = -1;
        else o.Y -= o.Speed;
        if (p.ScrollDistance - o.Y > kLeavesPlayBelow) o.Visible = 0;
    }
    // 3.
    for (int32_t& seen : g.WeaponPickupSeen) seen = 0;

    // 4. The objects in play, unless the commander is speaking at the start.
    if (g.CommanderStep == 0 || p.ScrollDistance > kBriefingQuietUntil) {
        for (LevelObject& o : g.LevelObjects) {
            if (o.Visible != 1) continue;
            const int sy = p.ScrollDistance - o.Y;
            const PictureSize size = sizes.Of(o.Picture);
            if (o.Content >= kFirstWeaponBox && o.Content <= kLastWeaponBox)
                g.WeaponPickupSeen[o.Content - kFirstWeaponBox + 1] = 1;
            DrawObject(w, o, sy);
            StrikeObject(g, o, sy, size);
            TouchShip(w, o, sy, size);
            FireFromObject(g, o, size, sizes);
        }
    }

    // 5-7.
    UpdateEnemyShots(w, sizes);

    // 8. Bombs gone off in stretches with nothing in play.
    for (ShotRecord& s : g.BombShots) {
        if (s.Active != 1 || std::abs(s.Y - s.StartY) <= kBombBurstHeight) continue;
        StartBlast(g, s);
        s.Active = 0;
    }

    UpdateExplosions(w, sizes);

    // 10. The one blast.
    if (g.BlastFrame > 0) {
        DrawPicture(w, w.media.Obrazky, "Velkybum", g.BlastX - 33, g.BlastY - 25, g.BlastFrame);
        DrawPicture(w, w.media.Obrazky, "Vlna", g.BlastX - 78, g.BlastY - 70, g.BlastFrame);
        if (g.ExplosionTick == kExplosionStep) {
            if (g.BlastFrame == 1) PlayGameSound(w, "Prstenec");
            g.BlastFrame = g.BlastFrame >= 5 ? 0 : g.BlastFrame + 1;
        }
    }

    OfferWeaponBoxesAgain(w);
    AdvanceClocks(g);
}
