// The nine levels: for each, where its finish flags stand and the groups of
// meteors, craft and boxes it places, in the order they are placed. n * K
// grows with the difficulty's CountFactor, v * S with its StrengthFactor;
// 9 + Roll(5) is drawn as 9 + RandomInt(5) for each object.
#include "game/level_table.h"

#include <iterator>

#include "game/object_kinds.h"

namespace {

// The difficulties 1, 2 and 3.
constexpr LevelFactors kDifficulties[] = {
    {.count = 1.0, .strength = 1.0}, {.count = 1.5, .strength = 1.2}, {.count = 2.0, .strength = 2.0}};

// A weapon box offering weapon 0..4 (laser upgrade, diagonal balls, rockets,
// sideways balls, bombs).
constexpr ObjectGroup WeaponBox(int weapon, int speed, Band band) {
    return {.count = 1,
            .picture = kBoxPicture,
            .speed = speed,
            .band = band,
            .energy = kBoxEnergy,
            .score = 0,
            .content = kFirstWeaponBox + weapon};
}

// The meteors: any of the five, falling two or three pixels a frame. What a
// destroyed meteor scores is ours to choose: the light rock of level 1
// little, the 800-energy meteors of level 6 more.
constexpr Drawn kAnyMeteor = kFirstMeteorPicture + Roll{kMeteorPictures};
constexpr Drawn kMeteorSpeed = 2 + Roll{2};

// The levels keep one group to two lines, as a table reads.
// clang-format off

// Level 1: the meteor storm, and the black boxes to collect.
constexpr ObjectGroup kLevel1Groups[] = {
    {.count = 100 * K, .picture = kAnyMeteor, .speed = kMeteorSpeed, .band = {1200, 25800},
     .energy = 199 * S, .collisionDamage = 25 * S, .score = 10},
    {.count = 20, .picture = kBlackBoxPicture, .speed = 1, .band = {1200, 16800},
     .energy = 9, .score = 0, .content = kBlackBox},
};
constexpr LevelDesign kLevel1 = {.levelEnd = 9400, .briefing = true, .countsBlackBoxes = true,
                                 .groups = kLevel1Groups, .itemBoxes = false};

constexpr ObjectGroup kLevel2Groups[] = {
    {.count = 50 * K, .picture = 2, .speed = 1, .band = {1200, 9000},
     .energy = 9 * S, .collisionDamage = 10 * S, .score = 20},
    {.count = 15 * K, .picture = 2, .speed = 1, .band = {9000, 12000},
     .energy = 9 * S, .collisionDamage = 10 * S, .score = 20},
    WeaponBox(0, 1, {9000, 12000}),
    {.count = 15 * K, .picture = 3, .speed = 1, .band = {9000, 12000},
     .energy = 19 * S, .collisionDamage = 15 * S, .score = 40},
    {.count = 65 * K, .picture = 3, .speed = 1, .band = {12000, 18000},
     .energy = 19 * S, .collisionDamage = 15 * S, .score = 40},
};
constexpr LevelDesign kLevel2 = {.levelEnd = 9500, .briefing = true, .groups = kLevel2Groups};

// Level 3 opens with the barrier: blocks of 17 x 3..6 barrier blocks.
constexpr BarrierRows kLevel3Barrier = {.from = 1200, .until = 4200, .rows = 3 + Roll{4}, .gap = 400 + Roll{100},
                                        .columns = 17, .pitch = 44, .picture = kBarrierPicture,
                                        .energy = 29 * S, .collisionDamage = 10 * S, .score = 2};
constexpr ObjectGroup kLevel3Groups[] = {
    WeaponBox(1, 0, {2400, 3000}),
    {.count = 30 * K, .picture = 3, .speed = 1, .band = {4800, 11400},
     .energy = 19 * S, .collisionDamage = 15 * S, .score = 40},
    {.count = 40 * K, .picture = 15, .speed = 2, .band = {4800, 15000},
     .energy = 19 * S, .collisionDamage = 10 * S, .score = 20},
    {.count = 40 * K, .picture = 15, .speed = 2, .band = {13800, 19800},
     .energy = 19 * S, .collisionDamage = 10 * S, .score = 20},
    {.count = 100 * K, .picture = 15, .speed = 2, .band = {21600, 36000},
     .energy = 19 * S, .collisionDamage = 10 * S, .score = 20},
    {.count = 35 * K, .picture = 7, .speed = 0, .band = {6600, 12000},
     .energy = 39 * S, .collisionDamage = 20 * S, .score = 50},
};
constexpr LevelDesign kLevel3 = {.levelEnd = 12800, .briefing = true, .barriers = kLevel3Barrier,
                                 .groups = kLevel3Groups};

// Level 4: the first city; its boxes ride down with the city.
constexpr ObjectGroup kLevel4Groups[] = {
    WeaponBox(2, 1, {1200, 2400}),
    {.count = 65 * K, .picture = 4, .speed = 1, .band = {1200, 19200},
     .energy = 119 * S, .collisionDamage = 20 * S, .score = 65,
     .gun = Gun{.shotSpeed = 2, .fireInterval = 50 + Roll{80}, .shotKind = 0, .shotSpread = 18, .shotDamage = 10 * S}},
    {.count = 130 * K, .picture = 20, .speed = 2, .band = {1200, 25800},
     .energy = 59 * S, .collisionDamage = 15 * S, .score = 50},
};
constexpr LevelDesign kLevel4 = {.levelEnd = 10800, .scenery = Scenery::City, .groups = kLevel4Groups,
                                 .boxSpeed = 1};

constexpr ObjectGroup kLevel5Groups[] = {
    WeaponBox(3, 0, {3000, 3600}),
    {.count = 60 * K, .picture = 16, .speed = 1, .band = {1200, 7200},
     .energy = 119 * S, .collisionDamage = 20 * S, .score = 60,
     .gun = Gun{.shotSpeed = 2, .fireInterval = 90 + Roll{80}, .shotKind = 0, .shotSpread = 13, .shotDamage = 10 * S}},
    {.count = 120 * K, .picture = 19, .speed = 2, .band = {7200, 29400},
     .energy = 59 * S, .collisionDamage = 15 * S, .score = 50},
    {.count = 90 * K, .picture = 16, .speed = 1, .band = {7200, 25200},
     .energy = 119 * S, .collisionDamage = 20 * S, .score = 60,
     .gun = Gun{.shotSpeed = 2, .fireInterval = 90 + Roll{80}, .shotKind = 0, .shotSpread = 13, .shotDamage = 10 * S}},
};
constexpr LevelDesign kLevel5 = {.levelEnd = 13000, .groups = kLevel5Groups};

// Level 6: the second meteor storm, heavier rock.
constexpr ObjectGroup kLevel6Groups[] = {
    {.count = 130 * K, .picture = kAnyMeteor, .speed = kMeteorSpeed, .band = {1200, 27000},
     .energy = 800 * S, .collisionDamage = 30 * S, .score = 40},
    {.count = 60 * K, .picture = 18, .speed = 1, .band = {1200, 18000},
     .energy = 119 * S, .collisionDamage = 25 * S, .score = 70,
     .gun = Gun{.shotSpeed = 2, .fireInterval = 150 + Roll{80}, .shotKind = 1, .shotSpread = 14, .shotDamage = 5 * S}},
};
constexpr LevelDesign kLevel6 = {.levelEnd = 9600, .briefing = true, .groups = kLevel6Groups};

constexpr ObjectGroup kLevel7Groups[] = {
    WeaponBox(4, 0, {1800, 2400}),
    {.count = 80 * K, .picture = 1, .speed = 1, .band = {1200, 18000},
     .energy = 119 * S, .collisionDamage = 25 * S, .score = 65,
     .gun = Gun{.shotSpeed = 2, .fireInterval = 150 + Roll{80}, .shotKind = 2, .shotSpread = 0, .shotDamage = 15 * S}},
    {.count = 150 * K, .picture = 20, .speed = 2, .band = {1200, 24000},
     .energy = 59 * S, .collisionDamage = 15 * S, .score = 50},
};
constexpr LevelDesign kLevel7 = {.levelEnd = 9600, .groups = kLevel7Groups};

// Level 8: the second city.
constexpr ObjectGroup kLevel8Groups[] = {
    {.count = 80 * K, .picture = 17, .speed = 1, .band = {1200, 18000},
     .energy = 179 * S, .collisionDamage = 35 * S, .score = 90,
     .gun = Gun{.shotSpeed = 2, .fireInterval = 150 + Roll{80}, .shotKind = 2, .shotSpread = 20, .shotDamage = 15 * S}},
    {.count = 200 * K, .picture = 15, .speed = 2, .band = {1200, 24000},
     .energy = 19 * S, .collisionDamage = 10 * S, .score = 20},
};
constexpr LevelDesign kLevel8 = {.levelEnd = 9400, .scenery = Scenery::City, .groups = kLevel8Groups,
                                 .boxSpeed = 1};

// Level 9: the mother ship and its escort of every kind of craft. At the
// hardest difficulty the escort is only one and a half times as large.
constexpr ObjectGroup kLevel9Groups[] = {
    {.count = 25 * K, .picture = 2, .speed = 2, .band = {1200, 24000},
     .energy = 9 * S, .collisionDamage = 10 * S, .score = 20},
    {.count = 25 * K, .picture = 20, .speed = 2, .band = {1200, 24000},
     .energy = 59 * S, .collisionDamage = 15 * S, .score = 50},
    {.count = 25 * K, .picture = 15, .speed = 2, .band = {1200, 24000},
     .energy = 19 * S, .collisionDamage = 10 * S, .score = 20},
    {.count = 20 * K, .picture = 16, .speed = 2, .band = {1200, 15000},
     .energy = 119 * S, .collisionDamage = 20 * S, .score = 60,
     .gun = Gun{.shotSpeed = 3, .fireInterval = 150 + Roll{80}, .shotKind = 0, .shotSpread = 13, .shotDamage = 10 * S}},
    {.count = 20 * K, .picture = 1, .speed = 0, .band = {1200, 10200},
     .energy = 119 * S, .collisionDamage = 25 * S, .score = 65,
     .gun = Gun{.shotSpeed = 2, .fireInterval = 150 + Roll{80}, .shotKind = 2, .shotSpread = 0, .shotDamage = 15 * S}},
    {.count = 20 * K, .picture = 3, .speed = 1, .band = {1200, 15000},
     .energy = 19 * S, .collisionDamage = 15 * S, .score = 40},
    {.count = 25 * K, .picture = 19, .speed = 1, .band = {1200, 15000},
     .energy = 59 * S, .collisionDamage = 15 * S, .score = 50},
    {.count = 25 * K, .picture = 4, .speed = 1, .band = {1200, 18000},
     .energy = 119 * S, .collisionDamage = 20 * S, .score = 65,
     .gun = Gun{.shotSpeed = 2, .fireInterval = 150 + Roll{80}, .shotKind = 0, .shotSpread = 18, .shotDamage = 10 * S}},
    {.count = 20 * K, .picture = 17, .speed = 0, .band = {1200, 10200},
     .energy = 179 * S, .collisionDamage = 35 * S, .score = 90,
     .gun = Gun{.shotSpeed = 2, .fireInterval = 150 + Roll{80}, .shotKind = 2, .shotSpread = 20, .shotDamage = 15 * S}},
    {.count = 20 * K, .picture = 7, .speed = 0, .band = {1200, 10200},
     .energy = 39 * S, .collisionDamage = 20 * S, .score = 50},
    {.count = 25 * K, .picture = 18, .speed = 1, .band = {1200, 18000},
     .energy = 119 * S, .collisionDamage = 25 * S, .score = 70},
};
constexpr LevelDesign kLevel9 = {.levelEnd = 10000, .briefing = true, .scenery = Scenery::MotherShip,
                                 .countFactorAtMost = 1.5, .groups = kLevel9Groups};

// clang-format on

constexpr const LevelDesign* kLevels[] = {&kLevel1, &kLevel2, &kLevel3, &kLevel4, &kLevel5,
                                          &kLevel6, &kLevel7, &kLevel8, &kLevel9};
static_assert(std::size(kLevels) == kLevelCount, "one design for each level");

// Every band leaves room for an object: its high end above its low end.
constexpr bool BandsHoldObjects() {
    for (const LevelDesign* level : kLevels)
        for (const ObjectGroup& group : level->groups)
            if (group.band.high <= group.band.low) return false;
    return true;
}
static_assert(BandsHoldObjects(), "a group's band must run from low up to a higher high");

}  // namespace

LevelFactors FactorsFor(uint8_t difficulty) {
    // A damaged profile may bring any byte: below 1 plays as 1, above 3 as 3.
    if (difficulty < 1) difficulty = 1;
    if (difficulty > 3) difficulty = 3;
    return kDifficulties[difficulty - 1];
}

const LevelDesign& LevelDesignOf(int level) {
    if (level < 1) level = 1;
    if (level > kLevelCount) level = kLevelCount;
    return *kLevels[level - 1];
}
