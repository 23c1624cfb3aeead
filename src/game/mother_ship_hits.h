// Pieces of the mother ship battle shared by its two source files: the part
// numbers that matter, a part's rectangle on screen, and the passes in which
// the player's weapons strike the ship and its probe.
#pragma once
#include <cstdint>

#include "state/game_state.h"

struct World;

namespace mothership {

constexpr int kRecords = 20;   // parts 0..18 and the probe
constexpr int kLauncher = 17;  // the probe launcher
constexpr int kCore = 18;
constexpr int kProbe = 19;

// Left, top, width and height of a part's hit box on screen: parts are
// placed relative to the ship, the probe by its own screen position.
struct PartRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool InsideX(int x) const { return left < x && x < left + width; }
    bool InsideY(int y) const { return top < y && y < top + height; }
};
PartRect RectOf(const GameState& g, int record);

// Lasers, rockets, both kinds of balls and bombs against every standing part.
void StrikeWithShots(World& w);
// Bombs that have flown 200 pixels burst and shake every part near them.
void BurstBombs(World& w);
// Egg beams burn every part level with them.
void BurnWithEggBeams(World& w);
// Homing discs hit the parts they touch and are drawn towards the others.
void StrikeWithDiscs(World& w);
// Shield orbs only stop the probe.
void OrbsAgainstProbe(World& w);

}  // namespace mothership
