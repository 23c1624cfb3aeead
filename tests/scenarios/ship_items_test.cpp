// Special items and companions in a running level-1 game: the whole frame
// runs (stars, objects, weapons, HUD) while the tests hold keys and watch
// the state frame by frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "shell/frame.h"
#include "shell/runner.h"
#include "test_support.h"

namespace {

struct Game {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = w.game.Progress;

    Game() {
        w.shell.options.saveDir = MakeTempDir("ship-items");
        w.shell.MusicEnabled = 0;
        StartNewGame(w, "Pilot", 2, 1);
        Frames(82);  // the arrival zoom is over
        EXPECT_EQ(g.ArrivalWidth, 72);
    }
    void Hold(GameKey key) { t.platform->heldKeys.set(size_t(key)); }
    void Release(GameKey key) { t.platform->heldKeys.reset(size_t(key)); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) RunFrame(w);
    }
    // Presses a key for one frame and releases it on the next.
    void Tap(GameKey key) {
        Hold(key);
        Frames(1);
        Release(key);
        Frames(1);
    }
};

TEST(ShipItemsInGame, KeysOneAndThreeTogetherUseSlotThree) {
    Game s;
    s.p.ItemSlots[1] = 6;
    s.p.ItemSlots[3] = 3;
    s.Hold(GameKey::Key1);
    s.Hold(GameKey::Key3);
    s.Frames(1);
    EXPECT_EQ(s.p.ItemSlots[1], 6);
    EXPECT_EQ(s.p.ItemSlots[3], 0);
    for (const ShotRecord& orb : s.g.ShieldOrbs) EXPECT_EQ(orb.Active, 1);
}

TEST(ShipItemsInGame, OrbsCircleTheMovingShip) {
    Game s;
    s.p.ItemSlots[2] = 3;
    s.Tap(GameKey::Key2);
    s.Hold(GameKey::Left);
    for (int f = 0; f < 120; ++f) {
        s.Frames(1);
        const ShotRecord& first = s.g.ShieldOrbs[0];
        const ShotRecord& tenth = s.g.ShieldOrbs[9];
        if (!first.Active || !tenth.Active) continue;  // an orb may have hit something
        ASSERT_EQ(first.X, tenth.X);
        ASSERT_EQ(first.Y, tenth.Y);
    }
}

TEST(ShipItemsInGame, EggBeamOpensToBothEdges) {
    Game s;
    s.p.ItemSlots[1] = 1;
    s.Hold(GameKey::Key1);
    s.Frames(1);
    s.Release(GameKey::Key1);
    const int32_t start = s.p.PlayerX - 5;
    EXPECT_EQ(s.g.EggBeamEnds[0].LeftX, start);
    s.Frames(39);
    EXPECT_EQ(s.g.EggBeams[0].Mode, 3);
    EXPECT_EQ(s.g.EggBeamEnds[0].LeftX, start - 50);
    EXPECT_EQ(s.g.EggBeamEnds[0].RightX, start + 50);
    s.Frames(10);
    EXPECT_EQ(s.g.EggBeamEnds[0].LeftX, 12);
    EXPECT_EQ(s.g.EggBeamEnds[0].RightX, 787);
    // It climbs to the top and ends there.
    s.Frames(s.g.EggBeams[0].Y + 1);
    EXPECT_EQ(s.g.EggBeams[0].Active, 0);
}

TEST(ShipItemsInGame, WingmenComeDockFireAndLeave) {
    Game s;
    s.p.ItemSlots[1] = 4;
    s.Hold(GameKey::Key1);
    s.Frames(1);
    s.Release(GameKey::Key1);
    int frame = 1;
    while ((s.g.Wingmen[0].State != 2 || s.g.Wingmen[1].State != 2) && frame < 400) {
        s.Frames(1);
        ++frame;
    }
    ASSERT_EQ(s.g.Wingmen[0].State, 2);
    ASSERT_EQ(s.g.Wingmen[1].State, 2);

    // Fire: the ship's bolt and one bolt from each wingman in the next elements.
    s.Hold(GameKey::Space);
    s.Frames(1);
    s.Release(GameKey::Space);
    ++frame;
    int ship = -1;
    for (int i = 0; i < kShotCount; ++i) {
        const ShotRecord& bolt = s.g.LaserShots[i];
        if (bolt.Active && bolt.X == s.p.PlayerX && bolt.Y == s.p.PlayerY - 10) ship = i;
    }
    ASSERT_GE(ship, 0);
    ASSERT_LT(ship + 2, kShotCount);
    EXPECT_EQ(s.g.LaserShots[ship + 1].X, s.p.PlayerX + 117);
    EXPECT_EQ(s.g.LaserShots[ship + 2].X, s.p.PlayerX - 113);
    EXPECT_EQ(s.g.LaserShots[ship + 1].Y, s.p.PlayerY + 27);

    // They leave 1000 frames after the call and are gone below the screen.
    s.Frames(1000 - frame);
    EXPECT_EQ(s.g.Wingmen[0].State, 2);
    s.Frames(1);
    EXPECT_EQ(s.g.Wingmen[0].State, 3);
    // Called again while leaving, they turn back.
    s.Frames(10);
    s.p.ItemSlots[2] = 4;
    s.Tap(GameKey::Key2);
    EXPECT_EQ(s.g.Wingmen[0].State, 1);
    s.Frames(60);
    EXPECT_EQ(s.g.Wingmen[0].State, 2);
}

TEST(ShipItemsInGame, GunRunsDryAtEightAndStaysSilent) {
    Game s;
    s.g.WeaponEnergy = 12;
    s.Hold(GameKey::Space);
    s.Frames(60);
    EXPECT_EQ(s.g.WeaponEnergy, 8);
    EXPECT_EQ(s.g.FireHeld, 1);
    EXPECT_EQ(s.g.ReloadTimer, 15);
    // The gate stays open, but with no volley there is no laser sound.
    s.w.shell.SoundEnabled = 1;
    WaveItem& laser = FindSound(s.w.media.Zvuky, "Laser");
    for (Voice& voice : s.w.media.mixer->voices) voice.playing = false;
    s.Frames(12);
    bool sounded = laser.mainVoice >= 0 && s.w.media.mixer->voices[laser.mainVoice].playing;
    for (int v : laser.voices) sounded = sounded || s.w.media.mixer->voices[v].playing;
    EXPECT_FALSE(sounded);
    // Energy pack while fire is held: the gate has stayed open, so the laser
    // fires as soon as the volley counter comes round (within 11 frames).
    s.p.ItemSlots[1] = 7;
    s.Tap(GameKey::Key1);
    s.Frames(9);
    EXPECT_EQ(s.g.WeaponEnergy, 108);
}

}  // namespace
