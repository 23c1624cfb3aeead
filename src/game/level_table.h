// How the nine levels are described: where a level's finish flags stand,
// the scenery it brings, and one line per group of objects it places, in the
// order they are placed. The levels themselves are in level_table.cpp; the
// level builder (level_build.cpp) reads them.
#pragma once
#include <cstdint>
#include <optional>
#include <span>

// Values that grow with the difficulty. A count written n * K is multiplied
// by the CountFactor, a strength written v * S by the StrengthFactor; a plain
// number stays the same at every difficulty.
struct Count {
    int n = 0;
    bool scaled = false;
    constexpr Count(int fixed) : n(fixed) {}
};
struct Strength {
    int32_t v = 0;
    bool scaled = false;
    constexpr Strength(int32_t fixed) : v(fixed) {}
};
struct CountFactorMark {};
struct StrengthFactorMark {};
inline constexpr CountFactorMark K;
inline constexpr StrengthFactorMark S;
constexpr Count operator*(int n, CountFactorMark) {
    Count c(n);
    c.scaled = true;
    return c;
}
constexpr Strength operator*(int32_t v, StrengthFactorMark) {
    Strength s(v);
    s.scaled = true;
    return s;
}

// A value drawn when the object is placed: from + Roll(n) is from plus
// RandomInt(n), 0..n-1. A plain number is fixed and draws nothing.
struct Roll {
    int n = 0;
};
struct Drawn {
    int from = 0;
    int roll = 0;  // 0: fixed
    constexpr Drawn(int fixed) : from(fixed) {}
};
constexpr Drawn operator+(int from, Roll r) {
    Drawn d(from);
    d.roll = r.n;
    return d;
}

// A band of level coordinates an object is placed in (PlaceLevelObject).
struct Band {
    int32_t low = 0, high = 0;
};

// The gun of an armed group: the shots' speed, frames between volleys, kind
// (their picture Rakety[kind + 23]; 1 a red beam), the offset of a second
// gun left and right of the middle (0: one gun) and each shot's damage.
struct Gun {
    int shotSpeed = 0;
    Drawn fireInterval = 0;
    int shotKind = 0;
    int shotSpread = 0;
    Strength shotDamage = 0;
};

// One line of a level's table: count objects of one picture placed in a band.
struct ObjectGroup {
    Count count = 0;
    Drawn picture = 0;  // index in Rakety: the object's kind
    Drawn speed = 0;    // own descent, pixels per frame beside the scroll
    Band band = {};
    Strength energy = 0;
    // What the ship loses on touching it; unset, the slot keeps the value of
    // the object that used it before (boxes never hurt by touch).
    std::optional<Strength> collisionDamage = std::nullopt;
    int32_t score = 0;
    Drawn content = 0;  // what a box holds (object_contents.h); 0 an ordinary object
    std::optional<Gun> gun = std::nullopt;
};

// Level 3's barrier: blocks of rows of barrier blocks side by side, the
// first row at from, each block a gap above the last, until a block would
// start beyond until. Each block lies at a random offset across the screen.
struct BarrierRows {
    int32_t from = 0, until = 0;
    Drawn rows = 0;
    Drawn gap = 0;
    int columns = 0;
    int pitch = 0;  // between neighbouring blocks and rows, both ways
    int picture = 0;
    Strength energy = 0;
    Strength collisionDamage = 0;
    int32_t score = 0;
};

// The Level collection a level draws: the city ("video\mesto.lev") or the
// mother ship ("video\velkalod.lev"), which is also set up for battle.
enum class Scenery { None, City, MotherShip };

struct LevelDesign {
    int32_t levelEnd = 0;           // level coordinate of the finish flags
    bool briefing = false;          // the commander speaks at the start
    bool countsBlackBoxes = false;  // BlackBoxCount starts again from 0
    Scenery scenery = Scenery::None;
    // A lower CountFactor for this level, whatever the difficulty asks.
    std::optional<double> countFactorAtMost = std::nullopt;
    std::optional<BarrierRows> barriers = std::nullopt;  // placed before the groups
    std::span<const ObjectGroup> groups = {};
    // After the groups: four item boxes and two mystery boxes (levels with
    // itemBoxes), then one extra-life box in every level, all at boxSpeed,
    // which weapon boxes offered again during play take too.
    bool itemBoxes = true;
    int boxSpeed = 0;
};

// The boxes every level gets after its own groups lie from here up to this
// far before the finish.
inline constexpr int32_t kBoxesFrom = 1800;
inline constexpr int32_t kBoxesBeforeFinish = 600;
inline constexpr int kItemBoxes = 4;
inline constexpr int kMysteryBoxes = 2;

// The difficulty factors (Difficulty 1, 2, 3).
struct LevelFactors {
    double count = 1;     // CountFactor: 1, 1.5 or 2
    double strength = 1;  // StrengthFactor: 1, 1.2 or 2
};
LevelFactors FactorsFor(uint8_t difficulty);

inline constexpr int kLevelCount = 9;
// Levels 1..9; a level outside them is taken as the nearest of them.
const LevelDesign& LevelDesignOf(int level);