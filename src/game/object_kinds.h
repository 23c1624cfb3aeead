// What a level object is: the pictures of Rakety the levels place by role,
// and what a box holds (its Content), which decides what touching it does.
#pragma once

// Pictures in Rakety. Craft are named by number in the level table.
inline constexpr int kBarrierPicture = 5;
inline constexpr int kBoxPicture = 8;
inline constexpr int kFirstMeteorPicture = 9;  // 9..13, five meteors
inline constexpr int kMeteorPictures = 5;
inline constexpr int kBlackBoxPicture = 14;
// An enemy shot of kind k shows Rakety[k + kShotPictures].
inline constexpr int kShotPictures = 23;

// Content: 0 an ordinary object, which hurts on touch; 1..7 a box with that
// special item; 8 a mystery box; 9 the extra-life box; 14 a black box;
// 100..104 the box of weapon 0..4; 255 a box already taken.
inline constexpr int kOrdinary = 0;
inline constexpr int kFirstItem = 1;
inline constexpr int kLastItem = 7;
inline constexpr int kMysteryBox = 8;
inline constexpr int kExtraLife = 9;
inline constexpr int kBlackBox = 14;
inline constexpr int kFirstWeaponBox = 100;  // + weapon number 0..4
inline constexpr int kLastWeaponBox = 104;
inline constexpr int kTakenBox = 255;

// The energy of every box a level places (black boxes aside).
inline constexpr int kBoxEnergy = 150;
