// Enemy fire: armed objects firing into the shared EnemyShots array, the
// shots hitting the ship or being shot down by the player, their flight,
// drawing and the small bursts of shots that were shot down.
#include "game/enemy_shots.h"

#include <cstdlib>

#include "game/player_ship.h"
#include "game/weapon_table.h"
#include "media/picture.h"
#include "media/surface.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

// A red beam cannot be shot down.
constexpr uint8_t kRedBeam = 1;
// The ship is sampled at 16 x 16 points four pixels apart.
constexpr int kShipSamples = 16, kShipSampleStep = 4;
// A shot shot down shows its burst for frames 0..15, then its slot is free.
constexpr int kLastBurstFrame = 15;

int FirstFreeEnemyShot(const GameState& g) {
    for (int i = 0; i < kEnemyShotCount; ++i)
        if (g.EnemyShots[i].Active != 1) return i;
    return -1;
}

// 5b: the first player shot, beam or orb that strikes the enemy shot.
bool ShootDown(GameState& g, const EnemyShotRecord& e, int ssy, PictureSize shot) {
    const WeaponTable& t = kWeapons;
    const int SW = shot.width, SH = shot.height;
    auto nearBy = [&](const ShotRecord& s) { return std::abs(s.X - e.X) < kReach && std::abs(s.Y - ssy) < kReach; };
    auto boxStrikes = [&](const ShotRecord& s, StrikeBox box) {
        return BoxStrikes(s.X, s.Y, box.width, box.height, e.X, ssy, SW, SH);
    };
    for (ShotRecord& s : g.LaserShots) {
        if (s.Active != 1 || !nearBy(s)) continue;
        if (PointStrictlyInside(s.X + kLaserTips[0].x, s.Y + kLaserTips[0].y, e.X, ssy, SW, SH) ||
            PointStrictlyInside(s.X + kLaserTips[1].x, s.Y + kLaserTips[1].y, e.X, ssy, SW, SH)) {
            s.Active = 0;
            return true;
        }
    }
    for (ShotRecord& s : g.RocketShots) {
        if (s.Active == 1 && nearBy(s) && boxStrikes(s, t.rocket.box)) {
            s.Active = 0;
            return true;
        }
    }
    for (ShotRecord& s : g.SideBallShots) {
        if (s.Active == 1 && nearBy(s) && boxStrikes(s, t.sideBall.box)) {
            s.Active = 0;
            return true;
        }
    }
    for (ShotRecord& s : g.DiagonalBallShots) {
        if (s.Active == 1 && nearBy(s) && boxStrikes(s, t.diagonalBall.box)) {
            s.Active = 0;
            return true;
        }
    }
    for (ShotRecord& s : g.BombShots) {
        if (s.Active == 1 && nearBy(s) && boxStrikes(s, t.bomb.box)) {
            s.Active = 0;
            StartBlast(g, s);
            ApplyBlastDamage(g, s, false);
            return true;
        }
    }
    // Only a beam still sweeping: one that has reached the top keeps Mode 3
    // and its last height, and must not go on bursting shots up there.
    for (ShotRecord& s : g.EggBeams) {
        if (s.Active == 1 && s.Mode == 3 && ssy < s.Y && s.Y < ssy + SH) return true;
    }
    for (ShotRecord& s : g.ShieldOrbs) {
        if (s.Active == 1 && boxStrikes(s, t.shieldOrb.box)) {
            s.Active = 0;
            return true;
        }
    }
    return false;
}

}  // namespace

void FireFromObject(GameState& g, const LevelObject& o, PictureSize size, RaketySizes& sizes) {
    // An interval of 0 never comes up (no level arms an object with it).
    if (o.Fires != 1 || o.FireInterval == 0 || g.FireClock % o.FireInterval != 0) return;
    const PictureSize shot = sizes.Of(o.ShotKind + kShotPictures);
    const int guns = o.ShotSpread != 0 ? 2 : 1;
    for (int gun = 0; gun < guns; ++gun) {
        const int slot = FirstFreeEnemyShot(g);
        if (slot < 0) return;
        EnemyShotRecord& e = g.EnemyShots[slot];
        e.Speed = int8_t(o.ShotSpeed);
        e.Kind = o.ShotKind;
        e.Damage = o.ShotDamage;
        // It leaves 5 pixels above the object's bottom edge.
        e.Y = o.Y - size.height + 5;
        e.Active = 1;
        const int centre = o.X + size.width / 2 - shot.width / 2;
        e.X = gun == 0 ? centre - o.ShotSpread : centre + o.ShotSpread;
    }
}

void UpdateEnemyShots(World& w, RaketySizes& sizes) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    // 5. Against the ship, then against the player's shots.
    for (EnemyShotRecord& e : g.EnemyShots) {
        if (e.Active != 1 || e.BurstFrame != -1) continue;
        const PictureSize shot = sizes.Of(e.Kind + kShotPictures);
        const int ssy = p.ScrollDistance - e.Y;
        if (g.ArrivalWidth < kArrivedWidth && std::abs(p.PlayerX - e.X) < kReach &&
            std::abs(p.PlayerY - ssy) < kReach &&
            SampleBetween(p.PlayerX + kShipAreaLeft, kShipSampleStep, kShipSamples, e.X, e.X + shot.width) &&
            SampleBetween(p.PlayerY + kShipAreaTop, kShipSampleStep, kShipSamples, ssy, ssy + shot.height)) {
            g.Progress.Energy -= e.Damage;
            g.ShipHitTimer = 1;
            e.Active = 0;
        }
        if (e.Active != 1 || e.Kind == kRedBeam) continue;
        if (ShootDown(g, e, ssy, shot)) e.BurstFrame = 0;
    }
    // 6. Flight and drawing; a shot below the screen is gone.
    Surface& back = *w.media.back;
    for (EnemyShotRecord& e : g.EnemyShots) {
        if (e.Active != 1 || e.BurstFrame != -1) continue;
        if (p.ScrollDistance - e.Y >= kSurfaceHeight) e.Active = 0;
        else e.Y -= e.Speed;
        const int ssy = p.ScrollDistance - e.Y;
        if (e.Kind == kRedBeam) {
            LockSurface(back);
            DrawPixelLine(back, e.X, ssy, e.X, ssy + 25, 168, 36, 40);
            DrawPixelLine(back, e.X + 1, ssy, e.X + 1, ssy + 25, 168, 36, 40);
            UnlockSurface(back);
        } else {
            DrawPattern(PictureAt(w.media.Rakety, e.Kind + kShotPictures), back, e.X, ssy, 0);
        }
    }
    // 7. Bursts of shots that were shot down: 16 frames, then the slot is free.
    for (EnemyShotRecord& e : g.EnemyShots) {
        if (e.BurstFrame < 0) continue;
        const int frame = e.BurstFrame <= 5 ? 0 : e.BurstFrame <= 10 ? 1 : 2;
        DrawPicture(w, w.media.Obrazky, "MalyBum", e.X, p.ScrollDistance - e.Y + 15, frame);
        if (e.BurstFrame >= kLastBurstFrame) {
            e.BurstFrame = -1;
            e.Active = 0;
        } else {
            ++e.BurstFrame;
        }
    }
}
