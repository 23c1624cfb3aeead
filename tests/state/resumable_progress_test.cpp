// Resuming a saved game from a profile slot: a slot the game wrote itself
// comes back unchanged; a damaged slot's impossible values are brought back
// inside the field and the level range, so the game that follows runs.
#include <gtest/gtest.h>

#include <climits>

#include "frontend/menu_input.h"
#include "shell/frame.h"
#include "state/saved_files.h"
#include "test_support.h"

TEST(ResumableProgress, ASlotWrittenByTheGameComesBackByteForByte) {
    ProgressRecord p;
    p.PlayerX = 761;
    p.PlayerY = 36;
    p.SpeedX = -36;
    p.SpeedY = 23;
    p.Energy = 200;
    p.Score = 123456;
    p.Level = 8;
    p.ScrollDistance = 9401;
    p.LevelEnd = 9400;
    p.HasRockets = 1;
    p.LastWeapon = 2;
    p.ItemSlots[2] = 5;
    p.Lives = 1;
    p.PlayerName.Assign("Jana");
    EXPECT_EQ(EncodeProgress(ResumableProgress(p)), EncodeProgress(p));
}

TEST(ResumableProgress, DamagedValuesAreBroughtIntoTheGame) {
    ProgressRecord p;
    p.PlayerX = INT_MIN;
    p.PlayerY = INT_MAX;
    p.SpeedX = 5000;
    p.SpeedY = -5000;
    p.Level = 200;
    p.ScrollDistance = INT_MAX;
    p.LevelEnd = INT_MIN;
    p.Score = INT_MAX;
    p.Lives = -7;
    const ProgressRecord r = ResumableProgress(p);
    EXPECT_EQ(r.PlayerX, 39);
    EXPECT_EQ(r.PlayerY, 499);
    EXPECT_EQ(r.SpeedX, 36);
    EXPECT_EQ(r.SpeedY, -23);
    EXPECT_EQ(r.Level, 9);
    EXPECT_LE(r.ScrollDistance, 1000000);
    EXPECT_GE(r.LevelEnd, 0);
    EXPECT_EQ(r.Lives, 0);
}

TEST(ResumableProgress, LoadingADamagedProfileStillPlays) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    w.shell.options.saveDir = MakeTempDir("resume-damaged");
    w.shell.MusicEnabled = 0;
    DefaultProfiles(w.saved);
    ProgressRecord& slot = w.saved.ProfileTable[3];
    slot = ProgressRecord{};
    slot.PlayerName.Assign("Poskozeny");
    slot.Level = 77;
    slot.PlayerX = INT_MAX;
    slot.ScrollDistance = INT_MAX - 5;
    slot.LevelEnd = INT_MIN + 3;
    w.shell.CurrentScene = Scene::Menu;
    w.front.MenuPage = Page::Load;
    w.saved.CurrentProfile = 3;
    w.front.HoverButton = 2;  // "Nacti" under the pointer
    OnClick(w);
    ASSERT_EQ(w.shell.CurrentScene, Scene::HlavniHra);
    EXPECT_EQ(w.game.Progress.Level, 9);
    EXPECT_EQ(w.game.Progress.PlayerX, 768);
    for (int i = 0; i < 120; ++i) RunFrame(w);
    EXPECT_EQ(w.shell.CurrentScene, Scene::HlavniHra);
    EXPECT_EQ(w.saved.ProfileTable[3].Level, 77) << "the slot itself is kept as stored";
}
