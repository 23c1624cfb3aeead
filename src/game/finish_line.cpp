// The finish line of levels 1-8: its flags and lights, the save of the
// active profile when the ship crosses it, and the level-end table.
#include "game/finish_line.h"

#include <algorithm>
#include <cstdint>

#include "game/level_build.h"
#include "state/media_calls.h"
#include "state/world.h"

namespace {

struct LevelEndEntry {
    int32_t level;
    int32_t scrollDistance;
};
// Scroll distance at which each level ends and the next one is built.
// Level 9 has no end by distance: the mother ship ends the game.
constexpr LevelEndEntry kLevelEnds[] = {
    {1, 10000}, {2, 10100}, {3, 13500}, {4, 11500}, {5, 13700}, {6, 10200}, {7, 10200}, {8, 10000},
};

// Screen row of the finish line: its level coordinate seen at the current
// scroll distance. Worked out wide and kept within rows the blits handle,
// because a loaded profile's LevelEnd is taken as it stands.
int64_t FinishLineOffset(const ProgressRecord& p) { return int64_t(p.ScrollDistance) - p.LevelEnd; }
int FinishRow(const ProgressRecord& p) {
    constexpr int64_t kFarRow = int64_t(1) << 20;
    return int(std::clamp(FinishLineOffset(p), -kFarRow, kFarRow));
}

}  // namespace

void DrawFinishFlags(World& w) {
    GameState& g = w.game;
    const int y = FinishRow(g.Progress);
    DrawPicture(w, w.media.Obrazky, "VlajkaLeva", 0, y, g.FlagFrame);
    DrawPicture(w, w.media.Obrazky, "VlajkaPrava", 750, y, 4 - g.FlagFrame);
    if (g.FlagTick == 0) g.FlagFrame = g.FlagFrame < 4 ? uint8_t(g.FlagFrame + 1) : 0;
    g.FlagTick = g.FlagTick < 3 ? uint8_t(g.FlagTick + 1) : 0;
}

int32_t LevelEndDistance(int32_t level) {
    for (const LevelEndEntry& entry : kLevelEnds)
        if (entry.level == level) return entry.scrollDistance;
    return 0;
}

void CheckLevelEnd(World& w) {
    ProgressRecord& p = w.game.Progress;
    for (const LevelEndEntry& entry : kLevelEnds) {
        if (entry.level == p.Level && entry.scrollDistance == p.ScrollDistance) {
            w.game.FinishPassed = 0;
            p.Level = p.Level + 1;
            p.ScrollDistance = 600;
            BuildLevel(w);
            return;
        }
    }
}

void CheckFinishLine(World& w) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    const int64_t distance = FinishLineOffset(p) - p.PlayerY;
    if (distance <= -40 || distance >= 40 || w.game.FinishPassed || p.Level == 9) return;
    PlayGameSound(w, "Vlajky");
    g.FinishLightOn = 1;
    w.game.FinishPassed = 1;
    // The one save point of a game, written by the frame once the scene's
    // routine is over (this is its last step).
    AskFor(w, SceneRequest::SaveProgress);
}

void DrawFinishLights(World& w) {
    GameState& g = w.game;
    if (!g.FinishLightOn) return;
    const int y = FinishRow(g.Progress);
    DrawPicture(w, w.media.Obrazky, "VlajkaLight", 0, y, 0);
    DrawPicture(w, w.media.Obrazky, "VlajkaLight", 787, y, 1);
    if (g.FinishLightTimer < 60) {
        ++g.FinishLightTimer;
    } else {
        g.FinishLightOn = 0;
        g.FinishLightTimer = 0;
    }
}
