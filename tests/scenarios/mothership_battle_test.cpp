// The mother ship in the game scene of level 9, built by the level builder
// and run through the game's own frame: its arrival after 10700, its volleys
// carried on by the enemy shots (red beams only jolt the ship, the others
// cost energy), and the battle won through the whole frame loop.
#include <gtest/gtest.h>

#include <initializer_list>

#include "game/game_scene.h"
#include "game/level_build.h"
#include "game/reset.h"
#include "media/surface.h"
#include "shell/frame.h"
#include "test_support.h"

namespace {

constexpr int kCore = 18, kLauncher = 17;

// Level 9 as a new game reaches it, with the briefing skipped and the
// escort cleared so that only the ship is about.
void StartLevelNine(World& w, int difficulty) {
    GameState& g = w.game;
    ResetGameState(w);
    g.Progress.Level = 9;
    g.Progress.Difficulty = uint8_t(difficulty);
    g.Progress.ScrollDistance = 600;
    BuildLevel(w);
    g.CommanderStep = 0;
    for (LevelObject& o : g.LevelObjects) o = LevelObject{};
    w.shell.CurrentScene = Scene::HlavniHra;
}

void GameFrame(World& w) {
    FillSurface(*w.media.back, 0);
    SampleInput(w.media.input, w.media.platform);
    RunGameScene(w);
}

// Only the listed parts keep their energy; the launcher is gone, so no probe
// comes out and the core lies open.
void OnlyParts(GameState& g, std::initializer_list<int> parts) {
    for (int i = 0; i < 20; ++i) {
        bool keep = i == kCore;
        for (int p : parts) keep = keep || p == i;
        if (!keep) g.MotherShipParts[i].Energy = 0;
    }
    g.LauncherState = 3;
}

TEST(MothershipBattle, ArrivesPastTheMarkAndItsShotsFlyWithTheLevelsEnemyFire) {
    auto t = MakeTestWorld(true);
    World& w = t.w();
    GameState& g = w.game;
    StartLevelNine(w, 2);
    EXPECT_EQ(g.MotherShipParts[0].Energy, 1200);
    EXPECT_EQ(g.MotherShipParts[9].Energy, 240);

    g.Progress.ScrollDistance = 10690;
    for (int frame = 0; frame < 10; ++frame) GameFrame(w);
    EXPECT_EQ(g.MotherShip.Y, -228);  // not before the scroll passes 10700
    GameFrame(w);
    EXPECT_GT(g.MotherShip.Y, -228);
    for (int frame = 0; frame < 300; ++frame) {
        GameFrame(w);
        g.Progress.Energy = 100;
    }
    EXPECT_EQ(g.MotherShip.Y >= -1 && g.MotherShip.Y <= 0, true);
    // The body covers the top of the screen beneath everything else.
    int lit = 0;
    for (int x = 0; x < kSurfaceWidth; x += 8) lit += w.media.back->pixels[100][x] != 0;
    EXPECT_GT(lit, 50);

    // Red beams from part 0 only: the ship is jolted but keeps its energy.
    // The beams are two pixels wide, so the ship stands where its sample
    // points (every fourth pixel) fall inside both.
    OnlyParts(g, {0});
    for (EnemyShotRecord& e : g.EnemyShots) e.Active = 0;
    g.ShipFireClock = 0;
    g.Progress.PlayerX = g.MotherShip.X + 622;
    g.Progress.PlayerY = 420;
    int jolts = 0;
    for (int frame = 0; frame < 150; ++frame) {
        const uint8_t before = g.ShipHitTimer;
        GameFrame(w);
        jolts += before == 0 && g.ShipHitTimer != 0;
    }
    EXPECT_GT(jolts, 0);
    EXPECT_EQ(g.Progress.Energy, 100);

    // Part 7's shots cost 15 each.
    OnlyParts(g, {7});
    g.MotherShipParts[7].Energy = 900;
    for (EnemyShotRecord& e : g.EnemyShots) e.Active = 0;
    g.ShipFireClock = 0;
    g.Progress.PlayerX = g.MotherShip.X + 114 + 20;
    for (int frame = 0; frame < 130; ++frame) GameFrame(w);
    EXPECT_EQ(g.Progress.Energy, 85);
}

TEST(MothershipBattle, TheCoreShotDownWinsOnceThroughTheFrameLoop) {
    auto t = MakeTestWorld(true);
    World& w = t.w();
    GameState& g = w.game;
    StartLevelNine(w, 1);
    g.Progress.ScrollDistance = 10701;
    g.MotherShip.Y = 0;
    OnlyParts(g, {});
    g.MotherShipParts[kLauncher].Energy = 0;
    g.WeaponEnergy = 110;
    // Under the core, firing.
    g.Progress.PlayerX = g.MotherShip.X + 400;
    g.Progress.PlayerY = 450;
    t.platform->heldKeys.set(size_t(GameKey::Space));
    const int32_t score = g.Progress.Score;
    int frames = 0, bonusFrames = 0;
    while (w.shell.CurrentScene == Scene::HlavniHra && frames < 3000) {
        const int32_t before = g.Progress.Score;
        g.Progress.PlayerX = g.MotherShip.X + 400;  // keep under the sweeping core
        RunFrame(w);
        g.Progress.Energy = 100;
        g.WeaponEnergy = 110;
        bonusFrames += g.Progress.Score - before >= 2000;
        ++frames;
    }
    ASSERT_EQ(w.shell.CurrentScene, Scene::Animace);
    EXPECT_EQ(g.MotherShipParts[kCore].Energy < 1, true);
    EXPECT_EQ(g.DestructionCounter, 500);
    EXPECT_EQ(bonusFrames, 1);
    // The core's points for the kill and the bonus, nothing more.
    EXPECT_EQ(g.Progress.Score, score + 50 + 2000);
    // The closing scene takes over; the battle gives nothing further.
    const int32_t won = g.Progress.Score;
    for (int frame = 0; frame < 30; ++frame) RunFrame(w);
    EXPECT_EQ(g.Progress.Score, won);
    EXPECT_EQ(g.DestructionCounter, 500);
}

}  // namespace
