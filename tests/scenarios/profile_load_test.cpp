// Loading a profile from the menu: the level's scenery comes with it (the
// city after the mother ship), every frame after the load runs without an
// error, a game resumed at its finish line passes its flags as the
// finish-flag state stands, and a slot no game saves starts its level afresh.
#include <string>

#include "../frontend/menu_helpers.h"
#include "shell/runner.h"

namespace {

// Slot k holds a game saved in `level` at scroll distance `distance`.
void SaveSlot(World& w, int k, const char* name, int32_t level, int32_t distance, int32_t levelEnd) {
    ProgressRecord p;
    p.PlayerName.Assign(name);
    p.Level = level;
    p.ScrollDistance = distance;
    p.LevelEnd = levelEnd;
    p.PlayerX = 400;
    p.PlayerY = 300;
    p.Lives = 3;
    p.Energy = 100;
    p.Difficulty = 2;
    p.BlackBoxCount = 2;
    w.saved.ProfileTable[k] = p;
}

// Escape to the menu, the load page, the slot's name, "Nacti".
void LoadFromMenu(MenuWorld& m, int k) {
    m.Key(27);
    ASSERT_EQ(m.w.shell.CurrentScene, Scene::Menu);
    m.OpenItem(2);
    m.ClickAt(k <= 3 ? 170 : 450, 432 + 48 * ((k - 1) % 3));
    ASSERT_EQ(m.w.saved.CurrentProfile, k);
    m.ClickAt(700, 424);
    ASSERT_EQ(m.w.shell.CurrentScene, Scene::HlavniHra);
}

const std::string& FirstLevelPicture(const World& w) { return w.media.Level.items.at(0).Name; }

}  // namespace

TEST(ProfileLoad, ACityProfileLoadedDuringTheMotherShipLevelBringsTheCity) {
    MenuWorld m("load-city-after-9");
    World& w = m.w;
    SaveSlot(w, 2, "Lada", 4, 3000, 10800);
    StartNewGame(w, "Pavel", 2, 9);  // as --new-game Pavel --level 9
    m.Frames(30);
    ASSERT_EQ(FirstLevelPicture(w), "Lod");

    LoadFromMenu(m, 2);
    EXPECT_EQ(FirstLevelPicture(w), "Kostky");
    m.Frames(120);  // past the first shift of the city, whose blocks then show
    EXPECT_TRUE(w.shell.reportedErrors.empty()) << *w.shell.reportedErrors.begin();
    EXPECT_EQ(w.game.Progress.Level, 4);
    EXPECT_EQ(w.game.Progress.ScrollDistance, 3120);
    int cityCells = 0;
    for (int column = 1; column <= 9; ++column)
        for (int cell = 0; cell < 7; ++cell) cityCells += w.game.CityGrid[column][size_t(cell)].Picture >= 0;
    EXPECT_GT(cityCells, 0);

    // The other city level finds the city in place and does not load it again.
    w.media.Level.items.at(0).Name = "KOSTKY";
    SaveSlot(w, 3, "Ema", 8, 2000, 9400);
    LoadFromMenu(m, 3);
    EXPECT_EQ(FirstLevelPicture(w), "KOSTKY");
    m.Frames(120);
    EXPECT_TRUE(w.shell.reportedErrors.empty()) << *w.shell.reportedErrors.begin();
}

TEST(ProfileLoad, AGameResumedAtItsFinishLineAfterAFreshStartPassesItsFlagsAgain) {
    MenuWorld m("load-at-finish");
    World& w = m.w;
    SaveSlot(w, 1, "Ivo", 3, 12800 + 300, 12800);  // saved where the flags met the ship
    LoadFromMenu(m, 1);
    EXPECT_EQ(w.game.FinishPassed, 0) << "loading leaves it as the start of the program set it";
    m.SilenceAll();
    m.Frames(1);
    EXPECT_TRUE(m.SoundStarted("Vlajky"));
    EXPECT_EQ(w.game.FinishLightOn, 1);
    EXPECT_EQ(w.game.FinishPassed, 1);
    const auto file = ReadFileBytes(m.dir + "/profily.lev");
    ASSERT_EQ(file.size(), kProfilesFileSize);
    EXPECT_EQ(DecodeProgress(file.data()).ScrollDistance, 12800 + 301) << "saved again";

    // Left and loaded again in the same level: its flags stay passed, since
    // only a level change clears them.
    m.Frames(70);
    LoadFromMenu(m, 1);
    m.SilenceAll();
    m.Frames(1);
    EXPECT_FALSE(m.SoundStarted("Vlajky"));
    EXPECT_EQ(w.game.FinishLightOn, 0);
}

TEST(ProfileLoad, ADamagedSlotInLevel9OrPastItsLevelsEndStartsTheLevelAfresh) {
    MenuWorld m("load-damaged-slot");
    World& w = m.w;
    // No game saves these: level 9 past the mother ship's arrival, level 5
    // past the distance at which it ends.
    SaveSlot(w, 5, "Devet", 9, 12000, 10000);
    SaveSlot(w, 6, "Pet", 5, 20000, 13000);
    testing::internal::CaptureStderr();
    LoadFromMenu(m, 5);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("profile slot 5 holds level 9"), std::string::npos);
    EXPECT_EQ(FirstLevelPicture(w), "Lod");
    EXPECT_EQ(w.game.Progress.ScrollDistance, 600);
    EXPECT_EQ(w.game.CommanderStep, 1) << "the level's briefing, as at its start";
    EXPECT_GT(w.game.MotherShipParts[18].Energy, 0) << "the mother ship is set up";
    m.t.platform->heldKeys.set(size_t(GameKey::Right));
    const int32_t x = w.game.Progress.PlayerX;
    m.Frames(200);
    EXPECT_TRUE(w.shell.reportedErrors.empty()) << *w.shell.reportedErrors.begin();
    EXPECT_GT(w.game.Progress.PlayerX, x) << "the ship answers the keys";

    testing::internal::CaptureStderr();
    LoadFromMenu(m, 6);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(w.game.Progress.Level, 5);
    EXPECT_EQ(w.game.Progress.ScrollDistance, 600);
    EXPECT_EQ(w.game.Progress.LevelEnd, 13000) << "the level is built";
}
