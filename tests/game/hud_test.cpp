// The instrument bar as the player sees it: the gun gauge and its lamp, the
// digit sets of the hull energy, the radar, the refill and invulnerability
// squares, items and weapons, and a ship lost up to the game's end. Pictures
// the checks look for are swapped for flat colour-coded frames, so a pixel
// tells which picture and frame was drawn there.
#include "game/hud.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <utility>
#include <vector>

#include "shell/scene_changes.h"
#include "state/saved_files.h"
#include "test_support.h"

namespace {

constexpr uint16_t kGreen565 = ColorTo565(0x039F15);
constexpr uint16_t kRed565 = ColorTo565(0x0001DF);
constexpr uint16_t kOlive565 = ColorTo565(0x005928);

// Frame f of coded picture id is one flat colour: red carries the frame,
// green the picture, blue a fixed tag no game colour above uses.
constexpr uint32_t CodedColour(int id, int frame) { return uint32_t(frame * 8) | uint32_t(id * 4) << 8 | 0x84u << 16; }

// Replaces the named picture with flat frames of the same size and count.
void CodePicture(PictureCollection& collection, const char* name, int id) {
    const PictureItem& found = FindPicture(collection, name);
    PictureItem& item = const_cast<PictureItem&>(found);
    const int fw = PatternWidth(item), fh = PatternHeight(item), frames = FrameCount(item);
    RgbImage image;
    image.width = fw * frames;
    image.height = fh;
    image.pixels.resize(size_t(image.width) * size_t(fh));
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < image.width; ++x)
            image.pixels[size_t(y) * size_t(image.width) + size_t(x)] = CodedColour(id, x / fw);
    item.StoredPatternWidth = fw;
    item.StoredPatternHeight = fh;
    item.SkipWidth = item.SkipHeight = 0;
    item.Transparent = false;
    PreparePicture(item, image);
}

struct Coded {
    int id = -1, frame = -1;
    bool operator==(const Coded&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Coded& c) {
    return os << "{picture " << c.id << ", frame " << c.frame << "}";
}

enum Id { kLista = 1, kCislaBody, kCislaLife, kProcenta, kIcoZivot, kIcoBat, kSpecial, kIconGuns, kMalyBum, kVelkybum };
constexpr Coded None{};

struct Hud {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    ProgressRecord& p = w.game.Progress;
    Surface& back = *w.media.back;

    Hud() {
        w.shell.SoundEnabled = 0;
        w.shell.CurrentScene = Scene::HlavniHra;
        w.shell.options.saveDir = MakeTempDir("hud");
        p.Level = 5;         // no black boxes, no messages
        p.LevelEnd = 20000;  // no finish line near
        g.ArrivalWidth = g.ArrivalHeight = 72;
        g.VolleyTick = 0;  // no recharge unless a test asks for it
        const std::pair<const char*, int> coded[] = {
            {"Lista", kLista},       {"CislaBody", kCislaBody}, {"CislaLife", kCislaLife}, {"Procenta", kProcenta},
            {"IcoZivot", kIcoZivot}, {"IcoBat", kIcoBat},       {"Special", kSpecial},     {"IconGuns", kIconGuns},
            {"MalyBum", kMalyBum},   {"Velkybum", kVelkybum}};
        for (const auto& [name, id] : coded) CodePicture(w.media.Obrazky, name, id);
    }
    void Frame() {
        FillSurface(back, 0);
        UpdateHud(w);
        ApplySceneRequests(w);  // as the frame does after the game scene
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    uint16_t Pixel(int x, int y) const { return back.pixels[y][x]; }
    // Which coded picture and frame covers (x, y), if any.
    Coded At(int x, int y) const {
        const uint16_t px = Pixel(x, y);
        if ((px & 0x1F) != (0x84 >> 3)) return None;
        return Coded{(px >> 5) & 0x3F, px >> 11};
    }
    bool IsLista(int x, int y) const { return At(x, y) == (Coded{kLista, 0}); }
    // The first coded pixel of a picture anywhere on the surface.
    std::pair<int, int> Find(int id) const {
        for (int y = 0; y < kSurfaceHeight; ++y)
            for (int x = 0; x < kSurfaceWidth; ++x)
                if (At(x, y).id == id) return {x, y};
        return {-1, -1};
    }
};

// Gauge rows are x 741..781 at y 536..548, 552..564 and 568..580; blackEnd[r]
// is the first x of row r left showing (741 = nothing blacked).
void ExpectGauge(const Hud& h, const int (&blackEnd)[3], bool greenLamp) {
    const int rowTop[3] = {536, 552, 568};
    for (int r = 0; r < 3; ++r) {
        for (int y = rowTop[r]; y < rowTop[r] + 13; ++y) {
            for (int x = 741; x <= 781; ++x) {
                const bool black = x < blackEnd[r];
                ASSERT_EQ(h.Pixel(x, y) == 0, black) << "row " << r << " x " << x << " y " << y;
                if (!black) {
                    ASSERT_TRUE(h.IsLista(x, y)) << x << "," << y;
                }
            }
        }
        // The gaps between rows and the column right of the gauge stay bar.
        EXPECT_TRUE(h.IsLista(760, rowTop[r] + 13));
        EXPECT_TRUE(h.IsLista(782, rowTop[r]));
    }
    for (int y = 534; y < 538; ++y)
        for (int x = 723; x < 735; ++x) ASSERT_EQ(h.Pixel(x, y) == kGreen565, greenLamp) << x << "," << y;
    for (int y = 542; y < 546; ++y)
        for (int x = 723; x < 735; ++x) ASSERT_EQ(h.Pixel(x, y) == kRed565, !greenLamp) << x << "," << y;
    EXPECT_TRUE(h.IsLista(735, 534));
    EXPECT_TRUE(h.IsLista(729, 540));
}

TEST(HudGunGauge, EmptiesTopRowFirstAndSwitchesLampBelowTen) {
    Hud h;
    struct Case {
        int32_t energy;
        int blackEnd[3];
        bool green;
    };
    const Case cases[] = {
        {110, {741, 741, 741}, true},  // full: nothing blacked
        {114, {741, 741, 741}, true},  // a recharge may overshoot 110
        {108, {746, 741, 741}, true},  // one shot: x 741..745 of the top row
        {100, {752, 741, 741}, true},  // two units empty
        {75, {782, 741, 741}, true},   // six units empty black the whole top row
        {70, {782, 746, 741}, true},   // the seventh starts on the middle row
        {10, {782, 782, 776}, true},   // only the right-most 6 pixels of the bottom row
        {9, {782, 782, 782}, false},  {0, {782, 782, 782}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("gun energy " + std::to_string(c.energy));
        h.g.WeaponEnergy = c.energy;
        h.Frame();
        ExpectGauge(h, c.blackEnd, c.green);
    }
}

TEST(HudGunGauge, RechargesOnlyWithoutFireAndWarnsOncePerDrop) {
    Hud h;
    h.w.shell.SoundEnabled = 1;
    auto warned = [&] {
        WaveItem& item = FindSound(h.w.media.Zvuky, "Outenergie");
        bool playing = item.mainVoice >= 0 && h.w.media.mixer->voices[item.mainVoice].playing;
        for (int v : item.voices) playing = playing || h.w.media.mixer->voices[v].playing;
        for (Voice& voice : h.w.media.mixer->voices) voice.playing = false;
        return playing;
    };
    // A volley frame without fire adds 5, also past 110.
    h.g.WeaponEnergy = 108;
    h.g.VolleyTick = 10;
    h.g.ReloadTimer = 15;
    h.Frame();
    EXPECT_EQ(h.g.WeaponEnergy, 113);
    EXPECT_EQ(h.g.VolleyTick, 0);
    h.Frames(10);
    EXPECT_EQ(h.g.WeaponEnergy, 113);  // 110 or more: no more recharge
    EXPECT_EQ(h.g.VolleyTick, 10);
    // Fire held: neither recharge nor the tick.
    h.g.WeaponEnergy = 50;
    h.g.FireHeld = 1;
    h.Frame();
    EXPECT_EQ(h.g.WeaponEnergy, 50);
    EXPECT_EQ(h.g.VolleyTick, 10);
    h.g.FireHeld = 0;
    h.g.ReloadTimer = 3;  // a laser shot was fired lately
    h.Frame();
    EXPECT_EQ(h.g.WeaponEnergy, 50);

    // The warning: once when the energy drops below 10, not again while it
    // stays low, not re-armed at exactly 10, again after it rose above 10.
    warned();
    h.g.ReloadTimer = 0;
    h.g.WeaponEnergy = 9;
    h.Frame();
    EXPECT_TRUE(warned());
    h.Frame();
    EXPECT_FALSE(warned());
    h.g.WeaponEnergy = 10;
    h.Frame();
    h.g.WeaponEnergy = 8;
    h.Frame();
    EXPECT_FALSE(warned());
    h.g.WeaponEnergy = 11;
    h.Frame();
    h.g.WeaponEnergy = 9;
    h.Frame();
    EXPECT_TRUE(warned());
    // While firing the warning waits for a frame without fire.
    h.g.WeaponEnergy = 40;
    h.Frame();
    h.g.WeaponEnergy = 4;
    h.g.FireHeld = 1;
    h.Frame();
    EXPECT_FALSE(warned());
    h.g.FireHeld = 0;
    h.Frame();
    EXPECT_TRUE(warned());
}

TEST(HudNumbers, HullEnergyPicksDigitSetAndPercentSign) {
    Hud h;
    h.p.Lives = 0;  // energy 0 and below must not cost a ship here
    struct Case {
        int32_t energy;
        std::vector<int> frames;
        int percent;
    };  // frames from the units digit
    const Case cases[] = {
        {200, {0, 0, 2}, -1}, {31, {1, 3}, -1}, {30, {10, 13}, 0}, {11, {11, 11}, 0},
        {10, {20, 21}, 1},    {0, {20}, 1},     {-4, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("energy " + std::to_string(c.energy));
        h.p.Energy = c.energy;
        h.g.EnergyRefill = 0;
        h.Frame();
        for (size_t i = 0; i < 4; ++i) {
            const Coded expected = i < c.frames.size() ? Coded{kCislaLife, c.frames[i]} : Coded{kLista, 0};
            EXPECT_EQ(h.At(176 - 13 * int(i), 548), expected) << "digit " << i;
        }
        const Coded percent = c.percent < 0 ? Coded{kLista, 0} : Coded{kProcenta, c.percent};
        EXPECT_EQ(h.At(194, 548), percent);
    }
}

TEST(HudNumbers, ScoreAndBlackBoxesRightAligned) {
    Hud h;
    h.p.Score = 1204530;
    h.p.Level = 1;
    h.p.BlackBoxCount = 12;
    h.Frame();
    const int digits[] = {0, 3, 5, 4, 0, 2, 1};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(h.At(564 - 23 * i, 541), (Coded{kCislaBody, digits[i]})) << "digit " << i;
    EXPECT_EQ(h.At(564 - 23 * 7, 541).id, kLista);
    EXPECT_EQ(h.At(751, 11), (Coded{kIcoBat, 0}));
    EXPECT_EQ(h.At(765, 55), (Coded{kCislaLife, 2}));  // black boxes always in the normal set
    EXPECT_EQ(h.At(752, 55), (Coded{kCislaLife, 1}));
    EXPECT_EQ(h.At(739, 55), None);

    // Score 0 is one digit; no black boxes outside level 1.
    h.p.Score = 0;
    h.p.Level = 2;
    h.Frame();
    EXPECT_EQ(h.At(564, 541), (Coded{kCislaBody, 0}));
    EXPECT_EQ(h.At(541, 541).id, kLista);
    EXPECT_EQ(h.At(751, 11), None);
    EXPECT_EQ(h.At(765, 55), None);
}

struct RadarObject {
    int32_t x, ahead, energy;
    uint8_t content;
};

TEST(HudRadar, ShowsObjectsShipAndFinishDots) {
    Hud h;
    const uint16_t red = ColorTo565(0x0000FF), green = ColorTo565(0x00FF00), yellow = ColorTo565(0x00FFFF),
                   cyan = ColorTo565(0xFFFF00);
    h.p.ScrollDistance = 3000;
    const RadarObject objects[] = {
        {400, 300, 10, 0},   // enemy 300 rows ahead: (61, 498)
        {200, -300, 10, 5},  // a box on screen near the bottom: (39, 542)
        {600, 0, 10, 9},     // a black box at the top of the screen: yellow (83, 520)
        {100, 599, 10, 0},   // the last row ahead still shows: (28, 477)
        {700, 600, 10, 0},   // too far ahead
        {700, -600, 10, 0},  // passed
        {500, 100, 0, 0},    // destroyed
    };
    int slot = 1;
    for (const RadarObject& o : objects) {
        LevelObject& lo = h.g.LevelObjects[slot++];
        lo.X = o.x;
        lo.Y = h.p.ScrollDistance + o.ahead;
        lo.Energy = o.energy;
        lo.Content = o.content;
    }
    h.p.PlayerX = 400;
    h.p.PlayerY = 300;
    h.Frame();
    EXPECT_EQ(h.Pixel(61, 498), red);
    EXPECT_EQ(h.Pixel(39, 542), green);
    EXPECT_EQ(h.Pixel(83, 520), yellow);
    EXPECT_EQ(h.Pixel(28, 477), red);
    EXPECT_TRUE(h.IsLista(94, 476));      // 600 ahead
    EXPECT_TRUE(h.IsLista(94, 564));      // 600 behind
    EXPECT_TRUE(h.IsLista(72, 513));      // destroyed
    EXPECT_EQ(h.Pixel(56, 543), yellow);  // the ship: ((400-37)*88/800+17, (300-37)*44/600+524)

    // The finish line: two cyan dots from 600 rows before it on, not in level 9.
    auto dots = [&](int32_t toFinish, int level) {
        h.p.Level = level;
        h.p.LevelEnd = h.p.ScrollDistance - toFinish;
        h.Frame();
        const int q = toFinish * 44 / 600 + 521;
        return h.Pixel(17, q) == cyan && h.Pixel(99, q) == cyan;
    };
    EXPECT_FALSE(dots(-600, 3));
    EXPECT_TRUE(dots(-599, 3));
    EXPECT_TRUE(dots(-300, 3));
    EXPECT_TRUE(dots(594, 3));
    EXPECT_FALSE(dots(595, 3));
    EXPECT_FALSE(dots(-300, 9));

    // While a message is armed or shown the radar is dark.
    h.p.Level = 4;              // no messages of its own, so the step does not touch the scroll
    h.p.ScrollDistance = 6000;  // the panel itself stays hidden this late
    h.p.LevelEnd = h.p.ScrollDistance + 300;
    for (LevelObject& lo : h.g.LevelObjects) lo.Y += 3000;
    for (auto [step, text] : {std::pair{1, false}, std::pair{0, true}}) {
        h.g.CommanderStep = step;
        if (text) h.g.CommanderText.Assign("Pozor");
        else SetNoText(h.g.CommanderText);
        h.Frame();
        for (int y = 474; y < 568; ++y)
            for (int x = 13; x < 108; ++x) ASSERT_TRUE(h.IsLista(x, y)) << x << "," << y << " step " << step;
    }
}

// Squares of the frame around the energy digits, by their top-left corners.
std::vector<std::pair<int, int>> LitSquares(const Hud& h) {
    std::vector<std::pair<int, int>> lit;
    auto test = [&](int x, int y) {
        if (h.Pixel(x + 3, y + 3) == kGreen565) lit.emplace_back(x, y);
    };
    for (int i = 0; i <= 9; ++i) test(135 + 8 * i, 535);
    for (int i = 1; i <= 4; ++i) test(208, 535 + 8 * i);
    for (int i = 9; i >= 0; --i) test(135 + 8 * i, 575);
    for (int i = 4; i >= 1; --i) test(135, 535 + 8 * i);
    return lit;
}

TEST(HudRefill, StopsAtTwoHundredAndShowsItsFrameMeanwhile) {
    Hud h;
    h.p.Energy = 195;
    h.g.EnergyRefill = 100;
    int frames = 0;
    while (h.p.Energy < 200 && frames < 100) {
        h.Frame();
        ++frames;
        EXPECT_EQ(LitSquares(h).size(), 28u) << "frame " << frames;
    }
    EXPECT_EQ(frames, 10);  // one point every second frame
    EXPECT_GT(h.g.EnergyRefill, 0);
    h.Frames(2);
    EXPECT_EQ(h.g.EnergyRefill, 0);
    EXPECT_EQ(h.p.Energy, 200);
    h.Frame();
    EXPECT_TRUE(LitSquares(h).empty());

    // An extra-life box (100) gives 50 energy over 100 frames.
    h.p.Energy = 40;
    h.g.EnergyRefill = 100;
    h.Frames(100);
    EXPECT_EQ(h.p.Energy, 90);
    EXPECT_EQ(h.g.EnergyRefill, 0);
}

TEST(HudInvulnerability, LightCirclesTheEnergyDisplayOnceIn141Frames) {
    Hud h;
    h.g.InvulnerableEnergy = 150;
    h.p.Energy = 150;
    std::vector<std::pair<int, int>> path;
    for (int f = 0; f < 141; ++f) {
        h.Frame();
        const auto lit = LitSquares(h);
        ASSERT_LE(lit.size(), 1u) << "frame " << f;
        if (!lit.empty() && (path.empty() || path.back() != lit[0])) path.push_back(lit[0]);
    }
    EXPECT_EQ(h.g.InvulnerableLightStep, 0);
    // Clockwise from the top-left corner: the top edge, down the right edge,
    // back along the bottom and up the left edge to where it began.
    std::vector<std::pair<int, int>> expected;
    for (int i = 0; i <= 9; ++i) expected.emplace_back(135 + 8 * i, 535);
    for (int i = 1; i <= 4; ++i) expected.emplace_back(208, 535 + 8 * i);
    for (int i = 9; i >= 0; --i) expected.emplace_back(135 + 8 * i, 575);
    for (int i = 4; i >= 0; --i) expected.emplace_back(135, 535 + 8 * i);
    // (The corner squares of the right edge lie under the top and bottom
    // rows' last squares, so they read as those.)
    EXPECT_EQ(path, expected);

    h.g.InvulnerableEnergy = 0;
    h.Frame();
    EXPECT_TRUE(LitSquares(h).empty());
}

TEST(HudItems, SlotsLampsLastWeaponAndWeaponBars) {
    Hud h;
    h.p.ItemSlots[1] = 3;
    h.p.ItemSlots[3] = 7;
    h.p.LastWeapon = 4;
    h.p.HasRockets = 1;
    h.p.HasBombs = 1;
    h.Frame();
    EXPECT_EQ(h.At(257, 535), (Coded{kSpecial, 2}));
    EXPECT_EQ(h.At(314, 535).id, kLista);
    EXPECT_EQ(h.At(371, 535), (Coded{kSpecial, 6}));
    EXPECT_EQ(h.Pixel(247, 538), kGreen565);
    EXPECT_TRUE(h.IsLista(247, 550));
    EXPECT_EQ(h.Pixel(247, 562), kGreen565);
    EXPECT_EQ(h.At(644, 535), (Coded{kIconGuns, 4}));
    // Two weapons: the two lowest bars, whichever weapons they are.
    EXPECT_EQ(h.Pixel(700, 575), kOlive565);
    EXPECT_EQ(h.Pixel(700, 566), kOlive565);
    EXPECT_TRUE(h.IsLista(700, 557));

    for (int s = 1; s <= 3; ++s) h.p.ItemSlots[s] = 0;
    h.p.LastWeapon = -1;
    h.p.HasRockets = h.p.HasBombs = 0;
    h.p.HasGoodLaser = h.p.HasDiagonalBalls = h.p.HasRockets = h.p.HasSideBalls = h.p.HasBombs = 1;
    h.Frame();
    EXPECT_EQ(h.At(257, 535).id, kLista);
    EXPECT_TRUE(h.IsLista(247, 538));
    EXPECT_EQ(h.At(644, 535).id, kLista);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(h.Pixel(700, 575 - 9 * k), kOlive565) << "bar " << k;

    // A damaged profile's impossible item: the slot's lamp, but no picture.
    h.p.ItemSlots[2] = INT32_MIN;
    h.Frame();
    EXPECT_EQ(h.At(314, 535).id, kLista);
    EXPECT_EQ(h.Pixel(247, 550), kGreen565);
}

TEST(HudLives, LosingTheFirstShipKeepsTheGameGoing) {
    Hud h;
    h.p.Lives = 3;
    h.Frame();
    EXPECT_EQ(h.At(11, 11), (Coded{kIcoZivot, 0}));
    EXPECT_EQ(h.At(54, 11), (Coded{kIcoZivot, 0}));
    EXPECT_EQ(h.At(97, 11), None);

    h.p.Energy = -7;
    h.p.HasRockets = 1;
    h.p.ItemSlots[2] = 5;
    h.p.Score = 4200;
    h.g.WeaponEnergy = 30;
    h.g.InvulnerableEnergy = 40;
    for (int i = 0; i < kOrbCount; ++i) h.g.ShieldOrbs[i].Active = 1;
    h.g.InvulnerableTimer = 400;
    h.g.DeathTick = 0;
    // The first small explosion's spot: y is drawn from the random source
    // before x, so a replay puts it in the same place.
    Random draws = h.w.random;
    const int dy = RandomInt(draws, 75);
    const int dx = RandomInt(draws, 73);
    h.Frame();
    EXPECT_EQ(h.Find(kMalyBum), std::make_pair(h.p.PlayerX - 54 + dx, h.p.PlayerY - 46 + dy));
    EXPECT_EQ(h.p.Lives, 2);
    EXPECT_EQ(h.g.InvulnerableEnergy, 0);
    EXPECT_EQ(h.p.Energy, 100);
    EXPECT_EQ(h.p.ShipExplosionFrame, 1);
    for (const ShotRecord& orb : h.g.ShieldOrbs) EXPECT_EQ(orb.Active, 0);
    EXPECT_EQ(h.g.InvulnerableTimer, 0);
    EXPECT_EQ(h.g.WeaponEnergy, 110);
    EXPECT_EQ(h.p.HasRockets, 1);
    EXPECT_EQ(h.p.ItemSlots[2], 5);
    EXPECT_EQ(h.p.Score, 4200);
    EXPECT_EQ(h.At(54, 11), None);  // one spare ship left on show

    // Small explosions around the ship; two six-frame steps, then it flies in.
    int frames = 1;
    int shownFrame = 1;  // the explosion frame drawn in the last frame
    while (frames < 100) {
        const auto [x, y] = h.Find(kMalyBum);
        ASSERT_GE(x, h.p.PlayerX - 54);
        ASSERT_LE(x, h.p.PlayerX - 54 + 72);
        ASSERT_GE(y, h.p.PlayerY - 46);
        ASSERT_LE(y, h.p.PlayerY - 46 + 74);
        EXPECT_EQ(h.At(x, y).frame, shownFrame - 1);
        if (h.p.ShipExplosionFrame <= 0) break;
        shownFrame = h.p.ShipExplosionFrame;
        h.Frame();
        ++frames;
    }
    EXPECT_EQ(frames, 12);
    EXPECT_EQ(h.p.ShipExplosionFrame, -1);
    EXPECT_EQ(h.g.ArrivalWidth, 400);
    EXPECT_EQ(h.g.ArrivalHeight, 400);
    EXPECT_EQ(h.p.Lives, 2);
    EXPECT_EQ(h.w.shell.CurrentScene, Scene::HlavniHra);
    h.Frame();
    EXPECT_EQ(h.Find(kMalyBum).first, -1);
    EXPECT_EQ(h.p.Lives, 2);
}

TEST(HudLives, LosingTheLastShipEndsTheGameOnTheScorePage) {
    Hud h;
    // The player's profile in slot 2, next to another player's in slot 1.
    for (int k : {1, 2}) {
        ProgressRecord& slot = h.w.saved.ProfileTable[k];
        slot.PlayerName.Assign(k == 1 ? "Ota" : "Jitka");
        slot.Level = 6;
        slot.Score = 5000 * k;
        slot.ScrollDistance = 9000;
    }
    h.w.saved.CurrentProfile = 2;
    h.w.shell.MusicEnabled = 1;
    h.w.shell.MusicChannel = LoadSong(h.w.media.music, false, "audio\\song02.mod", 0, 0, 1);
    PlaySong(h.w.media.music, h.w.shell.MusicChannel);
    ASSERT_EQ(IsSongPlaying(h.w.media.music, h.w.shell.MusicChannel), 1);
    h.w.front.GameActive = 1;
    h.w.front.HoverButton = 2;

    h.p.Lives = 1;
    h.p.Score = 31337;
    h.p.Energy = 0;
    h.g.DeathTick = 0;
    h.Frame();
    EXPECT_EQ(h.p.Lives, 0);
    EXPECT_EQ(h.p.Energy, 0);
    EXPECT_EQ(h.Find(kIcoZivot).first, -1);
    EXPECT_EQ(h.At(176, 548), (Coded{kCislaLife, 20}));  // a single 0 in the critical set
    EXPECT_EQ(h.At(163, 548).id, kLista);

    // Three steps of small explosions, three of the large one, then the pause.
    int frames = 1;
    std::vector<int> largeFrames;
    while (h.p.Lives == 0 && frames < 200) {
        h.Frame();
        ++frames;
        const auto [x, y] = h.Find(kVelkybum);
        if (x < 0) continue;
        EXPECT_EQ(x, h.p.PlayerX - 34);
        EXPECT_EQ(y, h.p.PlayerY - 29);
        const int shown = h.At(x, y).frame;
        if (largeFrames.empty() || largeFrames.back() != shown) largeFrames.push_back(shown);
    }
    EXPECT_EQ(largeFrames, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(frames, 36);
    EXPECT_EQ(int(h.p.Lives), -1);
    EXPECT_EQ(h.p.ShipExplosionFrame, -1);
    while (h.p.Lives == -1 && frames < 200) {
        h.Frame();
        ++frames;
        ASSERT_EQ(h.Find(kVelkybum).first, -1);
        ASSERT_EQ(h.Find(kMalyBum).first, -1);
    }
    // The pause counts DeathTick from 5 to 50; the game ends in the frame
    // Lives turns 0.
    EXPECT_EQ(frames, 81);
    EXPECT_EQ(h.w.shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(h.w.front.MenuPage, Page::Scores);
    EXPECT_EQ(h.w.front.IdleTimer, 1500);
    EXPECT_EQ(h.w.front.GameActive, 0);
    EXPECT_EQ(h.w.front.HoverButton, 0);
    EXPECT_EQ(IsSongPlaying(h.w.media.music, h.w.shell.MusicChannel), 0);
    EXPECT_EQ(h.p.Lives, 0);
    EXPECT_EQ(h.p.Score, 31337);  // for the score page to enter

    // The played slot can no longer be continued; the other is untouched.
    EXPECT_EQ(h.w.saved.CurrentProfile, 0);
    const auto file = ReadFileBytes(SavedFilePath(h.w, kProfilesFileName));
    ASSERT_EQ(file.size(), kProfilesFileSize);
    const ProgressRecord slot2 = DecodeProgress(file.data() + 108);
    EXPECT_TRUE(slot2.PlayerName.Empty());
    EXPECT_EQ(slot2.Level, 1);
    EXPECT_EQ(slot2.Score, 0);
    EXPECT_EQ(slot2.ScrollDistance, 600);
    const ProgressRecord slot1 = DecodeProgress(file.data());
    EXPECT_EQ(slot1.PlayerName.View(), "Ota");
    EXPECT_EQ(slot1.Level, 6);
    EXPECT_EQ(slot1.Score, 5000);
}

TEST(HudLives, GameOverWithoutProfileTouchesNoSlotAndNoFile) {
    Hud h;
    h.w.saved.ProfileTable[1].PlayerName.Assign("Ota");
    h.w.saved.ProfileTable[1].Level = 4;
    h.w.saved.CurrentProfile = 0;
    h.p.Lives = 0;
    h.p.ShipExplosionFrame = -1;
    h.Frame();
    EXPECT_EQ(h.w.shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(h.w.front.MenuPage, Page::Scores);
    EXPECT_EQ(h.w.saved.CurrentProfile, 0);
    EXPECT_EQ(h.w.saved.ProfileTable[1].PlayerName.View(), "Ota");
    EXPECT_EQ(h.w.saved.ProfileTable[1].Level, 4);
    EXPECT_FALSE(std::filesystem::exists(SavedFilePath(h.w, kProfilesFileName)));
}

}  // namespace
