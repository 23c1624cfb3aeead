// The player's fighter: inertia and its asymmetric steps, the screen bounds,
// the arrival zoom, the fire gate, the item keys and every special item.
#include "game/player_ship.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

// A world without art; sounds off so nothing is looked up. The ship has
// finished its arrival zoom and sits in the middle of the screen.
struct Ship {
    TestWorld t = MakeTestWorld(false);
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = w.game.Progress;

    Ship() {
        w.shell.SoundEnabled = 0;
        g.ArrivalWidth = g.ArrivalHeight = 72;
    }
    void Hold(GameKey key) { t.platform->heldKeys.set(size_t(key)); }
    void Release(GameKey key) { t.platform->heldKeys.reset(size_t(key)); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) UpdatePlayerShip(w);
    }
};

bool SoundStarted(World& w, const char* name) {
    WaveItem& item = FindSound(w.media.Zvuky, name);
    if (item.mainVoice >= 0 && w.media.mixer->voices[item.mainVoice].playing) return true;
    for (int v : item.voices) {
        if (w.media.mixer->voices[v].playing) return true;
    }
    return false;
}

TEST(PlayerShipMovement, HoldingRightFromRestReachesTopSpeedThenAlternates) {
    Ship s;
    s.p.PlayerX = 100;
    s.Hold(GameKey::Right);
    s.Frames(35);
    EXPECT_EQ(s.p.SpeedX, 35);
    s.Frames(1);
    EXPECT_EQ(s.p.SpeedX, 36);
    // Steps 2 (speeds 1..5), 3 (6..10), 4 (11..22), 5 (23..27), 6 (28..35), 7 (36).
    EXPECT_EQ(s.p.PlayerX, 100 + 5 * 2 + 5 * 3 + 12 * 4 + 5 * 5 + 8 * 6 + 7);

    // At the limit the key changes nothing, so friction pulls back by one and
    // the next frame pushes up again; the ship keeps 7 pixels per frame.
    for (int i = 0; i < 6; ++i) {
        const int32_t before = s.p.PlayerX;
        s.Frames(1);
        EXPECT_EQ(s.p.SpeedX, i % 2 == 0 ? 35 : 36);
        EXPECT_EQ(s.p.PlayerX - before, 7);
    }
}

TEST(PlayerShipMovement, StepsPerSpeedAreAsymmetric) {
    // Speed 28..35 moves 6, above 35 moves 7.
    Ship s;
    s.p.PlayerX = 300;
    s.p.SpeedX = 27;
    s.Hold(GameKey::Right);
    s.Frames(1);
    EXPECT_EQ(s.p.PlayerX, 306);

    // Without keys the step comes from the speed before friction: 6 gives 3,
    // 5 gives 2 on the right; on the left -6 still gives 2 and -7 gives 3.
    struct Case { int32_t speed, moved; };
    for (Case c : {Case{6, 3}, Case{5, 2}, Case{-6, -2}, Case{-7, -3}, Case{-11, -4}, Case{11, 4}}) {
        Ship t;
        t.p.PlayerX = 300;
        t.p.SpeedX = c.speed;
        t.Frames(1);
        EXPECT_EQ(t.p.PlayerX - 300, c.moved) << "speed " << c.speed;
        EXPECT_EQ(t.p.SpeedX, c.speed > 0 ? c.speed - 1 : c.speed + 1);
    }
    // Vertical steps are symmetric: -6 moves 3 up.
    Ship v;
    v.p.SpeedY = -6;
    v.Frames(1);
    EXPECT_EQ(v.p.PlayerY, 297);
}

TEST(PlayerShipMovement, ReversingCutsSpeedToTen) {
    Ship s;
    s.p.PlayerX = 300;
    s.p.SpeedX = 30;
    s.Hold(GameKey::Left);
    s.Frames(1);
    EXPECT_EQ(s.p.SpeedX, 10);
    EXPECT_EQ(s.p.PlayerX, 303);  // still drifting right, at step 3

    Ship r;
    r.p.SpeedX = -30;
    r.Hold(GameKey::Right);
    r.Frames(1);
    EXPECT_EQ(r.p.SpeedX, -10);

    // Both keys: Left then Right, so the speed ends one above where it was.
    Ship both;
    both.p.SpeedX = 5;
    both.Hold(GameKey::Left);
    both.Hold(GameKey::Right);
    both.Frames(1);
    EXPECT_EQ(both.p.SpeedX, 5);
}

TEST(PlayerShipMovement, StoppingFromTopSpeedTakes36Frames) {
    Ship s;
    s.p.PlayerX = 100;
    s.p.SpeedX = 36;
    s.p.SpeedY = -23;
    s.Frames(35);
    EXPECT_EQ(s.p.SpeedX, 1);
    s.Frames(1);
    EXPECT_EQ(s.p.SpeedX, 0);
    EXPECT_EQ(s.p.SpeedY, 0);
    const int32_t x = s.p.PlayerX, y = s.p.PlayerY;
    s.Frames(5);
    EXPECT_EQ(s.p.PlayerX, x);
    EXPECT_EQ(s.p.PlayerY, y);
}

TEST(PlayerShipMovement, BoundsAreTestedBeforeTheStep) {
    Ship right;
    right.p.PlayerX = 761;
    right.p.SpeedX = 36;
    right.Hold(GameKey::Right);
    right.Frames(1);
    EXPECT_EQ(right.p.PlayerX, 768);
    right.Frames(5);
    EXPECT_EQ(right.p.PlayerX, 768);

    Ship left;
    left.p.PlayerX = 46;
    left.p.SpeedX = -36;
    left.Hold(GameKey::Left);
    left.Frames(3);
    EXPECT_EQ(left.p.PlayerX, 39);

    Ship down;
    down.p.PlayerY = 494;
    down.p.SpeedY = 23;
    down.Hold(GameKey::Down);
    down.Frames(3);
    EXPECT_EQ(down.p.PlayerY, 499);

    Ship up;
    up.p.PlayerY = 41;
    up.p.SpeedY = -23;
    up.Hold(GameKey::Up);
    up.Frames(3);
    EXPECT_EQ(up.p.PlayerY, 36);
}

TEST(PlayerShipArrival, ZoomShrinksByFourAndControlStartsBelow78) {
    Ship s;
    s.g.ArrivalWidth = s.g.ArrivalHeight = 400;
    s.p.PlayerX = 200;
    s.p.PlayerY = 250;
    s.Hold(GameKey::Space);
    s.Frames(1);
    EXPECT_EQ(s.g.ArrivalWidth, 396);
    EXPECT_EQ(s.g.ArrivalRect.left, 158);
    EXPECT_EQ(s.g.ArrivalRect.top, 216);
    EXPECT_EQ(s.g.ArrivalRect.right, 158 + 396);
    EXPECT_EQ(s.g.ArrivalRect.bottom, 216 + 396);
    s.Frames(79);
    EXPECT_EQ(s.g.ArrivalWidth, 80);
    EXPECT_EQ(s.g.FireHeld, 0);  // fire waits for the zoom
    s.Frames(1);
    EXPECT_EQ(s.g.ArrivalWidth, 76);
    EXPECT_EQ(s.g.FireHeld, 1);
    s.Frames(1);
    EXPECT_EQ(s.g.ArrivalWidth, 72);
    s.Frames(3);
    EXPECT_EQ(s.g.ArrivalWidth, 72);
    EXPECT_EQ(s.g.ArrivalHeight, 72);
}

TEST(PlayerShipArrival, ItemKeyHeldThroughTheZoomIsUsedWhenControlReturns) {
    Ship s;
    s.g.ArrivalWidth = s.g.ArrivalHeight = 82;
    s.p.ItemSlots[1] = 7;
    s.g.WeaponEnergy = 20;
    s.Hold(GameKey::Key1);
    s.Frames(1);  // 78: not yet under control, the key is kept
    EXPECT_EQ(s.p.ItemSlots[1], 7);
    s.Frames(1);  // 74
    EXPECT_EQ(s.p.ItemSlots[1], 0);
    EXPECT_EQ(s.g.WeaponEnergy, 110);
}

TEST(PlayerShipFire, GateOpensOnlyWhenReloadedAndAlive) {
    Ship s;
    s.g.VolleyTick = 3;
    s.g.RocketTick = 0;
    s.g.BallTick = 0;
    s.Hold(GameKey::Space);
    s.Frames(1);
    EXPECT_EQ(s.g.FireHeld, 1);
    EXPECT_EQ(s.g.VolleyTick, 10);
    EXPECT_EQ(s.g.RocketTick, 2);
    EXPECT_EQ(s.g.BallTick, 1);
    EXPECT_TRUE(IsHeld(s.w.media.input, isButton1));  // fire is not consumed

    // Already held: the ticks are left alone.
    s.g.VolleyTick = 4;
    s.Frames(1);
    EXPECT_EQ(s.g.FireHeld, 1);
    EXPECT_EQ(s.g.VolleyTick, 4);

    // A shot resets the reload; the gate stays shut for 15 frames.
    s.g.ReloadTimer = 0;
    for (int i = 1; i <= 15; ++i) {
        s.Frames(1);
        EXPECT_EQ(s.g.FireHeld, 0);
        EXPECT_EQ(s.g.ReloadTimer, i);
    }
    s.Frames(1);
    EXPECT_EQ(s.g.FireHeld, 1);
    EXPECT_EQ(s.g.VolleyTick, 10);

    Ship dead;
    dead.p.Lives = 0;
    dead.Hold(GameKey::Space);
    dead.Frames(1);
    EXPECT_EQ(dead.g.FireHeld, 0);
    Ship lost;
    lost.p.Lives = -1;
    lost.Hold(GameKey::Space);
    lost.Frames(1);
    EXPECT_EQ(lost.g.FireHeld, 0);
}

TEST(PlayerShipFire, HitFlashLastsSixFrames) {
    Ship s;
    s.g.ShipHitTimer = 1;
    s.Frames(5);
    EXPECT_EQ(s.g.ShipHitTimer, 6);
    s.Frames(1);
    EXPECT_EQ(s.g.ShipHitTimer, 0);
    s.g.ShipHitTimer = 9;
    s.Frames(1);
    EXPECT_EQ(s.g.ShipHitTimer, 0);
}

TEST(PlayerShipItems, LaterKeyWinsAndKeysAreConsumed) {
    Ship s;
    s.p.ItemSlots[1] = 6;
    s.p.ItemSlots[3] = 7;
    s.g.WeaponEnergy = 30;
    s.Hold(GameKey::Key1);
    s.Hold(GameKey::KP3);
    s.Frames(1);
    EXPECT_EQ(s.p.ItemSlots[1], 6);
    EXPECT_EQ(s.p.ItemSlots[3], 0);
    EXPECT_EQ(s.g.WeaponEnergy, 110);
    EXPECT_EQ(s.g.ItemSlotToUse, 0);

    // Keeping the keys down uses nothing more.
    s.p.ItemSlots[3] = 7;
    s.g.WeaponEnergy = 30;
    s.Frames(3);
    EXPECT_EQ(s.p.ItemSlots[1], 6);
    EXPECT_EQ(s.p.ItemSlots[3], 7);
    EXPECT_EQ(s.g.WeaponEnergy, 30);

    // Released and pressed again: used once more.
    s.Release(GameKey::Key1);
    s.Release(GameKey::KP3);
    s.Frames(1);
    s.Hold(GameKey::Key2);
    s.p.ItemSlots[2] = 6;
    s.Frames(1);
    EXPECT_EQ(s.p.ItemSlots[2], 0);
    EXPECT_EQ(s.g.EnergyRefill, 50);

    // An empty slot does nothing.
    Ship e;
    e.Hold(GameKey::Key2);
    e.Frames(1);
    EXPECT_EQ(e.p.ItemSlots[2], 0);
    EXPECT_EQ(e.g.ItemSlotToUse, 0);
}

TEST(PlayerShipItems, OrbsEggBeamsAndDiscs) {
    Ship s;
    s.p.ItemSlots[1] = 3;
    s.g.ShieldOrbs[4].Mode = 100;
    s.g.ShieldOrbs[4].X = 55;
    s.Hold(GameKey::Key1);
    s.Frames(1);
    EXPECT_EQ(s.p.ItemSlots[1], 0);
    for (const ShotRecord& orb : s.g.ShieldOrbs) {
        EXPECT_EQ(orb.Active, 1);
        EXPECT_EQ(orb.Mode, 0);
        EXPECT_EQ(orb.Damage, 300);
        EXPECT_EQ(orb.X, 0);
        EXPECT_EQ(orb.Y, 0);
    }

    // Egg beam: the first idle beam; with all five busy the item stays.
    Ship e;
    e.g.EggBeams[0].Active = 1;
    e.g.EggBeams[0].Mode = 3;
    e.p.ItemSlots[2] = 1;
    e.Hold(GameKey::Key2);
    e.Frames(1);
    EXPECT_EQ(e.p.ItemSlots[2], 0);
    EXPECT_EQ(e.g.EggBeams[1].Active, 1);
    EXPECT_EQ(e.g.EggBeams[1].Mode, 1);
    EXPECT_EQ(e.g.EggBeams[0].Mode, 3);
    for (ShotRecord& beam : e.g.EggBeams) beam.Active = 1;
    e.p.ItemSlots[2] = 1;
    e.Release(GameKey::Key2);
    e.Frames(1);
    e.Hold(GameKey::Key2);
    e.Frames(1);
    EXPECT_EQ(e.p.ItemSlots[2], 1);
    EXPECT_EQ(e.g.ItemSlotToUse, 0);

    // Homing discs: the first group whose first disc is idle; only its idle
    // discs start.
    Ship d;
    d.g.HomingDiscs[0][0].Active = 1;
    d.g.HomingDiscs[1][3].Active = 1;
    d.g.HomingDiscs[1][3].Mode = 3;
    d.g.HomingDiscs[1][3].X = 250;
    d.p.ItemSlots[3] = 2;
    d.Hold(GameKey::Key3);
    d.Frames(1);
    EXPECT_EQ(d.p.ItemSlots[3], 0);
    for (int k = 0; k < kDiscsPerGroup; ++k) {
        const ShotRecord& disc = d.g.HomingDiscs[1][k];
        EXPECT_EQ(disc.Active, 1);
        if (k == 3) {
            EXPECT_EQ(disc.Mode, 3);
            EXPECT_EQ(disc.X, 250);
        } else {
            EXPECT_EQ(disc.Mode, 1);
            EXPECT_EQ(disc.X, -1);
            EXPECT_EQ(disc.Y, -1);
        }
        EXPECT_EQ(d.g.HomingDiscs[2][k].Active, 0);
    }
    // No group left: the item stays.
    for (auto& group : d.g.HomingDiscs) group[0].Active = 1;
    d.p.ItemSlots[3] = 2;
    d.Release(GameKey::Key3);
    d.Frames(1);
    d.Hold(GameKey::Key3);
    d.Frames(1);
    EXPECT_EQ(d.p.ItemSlots[3], 2);
}

TEST(PlayerShipItems, WingmenAreCalledTurnedBackOrKept) {
    Ship s;
    s.p.ItemSlots[1] = 4;
    s.g.WingmanTimer = 77;
    Random expected = s.w.random;
    s.Hold(GameKey::Key1);
    s.Frames(1);
    EXPECT_EQ(s.p.ItemSlots[1], 0);
    EXPECT_EQ(s.g.WingmanTimer, 0);
    // They come in from below the screen, placed by four draws in a fixed order.
    const int32_t x0 = RandomInt(expected, 200), x1 = RandomInt(expected, 250) + 200;
    const int32_t y0 = RandomInt(expected, 200) + 650, y1 = RandomInt(expected, 200) + 650;
    EXPECT_EQ(s.g.Wingmen[0].X, x0);
    EXPECT_EQ(s.g.Wingmen[1].X, x1);
    EXPECT_EQ(s.g.Wingmen[0].Y, y0);
    EXPECT_EQ(s.g.Wingmen[1].Y, y1);
    EXPECT_EQ(s.g.Wingmen[0].State, 1);
    EXPECT_EQ(s.g.Wingmen[1].State, 1);

    // Docked: only the timer restarts.
    Ship d;
    d.g.Wingmen[0] = {300, 320, 2, 0};
    d.g.Wingmen[1] = {100, 320, 2, 0};
    d.g.WingmanTimer = 900;
    d.p.ItemSlots[2] = 4;
    d.Hold(GameKey::Key2);
    d.Frames(1);
    EXPECT_EQ(d.g.WingmanTimer, 0);
    EXPECT_EQ(d.g.Wingmen[0].State, 2);
    EXPECT_EQ(d.g.Wingmen[0].X, 300);
    EXPECT_EQ(d.p.ItemSlots[2], 0);

    // Leaving: they turn back where they are.
    Ship l;
    l.g.Wingmen[0] = {300, 500, 3, 0};
    l.g.Wingmen[1] = {100, 500, 3, 0};
    l.p.ItemSlots[2] = 4;
    l.Hold(GameKey::Key2);
    l.Frames(1);
    EXPECT_EQ(l.g.Wingmen[0].State, 1);
    EXPECT_EQ(l.g.Wingmen[1].State, 1);
    EXPECT_EQ(l.g.Wingmen[0].Y, 500);
}

TEST(PlayerShipItems, InvulnerabilityLifePackEnergyPack) {
    Ship s;
    s.p.Energy = 64;
    s.g.InvulnerableTimer = 500;
    s.p.ItemSlots[1] = 5;
    s.p.ItemSlots[2] = 6;
    s.p.ItemSlots[3] = 7;
    s.g.WeaponEnergy = 4;
    s.Hold(GameKey::Key1);
    s.Frames(1);
    EXPECT_EQ(s.g.InvulnerableEnergy, 64);
    EXPECT_EQ(s.g.InvulnerableTimer, 0);
    EXPECT_EQ(s.p.ItemSlots[1], 0);
    EXPECT_EQ(s.p.ItemSlots[2], 6);
    s.Hold(GameKey::Key2);
    s.Frames(1);
    EXPECT_EQ(s.g.EnergyRefill, 50);
    EXPECT_EQ(s.p.ItemSlots[2], 0);
    s.Hold(GameKey::Key3);
    s.Frames(1);
    EXPECT_EQ(s.g.WeaponEnergy, 110);
    EXPECT_EQ(s.p.ItemSlots[3], 0);
}

TEST(PlayerShipItems, EachItemPlaysItsSoundOnlyWithSoundOn) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    w.game.ArrivalWidth = 72;
    struct Case { int item; const char* sound; };
    for (Case c : {Case{3, "Ochranne koule"}, Case{2, "Disky"}, Case{4, "Kamaradi"}, Case{5, "Nesmrtelnost"},
                   Case{6, "Lifepack"}, Case{7, "Energypack"}}) {
        for (int enabled = 0; enabled <= 1; ++enabled) {
            t.platform->heldKeys.reset(size_t(GameKey::Key1));
            UpdatePlayerShip(w);
            for (Voice& voice : w.media.mixer->voices) voice.playing = false;
            w.shell.SoundEnabled = uint8_t(enabled);
            w.game.Progress.ItemSlots[1] = c.item;
            t.platform->heldKeys.set(size_t(GameKey::Key1));
            UpdatePlayerShip(w);
            EXPECT_EQ(w.game.Progress.ItemSlots[1], 0) << c.sound;
            EXPECT_EQ(SoundStarted(w, c.sound), enabled == 1) << c.sound;
        }
    }
}

}  // namespace
