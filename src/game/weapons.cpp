// The player's volley and the shots in flight: lasers drawn as pixel lines,
// rockets, sideways and diagonal balls, bombs. Four small counters pace the
// launches so that a held fire button gives a steady rhythm. What each shot
// does, how it flies and how often it launches is its row of the weapon
// table (weapon_table.h).
#include "game/weapons.h"

#include "game/companions.h"
#include "game/weapon_table.h"
#include "media/surface.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

// A bolt or rocket this far above the top edge is gone.
constexpr int kGoneAbove = -10;
// Where the docked wingmen's guns are, beside the fighter.
constexpr LaunchPoint kWingmanGuns[2] = {{117, 37}, {-113, 37}};
// A ball flies left or right (its Mode).
constexpr int32_t kLeftward = 1, kRightward = 2;
constexpr int32_t kDocked = 2;  // a wingman's State beside the fighter

// Lowest element whose Active is 0, or -1 when all are in flight.
template <int N>
int FirstFree(const ShotRecord (&shots)[N]) {
    for (int i = 0; i < N; ++i) {
        if (shots[i].Active == 0) return i;
    }
    return -1;
}

void Launch(ShotRecord& shot, int32_t damage, const ProgressRecord& p, LaunchPoint from) {
    shot.Active = 1;
    shot.Damage = damage;
    shot.X = p.PlayerX + from.x;
    shot.Y = p.PlayerY + from.y;
}

// Two balls side by side, the left one flying left and the right one right.
void LaunchBallPair(ShotRecord (&balls)[kShotCount], const WeaponRow& row, const ProgressRecord& p) {
    int i = FirstFree(balls);
    if (i >= 0) {
        Launch(balls[i], row.damage, p, row.left);
        balls[i].Mode = kLeftward;
    }
    i = FirstFree(balls);
    if (i >= 0) {
        Launch(balls[i], row.damage, p, row.right);
        balls[i].Mode = kRightward;
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
void LaunchLaser(GameState& g) {
    const ProgressRecord& p = g.Progress;
    const WeaponRow& laser = kWeapons.laser;
    const int i = FirstFree(g.LaserShots);
    if (i < 0) return;
    Launch(g.LaserShots[i], laser.damage, p, {});
    const int32_t wingmanDamage = p.HasGoodLaser ? laser.upgradedDamage : laser.damage;
    for (int wingman = 0; wingman < 2; ++wingman) {
        const int bolt = i + 1 + wingman;
        if (g.Wingmen[wingman].State == kDocked && bolt < kShotCount) {
            Launch(g.LaserShots[bolt], wingmanDamage, p, kWingmanGuns[wingman]);
        }
    }
    g.WeaponEnergy -= kLaserEnergyCost;
    g.ReloadTimer = 0;
}

void LaunchVolley(World& w) {
    GameState& g = w.game;
    const ProgressRecord& p = g.Progress;
    const WeaponTable& t = kWeapons;
    PlayVolleySound(w);
    const bool volley = g.VolleyTick == t.laser.cadence;
    if (volley) LaunchLaser(g);
    if (p.HasRockets && g.RocketTick == t.rocket.cadence && volley) {
        for (LaunchPoint from : {t.rocket.left, t.rocket.right}) {
            const int i = FirstFree(g.RocketShots);
            if (i >= 0) Launch(g.RocketShots[i], t.rocket.damage, p, from);
        }
    }
    if (p.HasSideBalls && volley && g.BallTick == t.sideBall.cadence) LaunchBallPair(g.SideBallShots, t.sideBall, p);
    if (p.HasDiagonalBalls && volley && g.BallTick == t.diagonalBall.cadence)
        LaunchBallPair(g.DiagonalBallShots, t.diagonalBall, p);
    if (p.HasBombs && g.BombTick == t.bomb.cadence && volley) {
        const int i = FirstFree(g.BombShots);
        if (i >= 0) {
            ShotRecord& bomb = g.BombShots[i];
            Launch(bomb, t.bomb.damage, p, t.bomb.left);
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
            shot.Damage = kWeapons.laser.upgradedDamage;
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
        shot.Y += kWeapons.laser.speedY;
        if (shot.Y < kGoneAbove) shot.Active = 0;
    }
}

void UpdateRockets(World& w) {
    const WeaponRow& rocket = kWeapons.rocket;
    for (ShotRecord& shot : w.game.RocketShots) {
        if (shot.Active != 1) continue;
        DrawPicture(w, w.media.Obrazky, rocket.picture, shot.X, shot.Y, 0);
        shot.Y += rocket.speedY;
        if (shot.Y < kGoneAbove) shot.Active = 0;
    }
}

// Only the sides end a ball: a diagonal one that leaves the top flies on
// unseen until its x leaves the screen.
void UpdateBalls(World& w, ShotRecord (&balls)[kShotCount], const WeaponRow& row) {
    for (ShotRecord& shot : balls) {
        if (shot.Active != 1) continue;
        DrawPicture(w, w.media.Obrazky, row.picture, shot.X, shot.Y, 0);
        shot.X += shot.Mode == kLeftward ? -row.speedX : row.speedX;
        shot.Y += row.speedY;
        if (shot.X < 0 || shot.X > kSurfaceWidth) shot.Active = 0;
    }
}

void UpdateBombs(World& w) {
    const WeaponRow& bomb = kWeapons.bomb;
    for (ShotRecord& shot : w.game.BombShots) {
        if (shot.Active != 1) continue;
        DrawPicture(w, w.media.Obrazky, bomb.picture, shot.X, shot.Y, 0);
        shot.Y += bomb.speedY;
        if (shot.Y < 0) shot.Active = 0;
    }
}

// VolleyTick runs 0..10; each wrap advances the rocket (0..2), ball (0..1)
// and bomb (0..10) counters, each of which starts again after its cadence.
void AdvanceCounters(GameState& g) {
    const WeaponTable& t = kWeapons;
    if (g.RocketTick > t.rocket.cadence) g.RocketTick = 0;
    if (g.BallTick > t.sideBall.cadence) g.BallTick = 0;
    if (g.BombTick > t.bomb.cadence) g.BombTick = 0;
    if (g.VolleyTick < t.laser.cadence) {
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
    if (g.FireHeld == 1 && g.ReloadTimer == kReloadFrames && g.WeaponEnergy >= kVolleyEnergy) LaunchVolley(w);
    UpdateLasers(w);
    UpdateRockets(w);
    UpdateBalls(w, g.SideBallShots, kWeapons.sideBall);
    UpdateBalls(w, g.DiagonalBallShots, kWeapons.diagonalBall);
    UpdateWingmen(w);
    UpdateBombs(w);
    UpdateShieldOrbs(w);
    UpdateEggBeams(w);
    UpdateHomingDiscs(w);
    AdvanceCounters(g);
}
