// The player's fighter: the asymmetric steps, the screen bounds, the arrival
// rectangle, the fire gate, the item keys and every special item.
#include "game/player_ship.h"

#include "ship_helpers.h"

namespace {

TEST(PlayerShipMovement, StepsBoundsAndFriction) {
    // Without keys the step comes from the speed before friction: 6 moves 3
    // and 5 moves 2 on the right; on the left -6 still moves 2, -7 moves 3;
    // 28..35 moves 6 and 36 moves 7.
    struct Case {
        int32_t speed, moved;
    };
    for (Case c :
         {Case{6, 3}, Case{5, 2}, Case{-6, -2}, Case{-7, -3}, Case{28, 6}, Case{35, 6}, Case{36, 7}, Case{-36, -7}}) {
        ShipWorld s(false);
        s.p.SpeedX = c.speed;
        s.ShipFrames(1);
        EXPECT_EQ(s.p.PlayerX - 400, c.moved) << "speed " << c.speed;
        EXPECT_EQ(s.p.SpeedX, c.speed > 0 ? c.speed - 1 : c.speed + 1);
    }
    // Bounds are tested before the step: 761 goes to 768 and stops there.
    ShipWorld s(false);
    s.p.PlayerX = 761;
    s.p.SpeedX = 36;
    s.p.PlayerY = 41;
    s.p.SpeedY = -23;
    s.Hold(GameKey::Right);
    s.Hold(GameKey::Up);
    s.ShipFrames(1);
    EXPECT_EQ(s.p.PlayerX, 768);
    EXPECT_EQ(s.p.PlayerY, 36);
    s.ShipFrames(4);
    EXPECT_EQ(s.p.PlayerX, 768);
    EXPECT_EQ(s.p.PlayerY, 36);
    // At the limit a held key changes nothing, so friction pulls it back.
    EXPECT_EQ(s.p.SpeedX, 35);
    // Left and Right together: Left first, then Right.
    s.Hold(GameKey::Left);
    s.p.SpeedX = 5;
    s.ShipFrames(1);
    EXPECT_EQ(s.p.SpeedX, 5);
}

TEST(PlayerShipMovement, VerticalStepsAreSymmetricAndTheOtherBoundsHold) {
    // Up and down share their thresholds (-6 already moves 3 upward, unlike
    // the left side of the horizontal steps).
    struct Case {
        int32_t speed, moved;
    };
    for (Case c : {Case{5, 2}, Case{6, 3}, Case{-5, -2}, Case{-6, -3}, Case{10, 3}, Case{11, 4}, Case{-11, -4},
                   Case{22, 4}, Case{23, 5}, Case{-23, -5}}) {
        ShipWorld s(false);
        s.p.SpeedY = c.speed;
        s.ShipFrames(1);
        EXPECT_EQ(s.p.PlayerY - 300, c.moved) << "speed " << c.speed;
        EXPECT_EQ(s.p.SpeedY, c.speed > 0 ? c.speed - 1 : c.speed + 1);
    }
    // The bottom and left bounds are tested before the step as well: 494
    // goes to 499 and 46 to 39, and there the ship stops.
    ShipWorld s(false);
    s.p.PlayerX = 46;
    s.p.SpeedX = -36;
    s.p.PlayerY = 494;
    s.p.SpeedY = 23;
    s.Hold(GameKey::Left);
    s.Hold(GameKey::Down);
    s.ShipFrames(1);
    EXPECT_EQ(s.p.PlayerX, 39);
    EXPECT_EQ(s.p.PlayerY, 499);
    s.ShipFrames(4);
    EXPECT_EQ(s.p.PlayerX, 39);
    EXPECT_EQ(s.p.PlayerY, 499);

    // Reversing from the left is as quick as from the right: -30 becomes -10.
    ShipWorld r(false);
    r.p.SpeedX = -30;
    r.Hold(GameKey::Right);
    r.ShipFrames(1);
    EXPECT_EQ(r.p.SpeedX, -10);
    EXPECT_EQ(r.p.PlayerX, 400 - 3);  // -10 already moves 3 on the left
}

TEST(PlayerShipArrival, RectangleFollowsTheShipAndShrinksToSeventyTwo) {
    ShipWorld s(false);
    s.g.ArrivalWidth = s.g.ArrivalHeight = 400;
    s.p.PlayerX = 200;
    s.p.PlayerY = 250;
    s.ShipFrames(1);
    EXPECT_EQ(s.g.ArrivalRect.left, 158);
    EXPECT_EQ(s.g.ArrivalRect.top, 216);
    EXPECT_EQ(s.g.ArrivalRect.right, 158 + 396);
    EXPECT_EQ(s.g.ArrivalRect.bottom, 216 + 396);
    s.ShipFrames(200);
    EXPECT_EQ(s.g.ArrivalWidth, 72);
    EXPECT_EQ(s.g.ArrivalHeight, 72);

    // An item key held through the zoom is kept and used once control returns.
    ShipWorld k(false);
    k.g.ArrivalWidth = 82;
    k.p.ItemSlots[1] = 7;
    k.g.WeaponEnergy = 20;
    k.Hold(GameKey::Key1);
    k.ShipFrames(1);  // 78: not yet
    EXPECT_EQ(k.g.WeaponEnergy, 20);
    k.ShipFrames(1);  // 74
    EXPECT_EQ(k.g.WeaponEnergy, 110);
}

TEST(PlayerShipFire, GateOpensWhenReloadedAndAlive) {
    ShipWorld s(false);
    s.g.VolleyTick = 3;
    s.Hold(GameKey::Space);
    s.ShipFrames(1);
    EXPECT_EQ(s.g.FireHeld, 1);
    EXPECT_EQ(s.g.VolleyTick, 10);  // a fresh press lines the counters up
    EXPECT_EQ(s.g.RocketTick, 2);
    EXPECT_EQ(s.g.BallTick, 1);
    EXPECT_TRUE(IsHeld(s.w.media.input, isButton1));  // fire is not consumed
    s.g.VolleyTick = 4;
    s.ShipFrames(1);
    EXPECT_EQ(s.g.VolleyTick, 4);  // still held: left alone

    s.g.ReloadTimer = 0;
    s.ShipFrames(15);
    EXPECT_EQ(s.g.FireHeld, 0);
    EXPECT_EQ(s.g.ReloadTimer, 15);
    s.ShipFrames(1);
    EXPECT_EQ(s.g.FireHeld, 1);

    for (int8_t lives : {int8_t(0), int8_t(-1)}) {
        ShipWorld d(false);
        d.p.Lives = lives;
        d.Hold(GameKey::Space);
        d.ShipFrames(1);
        EXPECT_EQ(d.g.FireHeld, 0);
    }
    // A hit shows for six frames.
    s.g.ShipHitTimer = 1;
    s.ShipFrames(5);
    EXPECT_EQ(s.g.ShipHitTimer, 6);
    s.ShipFrames(1);
    EXPECT_EQ(s.g.ShipHitTimer, 0);
}

TEST(PlayerShipItems, LaterKeyWinsAndHeldKeysUseOneItem) {
    ShipWorld s(false);
    s.p.ItemSlots[1] = 6;
    s.p.ItemSlots[3] = 7;
    s.g.WeaponEnergy = 30;
    s.Hold(GameKey::Key1);
    s.Hold(GameKey::KP3);
    s.ShipFrames(1);
    EXPECT_EQ(s.p.ItemSlots[1], 6);
    EXPECT_EQ(s.p.ItemSlots[3], 0);
    EXPECT_EQ(s.g.WeaponEnergy, 110);
    s.p.ItemSlots[3] = 7;
    s.ShipFrames(3);
    EXPECT_EQ(s.p.ItemSlots[3], 7);  // consumed: nothing more while held
    EXPECT_EQ(s.g.ItemSlotToUse, 0);
}

TEST(PlayerShipItems, EachItemDoesItsPart) {
    ShipWorld s(false);
    auto use = [&](int item, bool stays = false) {
        s.p.ItemSlots[2] = item;
        s.ShipFrames(1);  // key up
        s.Hold(GameKey::Key2);
        s.ShipFrames(1);
        s.Release(GameKey::Key2);
        EXPECT_EQ(s.p.ItemSlots[2], stays ? item : 0) << "item " << item;
    };
    use(0);
    s.g.ShieldOrbs[4].Mode = 100;
    use(3);
    for (const ShotRecord& orb : s.g.ShieldOrbs) {
        EXPECT_EQ(orb.Active, 1);
        EXPECT_EQ(orb.Mode, 0);
        EXPECT_EQ(orb.Damage, 300);
    }
    s.g.EggBeams[0].Active = 1;
    s.g.EggBeams[0].Mode = 3;
    use(1);
    EXPECT_EQ(s.g.EggBeams[1].Mode, 1);
    EXPECT_EQ(s.g.EggBeams[0].Mode, 3);
    for (ShotRecord& beam : s.g.EggBeams) beam.Active = 1;
    use(1, true);  // five beams out: the item stays

    // Discs: the first group whose first disc is idle; only its idle discs start.
    s.g.HomingDiscs[0][0].Active = 1;
    s.g.HomingDiscs[1][3] = ShotRecord{250, 0, 0, 0, 0, 3, 1};
    use(2);
    for (int k = 0; k < kDiscsPerGroup; ++k) {
        EXPECT_EQ(s.g.HomingDiscs[1][k].Mode, k == 3 ? 3 : 1);
        EXPECT_EQ(s.g.HomingDiscs[1][k].X, k == 3 ? 250 : -1);
        EXPECT_EQ(s.g.HomingDiscs[2][k].Active, 0);
    }
    for (auto& group : s.g.HomingDiscs) group[0].Active = 1;
    use(2, true);

    s.p.Energy = 64;
    use(5);
    EXPECT_EQ(s.g.InvulnerableEnergy, 64);
    EXPECT_EQ(s.g.InvulnerableTimer, 0);
    use(6);
    EXPECT_EQ(s.g.EnergyRefill, 50);
    s.g.WeaponEnergy = 4;
    use(7);
    EXPECT_EQ(s.g.WeaponEnergy, 110);
}

TEST(PlayerShipItems, WingmenAreCalledTurnedBackOrKept) {
    ShipWorld s(false);
    s.p.ItemSlots[1] = 4;
    s.g.WingmanTimer = 77;
    Random expected = s.w.random;
    s.Hold(GameKey::Key1);
    s.ShipFrames(1);
    // From below the screen, placed by four draws in this order.
    EXPECT_EQ(s.g.Wingmen[0].X, RandomInt(expected, 200));
    EXPECT_EQ(s.g.Wingmen[1].X, RandomInt(expected, 250) + 200);
    EXPECT_EQ(s.g.Wingmen[0].Y, RandomInt(expected, 200) + 650);
    EXPECT_EQ(s.g.Wingmen[1].Y, RandomInt(expected, 200) + 650);
    EXPECT_EQ(s.g.Wingmen[0].State, 1);
    EXPECT_EQ(s.g.Wingmen[1].State, 1);
    EXPECT_EQ(s.g.WingmanTimer, 0);

    for (int32_t state : {2, 3}) {
        ShipWorld d(false);
        d.g.Wingmen[0] = {300, 500, state, 0};
        d.g.Wingmen[1] = {100, 500, state, 0};
        d.g.WingmanTimer = 900;
        d.p.ItemSlots[2] = 4;
        d.Hold(GameKey::Key2);
        d.ShipFrames(1);
        EXPECT_EQ(d.g.WingmanTimer, 0);
        // Docked ones stay docked; leaving ones turn back where they are.
        EXPECT_EQ(d.g.Wingmen[0].State, state == 2 ? 2 : 1);
        EXPECT_EQ(d.g.Wingmen[1].State, state == 2 ? 2 : 1);
        EXPECT_EQ(d.g.Wingmen[0].Y, 500);
    }
}

TEST(PlayerShipItems, EachItemPlaysItsSoundOnlyWithSoundOn) {
    ShipWorld s;
    struct Case {
        int item;
        const char* sound;
    };
    for (Case c : {Case{3, "Ochranne koule"}, Case{2, "Disky"}, Case{4, "Kamaradi"}, Case{5, "Nesmrtelnost"},
                   Case{6, "Lifepack"}, Case{7, "Energypack"}}) {
        for (uint8_t enabled : {uint8_t(0), uint8_t(1)}) {
            s.ShipFrames(1);  // key up
            s.SilenceAll();
            s.w.shell.SoundEnabled = enabled;
            s.p.ItemSlots[1] = c.item;
            s.Hold(GameKey::Key1);
            s.ShipFrames(1);
            s.Release(GameKey::Key1);
            EXPECT_EQ(s.SoundStarted(c.sound), enabled == 1) << c.sound;
        }
    }
}

}  // namespace
