// The long view: which column of the screen to fly in. Every column is
// judged by what will come down it within the radar's reach: hazards the
// guns can clear in time cost nothing, the rest cost the energy they would
// take (less for far ones), boxes earn their worth, and in the mother ship
// battle a column earns what its lasers would strike. The flight planner
// steers toward the chosen column while it dodges.
#pragma once
#include "situation.h"

namespace autopilot {

// Damage one volley does to a thing in the laser's line.
int VolleyDamage(const Situation& s);
// Frames the guns need to destroy a mover in line (a volley every 16 frames).
int FramesToDestroy(const Situation& s, const Mover& m);
// Whether x lies strictly inside a mover's columns.
inline bool InColumns(const Mover& m, int x) { return m.left < x && x < m.right; }
// Frame in which the mover's lower edge reaches the ship's upper edge.
int ArrivalFrame(const Situation& s, const Mover& m);

// The mother ship's part a laser beam at x strikes first (the lowest standing
// part over it), -1 for none; `wanted` tells whether hurting it brings the
// ship's end nearer (a shielding part, then the launcher, then the core).
int FirstPartInLine(const Situation& s, int x, bool& wanted);

// The column in which the lasers meet the mother ship's probe, if there is
// one now, and how far from it the ship may still be and catch it in time.
bool ProbeColumn(const Situation& s, int& x, int& slack);

// Columns are judged every kLaneStep pixels from kFirstLane to kLastLane.
constexpr int kFirstLane = 45, kLastLane = 765, kLaneStep = 5;
constexpr int kLaneCount = (kLastLane - kFirstLane) / kLaneStep + 1;

class LaneChooser {
public:
    // The x the ship should make for.
    int Choose(const Situation& s);
    // What the column at x costs (as judged by the last Choose).
    double CostAt(int x) const;

private:
    int current_ = 400;
    double costs_[kLaneCount] = {};
    double LaneCost(const Situation& s, int x) const;
    double BattleWorth(const Situation& s, int x) const;
};

}  // namespace autopilot
