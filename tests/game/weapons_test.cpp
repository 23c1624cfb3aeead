// The player's volley and shots: what each launch puts where, the sounds of
// a volley, the fire rhythm with fire held, gun energy, the wingmen's bolts
// at the end of the laser array, and where the laser bolts are drawn.
#include "game/weapons.h"

#include <gtest/gtest.h>

#include <vector>

#include "game/player_ship.h"
#include "test_support.h"

namespace {

bool SoundStarted(World& w, const char* name) {
    WaveItem& item = FindSound(w.media.Zvuky, name);
    if (item.mainVoice >= 0 && w.media.mixer->voices[item.mainVoice].playing) return true;
    for (int v : item.voices) {
        if (w.media.mixer->voices[v].playing) return true;
    }
    return false;
}

void StopAllSounds(World& w) {
    for (Voice& voice : w.media.mixer->voices) voice.playing = false;
}

int CountActive(const ShotRecord (&shots)[kShotCount]) {
    int n = 0;
    for (const ShotRecord& s : shots) n += s.Active;
    return n;
}

// A ship under control in the middle of the screen with the gate open.
struct Armed {
    TestWorld t;
    World& w;
    GameState& g;
    ProgressRecord& p;
    explicit Armed(bool assets = true) : t(MakeTestWorld(assets)), w(t.w()), g(w.game), p(w.game.Progress) {
        w.shell.SoundEnabled = 0;
        g.ArrivalWidth = g.ArrivalHeight = 72;
        g.FireHeld = 1;
        g.ReloadTimer = 15;
    }
};

TEST(WeaponsVolley, FullVolleyLaunchesEveryWeaponFromTheShip) {
    Armed a;
    a.p.PlayerX = 300;
    a.p.PlayerY = 400;
    a.p.HasRockets = a.p.HasSideBalls = a.p.HasDiagonalBalls = a.p.HasBombs = 1;
    a.g.BombTick = 10;
    UpdateWeapons(a.w);

    // Every shot has already made its first move of this frame.
    const ShotRecord& laser = a.g.LaserShots[0];
    EXPECT_EQ(laser.Active, 1);
    EXPECT_EQ(laser.X, 300);
    EXPECT_EQ(laser.Y, 390);
    EXPECT_EQ(laser.Damage, 10);
    EXPECT_EQ(a.g.WeaponEnergy, 108);
    EXPECT_EQ(a.g.ReloadTimer, 0);

    EXPECT_EQ(a.g.RocketShots[0].X, 263);
    EXPECT_EQ(a.g.RocketShots[1].X, 314);
    EXPECT_EQ(a.g.RocketShots[0].Y, 355);
    EXPECT_EQ(a.g.RocketShots[0].Damage, 40);
    EXPECT_EQ(CountActive(a.g.RocketShots), 2);

    EXPECT_EQ(a.g.SideBallShots[0].X, 253);
    EXPECT_EQ(a.g.SideBallShots[0].Mode, 1);
    EXPECT_EQ(a.g.SideBallShots[1].X, 324);
    EXPECT_EQ(a.g.SideBallShots[1].Mode, 2);
    EXPECT_EQ(a.g.SideBallShots[1].Y, 400);
    EXPECT_EQ(a.g.SideBallShots[1].Damage, 20);

    EXPECT_EQ(a.g.DiagonalBallShots[0].X, 258);
    EXPECT_EQ(a.g.DiagonalBallShots[1].X, 319);
    EXPECT_EQ(a.g.DiagonalBallShots[0].Y, 390);

    const ShotRecord& bomb = a.g.BombShots[0];
    EXPECT_EQ(bomb.Active, 1);
    EXPECT_EQ(bomb.StartX, 278);
    EXPECT_EQ(bomb.StartY, 380);
    EXPECT_EQ(bomb.X, 278);
    EXPECT_EQ(bomb.Y, 379);
    EXPECT_EQ(bomb.Damage, 100);

    // The counters wrap on the volley frame.
    EXPECT_EQ(a.g.VolleyTick, 0);
    EXPECT_EQ(a.g.RocketTick, 3);
    EXPECT_EQ(a.g.BallTick, 2);
    EXPECT_EQ(a.g.BombTick, 11);
}

TEST(WeaponsVolley, LaserUpgradeDoublesDamageOfBoltsInFlight) {
    Armed a(false);
    a.p.HasGoodLaser = 1;
    UpdateWeapons(a.w);
    EXPECT_EQ(a.g.LaserShots[0].Damage, 20);
    a.p.HasGoodLaser = 0;
    a.g.FireHeld = 0;
    UpdateWeapons(a.w);
    EXPECT_EQ(a.g.LaserShots[0].Damage, 20);  // only the upgrade writes the damage in flight
}

TEST(WeaponsVolley, GunEnergyGatesEveryLaunch) {
    Armed a;
    a.p.HasRockets = 1;
    a.g.WeaponEnergy = 10;
    UpdateWeapons(a.w);
    EXPECT_EQ(a.g.WeaponEnergy, 8);
    EXPECT_EQ(CountActive(a.g.LaserShots), 1);
    EXPECT_EQ(CountActive(a.g.RocketShots), 2);

    Armed b;
    b.p.HasRockets = 1;
    b.g.WeaponEnergy = 9;
    UpdateWeapons(b.w);
    EXPECT_EQ(b.g.WeaponEnergy, 9);
    EXPECT_EQ(b.g.ReloadTimer, 15);
    EXPECT_EQ(CountActive(b.g.LaserShots), 0);
    EXPECT_EQ(CountActive(b.g.RocketShots), 0);
}

TEST(WeaponsVolley, SoundsDependOnLaserUpgradeAndDiagonalBalls) {
    struct Case { uint8_t good, diagonal; bool laser, goodLaser, other; };
    Armed a;
    for (Case c : {Case{0, 0, true, false, false}, Case{1, 0, false, true, false}, Case{0, 1, true, false, true},
                   Case{1, 1, false, false, true}}) {
        a.w.shell.SoundEnabled = 1;
        a.g.FireHeld = 1;
        a.g.ReloadTimer = 15;
        a.g.VolleyTick = 10;
        a.p.HasGoodLaser = c.good;
        a.p.HasDiagonalBalls = c.diagonal;
        StopAllSounds(a.w);
        UpdateWeapons(a.w);
        EXPECT_EQ(SoundStarted(a.w, "Laser"), c.laser) << int(c.good) << int(c.diagonal);
        EXPECT_EQ(SoundStarted(a.w, "GoodLaser"), c.goodLaser) << int(c.good) << int(c.diagonal);
        EXPECT_EQ(SoundStarted(a.w, "Ostatni"), c.other) << int(c.good) << int(c.diagonal);
    }
    EXPECT_EQ(CountActive(a.g.LaserShots), 4);
    a.w.shell.SoundEnabled = 0;
    a.p.HasGoodLaser = a.p.HasDiagonalBalls = 0;
    a.g.FireHeld = 1;
    a.g.ReloadTimer = 15;
    a.g.VolleyTick = 10;
    StopAllSounds(a.w);
    UpdateWeapons(a.w);
    EXPECT_FALSE(SoundStarted(a.w, "Laser"));
    EXPECT_EQ(CountActive(a.g.LaserShots), 5);
}

// Frame numbers (from the first frame with fire held) on which each array
// got a new shot, running the ship and the weapons as the game frame does.
struct Launches {
    std::vector<int> laser, rocket, sideBall, bomb;
};

Launches HoldFire(Armed& a, int frames) {
    Launches out;
    a.g.FireHeld = 0;
    a.t.platform->heldKeys.set(size_t(GameKey::Space));
    for (int f = 0; f < frames; ++f) {
        const int rockets = CountActive(a.g.RocketShots);
        const int balls = CountActive(a.g.SideBallShots), bombs = CountActive(a.g.BombShots);
        UpdatePlayerShip(a.w);
        UpdateWeapons(a.w);
        for (const ShotRecord& s : a.g.LaserShots) {
            if (s.Active && s.Y == a.p.PlayerY - 10) {
                out.laser.push_back(f);
                break;
            }
        }
        if (CountActive(a.g.RocketShots) > rockets) out.rocket.push_back(f);
        if (CountActive(a.g.SideBallShots) > balls) out.sideBall.push_back(f);
        if (CountActive(a.g.BombShots) > bombs) out.bomb.push_back(f);
    }
    return out;
}

TEST(WeaponsRhythm, HeldFireLaunchesLaserRocketsAndBallsEvery16Frames) {
    Armed a;
    a.p.HasRockets = a.p.HasSideBalls = 1;
    a.g.VolleyTick = 5;
    a.g.RocketTick = 0;
    a.g.BallTick = 0;
    const Launches l = HoldFire(a, 50);
    const std::vector<int> expected{0, 16, 32, 48};
    EXPECT_EQ(l.laser, expected);
    EXPECT_EQ(l.rocket, expected);
    EXPECT_EQ(l.sideBall, expected);
    EXPECT_EQ(a.g.WeaponEnergy, 110 - 2 * 4);
}

TEST(WeaponsRhythm, BombsKeepTheirOwnCycle) {
    // The bomb counter advances on every wrap of the volley counter (twice in
    // each 16-frame volley period) and counts 1..11; a bomb drops only when a
    // volley finds it at 10, which happens every eleventh volley.
    Armed a;
    a.p.HasBombs = 1;
    a.p.PlayerY = 495;  // bombs rise one pixel a frame and must outlive the run
    a.g.BombTick = 10;
    const Launches l = HoldFire(a, 400);
    EXPECT_EQ(l.bomb, (std::vector<int>{0, 176, 352}));
}

TEST(WeaponsRhythm, NoFreeLaserKeepsTheGateOpen) {
    Armed a;
    a.p.HasRockets = a.p.HasSideBalls = 1;
    for (ShotRecord& s : a.g.LaserShots) {
        s.Active = 1;
        s.Y = 100000;
    }
    const Launches l = HoldFire(a, 100);
    EXPECT_EQ(a.g.ReloadTimer, 15);
    EXPECT_EQ(a.g.FireHeld, 1);
    EXPECT_EQ(a.g.WeaponEnergy, 110);
    EXPECT_EQ(l.rocket, (std::vector<int>{0, 33, 66, 99}));
    EXPECT_EQ(l.sideBall, (std::vector<int>{0, 22, 44, 66, 88}));
}

TEST(WeaponsRhythm, NothingLaunchesBelowTenGunEnergy) {
    Armed a;
    a.p.HasRockets = a.p.HasSideBalls = 1;
    a.g.WeaponEnergy = 14;
    const Launches l = HoldFire(a, 80);
    EXPECT_EQ(l.laser, (std::vector<int>{0, 16, 32}));
    EXPECT_EQ(l.rocket, (std::vector<int>{0, 16, 32}));
    EXPECT_EQ(a.g.WeaponEnergy, 8);
}

TEST(WeaponsShots, FlightAndRemoval) {
    Armed a;
    a.g.FireHeld = 0;
    ShotRecord& diagonal = a.g.DiagonalBallShots[3];
    diagonal = ShotRecord{60, 300, 0, 0, 20, 1, 1};
    ShotRecord& side = a.g.SideBallShots[0];
    side = ShotRecord{790, 200, 0, 0, 20, 2, 1};
    ShotRecord& rocket = a.g.RocketShots[0];
    rocket = ShotRecord{100, -5, 0, 0, 40, 0, 1};
    ShotRecord& laser = a.g.LaserShots[0];
    laser = ShotRecord{100, 0, 0, 0, 10, 0, 1};
    ShotRecord& bomb = a.g.BombShots[0];
    bomb = ShotRecord{100, 1, 100, 1, 100, 0, 1};

    UpdateWeapons(a.w);
    EXPECT_EQ(side.X, 800);
    EXPECT_EQ(side.Active, 1);  // 800 is not beyond the edge yet
    EXPECT_EQ(rocket.Y, -10);
    EXPECT_EQ(rocket.Active, 1);
    EXPECT_EQ(laser.Y, -10);
    EXPECT_EQ(laser.Active, 1);
    EXPECT_EQ(bomb.Y, 0);
    EXPECT_EQ(bomb.Active, 1);

    UpdateWeapons(a.w);
    EXPECT_EQ(side.Active, 0);
    EXPECT_EQ(rocket.Active, 0);
    EXPECT_EQ(laser.Active, 0);
    EXPECT_EQ(bomb.Active, 0);

    // A diagonal ball from x 60 going left ends on its 13th frame, 130 higher.
    for (int f = 3; f <= 12; ++f) UpdateWeapons(a.w);
    EXPECT_EQ(diagonal.X, 0);
    EXPECT_EQ(diagonal.Active, 1);
    UpdateWeapons(a.w);
    EXPECT_EQ(diagonal.X, -5);
    EXPECT_EQ(diagonal.Y, 170);
    EXPECT_EQ(diagonal.Active, 0);

    // Above the top a diagonal ball flies on until its x leaves the screen.
    ShotRecord& high = a.g.DiagonalBallShots[0];
    high = ShotRecord{400, -50, 0, 0, 20, 2, 1};
    for (int f = 0; f < 20; ++f) UpdateWeapons(a.w);
    EXPECT_EQ(high.Active, 1);
    EXPECT_EQ(high.Y, -250);
}

TEST(WeaponsWingmanBolts, DockedWingmenFireBesideTheLaser) {
    Armed a;
    a.p.HasGoodLaser = 1;
    a.g.Wingmen[0] = {475, 320, 2, 0};
    a.g.Wingmen[1] = {245, 320, 2, 0};
    a.g.LaserShots[0] = ShotRecord{1, 5000, 0, 0, 10, 0, 1};
    // The elements after the laser are taken even when they are in flight.
    a.g.LaserShots[2] = ShotRecord{1, 4000, 0, 0, 10, 0, 1};
    UpdateWeapons(a.w);
    const ShotRecord& own = a.g.LaserShots[1];
    const ShotRecord& first = a.g.LaserShots[2];
    const ShotRecord& second = a.g.LaserShots[3];
    EXPECT_EQ(own.X, 400);
    EXPECT_EQ(own.Y, 290);
    EXPECT_EQ(first.Active, 1);
    EXPECT_EQ(first.X, 517);
    EXPECT_EQ(first.Y, 327);
    EXPECT_EQ(first.Damage, 20);
    EXPECT_EQ(second.Active, 1);
    EXPECT_EQ(second.X, 287);
    EXPECT_EQ(second.Y, 327);
    EXPECT_EQ(a.g.WeaponEnergy, 108);  // the wingmen's bolts cost nothing

    // A wingman still flying in does not fire.
    Armed b;
    b.g.Wingmen[0] = {475, 700, 1, 0};
    b.g.Wingmen[1] = {245, 320, 2, 0};
    UpdateWeapons(b.w);
    EXPECT_EQ(b.g.LaserShots[1].Active, 0);
    EXPECT_EQ(b.g.LaserShots[2].X, 287);
}

TEST(WeaponsWingmanBolts, BoltsPastTheEndOfTheArrayAreDropped) {
    for (int freeIndex : {18, 19}) {
        Armed a;
        a.g.Wingmen[0] = {475, 320, 2, 0};
        a.g.Wingmen[1] = {245, 320, 2, 0};
        for (int i = 0; i < kShotCount; ++i) {
            a.g.LaserShots[i] = ShotRecord{i, 5000, 0, 0, 10, 0, uint8_t(i == freeIndex ? 0 : 1)};
        }
        UpdateWeapons(a.w);
        EXPECT_EQ(a.g.LaserShots[freeIndex].X, 400);
        EXPECT_EQ(a.g.LaserShots[freeIndex].Y, 290);
        if (freeIndex == 18) {
            EXPECT_EQ(a.g.LaserShots[19].X, 517);  // the first bolt still fits
        } else {
            EXPECT_EQ(a.g.LaserShots[18].X, 18);   // nothing else overwritten
        }
        EXPECT_EQ(a.g.WeaponEnergy, 108);
    }
}

// Pixels of a laser bolt as the hit tests expect them: strokes from Y - 37
// up to Y - 52 at X - 23 (and two more columns with the upgrade) and at
// X + 11 (X + 11..13 with the upgrade).
TEST(WeaponsLaserPixels, PlainAndUpgradedBoltsLieWhereHitsAreTested) {
    for (uint8_t good : {uint8_t(0), uint8_t(1)}) {
        Armed a(false);
        a.g.FireHeld = 0;
        a.p.HasGoodLaser = good;
        a.g.LaserShots[7] = ShotRecord{200, 300, 0, 0, 10, 0, 1};
        FillSurface(*a.w.media.back, 0);
        UpdateWeapons(a.w);
        const Surface& back = *a.w.media.back;
        const uint16_t colour = good ? RgbTo565(64, 220, 56) : RgbTo565(192, 44, 40);
        EXPECT_FALSE(back.locked);
        const std::vector<int> columns = good ? std::vector<int>{177, 178, 179, 211, 212, 213}
                                              : std::vector<int>{177, 211};
        int lit = 0;
        for (int y = 0; y < kSurfaceHeight; ++y) {
            for (int x = 0; x < kSurfaceWidth; ++x) {
                if (back.pixels[y][x] == 0) continue;
                ++lit;
                EXPECT_EQ(back.pixels[y][x], colour);
                EXPECT_GE(y, 248);
                EXPECT_LE(y, 263);
            }
        }
        for (int x : columns) {
            for (int y = 248; y <= 263; ++y) EXPECT_EQ(back.pixels[y][x], colour) << x << "," << y;
        }
        EXPECT_EQ(lit, int(columns.size()) * 16);
        if (good) {
            // The two points the hit tests sample on an upgraded bolt.
            EXPECT_EQ(back.pixels[300 - 52][200 - 23], colour);
            EXPECT_EQ(back.pixels[300 - 52][200 + 12], colour);
        }
    }
}

TEST(WeaponsLaserPixels, BoltsAtTheTopAreClipped) {
    Armed a(false);
    a.g.FireHeld = 0;
    a.p.HasGoodLaser = 1;
    a.g.LaserShots[0] = ShotRecord{2, 40, 0, 0, 10, 0, 1};
    FillSurface(*a.w.media.back, 0);
    UpdateWeapons(a.w);
    const Surface& back = *a.w.media.back;
    const uint16_t green = RgbTo565(64, 220, 56);
    // Rows 3 up to -12: only rows 0..3 of the right stroke (x 13..15) are on screen.
    for (int x = 0; x < 13; ++x) EXPECT_EQ(back.pixels[0][x], 0);
    EXPECT_EQ(back.pixels[0][13], green);
    EXPECT_EQ(back.pixels[3][15], green);
    EXPECT_EQ(back.pixels[4][13], 0);
}

}  // namespace
