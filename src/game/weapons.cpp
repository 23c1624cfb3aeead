// The player's volley and the shots in flight: lasers drawn as pixel lines,
// rockets, sideways and diagonal balls, bombs. Four small counters pace the
// launches so that a held fire button gives a steady rhythm.
#include "game/weapons.h"

#include "game/companions.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

// Lowest element whose Active is 0, or -1 when all are in flight.
template <int N>
int FirstFree(const ShotRecord (&shots)[N]) {
    for (int i = 0; i < N; ++i) {
        if (shots[i].Active == 0) return i;
    }
    return -1;
}

void Launch(ShotRecord& shot, int32_t damage, int32_t x, int32_t y) {
    shot.Active = 1;
    shot.Damage = damage;
    shot.X = x;
    shot.Y = y;
}

// Two balls side by side, the left one flying left and the right one right.
void LaunchBallPair(ShotRecord (&balls)[kShotCount], const ProgressRecord& p) {
    int i = FirstFree(balls);
    if (i >= 0) {
        Launch(balls[i], 20, p.PlayerX - 37, p.PlayerY);
        balls[i].Mode = 1;
    }
    i = FirstFree(balls);
    if (i >= 0) {
        Launch(balls[i], 20, p.PlayerX + 14, p.PlayerY);
        balls[i].Mode = 2;
    }
}

void PlayVolleySound(World& w) {
    const ProgressRecord& p = w.game.Progress;
    if (!w.shell.SoundEnabled) return;
    if (p.HasGoodLaser == 0) PlayGameSound(w, "Laser");
    if (p.HasGoodLaser == 1 && p.HasDiagonalBalls == 0) {
        StopGameSound(w, "GoodLaser");
        PlayGameSound(w, "GoodLaser");
    }
    if (p.HasDiagonalBalls == 1) PlayGameSound(w, "Ostatni");
}

// The laser bolt, with the docked wingmen's bolts in the two elements right
// after it. Those are taken whether or not they are free; a bolt that would
// fall past the end of the array is dropped.
void LaunchLaser(World& w) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    const int i = FirstFree(g.LaserShots);
    if (i < 0) return;
    Launch(g.LaserShots[i], 10, p.PlayerX, p.PlayerY);
    const int32_t wingmanDamage = p.HasGoodLaser ? 20 : 10;
    if (g.Wingmen[0].State == 2 && i + 1 < kShotCount) {
        Launch(g.LaserShots[i + 1], wingmanDamage, p.PlayerX + 117, p.PlayerY + 37);
    }
    if (g.Wingmen[1].State == 2 && i + 2 < kShotCount) {
        Launch(g.LaserShots[i + 2], wingmanDamage, p.PlayerX - 113, p.PlayerY + 37);
    }
    g.WeaponEnergy -= 2;
    g.ReloadTimer = 0;
}

void LaunchVolley(World& w) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    PlayVolleySound(w);
    if (g.VolleyTick == 10) LaunchLaser(w);
    if (p.HasRockets && g.RocketTick == 2 && g.VolleyTick == 10) {
        for (int32_t x : {p.PlayerX - 37, p.PlayerX + 14}) {
            const int i = FirstFree(g.RocketShots);
            if (i >= 0) Launch(g.RocketShots[i], 40, x, p.PlayerY - 40);
        }
    }
    if (p.HasSideBalls && g.VolleyTick == 10 && g.BallTick == 1) LaunchBallPair(g.SideBallShots, p);
    if (p.HasDiagonalBalls && g.VolleyTick == 10 && g.BallTick == 1) LaunchBallPair(g.DiagonalBallShots, p);
    if (p.HasBombs && g.BombTick == 10 && g.VolleyTick == 10) {
        const int i = FirstFree(g.BombShots);
        if (i >= 0) {
            ShotRecord& bomb = g.BombShots[i];
            Launch(bomb, 100, p.PlayerX - 22, p.PlayerY - 20);
            bomb.StartX = bomb.X;
            bomb.StartY = bomb.Y;
        }
    }
}

// Each bolt is two short vertical strokes, 16 pixels long, left and right of
// the ship's nose; the upgrade makes each stroke three pixels wide and green.
void UpdateLasers(World& w) {
    GameState& g = w.game;
    Surface& back = *w.media.back;
    for (ShotRecord& shot : g.LaserShots) {
        if (shot.Active != 1) continue;
        if (g.Progress.HasGoodLaser) {
            shot.Damage = 20;
            LockSurface(back);
            for (int x : {shot.X - 23, shot.X - 22, shot.X - 21, shot.X + 11, shot.X + 12, shot.X + 13}) {
                DrawPixelLine(back, x, shot.Y - 37, x, shot.Y - 52, 64, 220, 56);
            }
            UnlockSurface(back);
        } else {
            LockSurface(back);
            for (int x : {shot.X - 23, shot.X + 11}) {
                DrawPixelLine(back, x, shot.Y - 37, x, shot.Y - 52, 192, 44, 40);
            }
            UnlockSurface(back);
        }
        shot.Y -= 10;
        if (shot.Y < -10) shot.Active = 0;
    }
}

void UpdateRockets(World& w) {
    for (ShotRecord& shot : w.game.RocketShots) {
        if (shot.Active != 1) continue;
        DrawPicture(w, w.media.Obrazky, "Puma", shot.X, shot.Y, 0);
        shot.Y -= 5;
        if (shot.Y < -10) shot.Active = 0;
    }
}

void UpdateSideBalls(World& w) {
    for (ShotRecord& shot : w.game.SideBallShots) {
        if (shot.Active != 1) continue;
        DrawPicture(w, w.media.Obrazky, "Koule", shot.X, shot.Y, 0);
        shot.X += shot.Mode == 1 ? -10 : 10;
        if (shot.X < 0 || shot.X > 800) shot.Active = 0;
    }
}

// Only the sides end a diagonal ball: one that leaves the top flies on
// unseen until its x leaves the screen.
void UpdateDiagonalBalls(World& w) {
    for (ShotRecord& shot : w.game.DiagonalBallShots) {
        if (shot.Active != 1) continue;
        DrawPicture(w, w.media.Obrazky, "Koule", shot.X, shot.Y, 0);
        shot.X += shot.Mode == 1 ? -5 : 5;
        shot.Y -= 10;
        if (shot.X < 0 || shot.X > 800) shot.Active = 0;
    }
}

void UpdateBombs(World& w) {
    for (ShotRecord& shot : w.game.BombShots) {
        if (shot.Active != 1) continue;
        DrawPicture(w, w.media.Obrazky, "Bomba", shot.X, shot.Y, 0);
        shot.Y -= 1;
        if (shot.Y < 0) shot.Active = 0;
    }
}

// VolleyTick runs 0..10; each wrap advances the rocket (0..2), ball (0..1)
// and bomb (0..10) cadences.
void AdvanceCounters(GameState& g) {
    if (g.RocketTick > 2) g.RocketTick = 0;
    if (g.BallTick > 1) g.BallTick = 0;
    if (g.BombTick > 10) g.BombTick = 0;
    if (g.VolleyTick < 10) {
        g.VolleyTick += 1;
    } else {
        g.VolleyTick = 0;
        g.RocketTick += 1;
        g.BallTick += 1;
        g.BombTick += 1;
    }
}

}  // namespace

void UpdateWeapons(World& w) {
    GameState& g = w.game;
    if (g.FireHeld == 1 && g.ReloadTimer == 15 && g.WeaponEnergy > 9) LaunchVolley(w);
    UpdateLasers(w);
    UpdateRockets(w);
    UpdateSideBalls(w);
    UpdateDiagonalBalls(w);
    UpdateWingmen(w);
    UpdateBombs(w);
    UpdateShieldOrbs(w);
    UpdateEggBeams(w);
    UpdateHomingDiscs(w);
    AdvanceCounters(g);
}
