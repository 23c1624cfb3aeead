// Level objects in play: entry and movement, strikes of the player's shots,
// bomb blasts, touching the ship and every pick-up, the commander's pause,
// enemy fire timing, enemy shots hitting the ship or being shot down.
#include "game/level_objects.h"

#include <gtest/gtest.h>

#include <vector>

#include "level_fixture.h"
#include "media/media_error.h"

using levelfixture::FramePixel;
using levelfixture::MakeLevelWorld;

namespace {

constexpr int kScroll = 5000;

struct Scene {
    TestWorld t = MakeLevelWorld();
    World& w() { return t.w(); }
    GameState& g() { return t.w().game; }
    Scene() { g().Progress.ScrollDistance = kScroll; }

    // An object in play with its top-left corner at screen (x, sy).
    LevelObject& Object(int slot, int picture, int x, int sy, int32_t energy, int32_t score = 0) {
        LevelObject& o = g().LevelObjects[slot];
        o = LevelObject{};
        o.Picture = uint8_t(picture);
        o.X = x;
        o.Y = kScroll - sy;
        o.Energy = energy;
        o.Score = score;
        o.Visible = 1;
        return o;
    }
    ShotRecord& Laser(int index, int x, int y, int damage) {
        ShotRecord& s = g().LaserShots[index];
        s = ShotRecord{};
        s.X = x;
        s.Y = y;
        s.Damage = damage;
        s.Active = 1;
        return s;
    }
    ShotRecord& Bomb(int index, int x, int y, int startY) {
        ShotRecord& s = g().BombShots[index];
        s = ShotRecord{};
        s.X = s.StartX = x;
        s.Y = y;
        s.StartY = startY;
        s.Damage = 100;
        s.Active = 1;
        return s;
    }
    EnemyShotRecord& EnemyShot(int index, int kind, int x, int ssy, int damage, int speed = 0) {
        EnemyShotRecord& e = g().EnemyShots[index];
        e = EnemyShotRecord{};
        e.Kind = uint8_t(kind);
        e.X = x;
        e.Y = kScroll - ssy;
        e.Damage = damage;
        e.Speed = int8_t(speed);
        e.Active = 1;
        e.BurstFrame = -1;
        return e;
    }
    // The ship has arrived and sits with its reference point at (400, 300):
    // its touch samples cover x 363..433 and y 275..345.
    void ShipReady() {
        g().ArrivalWidth = 70;
        g().Progress.PlayerX = 400;
        g().Progress.PlayerY = 300;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) UpdateLevelObjects(w());
    }
};

TEST(LevelObjectStrikes, ExactlyZeroEnergyStandsAndOneMorePointDestroysAndScoresOnce) {
    Scene s;
    LevelObject& o = s.Object(1, 3, 300, 200, 10, 40);
    // The left beam's tip (X - 23, Y - 52) lands at (307, 210), inside.
    ShotRecord& first = s.Laser(0, 330, 262, 10);
    s.Frames(1);
    EXPECT_EQ(first.Active, 0);
    EXPECT_EQ(o.Energy, 0);
    EXPECT_EQ(o.Visible, 1);
    EXPECT_EQ(o.Hit, 1);
    EXPECT_EQ(s.g().Progress.Score, 0);

    s.Laser(1, 330, 262, 1);
    s.Frames(1);
    EXPECT_EQ(o.Energy, -1);
    EXPECT_EQ(o.Visible, 0);
    EXPECT_EQ(s.g().Progress.Score, 40);
    // The explosion plays out and the score is never added again.
    s.Laser(2, 330, 262, 10);
    s.Frames(40);
    EXPECT_EQ(s.g().Progress.Score, 40);
    EXPECT_EQ(o.Hit, 0);
    EXPECT_EQ(s.g().LaserShots[2].Active, 1);
}

TEST(LevelObjectStrikes, SecondLaserOfTheSameFrameIsNotSpentOnADestroyedObject) {
    Scene s;
    LevelObject& o = s.Object(1, 3, 300, 200, 5, 40);
    ShotRecord& a = s.Laser(0, 330, 262, 10);
    // The right beam's tip (X + 12, Y - 52) lands at (322, 220), inside.
    ShotRecord& b = s.Laser(1, 310, 272, 10);
    s.Frames(1);
    EXPECT_EQ(a.Active, 0);
    EXPECT_EQ(b.Active, 1);
    EXPECT_EQ(o.Visible, 0);
    EXPECT_EQ(s.g().Progress.Score, 40);
}

TEST(LevelObjectStrikes, OrbsWearOnlyOrdinaryObjectsEggBeamsBurnAndDiscsTakeAFixedAmount) {
    Scene s;
    LevelObject& craft = s.Object(1, 3, 100, 200, 1000);
    LevelObject& box = s.Object(2, 8, 500, 200, 150);
    box.Content = 3;
    ShotRecord& orbOnCraft = s.g().ShieldOrbs[0];
    orbOnCraft = {110, 210, 0, 0, 300, 0, 1};
    ShotRecord& orbOnBox = s.g().ShieldOrbs[1];
    orbOnBox = {510, 210, 0, 0, 300, 0, 1};
    ShotRecord& disc = s.g().HomingDiscs[2][5];
    disc = {120, 220, 0, 0, 0, 3, 1};
    s.Frames(1);
    EXPECT_EQ(orbOnCraft.Active, 0);
    EXPECT_EQ(orbOnBox.Active, 1);
    EXPECT_EQ(box.Energy, 150);
    EXPECT_EQ(disc.Active, 0);
    EXPECT_EQ(craft.Energy, 1000 - 300 - 150);

    // A sweeping beam crossing the object takes 3 a frame and goes on.
    ShotRecord& beam = s.g().EggBeams[0];
    beam = {0, 220, 0, 0, 0, 3, 1};
    s.Frames(3);
    EXPECT_EQ(craft.Energy, 550 - 9);
    EXPECT_EQ(beam.Active, 1);
    beam.Mode = 2;  // still charging: harmless
    s.Frames(1);
    EXPECT_EQ(craft.Energy, 541);
}

TEST(LevelObjectStrikes, AWreckOfThisFrameTakesNoOrbDiscOrBeamAndScoresOnce) {
    Scene s;
    LevelObject& o = s.Object(1, 3, 100, 200, 5, 40);
    s.Laser(0, 130, 262, 10);  // left tip at (107, 210): destroys it
    ShotRecord& orb = s.g().ShieldOrbs[0];
    orb = {110, 210, 0, 0, 300, 0, 1};
    ShotRecord& disc = s.g().HomingDiscs[0][0];
    disc = {120, 220, 0, 0, 0, 3, 1};
    ShotRecord& beam = s.g().EggBeams[0];
    beam = {0, 220, 0, 0, 0, 3, 1};
    s.Frames(1);
    EXPECT_EQ(o.Visible, 0);
    EXPECT_EQ(o.Energy, -5);
    EXPECT_EQ(s.g().Progress.Score, 40);
    EXPECT_EQ(orb.Active, 1);
    EXPECT_EQ(disc.Active, 1);
}

TEST(LevelObjectDrawing, BoxesShowWhatTheyHoldAndTheBlackBoxBlinks) {
    Scene s;
    GameState& g = s.g();
    g.LifeAnimFrame = 2;
    g.LifeTakenShift = 0;
    g.BlinkTick = 0;
    g.BlinkFrame = 1;
    g.ExplosionTick = 0;
    s.Object(1, 8, 100, 100, 150).Content = 3;    // item 3
    s.Object(2, 8, 300, 100, 150).Content = 8;    // mystery box
    s.Object(3, 8, 500, 100, 150).Content = 103;  // sideways balls
    s.Object(4, 8, 100, 300, 150).Content = 9;    // extra life
    s.Object(5, 14, 300, 300, 9).Content = 14;    // black box
    auto& px = s.w().media.back->pixels;
    FillSurface(*s.w().media.back, 0);
    s.Frames(1);
    using namespace levelfixture;
    // The box itself, and the overlay at (X + 13, sy + 14).
    EXPECT_EQ(px[101][101], FramePixel(RaketyColour(8), 0));
    EXPECT_EQ(px[114][113], FramePixel(kSpecialColour, 2));
    EXPECT_EQ(px[113][112], FramePixel(RaketyColour(8), 0));
    EXPECT_EQ(px[114][313], FramePixel(kSpecialColour, 7));
    EXPECT_EQ(px[114][513], FramePixel(kIconGunsColour, 3));
    // The extra life shows only its own picture, frame LifeAnimFrame.
    EXPECT_EQ(px[301][101], 0);
    EXPECT_EQ(px[314][113], FramePixel(kZivotColour, 2));
    // The black box is overdrawn by its blink frame.
    EXPECT_EQ(px[310][310], FramePixel(RaketyColour(14), 1));
    // The blink frame changes every 41 frames.
    for (int frame = 2; frame <= 41; ++frame) {
        s.Frames(1);
        ASSERT_EQ(px[310][310], FramePixel(RaketyColour(14), 1)) << frame;
    }
    s.Frames(1);
    EXPECT_EQ(px[310][310], FramePixel(RaketyColour(14), 0));
}

// Which frame of a picture of the given colour shows in the part of the
// back surface from (left, top) to (right, bottom), or -1 for none.
int FrameShown(World& w, uint32_t colour, int frames, int left, int top, int right, int bottom) {
    const auto& px = w.media.back->pixels;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            for (int f = 0; f < frames; ++f)
                if (px[y][x] == FramePixel(colour, f)) return f;
    return -1;
}

TEST(LevelObjectExplosions, WreckExplodesCentredOverFourPeriodsWithOneBang) {
    Scene s;
    levelfixture::LoadSounds(s.w());
    s.g().ExplosionTick = 0;
    LevelObject& o = s.Object(1, 21, 300, 200, 5, 10);  // 41 x 37
    s.Laser(0, 330, 262, 10);
    std::vector<int> shown;
    int bangs = 0, bangFrame = 0;
    for (int frame = 1; frame <= 26; ++frame) {
        FillSurface(*s.w().media.back, 0);
        SilenceAll(s.w());
        s.Frames(1);
        shown.push_back(FrameShown(s.w(), levelfixture::kVelkybumColour, 6, 320, 218, 320, 218));
        if (SoundStarted(s.w(), "Vybuch")) {
            ++bangs;
            bangFrame = frame;
        }
        if (frame == 1) {
            // Centred: (41 - 100) / 2 = -29 and (37 - 100) / 2 = -31, both
            // truncated toward zero.
            auto& px = s.w().media.back->pixels;
            EXPECT_EQ(px[200 - 31][300 - 29], FramePixel(levelfixture::kVelkybumColour, 0));
            EXPECT_EQ(px[200 - 31][300 - 30], 0);
            EXPECT_EQ(px[200 - 32][300 - 29], 0);
        }
    }
    // Frames 0..3 for six frames each (the tick starts at 0), then nothing.
    std::vector<int> expected;
    for (int f = 0; f < 4; ++f) expected.insert(expected.end(), 6, f);
    expected.insert(expected.end(), 2, -1);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(bangs, 1);
    EXPECT_EQ(bangFrame, 6);
    EXPECT_EQ(o.Hit, 0);
    EXPECT_EQ(s.g().Progress.Score, 10);
}

TEST(LevelObjectExplosions, HitObjectSparksTwoPeriodsAndStaysSilent) {
    Scene s;
    levelfixture::LoadSounds(s.w());
    s.g().ExplosionTick = 0;
    LevelObject& o = s.Object(1, 3, 300, 200, 100);
    s.Laser(0, 330, 262, 10);
    std::vector<int> shown;
    for (int frame = 1; frame <= 14; ++frame) {
        FillSurface(*s.w().media.back, 0);
        SilenceAll(s.w());
        s.Frames(1);
        // Anywhere on the craft (54 x 42), less 12.
        shown.push_back(FrameShown(s.w(), levelfixture::kMalyBumColour, 3, 288, 188, 365, 253));
        EXPECT_FALSE(SoundStarted(s.w(), "Vybuch"));
    }
    std::vector<int> expected(6, 1);
    expected.insert(expected.end(), 6, 2);
    expected.insert(expected.end(), 2, -1);
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(o.Visible, 1);
    EXPECT_EQ(o.Energy, 90);
}

TEST(LevelObjectBlasts, BlastDamageFallsWithTheSquareOfTheDistance) {
    Scene s;
    LevelObject& struck = s.Object(1, 0, 300, 200, 1000, 15);
    LevelObject& far = s.Object(2, 0, 410, 210, 150);
    LevelObject& near = s.Object(3, 0, 260, 210, 500);
    LevelObject& beyond = s.Object(4, 0, 510, 210, 150);
    s.Bomb(0, 310, 210, 210);
    s.Frames(1);
    EXPECT_EQ(s.g().BombShots[0].Active, 0);
    EXPECT_EQ(far.Energy, 50);    // 100 pixels: 100
    EXPECT_EQ(near.Energy, 100);  // 50 pixels: 400
    EXPECT_EQ(beyond.Energy, 150);
    EXPECT_EQ(struck.Visible, 0);
    EXPECT_EQ(s.g().Progress.Score, 15);
    EXPECT_EQ(s.g().BlastFrame, 1);
    EXPECT_EQ(s.g().BlastX, 310);
    EXPECT_EQ(s.g().BlastY, 210);
}

TEST(LevelObjectBlasts, ObjectWithItsCornerOnTheBlastPointTakesTheDamageOfOnePixel) {
    Scene s;
    LevelObject& o = s.Object(1, 0, 300, 200, 2000000);
    s.Bomb(0, 300, 200, 200);
    s.Frames(1);
    EXPECT_EQ(o.Energy, 2000000 - 100 - 1000000);
    EXPECT_EQ(o.Visible, 1);
}

TEST(LevelObjectBlasts, BombGoesOffMoreThan200PixelsAboveItsLaunch) {
    Scene s;
    // Waiting above the screen: not in play, so nothing is hurt.
    LevelObject& waiting = s.g().LevelObjects[1];
    waiting.Picture = 0;
    waiting.X = 300;
    waiting.Y = kScroll + 300;
    waiting.Energy = 100;
    ShotRecord& bomb = s.Bomb(0, 300, 100, 300);  // risen exactly 200
    s.Frames(1);
    EXPECT_EQ(bomb.Active, 1);
    EXPECT_EQ(s.g().BlastFrame, 0);
    bomb.Y = 99;
    s.Frames(1);
    EXPECT_EQ(bomb.Active, 0);
    EXPECT_EQ(s.g().BlastFrame, 1);
    EXPECT_EQ(s.g().BlastX, 300);
    EXPECT_EQ(s.g().BlastY, 99);
    EXPECT_EQ(waiting.Energy, 100);

    // With something in play the bomb goes off in the objects' pass and its
    // blast hurts what is near: 150 pixels away loses 10000 * 100 / 22500.
    Scene t;
    LevelObject& o = t.Object(1, 0, 450, 99, 100);
    t.Bomb(0, 300, 99, 300);
    t.Frames(1);
    EXPECT_EQ(t.g().BombShots[0].Active, 0);
    EXPECT_EQ(o.Energy, 100 - 44);
}

TEST(LevelObjectBlasts, TheOneBlastRunsItsFramesAndEnds) {
    Scene s;
    levelfixture::LoadSounds(s.w());
    s.g().ExplosionTick = 0;
    s.Bomb(0, 300, 99, 300);
    auto& px = s.w().media.back->pixels;
    FillSurface(*s.w().media.back, 0);
    s.Frames(1);
    ASSERT_EQ(s.g().BlastFrame, 1);
    // The shock wave at (X - 78, Y - 70) over the explosion at (X - 33, Y - 25),
    // whose lowest rows show below the wave.
    using levelfixture::kVelkybumColour;
    using levelfixture::kVlnaColour;
    EXPECT_EQ(px[99 - 70][300 - 78], FramePixel(kVlnaColour, 1));
    EXPECT_EQ(px[99 - 70][300 - 79], 0);
    EXPECT_EQ(px[99 - 71][300 - 78], 0);
    EXPECT_EQ(px[99 + 74][300 - 33], FramePixel(kVelkybumColour, 1));
    EXPECT_EQ(px[99 + 74][300 - 34], 0);
    EXPECT_EQ(px[99 + 75][300 - 33], 0);
    // Frames advance in the frames where ExplosionTick is 5: 1 -> 0 takes
    // five steps of six frames; the ring sounds at the first step only.
    int frames = 1;
    std::vector<int> rings;
    while (s.g().BlastFrame != 0 && frames < 100) {
        SilenceAll(s.w());
        s.Frames(1);
        ++frames;
        if (SoundStarted(s.w(), "Prstenec")) rings.push_back(frames);
        if (frames == 7) {
            EXPECT_EQ(px[99 + 74][300 - 33], FramePixel(kVelkybumColour, 2));
        }
    }
    EXPECT_EQ(frames, 5 + 4 * 6 + 1);
    EXPECT_EQ(rings, std::vector<int>{6});
}

TEST(LevelObjectTouch, OrdinaryObjectHurtsTheShipAndExplodesWithoutScore) {
    Scene s;
    s.ShipReady();
    LevelObject& o = s.Object(1, 3, 380, 280, 50, 40);
    o.CollisionDamage = 25;
    s.Frames(1);
    EXPECT_EQ(s.g().Progress.Energy, 75);
    EXPECT_EQ(s.g().ShipHitTimer, 1);
    EXPECT_EQ(o.Visible, 0);
    EXPECT_EQ(o.Energy, -1);
    EXPECT_EQ(o.Hit, 1);
    EXPECT_EQ(s.g().Progress.Score, 0);

    // Before the ship has arrived nothing touches it.
    Scene t;
    LevelObject& p = t.Object(1, 3, 380, 280, 50);
    p.CollisionDamage = 25;
    t.g().ArrivalWidth = 78;
    t.Frames(1);
    EXPECT_EQ(t.g().Progress.Energy, 100);
    EXPECT_EQ(p.Visible, 1);
}

TEST(LevelObjectTouch, ItemBoxWaitsWhileAllSlotsAreFull) {
    Scene s;
    s.ShipReady();
    auto& slots = s.g().Progress.ItemSlots;
    slots[1] = 1;
    slots[2] = 2;
    slots[3] = 4;
    LevelObject& box = s.Object(1, 8, 380, 280, 150);
    box.Content = 3;
    s.Frames(2);
    EXPECT_EQ(box.Visible, 1);
    EXPECT_EQ(box.Content, 3);
    EXPECT_EQ(slots[2], 2);
    slots[2] = 0;
    s.Frames(1);
    EXPECT_EQ(slots[2], 3);
    EXPECT_EQ(box.Visible, 0);
    EXPECT_EQ(box.Content, 255);
    EXPECT_EQ(box.Energy, 0);
}

TEST(LevelObjectTouch, MysteryBoxGivesAnItemOrTurnsIntoATrapInTheSameFrame) {
    int items = 0, traps = 0;
    for (uint32_t seed = 1; seed <= 24; ++seed) {
        Scene s;
        SeedRandom(s.w().random, seed);
        s.ShipReady();
        LevelObject& box = s.Object(1, 8, 380, 280, 150, 77);
        box.Content = 8;
        s.Frames(1);
        const int32_t slot = s.g().Progress.ItemSlots[1];
        if (slot != 0) {
            ++items;
            EXPECT_GE(slot, 1);
            EXPECT_LE(slot, 7);
            EXPECT_EQ(s.g().Progress.Energy, 100);
            EXPECT_EQ(box.Visible, 0);
            EXPECT_EQ(box.Content, 255);
        } else {
            ++traps;
            EXPECT_EQ(s.g().Progress.Energy, 70);
            EXPECT_EQ(s.g().ShipHitTimer, 1);
            EXPECT_EQ(box.Visible, 0);
            EXPECT_EQ(box.Hit, 1);
            EXPECT_EQ(s.g().Progress.Score, 0);
        }
    }
    EXPECT_GT(items, 0);
    EXPECT_GT(traps, 0);

    // With full slots it does nothing at all.
    Scene s;
    s.ShipReady();
    for (int i = 1; i <= 3; ++i) s.g().Progress.ItemSlots[i] = 5;
    LevelObject& box = s.Object(1, 8, 380, 280, 150);
    box.Content = 8;
    s.Frames(3);
    EXPECT_EQ(box.Content, 8);
    EXPECT_EQ(box.Visible, 1);
    EXPECT_EQ(s.g().Progress.Energy, 100);
}

TEST(LevelObjectTouch, ExtraLifeStartsOneRefillAndClosesAfterItsFrames) {
    Scene s;
    s.ShipReady();
    s.g().ExplosionTick = 0;
    s.g().LifeAnimFrame = 0;
    LevelObject& box = s.Object(1, 8, 380, 280, 150);
    box.Content = 9;
    s.Frames(1);
    EXPECT_EQ(s.g().EnergyRefill, 100);
    EXPECT_EQ(s.g().LifeTakenShift, 3);
    s.g().EnergyRefill = 0;
    // Touching it during its closing frames does nothing more.
    s.Frames(17);
    EXPECT_EQ(box.Visible, 1);
    EXPECT_EQ(s.g().EnergyRefill, 0);
    EXPECT_EQ(s.g().LifeAnimFrame, 3);
    s.Frames(1);
    EXPECT_EQ(box.Visible, 0);
    EXPECT_EQ(box.Content, 255);
    EXPECT_EQ(box.Energy, 0);
    EXPECT_EQ(s.g().LifeTakenShift, 0);
    EXPECT_EQ(s.g().LifeAnimFrame, 0);
    EXPECT_EQ(s.g().EnergyRefill, 0);
}

TEST(LevelObjectTouch, WeaponAndBlackBoxes) {
    Scene s;
    s.ShipReady();
    LevelObject& weapon = s.Object(1, 8, 380, 280, 150);
    weapon.Content = 102;
    s.Frames(1);
    EXPECT_EQ(s.g().Progress.HasRockets, 1);
    EXPECT_EQ(s.g().Progress.LastWeapon, 2);
    EXPECT_EQ(weapon.Visible, 0);

    s.g().Progress.BlackBoxCount = 4;
    LevelObject& black = s.Object(2, 14, 380, 280, 9);
    black.Content = 14;
    s.Frames(1);
    EXPECT_EQ(s.g().Progress.BlackBoxCount, 5);
    EXPECT_EQ(s.g().Progress.Score, 20);
    EXPECT_EQ(black.Visible, 0);
    EXPECT_EQ(black.Content, 255);
    s.Frames(10);
    EXPECT_EQ(s.g().Progress.BlackBoxCount, 5);
}

TEST(LevelObjectTouch, EveryPickUpIsHeard) {
    Scene s;
    levelfixture::LoadSounds(s.w());
    s.ShipReady();
    GameState& g = s.g();
    auto touch = [&](int slot, int picture, int content) -> LevelObject& {
        LevelObject& o = s.Object(slot, picture, 380, 280, 150);
        o.Content = uint8_t(content);
        SilenceAll(s.w());
        s.Frames(1);
        return o;
    };
    touch(1, 8, 3);
    EXPECT_TRUE(SoundStarted(s.w(), "Box"));
    EXPECT_EQ(g.Progress.ItemSlots[1], 3);
    // With every slot taken an item box stays silent.
    g.Progress.ItemSlots[2] = g.Progress.ItemSlots[3] = 1;
    LevelObject& waiting = touch(2, 8, 5);
    EXPECT_FALSE(SoundStarted(s.w(), "Box"));
    EXPECT_EQ(waiting.Visible, 1);
    waiting.Visible = 0;
    // A weapon box does not care about the item slots.
    LevelObject& weapon = touch(3, 8, 101);
    EXPECT_TRUE(SoundStarted(s.w(), "BoxGun"));
    EXPECT_EQ(g.Progress.HasDiagonalBalls, 1);
    EXPECT_EQ(weapon.Visible, 0);
    touch(4, 14, 14);
    EXPECT_TRUE(SoundStarted(s.w(), "Baterie"));
    touch(5, 8, 9);
    EXPECT_TRUE(SoundStarted(s.w(), "Lifepack"));
    SilenceAll(s.w());
    s.Frames(1);
    EXPECT_FALSE(SoundStarted(s.w(), "Lifepack"));
}

TEST(WeaponBoxOffer, MissedBoxComesBackInTheNextBandUnlessTheFinishIsNear) {
    struct Case {
        int32_t levelEnd;
        bool offered;
    };
    for (Case c : {Case{12800, true}, Case{kScroll + 1201, true}, Case{kScroll + 1200, false},
                   Case{kScroll - 1200, false}, Case{kScroll + 800, false}}) {
        Scene s;
        s.g().Progress.Level = 3;
        s.g().Progress.LevelEnd = c.levelEnd;
        LevelObject& box = s.Object(1, 8, 300, 100, 150);
        box.Content = 101;
        s.Frames(1);
        EXPECT_EQ(s.g().Progress.WeaponPickupState[2], 1);
        // Shot away: the slot is no longer in play.
        box.Visible = 0;
        LevelObject& spent = s.g().LevelObjects[2];
        ASSERT_EQ(spent.X, -1);
        spent.Score = 999;
        spent.CollisionDamage = 77;
        spent.ShotDamage = 12;
        spent.Fires = 1;
        s.Frames(1);
        if (!c.offered) {
            EXPECT_EQ(s.g().Progress.WeaponPickupState[2], 1) << c.levelEnd;
            EXPECT_EQ(spent.X, -1);
            continue;
        }
        EXPECT_EQ(s.g().Progress.WeaponPickupState[2], 0);
        EXPECT_EQ(spent.Content, 101);
        EXPECT_EQ(spent.Picture, 8);
        EXPECT_EQ(spent.Energy, 9);
        EXPECT_EQ(spent.Speed, 0);
        EXPECT_EQ(spent.Visible, 0);
        EXPECT_EQ(spent.Score, 0);
        EXPECT_EQ(spent.CollisionDamage, 0);
        EXPECT_EQ(spent.ShotDamage, 0);
        EXPECT_EQ(spent.Fires, 0);
        // 5000 div 600 = 8: the band 5400..6000, less the box's height.
        EXPECT_GE(spent.Y, 5400 + 50);
        EXPECT_LE(spent.Y, 5999);
        EXPECT_GE(spent.X, 5);
        EXPECT_LE(spent.X, 734);
    }
}

TEST(WeaponBoxOffer, NeverAgainOnceTheWeaponIsTakenAndDescendingInCityLevels) {
    Scene s;
    s.g().Progress.LevelEnd = 12800;
    s.g().Progress.WeaponPickupState[5] = 1;
    s.g().Progress.HasBombs = 1;
    s.Frames(2);
    EXPECT_EQ(s.g().LevelObjects[1].X, -1);
    EXPECT_EQ(s.g().Progress.WeaponPickupState[5], 1);

    Scene t;
    t.g().Progress.Level = 8;
    t.g().Progress.LevelEnd = 12800;
    t.g().Progress.WeaponPickupState[4] = 1;
    t.Frames(1);
    EXPECT_EQ(t.g().LevelObjects[1].Content, 103);
    EXPECT_EQ(t.g().LevelObjects[1].Speed, 1);
    EXPECT_EQ(t.g().Progress.WeaponPickupState[4], 0);
}

TEST(LevelObjectPass, ObjectsAreFrozenWhileTheCommanderSpeaks) {
    Scene s;
    s.ShipReady();
    s.g().CommanderStep = 1;
    FillSurface(*s.w().media.back, 0);
    LevelObject& o = s.Object(1, 3, 100, 100, 100);
    o.Speed = 2;
    o.Fires = 1;
    o.FireInterval = 1;
    ShotRecord& laser = s.Laser(0, 130, 162, 10);
    // An object coming in over the top edge.
    LevelObject& entering = s.g().LevelObjects[2];
    entering.Picture = 0;
    entering.X = 500;
    entering.Y = kScroll + 10;
    entering.Energy = 10;
    // An enemy shot already flying still moves and hits.
    EnemyShotRecord& shot = s.EnemyShot(0, 0, 396, 296, 7, 3);
    EnemyShotRecord& mover = s.EnemyShot(1, 0, 600, 100, 7, 3);
    s.Frames(1);
    EXPECT_EQ(laser.Active, 1);
    EXPECT_EQ(o.Energy, 100);
    EXPECT_EQ(o.Y, kScroll - 100 - 2);
    EXPECT_EQ(s.w().media.back->pixels[105][105], 0);
    EXPECT_EQ(entering.Visible, 1);
    EXPECT_EQ(shot.Active, 0);
    EXPECT_EQ(s.g().Progress.Energy, 93);
    EXPECT_EQ(mover.Y, kScroll - 100 - 3);
    int fired = 0;
    for (const EnemyShotRecord& e : s.g().EnemyShots) fired += e.Active == 1 && e.X != 600;
    EXPECT_EQ(fired, 0);

    // Late in a level the briefing no longer holds anything back.
    s.g().Progress.ScrollDistance = 10401;
    o.Y = 10401 - 100;
    laser.Y = 162;
    s.Frames(1);
    EXPECT_EQ(laser.Active, 0);
    EXPECT_EQ(o.Energy, 90);
    EXPECT_NE(s.w().media.back->pixels[105][105], 0);
}

TEST(LevelObjectPass, EntryMovementAndSpentSlots) {
    Scene s;
    auto place = [&](int slot, int y, int energy, int speed) -> LevelObject& {
        LevelObject& o = s.g().LevelObjects[slot];
        o.Picture = 0;  // 40 x 40
        o.X = 100 + slot * 60;
        o.Y = y;
        o.Energy = energy;
        o.Speed = uint8_t(speed);
        return o;
    };
    LevelObject& in = place(1, kScroll + 39, 5, 0);
    LevelObject& notYet = place(2, kScroll + 40, 5, 0);
    LevelObject& edge = place(3, kScroll, 5, 0);
    LevelObject& dead = place(4, kScroll + 10, 0, 0);
    LevelObject& low = place(5, kScroll - 579, 5, 2);
    low.Visible = 1;
    LevelObject& gone = place(6, kScroll - 1200, 5, 2);
    s.Frames(1);
    EXPECT_EQ(in.Visible, 1);
    EXPECT_EQ(notYet.Visible, 0);
    EXPECT_EQ(edge.Visible, 0);
    EXPECT_EQ(dead.Visible, 0);
    EXPECT_EQ(low.Y, kScroll - 581);
    EXPECT_EQ(low.Visible, 0);
    EXPECT_EQ(gone.X, -1);
    EXPECT_EQ(gone.Y, kScroll - 1200);
    EXPECT_EQ(s.g().LevelObjects[7].X, -1);  // never used, and far behind
}

TEST(EnemyFire, IntervalFiftyFiresAtEveryFiftiethTickAndAgainOneFrameAfterTheWrap) {
    Scene s;
    s.g().FireClock = 0;
    LevelObject& o = s.Object(1, 4, 300, 100, 100);
    o.Fires = 1;
    o.FireInterval = 50;
    o.ShotKind = 0;
    o.ShotSpeed = 2;
    o.ShotDamage = 10;
    std::vector<int> firedAt;
    for (int frame = 0; frame < 1003; ++frame) {
        s.Frames(1);
        int active = 0;
        for (EnemyShotRecord& e : s.g().EnemyShots) {
            active += e.Active == 1;
            e.Active = 0;
        }
        if (active) firedAt.push_back(frame);
    }
    std::vector<int> expected;
    for (int t = 0; t <= 1000; t += 50) expected.push_back(t);
    expected.push_back(1001);
    EXPECT_EQ(firedAt, expected);
}

TEST(EnemyFire, TwoGunsSpreadAroundTheCentreNearTheBottomEdge) {
    Scene s;
    s.g().FireClock = 0;
    LevelObject& o = s.Object(1, 4, 300, 100, 100);  // 66 x 56
    o.Fires = 1;
    o.FireInterval = 90;
    o.ShotKind = 0;  // 8 x 16
    o.ShotSpeed = 2;
    o.ShotSpread = 18;
    o.ShotDamage = 12;
    s.Frames(1);
    const EnemyShotRecord& a = s.g().EnemyShots[0];
    const EnemyShotRecord& b = s.g().EnemyShots[1];
    ASSERT_EQ(a.Active, 1);
    ASSERT_EQ(b.Active, 1);
    EXPECT_EQ(a.X, 300 + 33 - 4 - 18);
    EXPECT_EQ(b.X, 300 + 33 - 4 + 18);
    // Five pixels above the bottom edge, then one frame of flight.
    EXPECT_EQ(a.Y, o.Y - 56 + 5 - 2);
    EXPECT_EQ(a.Damage, 12);
    EXPECT_EQ(a.BurstFrame, -1);
    EXPECT_EQ(s.g().EnemyShots[2].Active, 0);
}

TEST(EnemyShots, HitTheShipOnceItHasArrived) {
    Scene s;
    EnemyShotRecord& e = s.EnemyShot(0, 0, 396, 296, 15);
    s.Frames(1);
    EXPECT_EQ(e.Active, 1);  // still arriving
    EXPECT_EQ(s.g().Progress.Energy, 100);
    s.ShipReady();
    e.Y = kScroll - 296;
    s.Frames(1);
    EXPECT_EQ(e.Active, 0);
    EXPECT_EQ(s.g().Progress.Energy, 85);
    EXPECT_EQ(s.g().ShipHitTimer, 1);
}

TEST(EnemyShots, ShotDownShotsBurstForSixteenFramesButTheRedBeamCannotBeShotDown) {
    Scene s;
    // Kind 0 is 8 x 16: the laser tip (X - 23, Y - 52) at (404, 105).
    EnemyShotRecord& shot = s.EnemyShot(0, 0, 400, 100, 10, 2);
    ShotRecord& laser = s.Laser(0, 427, 157, 10);
    // Kind 1 is 2 x 26: the tip at (401, 410).
    EnemyShotRecord& beam = s.EnemyShot(1, 1, 400, 400, 10, 0);
    ShotRecord& laser2 = s.Laser(1, 424, 462, 10);
    s.Frames(1);
    EXPECT_EQ(laser.Active, 0);
    EXPECT_EQ(shot.BurstFrame, 1);
    EXPECT_EQ(shot.Y, kScroll - 100);  // a burst does not move
    EXPECT_EQ(laser2.Active, 1);
    EXPECT_EQ(beam.BurstFrame, -1);
    EXPECT_EQ(beam.Active, 1);
    s.Frames(14);
    EXPECT_EQ(shot.Active, 1);
    EXPECT_EQ(shot.BurstFrame, 15);
    s.Frames(1);
    EXPECT_EQ(shot.Active, 0);
    EXPECT_EQ(shot.BurstFrame, -1);
    // The beam is drawn as two red lines 26 pixels long.
    const uint16_t red = RgbTo565(168, 36, 40);
    EXPECT_EQ(s.w().media.back->pixels[400 + 12][400], red);
    EXPECT_EQ(s.w().media.back->pixels[400 + 12][401], red);
}

TEST(EnemyShots, ARedBeamSlipsBetweenTheShipsSamplesUnlessOneFallsInsideIt) {
    Scene s;
    s.ShipReady();
    // The ship is sampled every 4 pixels from x 363: a beam 2 wide is hit
    // only when its middle column (X + 1) is one of them.
    EnemyShotRecord& beam = s.EnemyShot(0, 1, 363, 290, 20, 0);
    for (int x : {363, 364, 365}) {
        beam.X = x;
        s.Frames(1);
        EXPECT_EQ(beam.Active, 1) << x;
        EXPECT_EQ(s.g().Progress.Energy, 100) << x;
    }
    beam.X = 366;
    s.Frames(1);
    EXPECT_EQ(beam.Active, 0);
    EXPECT_EQ(s.g().Progress.Energy, 80);
}

TEST(EnemyShots, ShotsLeaveOnceBelowTheScreen) {
    Scene s;
    EnemyShotRecord& e = s.EnemyShot(0, 0, 100, 599, 10, 2);
    s.Frames(1);
    EXPECT_EQ(e.Active, 1);
    EXPECT_EQ(kScroll - e.Y, 601);
    s.Frames(1);
    EXPECT_EQ(e.Active, 0);
    // Its slot is the first one an armed object fills next.
    LevelObject& gun = s.Object(1, 4, 300, 100, 100);
    gun.Fires = 1;
    gun.FireInterval = 1;
    s.Frames(1);
    EXPECT_EQ(e.Active, 1);
    EXPECT_EQ(e.X, 300 + 33 - 4);
}

TEST(EnemyShots, OnlyASweepingEggBeamBurstsShots) {
    // Kind 0 is 8 x 16; at screen y -8 it straddles the top edge, where a
    // beam that has finished its climb was left.
    for (uint8_t active : {uint8_t(0), uint8_t(1)}) {
        Scene s;
        EnemyShotRecord& shot = s.EnemyShot(0, 0, 400, -8, 10, 2);
        ShotRecord& beam = s.g().EggBeams[0];
        beam = {0, 0, 0, 0, 0, 3, active};
        s.Frames(1);
        if (active) {
            EXPECT_EQ(shot.BurstFrame, 1);
            EXPECT_EQ(beam.Active, 1);  // a beam is not used up
        } else {
            EXPECT_EQ(shot.BurstFrame, -1);
            EXPECT_EQ(shot.Y, kScroll + 8 - 2);
        }
    }
}

TEST(EnemyShots, BombThatShootsAShotDownBlastsEverythingInPlayNearby) {
    Scene s;
    LevelObject& o = s.Object(1, 0, 500, 100, 0);  // in play with no energy left
    s.EnemyShot(0, 0, 400, 100, 10, 0);
    // Point of the bomb box (X .. X + 32, Y .. Y + 46) inside the shot.
    s.Bomb(0, 395, 95, 95);
    s.g().CommanderStep = 1;  // keep the objects' own pass out of it
    s.Frames(1);
    EXPECT_EQ(s.g().BombShots[0].Active, 0);
    EXPECT_EQ(s.g().EnemyShots[0].BurstFrame, 1);
    EXPECT_EQ(s.g().BlastFrame, 1);
    EXPECT_EQ(o.Energy, -(100 * 10000) / (105 * 105 + 5 * 5));
}

TEST(LevelObjectPass, PictureMissingFromTheCollectionRaisesTheLookupError) {
    Scene s;
    s.Object(1, 200, 100, 100, 10);
    EXPECT_THROW(s.Frames(1), MediaError);

    Scene t;
    LevelObject& o = t.Object(1, 4, 100, 100, 10);
    o.Fires = 1;
    o.FireInterval = 1;
    o.ShotKind = 250;  // picture 273
    EXPECT_THROW(t.Frames(1), MediaError);
}

}  // namespace
