// Menu and story-text frames, and the mouse and key events between them,
// must not touch the heap once the fonts are open: this executable counts
// the allocations made while every page, the terminal, the monitor's noise,
// ship and logo, the name field and the story text run.
#include <gtest/gtest.h>

#include "frontend/menu.h"
#include "frontend/menu_input.h"
#include "frontend/text_screen.h"
#include "heap_counter.h"
#include "state/saved_files.h"
#include "test_support.h"

namespace {

// One pass over everything the menu and the story text draw and react to.
// Nothing here writes a saved file (the score page finds no finished game).
void PlayMenuAndStory(World& w) {
    FrontEnd& f = w.front;
    w.shell.CurrentScene = Scene::Menu;
    w.game.Progress.Lives = 1;
    // Every page with each of its buttons lit and each item's caption.
    for (int page = -1; page <= 7; ++page) {
        f.MenuPage = Page(page);
        for (int button = 0; button <= 2; ++button) {
            f.IdleTimer = 1500;
            f.HoverButton = uint8_t(button);
            for (int item = 0; item <= 6; ++item) {
                f.HoverItem = item == 6 ? 10 : uint8_t(item);
                RunMenu(w);
            }
        }
    }
    // The new game's name typed, Enter, the pointer over items and buttons.
    f.MenuPage = Page::NewGame;
    f.NameEntryActive = 1;
    for (uint8_t key : {uint8_t('J'), uint8_t(0xE1), uint8_t(8), uint8_t('n'), uint8_t(13)}) {
        OnKey(w, key);
        RunMenu(w);
    }
    for (int x = 0; x < 800; x += 7) OnMouseMove(w, x, 298);
    OnMouseMove(w, 720, 554);
    OnMouseMove(w, 102 + 119 * 2, 298);
    OnClick(w);                // the profile page
    OnMouseMove(w, 734, 587);  // the logo
    for (int frame = 0; frame < 20; ++frame) RunMenu(w);
    OnMouseMove(w, 400, 100);
    // The idle terminal typing and scrolling, the monitor through its modes.
    f.IdleTimer = 0;
    for (int frame = 0; frame < 2500; ++frame) RunMenu(w);
    // The story text typed, completed by a key.
    w.shell.CurrentScene = Scene::Uvod;
    w.game.TextScreenLine = 0;
    w.game.CommanderTextPos = 1;
    for (int frame = 0; frame < 400; ++frame) RunTextScreen(w);
    uint8_t key = ' ';
    OnKey(w, key);
    for (int frame = 0; frame < 4; ++frame) RunTextScreen(w);
}

TEST(MenuFrameHeap, MenuPagesTerminalAndStoryTextAllocateNothing) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    w.shell.options.saveDir = MakeTempDir("menu-frame-heap");
    w.shell.MusicEnabled = 0;
    w.shell.SoundEnabled = 1;
    DefaultScores(w.saved.ScoreTable);
    DefaultProfiles(w.saved);
    w.saved.ProfileTable[2].PlayerName.Assign("Ota");

    PlayMenuAndStory(w);  // opens the fonts and settles the voices
    counting = true;
    PlayMenuAndStory(w);
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_EQ(w.front.TerminalLineCount, 12) << "the terminal filled and scrolled";
    EXPECT_EQ(w.game.TextScreenLine, 8);
}

}  // namespace
