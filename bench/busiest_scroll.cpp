// Flies the built level from 600 to its end, counting the visible objects.
#include "busiest_scroll.h"

#include "game/level_objects.h"
#include "state/world.h"

int32_t BusiestScroll(World& w) {
    GameState& g = w.game;
    int best = -1;
    int32_t bestScroll = 600;
    for (int32_t scroll = 600; scroll < g.Progress.LevelEnd; ++scroll) {
        g.Progress.ScrollDistance = scroll;
        UpdateLevelObjects(w);
        int inPlay = 0;
        for (const LevelObject& o : g.LevelObjects) inPlay += o.Visible == 1;
        if (inPlay > best) {
            best = inPlay;
            bestScroll = scroll;
        }
    }
    return bestScroll;
}
