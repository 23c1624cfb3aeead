// Shared by the ship, weapons and companion tests: a world with the ship
// under control, keys held through the headless platform, and a check of
// whether a sound effect was started.
#pragma once
#include <gtest/gtest.h>

#include "frame_probes.h"
#include "game/player_ship.h"
#include "game/weapons.h"
#include "test_support.h"

struct ShipWorld {
    TestWorld t;
    World& w;
    GameState& g;
    ProgressRecord& p;
    explicit ShipWorld(bool assets = true) : t(MakeTestWorld(assets)), w(t.w()), g(w.game), p(w.game.Progress) {
        w.shell.SoundEnabled = 0;
        g.ArrivalWidth = g.ArrivalHeight = 72;  // the arrival zoom is over
    }
    void Hold(GameKey key) { t.platform->heldKeys.set(size_t(key)); }
    void Release(GameKey key) { t.platform->heldKeys.reset(size_t(key)); }
    void ShipFrames(int n) {
        for (int i = 0; i < n; ++i) UpdatePlayerShip(w);
    }
    // The ship and then the weapons, as the game frame runs them.
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            UpdatePlayerShip(w);
            UpdateWeapons(w);
        }
    }
    // One frame (ship and weapons) with the key down. Item keys act on the
    // press, so a frame must pass between two presses of the same key.
    void Press(GameKey key) {
        Hold(key);
        Frames(1);
        Release(key);
    }
    void SilenceAll() { ::SilenceAll(w); }
    bool SoundStarted(const char* name) { return ::SoundStarted(w, name); }
};
