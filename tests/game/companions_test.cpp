// The companions of the special items over their whole life: wingmen flying
// in, docking, following, leaving and turning back; the orbs' ellipse; the
// egg beam's charge, sweep and end; homing discs spreading and seeking.
#include "game/companions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "game/player_ship.h"
#include "game/weapons.h"
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

struct Game {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = w.game.Progress;
    Game() {
        w.shell.SoundEnabled = 0;
        g.ArrivalWidth = g.ArrivalHeight = 72;
    }
    void Hold(GameKey key) { t.platform->heldKeys.set(size_t(key)); }
    void Release(GameKey key) { t.platform->heldKeys.reset(size_t(key)); }
    // The ship and the weapons, in the order of the game frame.
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            UpdatePlayerShip(w);
            UpdateWeapons(w);
        }
    }
    void UseItem(int item) {
        p.ItemSlots[1] = item;
        Hold(GameKey::Key1);
        Frames(1);
        Release(GameKey::Key1);
    }
};

TEST(Wingmen, WholeLifeFlyInDockFollowLeave) {
    Game s;
    s.UseItem(4);
    ASSERT_EQ(s.g.Wingmen[0].State, 1);
    const int32_t startY = s.g.Wingmen[0].Y;
    EXPECT_GE(startY, 650 - 3);

    // Flying in at 3 pixels per frame; both dock within the time it takes
    // to climb from below the screen.
    s.Frames(1);
    EXPECT_EQ(s.g.Wingmen[0].Y, startY - 3);
    int frames = 2;
    while ((s.g.Wingmen[0].State != 2 || s.g.Wingmen[1].State != 2) && frames < 300) {
        s.Frames(1);
        ++frames;
    }
    ASSERT_EQ(s.g.Wingmen[0].State, 2);
    ASSERT_EQ(s.g.Wingmen[1].State, 2);
    EXPECT_LT(frames, 250);
    EXPECT_EQ(s.g.Wingmen[0].X, 475);
    EXPECT_EQ(s.g.Wingmen[0].Y, 320);
    EXPECT_EQ(s.g.Wingmen[1].X, 245);
    EXPECT_EQ(s.g.Wingmen[1].Y, 320);

    // Docked wingmen follow the ship.
    s.Hold(GameKey::Right);
    s.Frames(10);
    s.Release(GameKey::Right);
    EXPECT_GT(s.p.PlayerX, 400);
    EXPECT_EQ(s.g.Wingmen[0].X, s.p.PlayerX + 75);
    EXPECT_EQ(s.g.Wingmen[1].X, s.p.PlayerX - 155);

    // With both out the timer counts twice per frame: 1000 frames from the
    // call they are still docked, on the next they leave.
    s.Frames(1000 - frames - 10);
    EXPECT_EQ(s.g.WingmanTimer, 2000);
    EXPECT_EQ(s.g.Wingmen[0].State, 2);
    s.Frames(1);
    EXPECT_EQ(s.g.Wingmen[0].State, 3);
    EXPECT_EQ(s.g.Wingmen[1].State, 3);

    // Leaving: straight down, 3 pixels per frame, gone once below 600.
    const int32_t leaveX = s.g.Wingmen[0].X, leaveY = s.g.Wingmen[0].Y;
    s.Frames(1);
    EXPECT_EQ(s.g.Wingmen[0].Y, leaveY + 3);
    EXPECT_EQ(s.g.Wingmen[0].X, leaveX);
    int gone = 0;
    while (s.g.Wingmen[0].State != 0 && gone < 200) {
        s.Frames(1);
        ++gone;
    }
    EXPECT_EQ(s.g.Wingmen[0].State, 0);
    EXPECT_EQ(s.g.Wingmen[1].State, 0);
    EXPECT_GT(s.g.Wingmen[0].Y, 600);
    EXPECT_LE(s.g.Wingmen[0].Y, 606);
}

TEST(Wingmen, CalledAgainWhileLeavingTheyReturnAndDock) {
    Game s;
    s.g.Wingmen[0] = {475, 400, 3, 0};
    s.g.Wingmen[1] = {245, 400, 3, 0};
    s.Frames(5);
    EXPECT_EQ(s.g.Wingmen[0].Y, 415);
    s.UseItem(4);
    EXPECT_EQ(s.g.Wingmen[0].State, 1);
    EXPECT_EQ(s.g.WingmanTimer, 2);
    s.Frames(40);
    EXPECT_EQ(s.g.Wingmen[0].State, 2);
    EXPECT_EQ(s.g.Wingmen[1].State, 2);
    EXPECT_EQ(s.g.Wingmen[0].Y, 320);
}

TEST(Wingmen, DockOnlyInsideTheWindow) {
    // Wingman 1 docks within 2 pixels of (PlayerX + 75, PlayerY + 20).
    Game s;
    s.g.Wingmen[0] = {400 + 81, 320, 1, 0};
    UpdateWingmen(s.w);
    EXPECT_EQ(s.g.Wingmen[0].X, 478);
    EXPECT_EQ(s.g.Wingmen[0].State, 1);
    UpdateWingmen(s.w);
    EXPECT_EQ(s.g.Wingmen[0].State, 2);
    EXPECT_EQ(s.g.Wingmen[0].X, 475);

    // A coordinate two above the target steps down and back up, so it never
    // meets the target exactly; the window still takes it, and docking
    // snaps the wingman onto its place beside the ship.
    Game t;
    t.g.Wingmen[1] = {400 - 153, 322, 1, 0};
    UpdateWingmen(t.w);
    EXPECT_EQ(t.g.Wingmen[1].State, 2);
    EXPECT_EQ(t.g.Wingmen[1].X, 245);
    EXPECT_EQ(t.g.Wingmen[1].Y, 320);

    // A single wingman out counts the timer once per frame.
    EXPECT_EQ(t.g.WingmanTimer, 1);
    t.g.WingmanTimer = 2000;
    UpdateWingmen(t.w);
    EXPECT_EQ(t.g.Wingmen[1].State, 3);
    EXPECT_EQ(t.g.WingmanTimer, 0);
}

TEST(ShieldOrbs, RideTheEllipseAndOrbTenSitsOnOrbOne) {
    Game s;
    s.UseItem(3);
    // After the first frame the angle is 2 degrees: orb 1 at 42 degrees,
    // sin 42 * 70 = 46.8 and cos 42 * 60 = 44.6.
    EXPECT_EQ(s.g.ShieldOrbs[0].Mode, 2);
    EXPECT_EQ(s.g.ShieldOrbs[0].X, 400 + 47 - 20);
    EXPECT_EQ(s.g.ShieldOrbs[0].Y, 300 + 45 - 10);
    // Orb 3 at 122 degrees: sin * 70 = 59.4, cos * 60 = -31.8.
    EXPECT_EQ(s.g.ShieldOrbs[2].X, 400 + 59 - 20);
    EXPECT_EQ(s.g.ShieldOrbs[2].Y, 300 - 32 - 10);

    for (int f = 0; f < 400; ++f) {
        if (f == 100) s.Hold(GameKey::Left);
        s.Frames(1);
        ASSERT_EQ(s.g.ShieldOrbs[9].X, s.g.ShieldOrbs[0].X) << "frame " << f;
        ASSERT_EQ(s.g.ShieldOrbs[9].Y, s.g.ShieldOrbs[0].Y) << "frame " << f;
        for (const ShotRecord& orb : s.g.ShieldOrbs) {
            ASSERT_LE(std::abs(orb.X - (s.p.PlayerX - 20)), 70);
            ASSERT_LE(std::abs(orb.Y - (s.p.PlayerY - 10)), 60);
            ASSERT_GE(orb.Mode, 0);
            ASSERT_LE(orb.Mode, 360);
        }
    }
    // The angle goes up to 360 and then back to 0.
    s.g.ShieldOrbs[0].Mode = 358;
    UpdateShieldOrbs(s.w);
    EXPECT_EQ(s.g.ShieldOrbs[0].Mode, 360);
    UpdateShieldOrbs(s.w);
    EXPECT_EQ(s.g.ShieldOrbs[0].Mode, 0);
}

TEST(ShieldOrbs, DrawnWhereTheLastFrameLeftThem) {
    Game s;
    s.g.ShieldOrbs[0] = ShotRecord{100, 150, 0, 0, 300, 0, 1};
    auto expected = std::make_unique<Surface>();
    DrawPattern(FindPicture(s.w.media.Obrazky, "Stit"), *expected, 100, 150, 0);
    FillSurface(*s.w.media.back, 0);
    UpdateShieldOrbs(s.w);
    EXPECT_NE(SurfaceHash(*expected), SurfaceHash(*std::make_unique<Surface>()));
    EXPECT_EQ(SurfaceHash(*s.w.media.back), SurfaceHash(*expected));
    EXPECT_NE(s.g.ShieldOrbs[0].X, 100);
}

TEST(EggBeam, ChargesSweepsToTheEdgesAndClimbs) {
    Game s;
    s.w.shell.SoundEnabled = 1;
    s.UseItem(1);
    const ShotRecord& beam = s.g.EggBeams[0];
    const EggBeamEnd& ends = s.g.EggBeamEnds[0];
    ASSERT_EQ(beam.Active, 1);
    EXPECT_EQ(beam.Mode, 2);
    EXPECT_EQ(ends.LeftX, 395);
    EXPECT_EQ(ends.RightX, 395);
    EXPECT_EQ(beam.Y, 289);

    s.Frames(38);
    EXPECT_EQ(beam.Mode, 2);
    EXPECT_EQ(s.g.EggBeamTimers[0], 39);
    EXPECT_FALSE(SoundStarted(s.w, "PrubehLej"));
    // The 40th frame opens the beam at once.
    s.Frames(1);
    EXPECT_EQ(beam.Mode, 3);
    EXPECT_TRUE(SoundStarted(s.w, "RoztahnutiLej"));
    EXPECT_TRUE(SoundStarted(s.w, "PrubehLej"));
    std::vector<int> left{ends.LeftX}, right{ends.RightX};
    for (int f = 0; f < 9; ++f) {
        s.Frames(1);
        left.push_back(ends.LeftX);
        right.push_back(ends.RightX);
    }
    EXPECT_EQ(left, (std::vector<int>{345, 295, 245, 195, 145, 95, 45, 12, 12, 12}));
    EXPECT_EQ(right, (std::vector<int>{445, 495, 545, 595, 645, 695, 745, 795, 787, 787}));

    // The blue line spans the screen at the beam's row (the pen stops short
    // of the right end).
    const int row = beam.Y;
    const Surface& back = *s.w.media.back;
    FillSurface(*s.w.media.back, 0);
    s.Frames(1);
    EXPECT_EQ(beam.Y, row - 1);
    const uint16_t blue = ColorTo565(0xFF0000);
    EXPECT_EQ(back.pixels[row - 1][400], blue);
    EXPECT_EQ(back.pixels[row - 1][200], blue);
    EXPECT_EQ(back.pixels[row - 1][600], blue);

    // Climbs a pixel per frame; ends at the top and stops its sound.
    const int climb = beam.Y;
    s.Frames(climb);
    EXPECT_EQ(beam.Y, 0);
    EXPECT_EQ(beam.Active, 1);
    s.Frames(1);
    EXPECT_EQ(beam.Active, 0);
    EXPECT_FALSE(SoundStarted(s.w, "PrubehLej"));
}

TEST(EggBeam, ChargesWithTheShipsOffsetAndIgnoresItsMoves) {
    Game s;
    s.p.PlayerX = 100;
    s.p.PlayerY = 450;
    s.UseItem(1);
    EXPECT_EQ(s.g.EggBeamEnds[0].LeftX, 95);
    s.Hold(GameKey::Right);
    s.Frames(20);
    EXPECT_EQ(s.g.EggBeamEnds[0].LeftX, 95);
    EXPECT_EQ(s.g.EggBeams[0].Y, 440 - 21);
    // A second beam starts from where the ship is now.
    s.UseItem(1);
    EXPECT_EQ(s.g.EggBeams[1].Active, 1);
    EXPECT_EQ(s.g.EggBeamEnds[1].LeftX, s.p.PlayerX - 5);
}

TEST(HomingDiscs, SpreadTowardTheirLanesAndDriftUpWithNothingNear) {
    Game s;
    s.UseItem(2);
    const auto& group = s.g.HomingDiscs[0];
    EXPECT_EQ(group[0].X, 395);
    EXPECT_EQ(group[4].X, 405);
    EXPECT_EQ(group[0].Y, 299);
    s.Frames(69);
    // A disc stops spreading once within 5 pixels of its lane 85 * k, so it
    // halts 5 short of the lane on the side it came from.
    for (int k = 1; k <= kDiscsPerGroup; ++k) {
        EXPECT_EQ(group[k - 1].X, 85 * k + (85 * k < 400 ? 5 : -5)) << "disc " << k;
        EXPECT_EQ(group[k - 1].Mode, 3) << "disc " << k;
        EXPECT_EQ(group[k - 1].Y, 300 - 70);
    }
    // Each drifts one pixel a frame and ends above y -25.
    s.Frames(255);
    EXPECT_EQ(group[0].Y, -25);
    EXPECT_EQ(group[0].Active, 1);
    s.Frames(1);
    for (const ShotRecord& disc : group) EXPECT_EQ(disc.Active, 0);
}

// A visible level object whose picture centre lies at screen point (cx, cy).
void PlaceObject(World& w, int index, int picture, int32_t cx, int32_t cy) {
    const PictureItem& item = PictureAt(w.media.Rakety, picture);
    LevelObject& object = w.game.LevelObjects[index];
    object.Visible = 1;
    object.Picture = uint8_t(picture);
    object.X = cx - PatternWidth(item) / 2;
    object.Y = PatternHeight(item) / 2 + w.game.Progress.ScrollDistance - cy;
}

TEST(HomingDiscs, SeekTheFirstVisibleObjectInReach) {
    Game s;
    struct Case { int32_t cx, cy, x, y; };
    for (Case c : {Case{350, 250, 304, 204}, Case{250, 150, 296, 196}, Case{300 - 100, 200, 296, 196},
                   Case{300 + 95, 200, 300, 199}, Case{300, 200 + 95, 300, 199}}) {
        ShotRecord& disc = s.g.HomingDiscs[2][5];
        disc = ShotRecord{300, 200, 0, 0, 0, 3, 1};
        PlaceObject(s.w, 40, 3, c.cx, c.cy);
        UpdateHomingDiscs(s.w);
        EXPECT_EQ(disc.X, c.x) << c.cx << "," << c.cy;
        EXPECT_EQ(disc.Y, c.y) << c.cx << "," << c.cy;
    }
    s.g.HomingDiscs[2][5].Active = 0;
    s.g.LevelObjects[40].Visible = 0;

    // Invisible objects are passed over; only the first one found is chased.
    ShotRecord& disc = s.g.HomingDiscs[0][0];
    disc = ShotRecord{300, 200, 0, 0, 0, 3, 1};
    PlaceObject(s.w, 5, 3, 250, 150);
    s.g.LevelObjects[5].Visible = 0;
    PlaceObject(s.w, 9, 3, 350, 250);
    PlaceObject(s.w, 10, 3, 250, 150);
    UpdateHomingDiscs(s.w);
    EXPECT_EQ(disc.X, 304);
    EXPECT_EQ(disc.Y, 204);
}

}  // namespace
