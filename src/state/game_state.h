// The whole state of a running game: the progress record that profiles store,
// the level objects, the shot and companion arrays, the enemy shots, the city
// grid and the counters of every gameplay routine. Plain fixed records;
// nothing here allocates during play.
#pragma once
#include <cstdint>

#include "media/rect.h"
#include "state/fixed.h"

// The live Progress, also the 108-byte unit of a profile slot (the byte
// layout lives in shell/progress_record.cpp).
struct ProgressRecord {
    int32_t PlayerX = 400;
    int32_t PlayerY = 300;
    int32_t SpeedX = 0;
    int32_t SpeedY = 0;
    int32_t Energy = 100;
    int32_t Score = 0;
    uint8_t Difficulty = 2;
    uint8_t HasGoodLaser = 0;      // weapon 0
    uint8_t HasDiagonalBalls = 0;  // weapon 1
    uint8_t HasRockets = 0;        // weapon 2
    uint8_t HasSideBalls = 0;      // weapon 3
    uint8_t HasBombs = 0;          // weapon 4
    int8_t LastWeapon = -1;
    ShortString20 PlayerName;
    int32_t Level = 1;
    int32_t ScrollDistance = 600;
    NumberedArray<int32_t, 3> ItemSlots;  // 1..3
    int32_t LevelEnd = 0;
    NumberedArray<int32_t, 5> WeaponPickupState;  // 1..5
    uint8_t BlackBoxCount = 0;
    uint8_t padding1[3] = {};
    int32_t ShipExplosionFrame = 0;
    int8_t Lives = 3;  // 255 (-1) during the pause after the last ship
    uint8_t padding2[3] = {};
};

// The five weapon flags by weapon number 0..4 (laser upgrade, diagonal balls,
// rockets, sideways balls, bombs), as pick-ups address them.
inline uint8_t& WeaponFlag(ProgressRecord& p, int weapon) {
    switch (weapon) {
        case 0: return p.HasGoodLaser;
        case 1: return p.HasDiagonalBalls;
        case 2: return p.HasRockets;
        case 3: return p.HasSideBalls;
        default: return p.HasBombs;
    }
}

struct LevelObject {
    int32_t X = 0;  // 0 free, -1 spent
    int32_t Y = 0;  // level coordinate; screen y = ScrollDistance - Y
    int32_t Energy = 0;
    uint8_t Picture = 0;  // index into Rakety
    uint8_t Speed = 0;
    uint8_t Hit = 0;
    uint8_t Content = 0;
    uint8_t Visible = 0;
    int32_t CollisionDamage = 0;
    int32_t ShotDamage = 0;
    int32_t Score = 0;
    uint8_t Fires = 0;
    uint8_t ShotSpeed = 0;
    uint8_t FireInterval = 0;
    uint8_t ShotKind = 0;
    uint8_t ShotSpread = 0;
};

// Empties a level object's place, picture, motion and content, as a new game
// and the building of a level do; its damage and score values stay.
inline void ClearObjectPlace(LevelObject& o) {
    o.X = 0;
    o.Y = 0;
    o.Energy = 0;
    o.Picture = 0;
    o.Speed = 0;
    o.Hit = 0;
    o.Content = 0;
    o.Visible = 0;
}

struct Star {
    int32_t X = 0, Y = 0;
    int32_t Colour = 0;  // grey, 0xBBGGRR
    uint8_t Speed = 1;
};

struct ShotRecord {
    int32_t X = 0, Y = 0;
    int32_t StartX = 0, StartY = 0;
    int32_t Damage = 0;
    int32_t Mode = 0;
    uint8_t Active = 0;
};

struct EnemyShotRecord {
    int32_t X = 0, Y = 0;  // Y is a level coordinate
    uint8_t Active = 0;
    int32_t Damage = 0;
    int8_t Speed = 0;
    uint8_t Kind = 0;  // picture Rakety[Kind + 23]; 1 = red beam
    int32_t BurstFrame = -1;
};

struct WingmanRecord {
    int32_t X = 0, Y = 0;
    int32_t State = 0;  // 0 absent, 1 flying in, 2 docked, 3 leaving
    int32_t Spare = 0;  // set to 0 when called
};

struct EggBeamEnd {
    int32_t LeftX = 0, RightX = 0;
};

struct CityCell {
    int32_t Picture = -1;  // -1 empty
    int32_t FrameDelay = 0;
    int32_t DelayCount = 0;
    int32_t Frame = 0;
    int32_t LastFrame = 0;
    int32_t FirstFrame = 0;
};

// One part of the mother ship (records 0..18), the probe (19), unused 20..29.
struct ShipPart {
    int32_t X = 0, Y = 0, Width = 0, Height = 0;
    int32_t Energy = 0;
    uint8_t Hit = 0;
    uint8_t ShotKind = 0;
    uint8_t ShotSpeed = 0;
    int32_t FireInterval = 0;
    int32_t ShotDamage = 0;
    int32_t Score = 0;
};

struct MotherShipPosition {
    int32_t X = 0, Y = -228;
};

constexpr int kLevelObjectCount = 1200;
constexpr int kShotCount = 20;
constexpr int kOrbCount = 10;
constexpr int kDiscGroups = 5;
constexpr int kDiscsPerGroup = 8;
constexpr int kEggBeamCount = 5;
constexpr int kEnemyShotCount = 50;
constexpr int kStarCount = 100;

struct GameState {
    ProgressRecord Progress;
    NumberedArray<LevelObject, kLevelObjectCount> LevelObjects;  // 1..1200
    Star Stars[kStarCount];
    ShotRecord LaserShots[kShotCount];
    ShotRecord RocketShots[kShotCount];
    ShotRecord SideBallShots[kShotCount];
    ShotRecord DiagonalBallShots[kShotCount];
    ShotRecord BombShots[kShotCount];
    ShotRecord ShieldOrbs[kOrbCount];
    ShotRecord HomingDiscs[kDiscGroups][kDiscsPerGroup];
    ShotRecord EggBeams[kEggBeamCount];
    EggBeamEnd EggBeamEnds[kEggBeamCount];
    int32_t EggBeamTimers[kEggBeamCount] = {};
    EnemyShotRecord EnemyShots[kEnemyShotCount];
    WingmanRecord Wingmen[3];
    // 9 columns numbered 1..9, each 9 cells 0..8 of which 0..6 are shown.
    NumberedArray<std::array<CityCell, 9>, 9> CityGrid;

    // Part of the new-game reset.
    int32_t ArrivalWidth = 400, ArrivalHeight = 400;
    uint8_t StarMode = 0;  // 0 normal, 1 mirrored, 2 fast
    uint8_t ItemSlotToUse = 0;
    int32_t InvulnerableEnergy = 0;
    int32_t InvulnerableTimer = 0;
    uint8_t FireHeld = 0;
    uint8_t VolleyTick = 10;
    uint8_t RocketTick = 2;
    uint8_t BallTick = 1;
    int32_t WeaponEnergy = 110;
    int32_t ReloadTimer = 15;
    uint8_t ShipHitTimer = 0;
    int32_t WingmanTimer = 0;
    uint8_t EnergyRefill = 0;
    FixedString<255> CommanderText;  // one NUL character = no text
    int32_t CommanderTextPos = 1;
    int32_t CommanderStep = 0;
    int32_t CommanderTimer = 0;
    uint8_t TextScreenLine = 0;

    // Never reset by a new game.
    uint8_t BombTick = 0;
    int32_t StepX = 0, StepY = 0;
    Rect ArrivalRect;

    // Level objects (never reset).
    int32_t ExplosionTick = 0;
    int32_t FireClock = 0;
    int32_t LifeAnimFrame = 0;
    int32_t LifeTakenShift = 0;
    NumberedArray<int32_t, 5> WeaponPickupSeen;
    int32_t BlastFrame = 0, BlastX = 0, BlastY = 0;
    uint8_t BlinkFrame = 0;
    uint8_t BlinkTick = 0;

    // HUD (never reset).
    uint8_t LowEnergyArmed = 1;
    uint8_t InvulnerableLightStep = 0;
    int32_t DeathTick = 0;

    // Commander (never reset).
    uint8_t PortraitFrame = 1;
    int32_t PortraitTick = 0;
    int32_t TypeTick = 0;
    int32_t TextCursorX = 125;
    uint8_t LampTick = 0;
    uint8_t ProbeFrame = 0;
    int32_t ProbeTick = 0;

    // City (never reset).
    int32_t CityScroll = 100;
    int32_t CityAge = 0;

    // Finish line (never reset): the level's finish passed (its progress
    // saved), the lights beside the flags after a crossing, and the flags'
    // waving.
    uint8_t FinishPassed = 0;
    uint8_t FinishLightOn = 0;
    uint8_t FinishLightTimer = 0;  // 0..60
    uint8_t FlagFrame = 0;         // 0..4
    uint8_t FlagTick = 0;          // 0..3, FlagFrame moves on every fourth frame

    // Mother ship battle.
    MotherShipPosition MotherShip;
    ShipPart MotherShipParts[30];
    int32_t MuzzleTimers[9] = {};
    uint8_t LauncherState = 0;
    int8_t LauncherFrame = 0;
    int32_t DestructionCounter = 0;
    uint8_t ShipDirX = 1, ShipDirY = 1;
    int32_t FrameParity = 0;
    int32_t ShipTick6 = 0;
    int32_t ShipTick9 = 0;
    int32_t ProbeLaunchCounter = 0;
    int32_t ShipFireClock = 0;
    int32_t ShipBlast[3] = {};  // frame (0 none), x, y
};

// The "no text" value of CommanderText: one character with code 0.
inline bool IsNoText(const FixedString<255>& text) { return text.size == 1 && text.data[0] == 0; }
inline void SetNoText(FixedString<255>& text) {
    text.data[0] = 0;
    text.size = 1;
}
