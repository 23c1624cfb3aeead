// Cost of one frame of the mother ship battle with every weapon of the player
// in the air around the ship: lasers, rockets, both kinds of balls, bombs,
// burning egg beams, forty homing discs and ten orbs on the probe. Also given
// as a multiple of one full-screen opaque blit measured in the same run.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <memory>
#include <string>

#include "game/mother_ship.h"
#include "media/headless_platform.h"
#include "shell/runner.h"
#include "shell/startup.h"
#include "state/world.h"

namespace {

// Parts that the shots are spread over, so that every hit test samples.
constexpr int kTargets[] = {0, 3, 4, 5, 6, 7, 8, 9, 12, 13, 14, 16, 17, 18, 1, 2, 10, 11, 15};

ShotRecord ShotAt(int x, int y, int damage, int mode) {
    ShotRecord s;
    s.X = x;
    s.Y = y;
    s.StartY = y;
    s.Damage = damage;
    s.Mode = mode;
    s.Active = 1;
    return s;
}

// Every part standing again (so the battle never ends and every part is
// tested), the probe out of its bay, and a full load of shots about the ship.
void ArmEverything(GameState& g, const ShipPart (&built)[30]) {
    for (int i = 0; i < 19; ++i) {
        g.MotherShipParts[i].Energy = built[i].Energy;
        g.MotherShipParts[i].Hit = 1;
    }
    ShipPart& probe = g.MotherShipParts[19];
    probe.X = g.Progress.PlayerX - 37;
    probe.Y = g.Progress.PlayerY - 200;
    probe.Width = 28;
    probe.Height = 23;
    probe.Energy = 1;
    g.ProbeLaunchCounter = 20;
    g.ShipBlast[0] = 3;
    g.ShipBlast[1] = 400;
    g.ShipBlast[2] = 150;
    g.MotherShip.Y = 0;
    g.DestructionCounter = 0;
    for (EnemyShotRecord& e : g.EnemyShots) e.Active = 0;
    for (int i = 0; i < kShotCount; ++i) {
        const ShipPart& part = g.MotherShipParts[kTargets[i % 19]];
        // Near the part but mostly beside it: sampled in full, rarely a hit.
        const int x = g.MotherShip.X + part.X - 40 + (i % 3) * 30;
        const int y = g.MotherShip.Y + part.Y + 20;
        g.LaserShots[i] = ShotAt(x, y + 60, 1, 0);
        g.RocketShots[i] = ShotAt(x, y, 1, 0);
        g.SideBallShots[i] = ShotAt(x + 5, y, 1, 0);
        g.DiagonalBallShots[i] = ShotAt(x - 5, y, 1, 0);
        g.BombShots[i] = ShotAt(x, y, 1, 0);
        g.BombShots[i].StartY = y + (i % 4 == 0 ? 250 : 0);  // a quarter burst
    }
    for (int i = 0; i < kEggBeamCount; ++i) g.EggBeams[i] = ShotAt(0, 60 + 25 * i, 0, 3);
    for (int group = 0; group < kDiscGroups; ++group)
        for (int n = 0; n < kDiscsPerGroup; ++n) g.HomingDiscs[group][n] = ShotAt(100 + 80 * n, 260 + 20 * group, 0, 2);
    for (int i = 0; i < kOrbCount; ++i) g.ShieldOrbs[i] = ShotAt(probe.X - 60 + 12 * i, probe.Y + 40, 300, 0);
}

void BM_MotherShipBattleEveryWeaponActive(benchmark::State& state) {
    BenchWorld bench("mothership-bench");
    World& w = *bench.world;
    StartUp(w);
    w.shell.MusicEnabled = 0;
    StartNewGame(w, "Bench", 3, 9);
    GameState& g = w.game;
    g.Progress.ScrollDistance = 11000;
    g.Progress.PlayerX = 400;
    g.Progress.PlayerY = 500;
    w.shell.CurrentScene = Scene::HlavniHra;
    ShipPart built[30];
    std::copy(std::begin(g.MotherShipParts), std::end(g.MotherShipParts), std::begin(built));

    double total = 0;
    for (auto _ : state) {
        ArmEverything(g, built);
        const double start = BenchThreadNs();
        UpdateMotherShip(w);
        total += BenchThreadNs() - start;
        benchmark::ClobberMemory();
    }
    ReportRelative(state, total);
    ShutDown(w);
}
BENCHMARK(BM_MotherShipBattleEveryWeaponActive);

}  // namespace
