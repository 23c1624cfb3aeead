// One world per run: every subsystem's state, passed by reference to every
// routine of the game. Tests build one on the headless platform.
#pragma once
#include "media/media.h"
#include "state/frontend_state.h"
#include "state/game_state.h"
#include "state/random.h"
#include "state/saved_state.h"
#include "state/shell_state.h"

struct World {
    Media media;
    Shell shell;
    SavedFiles saved;
    GameState game;
    FrontEnd front;
    Random random;
};

inline int32_t RandomInt(World& w, int32_t n) { return RandomInt(w.random, n); }
// Asks the frame for a change of scene (see state/scene_requests.h).
inline void AskFor(World& w, SceneRequest request) { AskFor(w.shell.requests, request); }
