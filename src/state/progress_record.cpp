// Byte layouts of the saved records: the 108-byte ProgressRecord of a profile
// slot and the 252-byte score table. Fields are written one by one in
// little-endian at fixed offsets; padding is written as zero.
#include <cstring>

#include "state/saved_files.h"

// ProgressRecord, 108 bytes:
//   0 PlayerX i32    4 PlayerY i32    8 SpeedX i32    12 SpeedY i32
//  16 Energy i32    20 Score i32     24 Difficulty u8
//  25..29 HasGoodLaser, HasDiagonalBalls, HasRockets, HasSideBalls, HasBombs u8
//  30 LastWeapon i8 (-1 stored as 0xFF)
//  31 PlayerName: length byte + 20 cp1250 bytes
//  52 Level i32     56 ScrollDistance i32   60 ItemSlots[1..3] i32
//  72 LevelEnd i32  76 WeaponPickupState[1..5] i32
//  96 BlackBoxCount u8, 97..99 padding
// 100 ShipExplosionFrame i32   104 Lives i8 (-1 stored as 0xFF), 105..107 padding
//
// Score table, 252 bytes:
//   0 Scores[1..10] i32, 40 + 21 * (i - 1) Names[i] (length byte + 20 bytes),
// 250 two padding bytes.

namespace {

void PutI32(uint8_t* at, int32_t value) {
    const uint32_t v = uint32_t(value);
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
    at[2] = uint8_t(v >> 16);
    at[3] = uint8_t(v >> 24);
}

int32_t GetI32(const uint8_t* at) {
    return int32_t(uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24);
}

void PutName(uint8_t* at, const ShortString20& name) {
    at[0] = name.length;
    std::memcpy(at + 1, name.chars, 20);
}

// A length byte above 20 (a damaged file) is clamped to 20, so nothing ever
// reads past the name's own 20 bytes; the next save writes it as 20.
ShortString20 GetName(const uint8_t* at) {
    ShortString20 name;
    name.length = at[0] > 20 ? 20 : at[0];
    std::memcpy(name.chars, at + 1, 20);
    return name;
}

}  // namespace

static_assert(kProgressRecordSize == 108);
static_assert(kScoresFileSize == 40 + 10 * 21 + 2);
static_assert(kProfilesFileSize == 648);

std::array<uint8_t, kProgressRecordSize> EncodeProgress(const ProgressRecord& p) {
    std::array<uint8_t, kProgressRecordSize> b{};
    uint8_t* d = b.data();
    PutI32(d + 0, p.PlayerX);
    PutI32(d + 4, p.PlayerY);
    PutI32(d + 8, p.SpeedX);
    PutI32(d + 12, p.SpeedY);
    PutI32(d + 16, p.Energy);
    PutI32(d + 20, p.Score);
    d[24] = p.Difficulty;
    d[25] = p.HasGoodLaser;
    d[26] = p.HasDiagonalBalls;
    d[27] = p.HasRockets;
    d[28] = p.HasSideBalls;
    d[29] = p.HasBombs;
    d[30] = uint8_t(p.LastWeapon);
    PutName(d + 31, p.PlayerName);
    PutI32(d + 52, p.Level);
    PutI32(d + 56, p.ScrollDistance);
    for (int i = 1; i <= 3; ++i) PutI32(d + 60 + 4 * (i - 1), p.ItemSlots[i]);
    PutI32(d + 72, p.LevelEnd);
    for (int i = 1; i <= 5; ++i) PutI32(d + 76 + 4 * (i - 1), p.WeaponPickupState[i]);
    d[96] = p.BlackBoxCount;
    PutI32(d + 100, p.ShipExplosionFrame);
    d[104] = uint8_t(p.Lives);
    return b;
}

ProgressRecord DecodeProgress(const uint8_t* d) {
    ProgressRecord p;
    p.PlayerX = GetI32(d + 0);
    p.PlayerY = GetI32(d + 4);
    p.SpeedX = GetI32(d + 8);
    p.SpeedY = GetI32(d + 12);
    p.Energy = GetI32(d + 16);
    p.Score = GetI32(d + 20);
    p.Difficulty = d[24];
    p.HasGoodLaser = d[25];
    p.HasDiagonalBalls = d[26];
    p.HasRockets = d[27];
    p.HasSideBalls = d[28];
    p.HasBombs = d[29];
    p.LastWeapon = int8_t(d[30]);
    p.PlayerName = GetName(d + 31);
    p.Level = GetI32(d + 52);
    p.ScrollDistance = GetI32(d + 56);
    for (int i = 1; i <= 3; ++i) p.ItemSlots[i] = GetI32(d + 60 + 4 * (i - 1));
    p.LevelEnd = GetI32(d + 72);
    for (int i = 1; i <= 5; ++i) p.WeaponPickupState[i] = GetI32(d + 76 + 4 * (i - 1));
    p.BlackBoxCount = d[96];
    p.ShipExplosionFrame = GetI32(d + 100);
    p.Lives = int8_t(d[104]);
    return p;
}

std::array<uint8_t, kScoresFileSize> EncodeScores(const ScoreTableRecord& table) {
    std::array<uint8_t, kScoresFileSize> b{};
    for (int i = 1; i <= 10; ++i) {
        PutI32(b.data() + 4 * (i - 1), table.Scores[i]);
        PutName(b.data() + 40 + 21 * (i - 1), table.Names[i]);
    }
    return b;
}

ScoreTableRecord DecodeScores(const uint8_t* bytes) {
    ScoreTableRecord table;
    for (int i = 1; i <= 10; ++i) {
        table.Scores[i] = GetI32(bytes + 4 * (i - 1));
        table.Names[i] = GetName(bytes + 40 + 21 * (i - 1));
    }
    return table;
}
