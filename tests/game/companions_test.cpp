// The companions' exact motion: the wingmen's docking window, the orbs'
// ellipse, the egg beam's charge, sweep and end, the homing discs' spread
// and seek window.
#include "game/companions.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "ship_helpers.h"

namespace {

TEST(Wingmen, DockInsideTheWindowAndSnapToTheirPlace) {
    // Wingman 1 docks within 2 pixels of (PlayerX + 75, PlayerY + 20).
    ShipWorld s;
    s.g.Wingmen[0] = {400 + 81, 320, 1, 0};
    UpdateWingmen(s.w);
    EXPECT_EQ(s.g.Wingmen[0].X, 478);
    EXPECT_EQ(s.g.Wingmen[0].State, 1);
    UpdateWingmen(s.w);
    EXPECT_EQ(s.g.Wingmen[0].State, 2);
    EXPECT_EQ(s.g.WingmanTimer, 2);  // one wingman out: once per frame

    // Two above the target a coordinate steps down and back up and never
    // meets it; the window takes it and docking snaps it into place.
    s.g.Wingmen[1] = {400 - 153, 322, 1, 0};
    UpdateWingmen(s.w);
    EXPECT_EQ(s.g.Wingmen[1].State, 2);
    EXPECT_EQ(s.g.Wingmen[1].X, 245);
    EXPECT_EQ(s.g.Wingmen[1].Y, 320);
    EXPECT_EQ(s.g.WingmanTimer, 4);  // two out: twice per frame
    s.g.WingmanTimer = 2000;
    UpdateWingmen(s.w);
    EXPECT_EQ(s.g.Wingmen[0].State, 3);
    EXPECT_EQ(s.g.Wingmen[1].State, 3);
}

// True when every pixel that frame `frame` of the picture sets at (x, y) is
// on the back surface as drawn.
bool ShowsFrame(World& w, const PictureCollection& collection, const char* name, int x, int y, int frame) {
    auto reference = std::make_unique<Surface>();
    const uint16_t sentinel = 0x0841;
    FillSurface(*reference, sentinel);
    DrawPattern(FindPicture(collection, name), *reference, x, y, frame);
    int drawn = 0;
    for (int row = 0; row < kSurfaceHeight; ++row)
        for (int col = 0; col < kSurfaceWidth; ++col) {
            if (reference->pixels[row][col] == sentinel) continue;
            ++drawn;
            if (w.media.back->pixels[row][col] != reference->pixels[row][col]) return false;
        }
    return drawn > 0;
}

TEST(Wingmen, DockedOnesBankWithTheShip) {
    // Frames 6, 7, 8 for the ship moving left, level, right, at the docking
    // places beside the ship.
    struct Case {
        int32_t speed;
        int frame;
    };
    for (Case c : {Case{-4, 6}, Case{0, 7}, Case{9, 8}}) {
        ShipWorld s;
        s.p.SpeedX = c.speed;
        s.g.Wingmen[0] = {0, 0, 2, 0};
        s.g.Wingmen[1] = {0, 0, 2, 0};
        FillSurface(*s.w.media.back, 0);
        UpdateWingmen(s.w);
        EXPECT_TRUE(ShowsFrame(s.w, s.w.media.Rakety, "Kavrix", 475, 320, c.frame)) << c.speed;
        EXPECT_TRUE(ShowsFrame(s.w, s.w.media.Rakety, "Kavrix", 245, 320, c.frame)) << c.speed;
        EXPECT_EQ(s.g.Wingmen[1].X, 245);
        EXPECT_EQ(s.g.Wingmen[1].Y, 320);
    }
}

TEST(Wingmen, LeaveDownwardAndAreGoneBelowTheScreen) {
    ShipWorld s;
    s.g.Wingmen[0] = {300, 598, 3, 0};
    s.g.WingmanTimer = 5;
    UpdateWingmen(s.w);
    EXPECT_EQ(s.g.Wingmen[0].Y, 601);
    EXPECT_EQ(s.g.Wingmen[0].State, 3);
    // Past 600 it is gone, after one more step down.
    UpdateWingmen(s.w);
    EXPECT_EQ(s.g.Wingmen[0].State, 0);
    EXPECT_EQ(s.g.Wingmen[0].Y, 604);
    EXPECT_EQ(s.g.WingmanTimer, 7);
    // With no wingman out nothing moves and the time out stands still.
    UpdateWingmen(s.w);
    EXPECT_EQ(s.g.Wingmen[0].Y, 604);
    EXPECT_EQ(s.g.WingmanTimer, 7);
}

TEST(ShieldOrbs, RideTheEllipseAndOrbTenSitsOnOrbOne) {
    ShipWorld s;
    s.p.ItemSlots[1] = 3;
    s.Press(GameKey::Key1);
    // After the first frame the angle is 2: orb 1 at 42 degrees (sin * 70 =
    // 46.8, cos * 60 = 44.6), orb 3 at 122 (59.4 and -31.8).
    EXPECT_EQ(s.g.ShieldOrbs[0].X, 400 + 47 - 20);
    EXPECT_EQ(s.g.ShieldOrbs[0].Y, 300 + 45 - 10);
    EXPECT_EQ(s.g.ShieldOrbs[2].X, 400 + 59 - 20);
    EXPECT_EQ(s.g.ShieldOrbs[2].Y, 300 - 32 - 10);
    s.Hold(GameKey::Left);
    for (int f = 0; f < 400; ++f) {
        s.Frames(1);
        ASSERT_EQ(s.g.ShieldOrbs[9].X, s.g.ShieldOrbs[0].X) << "frame " << f;
        ASSERT_EQ(s.g.ShieldOrbs[9].Y, s.g.ShieldOrbs[0].Y) << "frame " << f;
        for (const ShotRecord& orb : s.g.ShieldOrbs) {
            ASSERT_LE(std::abs(orb.X - (s.p.PlayerX - 20)), 70);
            ASSERT_LE(std::abs(orb.Y - (s.p.PlayerY - 10)), 60);
        }
    }
    s.g.ShieldOrbs[0].Mode = 358;
    UpdateShieldOrbs(s.w);
    EXPECT_EQ(s.g.ShieldOrbs[0].Mode, 360);
    UpdateShieldOrbs(s.w);
    EXPECT_EQ(s.g.ShieldOrbs[0].Mode, 0);

    // Each orb is drawn where the previous frame left it, then moved.
    s.g.ShieldOrbs[0] = ShotRecord{100, 150, 0, 0, 300, 0, 1};
    for (int j = 1; j < kOrbCount; ++j) s.g.ShieldOrbs[j].Active = 0;
    auto expected = std::make_unique<Surface>();
    DrawPattern(FindPicture(s.w.media.Obrazky, "Stit"), *expected, 100, 150, 0);
    FillSurface(*s.w.media.back, 0);
    UpdateShieldOrbs(s.w);
    EXPECT_NE(SurfaceHash(*expected), SurfaceHash(*std::make_unique<Surface>()));
    EXPECT_EQ(SurfaceHash(*s.w.media.back), SurfaceHash(*expected));
}

TEST(EggBeam, ChargesSweepsToTheEdgesAndClimbs) {
    ShipWorld s;
    s.w.shell.SoundEnabled = 1;
    s.p.ItemSlots[1] = 1;
    s.Press(GameKey::Key1);
    const ShotRecord& beam = s.g.EggBeams[0];
    const EggBeamEnd& ends = s.g.EggBeamEnds[0];
    EXPECT_EQ(ends.LeftX, 395);
    EXPECT_EQ(ends.RightX, 395);
    EXPECT_EQ(beam.Y, 289);
    // The beam keeps its own course while the ship moves.
    s.Hold(GameKey::Right);
    s.Frames(38);
    s.Release(GameKey::Right);
    EXPECT_EQ(beam.Mode, 2);
    EXPECT_EQ(ends.LeftX, 395);
    EXPECT_FALSE(s.SoundStarted("PrubehLej"));
    s.Frames(1);  // the 40th frame opens it at once
    EXPECT_EQ(beam.Mode, 3);
    EXPECT_TRUE(s.SoundStarted("RoztahnutiLej"));
    EXPECT_TRUE(s.SoundStarted("PrubehLej"));
    std::vector<int> left{ends.LeftX}, right{ends.RightX};
    for (int f = 0; f < 9; ++f) {
        s.Frames(1);
        left.push_back(ends.LeftX);
        right.push_back(ends.RightX);
    }
    EXPECT_EQ(left, (std::vector<int>{345, 295, 245, 195, 145, 95, 45, 12, 12, 12}));
    EXPECT_EQ(right, (std::vector<int>{445, 495, 545, 595, 645, 695, 745, 795, 787, 787}));

    // A blue line across the screen at the beam's row.
    FillSurface(*s.w.media.back, 0);
    s.Frames(1);
    for (int x : {100, 400, 700}) EXPECT_EQ(s.w.media.back->pixels[beam.Y][x], ColorTo565(0xFF0000)) << x;

    // One pixel a frame to the top, where it ends and its sound stops.
    s.Frames(beam.Y);
    EXPECT_EQ(beam.Y, 0);
    EXPECT_EQ(beam.Active, 1);
    s.Frames(1);
    EXPECT_EQ(beam.Active, 0);
    EXPECT_FALSE(s.SoundStarted("PrubehLej"));
}

TEST(HomingDiscs, SpreadTowardTheirLanesAndDriftUpWithNothingNear) {
    ShipWorld s;
    s.p.ItemSlots[1] = 2;
    s.Press(GameKey::Key1);
    const auto& group = s.g.HomingDiscs[0];
    EXPECT_EQ(group[0].X, 395);
    EXPECT_EQ(group[4].X, 405);
    EXPECT_EQ(group[0].Y, 299);
    s.Frames(69);
    // A disc stops spreading once within 5 pixels of its lane 85 * k, so it
    // halts 5 short of the lane on the side it came from.
    for (int k = 1; k <= kDiscsPerGroup; ++k) {
        EXPECT_EQ(group[k - 1].X, 85 * k + (85 * k < 400 ? 5 : -5)) << "disc " << k;
        EXPECT_EQ(group[k - 1].Mode, 3);
        EXPECT_EQ(group[k - 1].Y, 230);
    }
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
    // The window is |cx - X + 7| < 100 and |cy - Y + 7| < 100: it reaches 100
    // to the left but only 92 to the right of the disc.
    ShipWorld s;
    ShotRecord& disc = s.g.HomingDiscs[2][5];
    struct Case {
        int32_t cx, cy, x, y;
    };
    for (Case c : {Case{350, 250, 304, 204}, Case{250, 150, 296, 196}, Case{200, 200, 296, 196},
                   Case{395, 200, 300, 199}, Case{300, 295, 300, 199}}) {
        disc = ShotRecord{300, 200, 0, 0, 0, 3, 1};
        PlaceObject(s.w, 40, 3, c.cx, c.cy);
        UpdateHomingDiscs(s.w);
        EXPECT_EQ(disc.X, c.x) << c.cx << "," << c.cy;
        EXPECT_EQ(disc.Y, c.y) << c.cx << "," << c.cy;
    }
    // Invisible objects are passed over; only the first one found is chased.
    disc = ShotRecord{300, 200, 0, 0, 0, 3, 1};
    s.g.LevelObjects[40].Visible = 0;
    PlaceObject(s.w, 5, 3, 250, 150);
    s.g.LevelObjects[5].Visible = 0;
    PlaceObject(s.w, 9, 3, 350, 250);
    PlaceObject(s.w, 10, 3, 250, 150);
    UpdateHomingDiscs(s.w);
    EXPECT_EQ(disc.X, 304);
    EXPECT_EQ(disc.Y, 204);
}

}  // namespace
