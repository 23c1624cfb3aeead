// The city of levels 4 and 8, the intro and the ending animation must not
// touch the heap while their frames run: this executable counts the
// allocations made while they play. The fonts and glyphs are loaded on their
// first use, so the intro and the ending are counted on a second showing.
#include <gtest/gtest.h>

#include <cstdio>

#include "frontend/intro.h"
#include "frontend/story.h"
#include "game/city.h"
#include "heap_counter.h"
#include "shell/scene_changes.h"
#include "test_support.h"

namespace {

TEST(CityFrameHeap, ScrollingShiftingAndAnimatingAllocateNothing) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    g.Progress.Level = 8;
    g.Progress.ScrollDistance = 2000;
    auto frame = [&] {
        g.CityAge = 0;  // a young city: blocks in every row
        FillSurface(*w.media.back, 0);
        UpdateCity(w);
        ++g.Progress.ScrollDistance;
    };
    // Seven shifts bring a block into every shown row.
    for (int i = 0; i < 7 * 101; ++i) frame();

    allocations = 0;
    counting = true;
    for (int i = 0; i < 3 * 101; ++i) frame();  // three more shifts, all rows drawn and animated
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    int shown = 0;
    for (int k = 1; k <= 9; ++k)
        for (int r = 0; r < 7; ++r) shown += g.CityGrid[k][size_t(r)].Picture >= 0;
    EXPECT_GT(shown, 40);
}

// Plays the intro from its first phase to the menu; returns the allocations made.
long PlayIntro(World& w) {
    FrontEnd& f = w.front;
    f.IntroPhase = 0;
    f.IntroFade = 0;
    f.IntroTimer = 0;
    f.SweepStep = 1;
    f.SweepX = 113;
    f.SweepY = 10;
    w.shell.CurrentScene = Scene::Intro;
    allocations = 0;
    counting = true;
    for (int i = 0; i < 2000 && w.shell.CurrentScene == Scene::Intro; ++i) {
        FillSurface(*w.media.back, 0);
        RunIntro(w);
        ApplySceneRequests(w);  // as the frame does after the intro
    }
    counting = false;
    EXPECT_EQ(w.shell.CurrentScene, Scene::Menu);
    return allocations.load();
}

TEST(IntroFrameHeap, TheWholeIntroAllocatesNothing) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    PlayIntro(w);  // loads the canvas's fonts
    EXPECT_EQ(PlayIntro(w), 0);
}

// Plays the ending from the flash to the menu; returns the allocations made.
long PlayEnding(World& w) {
    w.shell.CurrentScene = Scene::Animace;
    w.game.Progress.ScrollDistance = 11500;
    allocations = 0;
    counting = true;
    for (int i = 0; i < 20000 && w.shell.CurrentScene == Scene::Animace; ++i) {
        RunStoryAnimation(w);
        ApplySceneRequests(w);  // as the frame does after the story
    }
    counting = false;
    EXPECT_EQ(w.shell.CurrentScene, Scene::Menu);
    return allocations.load();
}

TEST(EndingFrameHeap, TheWholeEndingAllocatesNothing) {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    w.shell.options.saveDir = MakeTempDir("ending-heap");
    w.shell.SoundEnabled = 1;
    w.game.Progress.Level = 9;
    PlayEnding(w);  // loads the fonts of the instrument bar and the caption
    w.front.GameActive = 1;
    EXPECT_EQ(PlayEnding(w), 0);
}

}  // namespace
