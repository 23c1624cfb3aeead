// A profile's whole life, driven through the frame and the menu's handlers:
// a new game is saved as it passes level 1's finish flags, loaded again from
// the profile page exactly as saved, then lost, which frees the slot and puts
// the score into the table once.
#include <filesystem>

#include "../frontend/menu_helpers.h"

TEST(MenuGameCycle, SavedAtTheFinishLoadedAsSavedLostIntoTheScoreTableOnce) {
    MenuWorld m("menu-cycle");
    World& w = m.w;
    FrontEnd& f = w.front;
    ProgressRecord& p = w.game.Progress;

    // New game "Ivo" through the menu, the story skipped with two keys.
    m.OpenItem(0);
    m.ClickAt(150, 478);
    for (uint8_t key : {uint8_t('I'), uint8_t('v'), uint8_t('o'), uint8_t(13)}) {
        m.Key(key);
        m.Menu();
    }
    m.ClickAt(720, 554);
    ASSERT_EQ(w.shell.CurrentScene, Scene::Uvod);
    m.Key(' ');
    m.Key(' ');
    ASSERT_EQ(w.shell.CurrentScene, Scene::HlavniHra);
    ASSERT_EQ(w.saved.CurrentProfile, 1);

    // Just short of level 1's finish line; the flags save the profile.
    w.game.ArrivalWidth = w.game.ArrivalHeight = 72;
    p.ScrollDistance = p.LevelEnd + p.PlayerY - 45;
    p.Score = 32000;
    p.HasSideBalls = 1;
    for (int i = 0; i < 20 && !w.game.FinishPassed; ++i) m.Frames(1);
    ASSERT_TRUE(w.game.FinishPassed);
    const ProgressRecord saved = w.saved.ProfileTable[1];
    EXPECT_EQ(saved.Score, 32000);
    const auto file = ReadFileBytes(m.dir + "/profily.lev");
    EXPECT_EQ(DecodeProgress(file.data()).ScrollDistance, saved.ScrollDistance);

    // Play on, then load the profile: the game is back as it was saved.
    m.Frames(30);
    p.Score += 800;
    m.Key(27);
    ASSERT_EQ(w.shell.CurrentScene, Scene::Menu);
    m.OpenItem(2);
    m.ClickAt(170, 432);
    m.ClickAt(700, 424);
    EXPECT_EQ(w.shell.CurrentScene, Scene::HlavniHra);
    EXPECT_EQ(p.Score, 32000);
    EXPECT_EQ(p.ScrollDistance, saved.ScrollDistance);
    EXPECT_EQ(p.HasSideBalls, 1);
    EXPECT_EQ(p.PlayerName.View(), "Ivo");

    // The last ship is gone: the score page takes the score once.
    p.Lives = 0;
    p.ShipExplosionFrame = -1;
    m.Frames(1);
    ASSERT_EQ(w.shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(f.MenuPage, Page::Scores);
    EXPECT_EQ(w.saved.CurrentProfile, 0);
    EXPECT_TRUE(w.saved.ProfileTable[1].PlayerName.Empty()) << "the slot is free again";
    m.Frames(5);
    const ScoreTableRecord& table = w.saved.ScoreTable;
    EXPECT_EQ(table.Scores[5], 32000);
    EXPECT_EQ(table.Names[5].View(), "Ivo");
    EXPECT_EQ(table.Scores[6], 30000);
    EXPECT_EQ(table.Names[6].View(), "Kavrix") << "entered once, not again on later frames";
    EXPECT_EQ(f.NewScoreRank, 5);
    const auto scores = ReadFileBytes(m.dir + "/skore.lev");
    ASSERT_EQ(scores.size(), kScoresFileSize);
    EXPECT_EQ(DecodeScores(scores.data()).Scores[5], 32000);

    // Nothing is left to continue.
    m.OpenItem(1);
    EXPECT_EQ(w.shell.CurrentScene, Scene::Menu);
    EXPECT_EQ(f.MenuPage, Page::Scores);
}

TEST(MenuGameCycle, ANewGameAfterAPassedFinishLineStillSavesAtItsOwn) {
    MenuWorld m("menu-cycle-again");
    World& w = m.w;
    ProgressRecord& p = w.game.Progress;
    w.game.FinishPassed = 1;  // the last game passed a finish line, then was left

    m.OpenItem(0);
    m.ClickAt(150, 478);
    for (uint8_t key : {uint8_t('E'), uint8_t('v'), uint8_t('a'), uint8_t(13)}) {
        m.Key(key);
        m.Menu();
    }
    m.ClickAt(720, 554);
    ASSERT_EQ(w.shell.CurrentScene, Scene::Uvod);
    m.Key(' ');
    m.Key(' ');
    ASSERT_EQ(w.shell.CurrentScene, Scene::HlavniHra);

    w.game.ArrivalWidth = w.game.ArrivalHeight = 72;
    w.game.CommanderStep = 0;
    p.ScrollDistance = p.LevelEnd + p.PlayerY - 45;
    p.Score = 700;
    for (int i = 0; i < 20 && !w.game.FinishPassed; ++i) m.Frames(1);
    EXPECT_TRUE(w.game.FinishPassed);
    EXPECT_EQ(w.saved.ProfileTable[1].Score, 700) << "the new game's first finish line saves";
}
