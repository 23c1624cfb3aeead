// Shared pieces of the level-object passes (level_objects.cpp, pickups.cpp,
// enemy_shots.cpp): a per-frame cache of object and shot picture sizes, the
// point-sampling strike tests, damage with its score, and bomb blasts.
#pragma once
#include <cstdint>

#include "game/object_kinds.h"
#include "state/game_state.h"

struct PictureCollection;

struct PictureSize {
    int width = 0, height = 0;
};

// Frame sizes of Rakety pictures by index, looked up once per frame. Object
// pictures are 0..255 and shot pictures Kind + 23, so 0..278 are kept.
class RaketySizes {
public:
    explicit RaketySizes(const PictureCollection& rakety) : rakety_(rakety) {}
    PictureSize Of(int index);

private:
    static constexpr int kKept = 256 + kShotPictures;
    const PictureCollection& rakety_;
    PictureSize sizes_[kKept];
    bool known_[kKept] = {};
};

// Some point (x + i, y + j), 0 <= i < bw, 0 <= j < bh, lies strictly inside
// the rectangle left, top, width x height.
inline bool BoxStrikes(int x, int y, int bw, int bh, int left, int top, int width, int height) {
    const int loX = x > left + 1 ? x : left + 1;
    const int hiX = x + bw - 1 < left + width - 1 ? x + bw - 1 : left + width - 1;
    const int loY = y > top + 1 ? y : top + 1;
    const int hiY = y + bh - 1 < top + height - 1 ? y + bh - 1 : top + height - 1;
    return loX <= hiX && loY <= hiY;
}
inline bool PointStrictlyInside(int px, int py, int left, int top, int width, int height) {
    return left < px && px < left + width && top < py && py < top + height;
}
// Some sample x0 + step * i (0 <= i < count) lies strictly between lo and hi.
inline bool SampleBetween(int x0, int step, int count, int lo, int hi) {
    for (int i = 0; i < count; ++i) {
        const int v = x0 + step * i;
        if (lo < v && v < hi) return true;
    }
    return false;
}

// Takes energy from an object: Hit = 1, and below 0 it is destroyed and
// its score added.
void DamageObject(GameState& g, LevelObject& o, int32_t amount);
// Energy (bomb Damage x kBlastStrength) div (dx^2 + dy^2) to every object in
// play within kBlastReach of the blast point (screen coordinates);
// onlyStanding limits it to objects with energy left. A distance of 0
// counts as 1.
void ApplyBlastDamage(GameState& g, const ShotRecord& bomb, bool onlyStanding);
// Starts the one blast animation at the bomb's place.
void StartBlast(GameState& g, const ShotRecord& bomb);
