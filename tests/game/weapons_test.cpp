// The player's volley and shots: what a volley launches where, its sounds,
// the fire rhythm with fire held, the wingmen's bolts at the end of the
// laser array, shots leaving the screen, and where laser bolts are drawn.
#include "game/weapons.h"

#include <vector>

#include "ship_helpers.h"

namespace {

int CountActive(const ShotRecord (&shots)[kShotCount]) {
    int n = 0;
    for (const ShotRecord& s : shots) n += s.Active;
    return n;
}

void OpenGate(ShipWorld& s) {
    s.g.FireHeld = 1;
    s.g.ReloadTimer = 15;
    s.g.VolleyTick = 10;
}

TEST(WeaponsVolley, FullVolleyLaunchesEveryWeaponFromTheShip) {
    ShipWorld s;
    s.p.PlayerX = 300;
    s.p.PlayerY = 400;
    s.p.HasRockets = s.p.HasSideBalls = s.p.HasDiagonalBalls = s.p.HasBombs = 1;
    s.g.BombTick = 10;
    OpenGate(s);
    UpdateWeapons(s.w);
    // Every shot has already made its first move of this frame.
    const ShotRecord& laser = s.g.LaserShots[0];
    EXPECT_EQ(laser.X, 300);
    EXPECT_EQ(laser.Y, 390);
    EXPECT_EQ(laser.Damage, 10);
    EXPECT_EQ(s.g.WeaponEnergy, 108);
    EXPECT_EQ(s.g.ReloadTimer, 0);
    EXPECT_EQ(s.g.RocketShots[0].X, 263);
    EXPECT_EQ(s.g.RocketShots[1].X, 314);
    EXPECT_EQ(s.g.RocketShots[1].Y, 355);
    EXPECT_EQ(s.g.RocketShots[1].Damage, 40);
    EXPECT_EQ(s.g.SideBallShots[0].X, 253);
    EXPECT_EQ(s.g.SideBallShots[1].X, 324);
    EXPECT_EQ(s.g.SideBallShots[1].Y, 400);
    EXPECT_EQ(s.g.DiagonalBallShots[0].X, 258);
    EXPECT_EQ(s.g.DiagonalBallShots[1].X, 319);
    EXPECT_EQ(s.g.DiagonalBallShots[1].Y, 390);
    EXPECT_EQ(s.g.DiagonalBallShots[1].Damage, 20);
    const ShotRecord& bomb = s.g.BombShots[0];
    EXPECT_EQ(bomb.StartX, 278);
    EXPECT_EQ(bomb.StartY, 380);
    EXPECT_EQ(bomb.Y, 379);
    EXPECT_EQ(bomb.Damage, 100);
    // The counters wrap on the volley frame.
    EXPECT_EQ(s.g.VolleyTick, 0);
    EXPECT_EQ(s.g.RocketTick, 3);
    EXPECT_EQ(s.g.BallTick, 2);
    EXPECT_EQ(s.g.BombTick, 11);

    // Ten gun energy allows one more volley; nine none at all.
    for (int32_t energy : {10, 9}) {
        ShipWorld e;
        e.p.HasRockets = 1;
        e.g.WeaponEnergy = energy;
        OpenGate(e);
        UpdateWeapons(e.w);
        EXPECT_EQ(e.g.WeaponEnergy, energy == 10 ? 8 : 9);
        EXPECT_EQ(CountActive(e.g.RocketShots), energy == 10 ? 2 : 0);
    }
}

TEST(WeaponsVolley, SoundsDependOnLaserUpgradeAndDiagonalBalls) {
    struct Case {
        uint8_t good, diagonal;
        bool laser, goodLaser, other;
    };
    ShipWorld s;
    for (Case c : {Case{0, 0, true, false, false}, Case{1, 0, false, true, false}, Case{0, 1, true, false, true},
                   Case{1, 1, false, false, true}}) {
        s.w.shell.SoundEnabled = 1;
        s.p.HasGoodLaser = c.good;
        s.p.HasDiagonalBalls = c.diagonal;
        OpenGate(s);
        s.SilenceAll();
        UpdateWeapons(s.w);
        EXPECT_EQ(s.SoundStarted("Laser"), c.laser) << int(c.good) << int(c.diagonal);
        EXPECT_EQ(s.SoundStarted("GoodLaser"), c.goodLaser) << int(c.good) << int(c.diagonal);
        EXPECT_EQ(s.SoundStarted("Ostatni"), c.other) << int(c.good) << int(c.diagonal);
    }
    s.w.shell.SoundEnabled = 0;
    s.p.HasGoodLaser = s.p.HasDiagonalBalls = 0;
    OpenGate(s);
    s.SilenceAll();
    UpdateWeapons(s.w);
    EXPECT_FALSE(s.SoundStarted("Laser"));
    EXPECT_EQ(CountActive(s.g.LaserShots), 5);
}

// Frames (counted from the first with fire held) on which each array got a
// new shot, with the ship and the weapons run as the game frame runs them.
struct Launches {
    std::vector<int> laser, rocket, ball, bomb;
};

Launches HoldFire(ShipWorld& s, int frames) {
    Launches out;
    s.Hold(GameKey::Space);
    for (int f = 0; f < frames; ++f) {
        const int lasers = CountActive(s.g.LaserShots), rockets = CountActive(s.g.RocketShots);
        const int balls = CountActive(s.g.SideBallShots), bombs = CountActive(s.g.BombShots);
        s.Frames(1);
        if (s.g.ReloadTimer == 0 || CountActive(s.g.LaserShots) > lasers) out.laser.push_back(f);
        if (CountActive(s.g.RocketShots) > rockets) out.rocket.push_back(f);
        if (CountActive(s.g.SideBallShots) > balls) out.ball.push_back(f);
        if (CountActive(s.g.BombShots) > bombs) out.bomb.push_back(f);
    }
    return out;
}

TEST(WeaponsRhythm, HeldFireLaunchesEverythingEvery16Frames) {
    ShipWorld s;
    s.p.HasRockets = s.p.HasSideBalls = 1;
    s.g.VolleyTick = 5;
    const Launches l = HoldFire(s, 50);
    const std::vector<int> expected{0, 16, 32, 48};
    EXPECT_EQ(l.laser, expected);
    EXPECT_EQ(l.rocket, expected);
    EXPECT_EQ(l.ball, expected);
}

TEST(WeaponsRhythm, BombsKeepTheirOwnCycle) {
    // The bomb counter advances on every wrap of the volley counter (twice
    // per 16-frame volley period) through 1..11; a bomb drops only when a
    // volley finds it at 10, on every eleventh volley.
    ShipWorld s;
    s.p.HasBombs = 1;
    s.p.PlayerY = 495;  // bombs rise a pixel a frame and must outlive the run
    s.g.BombTick = 10;
    EXPECT_EQ(HoldFire(s, 400).bomb, (std::vector<int>{0, 176, 352}));
}

TEST(WeaponsRhythm, NoFreeLaserKeepsTheGateOpen) {
    // Rockets then follow the volley counter alone: every third wrap (33
    // frames); balls every second wrap (22 frames).
    ShipWorld s;
    s.p.HasRockets = s.p.HasSideBalls = 1;
    for (ShotRecord& shot : s.g.LaserShots) shot = ShotRecord{0, 100000, 0, 0, 10, 0, 1};
    const Launches l = HoldFire(s, 100);
    EXPECT_EQ(s.g.ReloadTimer, 15);
    EXPECT_EQ(s.g.WeaponEnergy, 110);
    EXPECT_EQ(l.rocket, (std::vector<int>{0, 33, 66, 99}));
    EXPECT_EQ(l.ball, (std::vector<int>{0, 22, 44, 66, 88}));
}

TEST(WeaponsRhythm, NoFreeLaserSoundsTheVolleyEveryFrame) {
    // The gate never closes, so the volley sound starts again on each frame
    // fire is held, though nothing new flies.
    ShipWorld s;
    s.w.shell.SoundEnabled = 1;
    for (ShotRecord& shot : s.g.LaserShots) shot = ShotRecord{0, 100000, 0, 0, 10, 0, 1};
    s.Hold(GameKey::Space);
    for (int f = 0; f < 4; ++f) {
        s.SilenceAll();
        s.Frames(1);
        EXPECT_TRUE(s.SoundStarted("Laser")) << "frame " << f;
    }
    EXPECT_EQ(s.g.WeaponEnergy, 110);
}

TEST(WeaponsShots, LeaveTheScreenAtTheirBounds) {
    ShipWorld s;
    ShotRecord& side = s.g.SideBallShots[0] = ShotRecord{790, 200, 0, 0, 20, 2, 1};
    ShotRecord& rocket = s.g.RocketShots[0] = ShotRecord{100, -5, 0, 0, 40, 0, 1};
    ShotRecord& laser = s.g.LaserShots[0] = ShotRecord{100, 0, 0, 0, 10, 0, 1};
    ShotRecord& bomb = s.g.BombShots[0] = ShotRecord{100, 1, 100, 1, 100, 0, 1};
    ShotRecord& diagonal = s.g.DiagonalBallShots[3] = ShotRecord{60, 300, 0, 0, 20, 1, 1};
    ShotRecord& high = s.g.DiagonalBallShots[0] = ShotRecord{400, -50, 0, 0, 20, 2, 1};
    UpdateWeapons(s.w);
    // 800 and -10 (0 for bombs) are still inside.
    EXPECT_EQ(side.X, 800);
    EXPECT_EQ(rocket.Y, -10);
    EXPECT_EQ(laser.Y, -10);
    EXPECT_EQ(bomb.Y, 0);
    EXPECT_EQ(side.Active + rocket.Active + laser.Active + bomb.Active, 4);
    UpdateWeapons(s.w);
    EXPECT_EQ(side.Active + rocket.Active + laser.Active + bomb.Active, 0);
    // A diagonal ball from x 60 going left ends on its 13th frame, 130 higher;
    // above the top a ball flies on until its x leaves the screen.
    for (int f = 3; f <= 12; ++f) UpdateWeapons(s.w);
    EXPECT_EQ(diagonal.Active, 1);
    UpdateWeapons(s.w);
    EXPECT_EQ(diagonal.X, -5);
    EXPECT_EQ(diagonal.Y, 170);
    EXPECT_EQ(diagonal.Active, 0);
    EXPECT_EQ(high.Active, 1);
    EXPECT_EQ(high.Y, -180);
}

TEST(WeaponsWingmanBolts, DockedWingmenFireInTheElementsAfterTheLaser) {
    ShipWorld s;
    s.p.HasGoodLaser = 1;
    s.g.Wingmen[0] = {475, 320, 2, 0};
    s.g.Wingmen[1] = {245, 320, 2, 0};
    s.g.LaserShots[0] = ShotRecord{1, 5000, 0, 0, 10, 0, 1};
    s.g.LaserShots[2] = ShotRecord{1, 4000, 0, 0, 10, 0, 1};  // taken though in flight
    OpenGate(s);
    UpdateWeapons(s.w);
    EXPECT_EQ(s.g.LaserShots[1].X, 400);
    EXPECT_EQ(s.g.LaserShots[2].X, 517);
    EXPECT_EQ(s.g.LaserShots[2].Y, 327);
    EXPECT_EQ(s.g.LaserShots[2].Damage, 20);
    EXPECT_EQ(s.g.LaserShots[3].X, 287);
    EXPECT_EQ(s.g.LaserShots[3].Y, 327);
    EXPECT_EQ(s.g.WeaponEnergy, 108);  // the wingmen's bolts cost nothing

    // With the laser in one of the last two elements, bolts that would fall
    // past the end of the array are dropped.
    for (int freeIndex : {18, 19}) {
        for (int i = 0; i < kShotCount; ++i)
            s.g.LaserShots[i] = ShotRecord{i, 5000, 0, 0, 10, 0, uint8_t(i == freeIndex ? 0 : 1)};
        OpenGate(s);
        UpdateWeapons(s.w);
        EXPECT_EQ(s.g.LaserShots[freeIndex].X, 400);
        EXPECT_EQ(s.g.LaserShots[18].X, freeIndex == 18 ? 400 : 18);
        EXPECT_EQ(s.g.LaserShots[19].X, freeIndex == 18 ? 517 : 400);
    }
}

// Bolts as the hit tests sample them: strokes from Y - 37 up to Y - 52 at
// X - 23 and X + 11, three pixels wide (to X - 21 and X + 13) when upgraded.
TEST(WeaponsLaserPixels, PlainAndUpgradedBoltsLieWhereHitsAreTested) {
    for (uint8_t good : {uint8_t(0), uint8_t(1)}) {
        ShipWorld s(false);
        s.p.HasGoodLaser = good;
        s.g.LaserShots[7] = ShotRecord{200, 300, 0, 0, 10, 0, 1};
        FillSurface(*s.w.media.back, 0);
        UpdateWeapons(s.w);
        EXPECT_EQ(s.g.LaserShots[7].Damage, good ? 20 : 10);
        const Surface& back = *s.w.media.back;
        EXPECT_FALSE(back.locked);
        const uint16_t colour = good ? RgbTo565(64, 220, 56) : RgbTo565(192, 44, 40);
        const std::vector<int> columns =
            good ? std::vector<int>{177, 178, 179, 211, 212, 213} : std::vector<int>{177, 211};
        int lit = 0;
        for (int y = 0; y < kSurfaceHeight; ++y)
            for (int x = 0; x < kSurfaceWidth; ++x) lit += back.pixels[y][x] != 0;
        EXPECT_EQ(lit, int(columns.size()) * 16);
        for (int x : columns)
            for (int y = 248; y <= 263; ++y) EXPECT_EQ(back.pixels[y][x], colour) << x << "," << y;
    }
}

}  // namespace
