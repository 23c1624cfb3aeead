// Cost of the ship's part of a frame (stars, ship, weapons) with everything
// in the air at once: all five weapons firing, both wingmen docked, ten
// orbs, five egg beams and forty homing discs. Also given as a multiple of
// one full-screen opaque blit measured in the same run.
#include <benchmark/benchmark.h>

#include "bench_support.h"

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>

#include "game/player_ship.h"
#include "game/starfield.h"
#include "game/weapons.h"
#include "media/headless_platform.h"
#include "media/picture.h"
#include "shell/runner.h"
#include "shell/startup.h"
#include "state/world.h"

namespace {

// Calls up again whatever companion has run its course, so every frame
// measured has the full set in the air.
void KeepEverythingFlying(GameState& g) {
    ProgressRecord& p = g.Progress;
    p.HasGoodLaser = p.HasDiagonalBalls = p.HasRockets = p.HasSideBalls = p.HasBombs = 1;
    g.WeaponEnergy = 110;
    g.WingmanTimer = 0;
    for (int i = 0; i < 2; ++i) g.Wingmen[i].State = 2;
    for (ShotRecord& orb : g.ShieldOrbs) {
        if (!orb.Active) orb = ShotRecord{0, 0, 0, 0, 300, 0, 1};
    }
    for (ShotRecord& beam : g.EggBeams) {
        if (!beam.Active) {
            beam.Active = 1;
            beam.Mode = 1;
        }
    }
    for (auto& group : g.HomingDiscs) {
        for (ShotRecord& disc : group) {
            if (!disc.Active) disc = ShotRecord{-1, -1, 0, 0, 0, 1, 1};
        }
    }
}

void BM_ShipAndWeaponsEverythingActive(benchmark::State& state) {
    BenchWorld bench("weapons-bench");
    World& w = *bench.world;
    HeadlessPlatform* platform = bench.platform.get();
    StartUp(w);
    w.shell.MusicEnabled = 0;
    StartNewGame(w, "Bench", 2, 1);
    GameState& g = w.game;
    g.ArrivalWidth = g.ArrivalHeight = 72;
    // Objects around the screen are visible, so the discs' seek scans find
    // something to test against.
    for (LevelObject& object : g.LevelObjects) {
        const int32_t screenY = g.Progress.ScrollDistance - object.Y;
        if (object.X > 0 && screenY > -200 && screenY < 1200) object.Visible = 1;
    }
    platform->heldKeys.set(size_t(GameKey::Space));
    // Warm up: every array fills to its steady state.
    for (int i = 0; i < 400; ++i) {
        KeepEverythingFlying(g);
        DrawStarfield(w);
        UpdatePlayerShip(w);
        UpdateWeapons(w);
    }

    double total = 0;
    for (auto _ : state) {
        KeepEverythingFlying(g);
        g.Progress.ScrollDistance = 1000;
        const double start = BenchThreadNs();
        DrawStarfield(w);
        UpdatePlayerShip(w);
        UpdateWeapons(w);
        total += BenchThreadNs() - start;
        benchmark::ClobberMemory();
    }
    ReportRelative(state, total);
    ShutDown(w);
}
BENCHMARK(BM_ShipAndWeaponsEverythingActive);

}  // namespace
