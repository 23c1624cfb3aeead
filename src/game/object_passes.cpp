// The pieces the level-object passes share: picture sizes looked up once a
// frame, damage with its score, and the one bomb blast.
#include "game/object_passes.h"

#include <cstdlib>

#include "game/weapon_table.h"
#include "media/picture.h"

PictureSize RaketySizes::Of(int index) {
    if (index < 0 || index >= kKept) {
        const PictureItem& picture = PictureAt(rakety_, index);  // raises the lookup error
        return {PatternWidth(picture), PatternHeight(picture)};
    }
    if (!known_[index]) {
        const PictureItem& picture = PictureAt(rakety_, index);
        sizes_[index] = {PatternWidth(picture), PatternHeight(picture)};
        known_[index] = true;
    }
    return sizes_[index];
}

void DamageObject(GameState& g, LevelObject& o, int32_t amount) {
    o.Energy -= amount;
    o.Hit = 1;
    if (o.Energy < 0) {
        o.Visible = 0;
        g.Progress.Score += o.Score;
    }
}

void StartBlast(GameState& g, const ShotRecord& bomb) {
    g.BlastFrame = 1;
    g.BlastX = bomb.X;
    g.BlastY = bomb.Y;
}

void ApplyBlastDamage(GameState& g, const ShotRecord& bomb, bool onlyStanding) {
    const int32_t scroll = g.Progress.ScrollDistance;
    for (LevelObject& o : g.LevelObjects) {
        if (o.Visible != 1) continue;
        if (onlyStanding && o.Energy <= 0) continue;
        const int64_t dx = std::abs(bomb.X - o.X);
        const int64_t dy = std::abs(bomb.Y - (scroll - o.Y));
        if (dx >= kBlastReach || dy >= kBlastReach) continue;
        int64_t distance2 = dx * dx + dy * dy;
        // An object whose corner lies exactly on the blast point takes the
        // damage of one pixel's distance.
        if (distance2 == 0) distance2 = 1;
        DamageObject(g, o, int32_t((int64_t(bomb.Damage) * kBlastStrength) / distance2));
    }
}
