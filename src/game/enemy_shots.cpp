// Enemy fire: armed objects firing into the shared EnemyShots array, the
// shots hitting the ship or being shot down by the player, their flight,
// drawing and the small bursts of shots that were shot down.
#include <cstdlib>

#include "game/object_passes.h"
#include "media/picture.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

int FirstFreeEnemyShot(GameState& g) {
    for (int i = 0; i < kEnemyShotCount; ++i)
        if (g.EnemyShots[i].Active != 1) return i;
    return -1;
}

// 5b: the first player shot, beam or orb that strikes the enemy shot.
bool ShootDown(World& w, EnemyShotRecord& e, int ssy, PictureSize shot) {
    GameState& g = w.game;
    const int SW = shot.width, SH = shot.height;
    auto nearBy = [&](const ShotRecord& s) { return std::abs(s.X - e.X) < 150 && std::abs(s.Y - ssy) < 150; };
    for (ShotRecord& s : g.LaserShots) {
        if (s.Active != 1 || !nearBy(s)) continue;
        if (PointStrictlyInside(s.X - 23, s.Y - 52, e.X, ssy, SW, SH) ||
            PointStrictlyInside(s.X + 12, s.Y - 52, e.X, ssy, SW, SH)) {
            s.Active = 0;
            return true;
        }
    }
    for (ShotRecord& s : g.RocketShots) {
        if (s.Active == 1 && nearBy(s) && BoxStrikes(s.X, s.Y, 14, 57, e.X, ssy, SW, SH)) {
            s.Active = 0;
            return true;
        }
    }
    for (ShotRecord& s : g.SideBallShots) {
        if (s.Active == 1 && nearBy(s) && BoxStrikes(s.X, s.Y, 16, 16, e.X, ssy, SW, SH)) {
            s.Active = 0;
            return true;
        }
    }
    for (ShotRecord& s : g.DiagonalBallShots) {
        if (s.Active == 1 && nearBy(s) && BoxStrikes(s.X, s.Y, 16, 16, e.X, ssy, SW, SH)) {
            s.Active = 0;
            return true;
        }
    }
    for (ShotRecord& s : g.BombShots) {
        if (s.Active == 1 && nearBy(s) && BoxStrikes(s.X, s.Y, 33, 47, e.X, ssy, SW, SH)) {
            s.Active = 0;
            StartBlast(w, s);
            ApplyBlastDamage(w, s, false);
            return true;
        }
    }
    // Only a beam still sweeping: one that has reached the top keeps Mode 3
    // and its last height, and must not go on bursting shots up there.
    for (ShotRecord& s : g.EggBeams) {
        if (s.Active == 1 && s.Mode == 3 && ssy < s.Y && s.Y < ssy + SH) return true;
    }
    for (ShotRecord& s : g.ShieldOrbs) {
        if (s.Active == 1 && BoxStrikes(s.X, s.Y, 16, 16, e.X, ssy, SW, SH)) {
            s.Active = 0;
            return true;
        }
    }
    return false;
}

}  // namespace

void FireFromObject(World& w, LevelObject& o, PictureSize size, RaketySizes& sizes) {
    GameState& g = w.game;
    // An interval of 0 never comes up (no rule arms an object with it).
    if (o.Fires != 1 || o.FireInterval == 0 || g.FireClock % o.FireInterval != 0) return;
    const PictureSize shot = sizes.Of(o.ShotKind + 23);
    const int guns = o.ShotSpread != 0 ? 2 : 1;
    for (int gun = 0; gun < guns; ++gun) {
        const int slot = FirstFreeEnemyShot(g);
        if (slot < 0) return;
        EnemyShotRecord& e = g.EnemyShots[slot];
        e.Speed = int8_t(o.ShotSpeed);
        e.Kind = o.ShotKind;
        e.Damage = o.ShotDamage;
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
        const PictureSize shot = sizes.Of(e.Kind + 23);
        const int ssy = p.ScrollDistance - e.Y;
        if (g.ArrivalWidth < 78 && std::abs(p.PlayerX - e.X) < 150 && std::abs(p.PlayerY - ssy) < 150 &&
            SampleBetween(p.PlayerX - 37, 4, 16, e.X, e.X + shot.width) &&
            SampleBetween(p.PlayerY - 25, 4, 16, ssy, ssy + shot.height)) {
            g.Progress.Energy -= e.Damage;
            g.ShipHitTimer = 1;
            e.Active = 0;
        }
        // A red beam cannot be shot down.
        if (e.Active != 1 || e.Kind == 1) continue;
        if (ShootDown(w, e, ssy, shot)) e.BurstFrame = 0;
    }
    // 6. Flight and drawing.
    Surface& back = *w.media.back;
    for (EnemyShotRecord& e : g.EnemyShots) {
        if (e.Active != 1 || e.BurstFrame != -1) continue;
        if (p.ScrollDistance - e.Y >= 600)
            e.Active = 0;
        else
            e.Y -= e.Speed;
        const int ssy = p.ScrollDistance - e.Y;
        if (e.Kind == 1) {
            LockSurface(back);
            DrawPixelLine(back, e.X, ssy, e.X, ssy + 25, 168, 36, 40);
            DrawPixelLine(back, e.X + 1, ssy, e.X + 1, ssy + 25, 168, 36, 40);
            UnlockSurface(back);
        } else {
            DrawPattern(PictureAt(w.media.Rakety, e.Kind + 23), back, e.X, ssy, 0);
        }
    }
    // 7. Bursts of shots that were shot down: 16 frames, then the slot is free.
    for (EnemyShotRecord& e : g.EnemyShots) {
        if (e.BurstFrame < 0) continue;
        const int frame = e.BurstFrame <= 5 ? 0 : e.BurstFrame <= 10 ? 1 : 2;
        DrawPicture(w, w.media.Obrazky, "MalyBum", e.X, p.ScrollDistance - e.Y + 15, frame);
        if (e.BurstFrame >= 15) {
            e.BurstFrame = -1;
            e.Active = 0;
        } else {
            ++e.BurstFrame;
        }
    }
}
