// Shared by the menu, menu input and text screen tests: a world standing in
// the menu with its saved files in a temporary directory, the mouse and key
// handlers at the places a player points at, and checks of started sounds
// and of pictures on the back surface.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "frame_probes.h"
#include "frontend/menu.h"
#include "frontend/menu_input.h"
#include "shell/frame.h"
#include "state/saved_files.h"
#include "test_support.h"

struct MenuWorld {
    TestWorld t;
    World& w;
    std::string dir;
    explicit MenuWorld(const char* tag) : t(MakeTestWorld()), w(t.w()), dir(MakeTempDir(tag)) {
        w.shell.options.saveDir = dir;
        w.shell.CurrentScene = Scene::Menu;
        w.shell.MusicEnabled = 0;
        DefaultScores(w.saved.ScoreTable);
        DefaultProfiles(w.saved);
    }
    void Move(int x, int y) { OnMouseMove(w, x, y); }
    void Click() { OnClick(w); }
    void ClickAt(int x, int y) {
        Move(x, y);
        Click();
    }
    uint8_t Key(uint8_t code) {
        OnKey(w, code);
        return code;
    }
    void Menu(int frames = 1) {
        for (int i = 0; i < frames; ++i) RunMenu(w);
    }
    void Frames(int frames) {
        for (int i = 0; i < frames; ++i) RunFrame(w);
    }
    // Centre of item i (0 new game ... 5 quit) in the row of six.
    static int ItemX(int i) { return 102 + 119 * i; }
    static constexpr int kItemY = 298;
    void OpenItem(int i) { ClickAt(ItemX(i), kItemY); }
    void TakeSlot(int k, const char* name, int32_t level = 1) {
        w.saved.ProfileTable[k].PlayerName.Assign(name);
        w.saved.ProfileTable[k].Level = level;
    }

    void SilenceAll() { ::SilenceAll(w); }
    bool SoundStarted(const char* name) { return ::SoundStarted(w, name); }
    bool AnySoundPlaying() { return ::AnySoundPlaying(w); }
    // True when frame `frame` of the picture stands on the back surface at (x, y).
    // Only the picture's non-black pixels are compared. With share below 1,
    // that share of them is enough (text or buttons may stand on it).
    bool Shows(const PictureCollection& collection, const char* name, int x, int y, int frame = 0, double share = 1.0) {
        const double shown = ShownShare(w, collection, name, x, y, frame, true);
        return shown > 0 && shown >= share;
    }
    // Pixels of exactly this colour inside the rectangle (right, bottom exclusive).
    int CountColour(uint32_t bgr, int left, int top, int right, int bottom) {
        const uint16_t pixel = ColorTo565(bgr);
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += w.media.back->pixels[y][x] == pixel ? 1 : 0;
        return n;
    }
};
