// The player's weapons, one row each: what a hit takes from a level object
// and from a part of the mother ship, how the shot flies, its picture, how
// often it launches, where it leaves the fighter and the box its hits are
// sampled with. A weapon's damage is changed here and nowhere else.
#pragma once
#include <cstdint>

// A corner relative to the fighter's reference point (PlayerX, PlayerY).
struct LaunchPoint {
    int x = 0, y = 0;
};

// A box of width x height sampled from a shot's top-left corner; a hit is a
// sample strictly inside the target.
struct StrikeBox {
    int width = 0, height = 0;
};

// A shot is sampled against a target only while it lies within this many
// pixels of the target's corner, in both directions: always against the
// mother ship and enemy shots, and against level objects unless its row
// says otherwise.
inline constexpr int kReach = 150;

struct WeaponRow {
    // Energy one hit takes from a level object and from a mother-ship part.
    // Shots and orbs carry it in their record (Damage), the same against
    // both; egg beams and homing discs carry none and hurt each by its own.
    int32_t damage = 0;
    int32_t shipDamage = 0;
    // The laser's damage once the upgrade ("GoodLaser") is picked up.
    int32_t upgradedDamage = 0;
    // Pixels per frame. Balls fly speedX away from the fighter's middle.
    int speedX = 0, speedY = 0;
    // Picture in Obrazky; nullptr where the shot is drawn as lines or its
    // companion draws itself (companions.cpp).
    const char* picture = nullptr;
    // The value its launch counter must show: VolleyTick counts frames
    // 0..10, the rocket, ball and bomb counters count the volley counter's
    // wraps, each back to 0 after its cadence.
    int cadence = 0;
    // The pair of a two-barrelled weapon leaves from left and right.
    LaunchPoint left = {}, right = {};
    StrikeBox box = {};
    // A level object is sampled only while the shot lies within this many
    // pixels of its corner, in both directions.
    int reach = kReach;
};

// The laser's bolt is no box: its hits are tested at its two tips, left and
// right of the fighter's nose.
inline constexpr LaunchPoint kLaserTips[2] = {{-23, -52}, {12, -52}};

struct WeaponTable {
    WeaponRow laser, rocket, sideBall, diagonalBall, bomb, shieldOrb, eggBeam, homingDisc;
};

inline constexpr WeaponTable kWeapons = {
    // The docked wingmen fire the same bolt.
    .laser = {.damage = 10, .shipDamage = 10, .upgradedDamage = 20, .speedY = -10, .cadence = 10},
    .rocket = {.damage = 40,
               .shipDamage = 40,
               .speedY = -5,
               .picture = "Puma",
               .cadence = 2,
               .left = {-37, -40},
               .right = {14, -40},
               .box = {14, 57}},
    .sideBall = {.damage = 20,
                 .shipDamage = 20,
                 .speedX = 10,
                 .picture = "Koule",
                 .cadence = 1,
                 .left = {-37, 0},
                 .right = {14, 0},
                 .box = {16, 16}},
    .diagonalBall = {.damage = 20,
                     .shipDamage = 20,
                     .speedX = 5,
                     .speedY = -10,
                     .picture = "Koule",
                     .cadence = 1,
                     .left = {-37, 0},
                     .right = {14, 0},
                     .box = {16, 16}},
    .bomb = {.damage = 100,
             .shipDamage = 100,
             .speedY = -1,
             .picture = "Bomba",
             .cadence = 10,
             .left = {-22, -20},
             .box = {33, 47},
             .reach = 250},
    // Orbs hurt only the probe of the mother ship, none of its parts.
    .shieldOrb = {.damage = 300, .shipDamage = 300, .box = {16, 16}},
    // A sweeping beam burns every frame it crosses its target.
    .eggBeam = {.damage = 3, .shipDamage = 1},
    .homingDisc = {.damage = 150, .shipDamage = 10, .box = {16, 16}},
};

// A shot carries one Damage, which counts against level objects and the
// mother ship alike; only egg beams and discs may hurt the two differently.
static_assert(kWeapons.laser.damage == kWeapons.laser.shipDamage &&
                  kWeapons.rocket.damage == kWeapons.rocket.shipDamage &&
                  kWeapons.sideBall.damage == kWeapons.sideBall.shipDamage &&
                  kWeapons.diagonalBall.damage == kWeapons.diagonalBall.shipDamage &&
                  kWeapons.bomb.damage == kWeapons.bomb.shipDamage &&
                  kWeapons.shieldOrb.damage == kWeapons.shieldOrb.shipDamage,
              "a shot carries one Damage: set damage and shipDamage alike");

// Both kinds of balls launch on one counter (BallTick).
static_assert(kWeapons.sideBall.cadence == kWeapons.diagonalBall.cadence, "both balls share BallTick");

// The volley: the gun reloads for this many frames, needs at least this much
// energy for any launch, and each laser bolt costs this much.
inline constexpr int kReloadFrames = 15;
inline constexpr int32_t kVolleyEnergy = 10;
inline constexpr int32_t kLaserEnergyCost = 2;
// The Energypack fills the gun to this.
inline constexpr int32_t kFullWeaponEnergy = 110;

// A bomb bursts once it has risen this far above where it was dropped. Its
// blast reaches level objects within kBlastReach and mother-ship parts
// within kShipBlastReach, taking damage x kBlastStrength / distance^2.
inline constexpr int kBombBurstHeight = 200;
inline constexpr int kBlastReach = 200;
inline constexpr int kShipBlastReach = 100;
inline constexpr int64_t kBlastStrength = 10000;
