// The pieces level construction is made of: the difficulty factors, the
// description of one group of objects, and the helpers that take a free slot
// and place a group. Shared by level_build.cpp and level_rules.cpp only.
#pragma once
#include <cstdint>

struct World;

struct LevelFactors {
    double count = 1;     // CountFactor: 1, 1.5 or 2
    double strength = 1;  // StrengthFactor: 1, 1.2 or 2
};

// n x CountFactor, an exact half going to the even neighbour (15 x 1.5 = 22).
int ScaledCount(int n, double countFactor);
// v x StrengthFactor rounded to the nearest integer (199 x 1.2 = 239).
int32_t ScaledStrength(int32_t v, double strengthFactor);

// A value the rule leaves as the slot already holds it.
constexpr int kKeep = -1;
// Picture and speed of the meteor groups: 9 + RandomInt(5) and 2 + RandomInt(2).
constexpr int kMeteorPicture = -2;
constexpr int kMeteorSpeed = -2;

// One line of a level's table. Values marked "scaled" are multiplied by the
// StrengthFactor; a count is multiplied by the CountFactor when countScaled.
struct GroupRule {
    int count = 0;
    bool countScaled = true;
    int picture = 0;  // or kMeteorPicture
    int speed = 0;    // or kMeteorSpeed
    int32_t low = 0, high = 0;
    int32_t energy = 0;
    bool energyScaled = true;
    int32_t collisionDamage = kKeep;  // scaled; kKeep = not set
    int32_t score = kKeep;            // fixed; kKeep = not set
    int content = 0;
    // Armed groups: ShotSpeed / FireInterval (base + RandomInt(80)) / ShotKind /
    // ShotSpread / ShotDamage (scaled).
    bool fires = false;
    int shotSpeed = 0, fireIntervalBase = 0, shotKind = 0, shotSpread = 0;
    int32_t shotDamage = 0;
};

// The lowest-numbered slot whose X is 0, or 0 when none is free.
int TakeFreeSlot(World& w);
// Places rule.count (scaled) objects of the group; objects without a free
// slot are left out and the loop goes on.
void PlaceGroup(World& w, const GroupRule& rule, const LevelFactors& factors);

// The rules of one level (1..9): fill LevelObjects and set LevelEnd and the
// level's other state. May change factors.count (level 9, difficulty 3).
void RunLevelRules(World& w, int level, LevelFactors& factors);
