// Shared by the menu, menu input and text screen tests: a world standing in
// the menu with its saved files in a temporary directory, the mouse and key
// handlers at the places a player points at, and checks of started sounds
// and of pictures on the back surface.
#pragma once
#include <gtest/gtest.h>

#include <string>

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
    void Move(int x, int y) { DXDrawMouseMove(w, x, y); }
    void Click() { DXDrawClick(w); }
    void ClickAt(int x, int y) {
        Move(x, y);
        Click();
    }
    uint8_t Key(uint8_t code) {
        DXDrawKeyPress(w, code);
        return code;
    }
    void Menu(int frames = 1) {
        for (int i = 0; i < frames; ++i) RunMenu(w);
    }
    void Frames(int frames) {
        for (int i = 0; i < frames; ++i) DXTimerTimer(w);
    }
    // Centre of item i (0 new game ... 5 quit) in the row of six.
    static int ItemX(int i) { return 102 + 119 * i; }
    static constexpr int kItemY = 298;
    void OpenItem(int i) { ClickAt(ItemX(i), kItemY); }
    void TakeSlot(int k, const char* name, int32_t level = 1) {
        w.saved.ProfileTable[k].PlayerName.Assign(name);
        w.saved.ProfileTable[k].Level = level;
    }

    void SilenceAll() {
        for (Voice& voice : w.media.mixer->voices) voice.playing = false;
    }
    bool SoundStarted(const char* name) {
        WaveItem& item = FindSound(w.media.Zvuky, name);
        if (item.mainVoice >= 0 && w.media.mixer->voices[item.mainVoice].playing) return true;
        for (int v : item.voices)
            if (w.media.mixer->voices[v].playing) return true;
        return false;
    }
    bool AnySoundPlaying() {
        for (const Voice& voice : w.media.mixer->voices)
            if (voice.playing) return true;
        return false;
    }
    // True when frame `frame` of the picture stands on the back surface at (x, y).
    // Only the picture's non-black pixels are compared. With share below 1,
    // that share of them is enough (text or buttons may stand on it).
    bool Shows(const PictureCollection& collection, const char* name, int x, int y, int frame = 0,
               double share = 1.0) {
        static Surface reference;
        const uint16_t sentinel = 0x0841;
        FillSurface(reference, sentinel);
        DrawPattern(FindPicture(collection, name), reference, x, y, frame);
        int drawn = 0, same = 0;
        for (int row = 0; row < kSurfaceHeight; ++row)
            for (int col = 0; col < kSurfaceWidth; ++col) {
                // Black says little: page pictures and the console share it.
                if (reference.pixels[row][col] == sentinel || reference.pixels[row][col] == 0) continue;
                ++drawn;
                same += w.media.back->pixels[row][col] == reference.pixels[row][col] ? 1 : 0;
            }
        return drawn > 0 && same >= share * drawn;
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
