// The mother ship battle frame by frame: parts as built per difficulty,
// direct hits and armour, bursts, beams and discs, shields of the launcher
// and the core, the probe, the guns' volleys, the final explosions and the
// ship's sweep, on the generated pictures of the ship.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "frame_probes.h"
#include "game/mother_ship.h"
#include "game/mother_ship_hits.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/mixer.h"
#include "media/sound.h"
#include "media/surface.h"
#include "shell/scene_changes.h"
#include "test_support.h"

namespace {

using namespace mothership;

constexpr int kGuards[] = {0, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 16};

class MotherShipTest : public ::testing::Test {
protected:
    static TestWorld& Shared() {
        static TestWorld t = [] {
            TestWorld made = MakeTestWorld(true);
            LoadPictureCollection(made.w().media.Level, ResolveAssetPath(TestDataDir(), "video\\velkalod.lev"));
            return made;
        }();
        return t;
    }
    void SetUp() override {
        static const GameState fresh;
        g = fresh;
        SeedRandom(w.random, 777);
        w.shell.CurrentScene = Scene::HlavniHra;
        g.Progress.ScrollDistance = 11000;
        g.Progress.PlayerX = 400;
        g.Progress.PlayerY = 500;
        SetUpMotherShip(w, 1.0);
        g.MotherShip = {0, 0};
        part(kProbe).Energy = 0;  // no probe about unless a test wants one
    }
    ShipPart& part(int i) { return g.MotherShipParts[i]; }
    void OnlyStanding(std::initializer_list<int> standing) {
        for (int i = 0; i < kRecords; ++i)
            if (std::find(standing.begin(), standing.end(), i) == standing.end()) part(i).Energy = 0;
    }
    void KillGuards() {
        for (int i : kGuards) part(i).Energy = 0;
    }
    // A shot of the given array placed with its top-left at the part's
    // top-left corner plus (dx, dy).
    ShotRecord& Place(ShotRecord& s, int record, int dx, int dy, int damage) {
        const PartRect r = RectOf(g, record);
        s = ShotRecord{};
        s.X = r.left + dx;
        s.Y = r.top + dy;
        s.StartY = s.Y;
        s.Damage = damage;
        s.Active = 1;
        return s;
    }
    int ShotsInFlight() const {
        int n = 0;
        for (const EnemyShotRecord& e : g.EnemyShots) n += e.Active == 1;
        return n;
    }

    World& w = Shared().w();
    GameState& g = w.game;
};

TEST_F(MotherShipTest, SetUpScalesEnergyByStrengthAndKeepsTheRunsCounters) {
    const struct {
        double s;
        int part0, part9, part18;
    } table[] = {{1.0, 1000, 200, 300}, {1.2, 1200, 240, 360}, {2.0, 2000, 400, 600}};
    for (const auto& row : table) {
        SetUpMotherShip(w, row.s);
        EXPECT_EQ(part(0).Energy, row.part0);
        EXPECT_EQ(part(9).Energy, row.part9);
        EXPECT_EQ(part(18).Energy, row.part18);
    }
    // A second battle in the same run: sweep, probe and tick counters and
    // the hit animation carry over; the destruction starts again from 0.
    g.ShipDirX = 0;
    g.ShipDirY = 0;
    g.ProbeLaunchCounter = 17;
    g.ShipFireClock = 900;
    g.ShipTick6 = 3;
    g.ShipTick9 = 7;
    g.FrameParity = 1;
    g.DestructionCounter = 320;
    g.LauncherState = 3;
    g.MuzzleTimers[4] = 3;
    part(5).Hit = 2;
    SetUpMotherShip(w, 1.0);
    EXPECT_EQ(g.ShipDirX, 0);
    EXPECT_EQ(g.ShipDirY, 0);
    EXPECT_EQ(g.ProbeLaunchCounter, 17);
    EXPECT_EQ(g.ShipFireClock, 900);
    EXPECT_EQ(g.ShipTick6, 3);
    EXPECT_EQ(g.ShipTick9, 7);
    EXPECT_EQ(g.FrameParity, 1);
    EXPECT_EQ(part(5).Hit, 2);
    EXPECT_EQ(g.DestructionCounter, 0);
    EXPECT_EQ(g.LauncherState, 0);
    EXPECT_EQ(g.MuzzleTimers[4], 0);
    EXPECT_EQ(g.MotherShip.X, 0);
    EXPECT_EQ(g.MotherShip.Y, -228);
    // The probe and the unused records: energy 10 and no hit box.
    for (int i = 19; i < 30; ++i) {
        EXPECT_EQ(part(i).Energy, 10);
        EXPECT_EQ(part(i).Width, 0);
    }
}

TEST_F(MotherShipTest, ShipSlidesInThenSweepsSideToSide) {
    SetUpMotherShip(w, 1.0);
    part(kProbe).Energy = 0;
    // Down a pixel every frame, and another on every second frame while the
    // sweep is downwards; once in place it never rises more than a pixel.
    int lastY = g.MotherShip.Y, minX = 0, maxX = 0, minY = 0, arrival = -1;
    for (int frame = 0; frame < 1200; ++frame) {
        UpdateMotherShip(w);
        if (arrival < 0) {
            EXPECT_GE(g.MotherShip.Y, lastY) << "frame " << frame;
        }
        if (arrival < 0 && g.MotherShip.Y == 0) arrival = frame;
        lastY = g.MotherShip.Y;
        if (arrival >= 0) minY = std::min(minY, g.MotherShip.Y);
        minX = std::min(minX, g.MotherShip.X);
        maxX = std::max(maxX, g.MotherShip.X);
        if (frame == 199) {
            EXPECT_EQ(g.MotherShip.X, 100);  // half a pixel a frame
        }
    }
    EXPECT_EQ(maxX, 100);
    EXPECT_EQ(minX, -100);
    EXPECT_GE(arrival, 228 * 2 / 3 - 1);
    EXPECT_LE(arrival, 228 * 2);
    EXPECT_LE(g.MotherShip.Y, 0);
    EXPECT_GE(minY, -1);
}

TEST_F(MotherShipTest, DirectHitsScoreAtZeroAndLasersStrikeOncePerPartAndFrame) {
    OnlyStanding({10, 11, 15});
    // Part 10 (energy 100): two lasers of 50, one level with the part.
    Place(g.LaserShots[0], 10, 24, 57, 50);
    Place(g.LaserShots[1], 10, 24, 57, 50);
    StrikeWithShots(w);
    EXPECT_EQ(part(10).Energy, 50);
    EXPECT_EQ(g.LaserShots[0].Active, 0);
    EXPECT_EQ(g.LaserShots[1].Active, 1);
    StrikeWithShots(w);
    EXPECT_EQ(part(10).Energy, 0);
    EXPECT_EQ(g.Progress.Score, 50);
    EXPECT_EQ(part(10).Hit, 1);

    // Rockets, balls and bombs strike with their whole body: 14 x 57,
    // 16 x 16 and 33 x 47 sample grids, touching only strictly inside.
    struct Body {
        ShotRecord* shots;
        int w, h;
    };
    const Body bodies[] = {
        {g.RocketShots, 14, 57}, {g.SideBallShots, 16, 16}, {g.DiagonalBallShots, 16, 16}, {g.BombShots, 33, 47}};
    for (const Body& b : bodies) {
        part(11).Energy = 200;
        Place(b.shots[0], 11, 1 - b.w, 5, 1);  // its last column on the left edge
        Place(b.shots[1], 11, 5, 1 - b.h, 1);  // its last row on the top edge
        StrikeWithShots(w);
        EXPECT_EQ(part(11).Energy, 200) << b.w << "x" << b.h;
        Place(b.shots[0], 11, 2 - b.w, 5, 1);  // one column inside
        Place(b.shots[1], 11, 5, 2 - b.h, 1);  // one row inside
        StrikeWithShots(w);
        EXPECT_EQ(part(11).Energy, 198) << b.w << "x" << b.h;
        b.shots[0].Active = b.shots[1].Active = 0;
    }
    // A bomb that strikes bursts on the ship and scores only below 0.
    part(15).Energy = 40;
    const int before = g.Progress.Score;
    ShotRecord& bomb = Place(g.BombShots[3], 15, 2, 2, 40);
    StrikeWithShots(w);
    EXPECT_EQ(part(15).Energy, 0);
    EXPECT_EQ(g.Progress.Score, before);
    EXPECT_EQ(g.ShipBlast[0], 1);
    EXPECT_EQ(g.ShipBlast[1], bomb.X);
    EXPECT_EQ(g.ShipBlast[2], bomb.Y);
}

TEST_F(MotherShipTest, ArmouredPartsLetAShotThroughOnlyOnARollOfOne) {
    // Part 12: one roll per frame for a laser, which stays in flight on a miss.
    int hits = 0;
    for (int frame = 0; frame < 300; ++frame) {
        Random predict = w.random;
        const bool through = RandomInt(predict, 10) == 1;
        part(12).Energy = 1000;
        Place(g.LaserShots[0], 12, 30, 60, 10);
        StrikeWithShots(w);
        EXPECT_EQ(part(12).Energy, through ? 990 : 1000);
        EXPECT_EQ(g.LaserShots[0].Active, through ? 0 : 1);
        hits += through;
    }
    EXPECT_GT(hits, 10);
    EXPECT_LT(hits, 60);
    g.LaserShots[0].Active = 0;
    // A rocket rolls again for every further column of it over the part.
    Random predict = w.random;
    int rolls = 0;
    bool through = false;
    while (rolls < 14 && !through) {
        through = RandomInt(predict, 10) == 1;
        ++rolls;
    }
    part(12).Energy = 1000;
    Place(g.RocketShots[0], 12, 10, 2, 10);
    StrikeWithShots(w);
    EXPECT_EQ(part(12).Energy, through ? 990 : 1000);
    EXPECT_EQ(w.random.seed, predict.seed);
    // Bombs pass any armour, without a roll.
    for (int armoured : {12, kLauncher}) {
        Place(g.BombShots[0], armoured, 5, 5, 10);
        part(armoured).Energy = 300;
        const Random before = w.random;
        StrikeWithShots(w);
        EXPECT_EQ(part(armoured).Energy, 290) << "part " << armoured;
        EXPECT_EQ(w.random.seed, before.seed) << "part " << armoured;
    }
}

TEST_F(MotherShipTest, BurstsBeamsAndDiscsLeavingZeroDestroyWithoutScore) {
    OnlyStanding({10});
    // Burst 50 pixels right of part 10's corner: 20 * 10000 / 2500 + 20 = 100.
    ShotRecord& bomb = Place(g.BombShots[0], 10, 50, 0, 20);
    bomb.StartY = bomb.Y + 201;
    BurstBombs(w);
    EXPECT_EQ(bomb.Active, 0);
    EXPECT_EQ(part(10).Energy, 0);
    EXPECT_EQ(g.ShipBlast[0], 1);
    // Exactly on the corner counts as a distance of 1; 100 away is out of reach.
    OnlyStanding({11});
    part(11).Energy = 1000000;
    Place(g.BombShots[1], 11, 0, 0, 3).StartY -= 300;
    BurstBombs(w);
    EXPECT_EQ(part(11).Energy, 1000000 - 30003);
    OnlyStanding({11, 12});
    part(11).Energy = 200;
    part(12).Energy = 1000;
    Place(g.BombShots[2], 11, 100, 0, 3).StartY -= 300;
    const int energyOf12 = part(12).Energy;
    BurstBombs(w);
    EXPECT_EQ(part(11).Energy, 200);
    EXPECT_LT(part(12).Energy, energyOf12);  // within reach of this one

    // An egg beam burns whatever lies level with it, wherever it is sideways.
    OnlyStanding({15});
    part(15).Energy = 1;
    ShotRecord& beam = g.EggBeams[0];
    beam = ShotRecord{};
    beam.Active = 1;
    beam.Mode = 3;
    beam.X = -500;
    beam.Y = RectOf(g, 15).top + 3;
    BurnWithEggBeams(w);
    EXPECT_EQ(part(15).Energy, 0);
    beam.Active = 0;
    // A disc takes 10.
    OnlyStanding({1});
    part(1).Energy = 10;
    Place(g.HomingDiscs[2][3], 1, 2, 2, 0);
    StrikeWithDiscs(w);
    EXPECT_EQ(part(1).Energy, 0);
    EXPECT_EQ(g.HomingDiscs[2][3].Active, 0);
    EXPECT_EQ(g.Progress.Score, 0);
    // Past 0 they score.
    Place(g.HomingDiscs[0][0], 2, 2, 2, 0);
    part(2).Energy = 5;
    StrikeWithDiscs(w);
    EXPECT_EQ(g.Progress.Score, 100);
}

TEST_F(MotherShipTest, BeamsDiscsAndOrbsArrivingTogetherAllStrikeButAPartScoresOnce) {
    OnlyStanding({2, 15});
    // Three beams level with part 15 at energy 1: 0, -1 (scored), -2.
    part(15).Energy = 1;
    for (int i = 0; i < 3; ++i) {
        ShotRecord& beam = g.EggBeams[i];
        beam = ShotRecord{};
        beam.Active = 1;
        beam.Mode = 3;
        beam.Y = RectOf(g, 15).top + 3;
    }
    BurnWithEggBeams(w);
    EXPECT_EQ(part(15).Energy, -2);
    EXPECT_EQ(g.Progress.Score, 50);
    // Two discs of different groups on part 2 at energy 5: both are spent.
    part(2).Energy = 5;
    Place(g.HomingDiscs[0][0], 2, 2, 2, 0);
    Place(g.HomingDiscs[3][5], 2, 3, 4, 0);
    StrikeWithDiscs(w);
    EXPECT_EQ(g.HomingDiscs[0][0].Active, 0);
    EXPECT_EQ(g.HomingDiscs[3][5].Active, 0);
    EXPECT_EQ(part(2).Energy, -15);
    EXPECT_EQ(g.Progress.Score, 50 + 100);
    // Two orbs on the probe: the second is spent on the downed probe too.
    ShipPart& probe = part(kProbe);
    probe = ShipPart{};
    probe.X = 300;
    probe.Y = 400;
    probe.Width = 28;
    probe.Height = 23;
    probe.Energy = 1;
    Place(g.ShieldOrbs[0], kProbe, 2, 2, 5);
    Place(g.ShieldOrbs[7], kProbe, 4, 1, 5);
    OrbsAgainstProbe(w);
    EXPECT_EQ(g.ShieldOrbs[0].Active, 0);
    EXPECT_EQ(g.ShieldOrbs[7].Active, 0);
    EXPECT_EQ(probe.Energy, -9);
    EXPECT_EQ(probe.Hit, 1);
    EXPECT_EQ(g.Progress.Score, 150);  // the probe is worth nothing
}

TEST_F(MotherShipTest, DiscsAreDrawnTowardsAPartOnePerGroup) {
    OnlyStanding({10});
    const PartRect r = RectOf(g, 10);  // centre (357, 103)
    Place(g.HomingDiscs[1][0], 10, -60, 40, 0).Mode = 2;
    Place(g.HomingDiscs[1][1], 10, -50, 40, 0).Mode = 2;
    Place(g.HomingDiscs[2][0], 10, -60, 40, 0).Mode = 1;  // just launched: not drawn in
    StrikeWithDiscs(w);
    EXPECT_EQ(g.HomingDiscs[1][0].X, r.left - 56);
    EXPECT_EQ(g.HomingDiscs[1][0].Y, r.top + 37);
    EXPECT_EQ(g.HomingDiscs[1][1].X, r.left - 50);
    EXPECT_EQ(g.HomingDiscs[2][0].X, r.left - 60);
}

TEST_F(MotherShipTest, LauncherIsShieldedByTheGunsAndTheCoreByTheLauncher) {
    // Shielded launcher: a killing blow still scores, energy is back at 150.
    Place(g.BombShots[0], kLauncher, 5, 5, 301);
    UpdateMotherShip(w);
    EXPECT_EQ(part(kLauncher).Energy, 150);
    EXPECT_EQ(g.Progress.Score, 50);
    EXPECT_EQ(g.LauncherState, 0);

    // With every guard gone the launcher dies: held at 2, nine steps of nine frames.
    KillGuards();
    g.ShipTick9 = 8;
    Place(g.BombShots[0], kLauncher, 5, 5, 500);
    UpdateMotherShip(w);
    EXPECT_EQ(part(kLauncher).Energy, 2);
    UpdateMotherShip(w);
    EXPECT_EQ(g.LauncherState, 1);
    EXPECT_EQ(g.LauncherFrame, 4);
    // During the animation hits still score and the core cannot be hurt.
    const int score = g.Progress.Score;
    Place(g.BombShots[1], kLauncher, 5, 5, 3);
    Place(g.BombShots[2], kCore, 5, 20, 1000);
    UpdateMotherShip(w);
    EXPECT_EQ(part(kLauncher).Energy, 2);
    EXPECT_EQ(part(kCore).Energy, 150);
    EXPECT_EQ(g.Progress.Score, score + 50 + 50);
    int frames = 3;
    while (g.LauncherState == 1 && frames < 200) {
        UpdateMotherShip(w);
        ++frames;
    }
    EXPECT_EQ(g.LauncherState, 3);
    EXPECT_EQ(frames, 1 + 9 * 9);  // nine steps on the nine-frame tick
    EXPECT_EQ(part(kLauncher).Energy, 0);
    EXPECT_EQ(part(kCore).Energy, 150);
    // Now the core is open to fire and the ship starts to blow apart.
    Place(g.BombShots[3], kCore, 5, 20, 200);
    UpdateMotherShip(w);
    EXPECT_EQ(part(kCore).Energy, -50);
    EXPECT_EQ(g.DestructionCounter, 1);
}

TEST_F(MotherShipTest, EachGunAndPodOfTheTwelveShieldsTheLauncherAlone) {
    for (int guard = 0; guard < kLauncher; ++guard) {
        SetUpMotherShip(w, 1.0);
        g.MotherShip = {0, 0};
        OnlyStanding({guard, kLauncher, kCore});
        Place(g.BombShots[0], kLauncher, 5, 5, 400);
        UpdateMotherShip(w);
        const bool shields = std::find(std::begin(kGuards), std::end(kGuards), guard) != std::end(kGuards);
        EXPECT_EQ(part(kLauncher).Energy, shields ? 150 : 2) << "part " << guard;
    }
}

TEST_F(MotherShipTest, HitAnimationsRunOnTheirTicks) {
    part(10).Hit = 1;  // standing part: 1, 2, gone
    part(11).Energy = 0;
    part(11).Hit = 1;     // destroyed part: four explosion frames
    part(kCore).Hit = 1;  // shielded core: five flash frames on the slow tick
    g.ShipTick6 = 0;
    g.ShipTick9 = 0;
    std::vector<int> standing, destroyed, core;
    for (int frame = 0; frame < 45; ++frame) {
        UpdateMotherShip(w);
        standing.push_back(part(10).Hit);
        destroyed.push_back(part(11).Hit);
        core.push_back(part(kCore).Hit);
    }
    EXPECT_EQ(standing[4], 1);
    EXPECT_EQ(standing[5], 2);
    EXPECT_EQ(standing[11], 0);
    EXPECT_EQ(destroyed[5], 2);
    EXPECT_EQ(destroyed[17], 4);
    EXPECT_EQ(destroyed[23], 0);
    EXPECT_EQ(core[8], 2);
    EXPECT_EQ(core[35], 5);
    EXPECT_EQ(core[44], 0);
    EXPECT_EQ(part(kCore).Energy, 150);
}

TEST_F(MotherShipTest, BombBurstOnTheShipRingsOnceAndShowsFiveFramesOnTheSixFrameTick) {
    w.shell.SoundEnabled = 1;
    for (Voice& voice : w.media.mixer->voices) voice.playing = false;
    g.ShipBlast[0] = 1;
    g.ShipBlast[1] = 300;
    g.ShipBlast[2] = 400;
    g.ShipTick6 = 0;
    std::vector<int> frames;
    std::vector<bool> ring;
    for (int frame = 0; frame < 32; ++frame) {
        UpdateMotherShip(w);
        frames.push_back(g.ShipBlast[0]);
        ring.push_back(SoundStarted(w, "Prstenec"));
    }
    w.shell.SoundEnabled = 0;
    EXPECT_EQ(frames[4], 1);
    EXPECT_FALSE(ring[4]);
    EXPECT_EQ(frames[5], 2);
    EXPECT_TRUE(ring[5]);  // rung as the first frame moves on
    EXPECT_EQ(frames[11], 3);
    EXPECT_EQ(frames[23], 5);
    EXPECT_EQ(frames[28], 5);
    EXPECT_EQ(frames[29], 0);
    EXPECT_EQ(frames[31], 0);
    // The burst is drawn where the bomb went off, below the ship.
    auto litAroundBurst = [&](int blastFrame) {
        g.ShipBlast[0] = blastFrame;
        g.MotherShip = {0, -200};
        FillSurface(*w.media.back, 0);
        UpdateMotherShip(w);
        int lit = 0;
        for (int y = 340; y < 460; y += 3)
            for (int x = 240; x < 360; x += 3) lit += w.media.back->pixels[y][x] != 0;
        return lit;
    };
    EXPECT_EQ(litAroundBurst(0), 0);
    EXPECT_GT(litAroundBurst(2), 0);
}

TEST_F(MotherShipTest, ProbeLeavesTheBayHomesInAndRamsEvenUndrawn) {
    part(kProbe).Energy = 10;  // as set up: shows up at the bay when the launch counter reaches 9
    g.ProbeLaunchCounter = 8;
    g.ShipTick6 = 5;
    UpdateMotherShip(w);
    EXPECT_EQ(g.ProbeLaunchCounter, 9);
    EXPECT_EQ(part(kProbe).Width, 28);
    EXPECT_EQ(part(kProbe).Energy, 1);
    EXPECT_EQ(part(kProbe).X, 230 + 5);  // placed at the bay, then steered
    EXPECT_EQ(part(kProbe).Y, 180 + 5);
    // After the counter wraps the probe is neither drawn nor steered, yet it rams.
    part(kProbe).X = g.Progress.PlayerX - 40;
    part(kProbe).Y = g.Progress.PlayerY - 30;
    g.ProbeLaunchCounter = 3;
    g.ShipTick6 = 0;
    const int scoreBefore = g.Progress.Score;
    UpdateMotherShip(w);
    EXPECT_EQ(part(kProbe).X, g.Progress.PlayerX - 40);
    EXPECT_EQ(g.Progress.Energy, 80);
    EXPECT_EQ(g.ShipHitTimer, 1);
    EXPECT_EQ(part(kProbe).Energy, 0);
    EXPECT_EQ(g.Progress.Score, scoreBefore);

    // Shield orbs stop the probe and nothing else.
    part(kProbe).Energy = 1;
    part(kProbe).X = 100;
    Place(g.ShieldOrbs[4], kProbe, 3, 3, 5);
    Place(g.ShieldOrbs[5], 10, 3, 3, 5);
    OrbsAgainstProbe(w);
    EXPECT_EQ(part(kProbe).Energy, -4);
    EXPECT_EQ(g.ShieldOrbs[5].Active, 1);
    EXPECT_EQ(part(10).Energy, 100);
}

TEST_F(MotherShipTest, ProbeSteersFivePixelsAFrameTowardsTheShip) {
    const int px = g.Progress.PlayerX, py = g.Progress.PlayerY;
    // Still inside the window 44..30 left of the ship and 42..28 above it;
    // vertically it heads for the ship's own row, so just above the window
    // it goes on down.
    const struct {
        int x, y, dx, dy;
    } cases[] = {
        {px - 45, py - 43, 5, 5},  {px - 44, py - 42, 0, 0},    {px - 30, py - 28, 0, 0},
        {px - 29, py - 27, -5, 5}, {px + 100, py + 10, -5, -5}, {px - 300, py + 1, 5, -5},
    };
    for (const auto& c : cases) {
        ShipPart& probe = part(kProbe);
        probe = ShipPart{c.x, c.y, 28, 23, 1};
        g.ProbeLaunchCounter = 20;
        g.ShipTick6 = 0;
        UpdateMotherShip(w);
        EXPECT_EQ(probe.X, c.x + c.dx) << c.x - px << "," << c.y - py;
        EXPECT_EQ(probe.Y, c.y + c.dy) << c.x - px << "," << c.y - py;
    }
}

TEST_F(MotherShipTest, NewProbesOnlyWhileTheLauncherIsIntact) {
    g.LauncherState = 1;
    part(kLauncher).Energy = 2;
    for (int frame = 0; frame < 1000; ++frame) {
        UpdateMotherShip(w);
        ASSERT_LE(part(kProbe).Energy, 0);
    }
    g.LauncherState = 0;
    part(kLauncher).Energy = 300;
    int frames = 0;
    while (part(kProbe).Energy <= 0 && frames < 5000) {
        UpdateMotherShip(w);
        ++frames;
    }
    EXPECT_EQ(part(kProbe).Energy, 1);
    EXPECT_LT(frames, 5000);
}

TEST_F(MotherShipTest, ClockZeroFiresEveryArmedPartsVolley) {
    g.MotherShip = {10, -5};
    const int shipY = -4;  // after this frame's slide-in step
    g.ShipFireClock = 0;
    UpdateMotherShip(w);
    std::vector<int> xs;
    for (const EnemyShotRecord& e : g.EnemyShots) {
        if (e.Active != 1) continue;
        xs.push_back(e.X);
        EXPECT_EQ(e.Speed, 3);
    }
    const std::vector<int> expected = {614, 634, 202, 518, 554, 102, 124, 693, 715, 558, 593, 267, 279, 291};
    EXPECT_EQ(xs, expected);
    // Level coordinates from the ship's screen position; red beams carry no damage.
    EXPECT_EQ(g.EnemyShots[0].Y, 11000 - (shipY + 106));
    EXPECT_EQ(g.EnemyShots[0].Kind, 1);
    EXPECT_EQ(g.EnemyShots[0].Damage, 0);
    EXPECT_EQ(g.EnemyShots[13].Y, 11000 - (shipY + 40));
    EXPECT_EQ(g.EnemyShots[13].Kind, 3);
    EXPECT_EQ(g.EnemyShots[13].Damage, 15);
    for (int t = 0; t < 9; ++t) EXPECT_EQ(g.MuzzleTimers[t], 4) << "timer " << t;
    for (int frame = 0; frame < 4; ++frame) UpdateMotherShip(w);
    for (int t = 0; t < 9; ++t) EXPECT_EQ(g.MuzzleTimers[t], 0) << "timer " << t;

    // Only one shot left free: part 0's first shot takes it, the rest is dropped.
    for (EnemyShotRecord& e : g.EnemyShots) e.Active = 1;
    g.EnemyShots[30].Active = 0;
    g.ShipFireClock = 0;
    const int shipX = g.MotherShip.X;
    UpdateMotherShip(w);
    EXPECT_EQ(g.EnemyShots[30].X, shipX + 604);
    EXPECT_EQ(g.MuzzleTimers[0], 4);
    EXPECT_EQ(g.MuzzleTimers[1], 0);
}

TEST_F(MotherShipTest, PartNineFiresAtZero522And1044Only) {
    for (int i = 0; i < kProbe; ++i)
        if (i != 9 && i != kCore) part(i).Energy = 0;
    std::vector<int> fired;
    for (int clock = 0; clock <= 1500; ++clock) {
        for (EnemyShotRecord& e : g.EnemyShots) e.Active = 0;
        g.ShipFireClock = clock;
        UpdateMotherShip(w);
        if (ShotsInFlight() > 0) fired.push_back(clock);
        if (clock == 1500) {
            EXPECT_EQ(g.ShipFireClock, 0);
        }
    }
    EXPECT_EQ(fired, (std::vector<int>{0, 522, 1044}));
}

TEST_F(MotherShipTest, DestructionShowerEndsWithOneBonusAndAWhiteFlash) {
    part(kLauncher).Energy = 0;
    g.LauncherState = 3;
    part(kCore).Energy = 0;
    const int x = g.MotherShip.X;
    const uint64_t presented = Shared().platform->presentedFrames;
    for (int frame = 0; frame < 500; ++frame) UpdateMotherShip(w);
    EXPECT_EQ(g.DestructionCounter, 500);
    EXPECT_EQ(g.Progress.Score, 0);
    EXPECT_EQ(w.shell.CurrentScene, Scene::HlavniHra);
    EXPECT_EQ(g.MotherShip.X, x);  // the wreck no longer sweeps
    const int parity = g.FrameParity;
    UpdateMotherShip(w);
    ApplySceneRequests(w);  // as the frame does after the game scene
    EXPECT_EQ(g.Progress.Score, 2000);
    EXPECT_EQ(w.shell.CurrentScene, Scene::Animace);
    EXPECT_EQ(Shared().platform->presentedFrames, presented + 1);
    EXPECT_EQ(g.FrameParity, parity);  // the battle's frame ended there
    for (int y = 0; y < kSurfaceHeight; y += 37)
        for (int xx = 0; xx < kSurfaceWidth; xx += 41) ASSERT_EQ(w.media.back->pixels[y][xx], 0xFFFF);
}

}  // namespace
