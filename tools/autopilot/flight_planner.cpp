// The key plans and their cost. A touch costs the energy it takes (boxes
// earn their worth), counted once per object, in full for the near frames
// and less for far ones, which may still change; passing close by costs a
// little, so the ship keeps a margin where it can.
#include "flight_planner.h"

#include <algorithm>
#include <cmath>

namespace autopilot {
namespace {

constexpr Steer kActions[9] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
constexpr int kSwitchFrames[] = {6, 18};
constexpr int kMargin = 3;       // pixels kept from a hazard's edge
constexpr int kNearMargin = 12;  // a pass this close costs a fraction
constexpr double kNearCost = 0.15;
constexpr double kEdgeCost = 0.03;  // per pixel into the screen's margins
constexpr double kColumnWeight = 0.1;

constexpr int kProbeDamage = 20;
constexpr int kProbeShotFrames = 10;    // in the line this long, a bolt has met it
constexpr double kProbeLeftAlive = 20;  // a probe still out at the horizon rams later: no better

// The mother ship's probe homing in: 5 pixels a frame on each axis toward
// the ship while its launch counter is 9..40, ramming whatever it touches.
// Coming down over the ship in the lasers' line it meets a bolt and is gone.
struct ProbeFlight {
    bool alive, out;
    int x, y, counter, tick, bayX, bayY;
    int inLine = 0;  // frames it has been above the ship in a laser's line
    explicit ProbeFlight(const Situation& s)
        : alive(s.probeAlive),
          out(s.probeOut),
          x(s.probeX),
          y(s.probeY),
          counter(s.probeCounter),
          tick(s.shipTick6),
          bayX(s.motherX + 230),
          bayY(std::min(0, s.motherY) + 180) {}
    bool Threat() const { return alive && out; }
    // One frame; true when it rams the ship at (px, py).
    bool Step(int px, int py) {
        if (!alive) return false;
        if (tick == 5) counter = counter >= 40 ? 0 : counter + 1;
        tick = tick >= 5 ? 0 : tick + 1;
        if (counter == 9) {
            x = bayX;
            y = bayY;
            out = true;
        }
        if (!out) return false;
        if (counter >= 9 && counter <= 40) {
            if (y < py - 42 || y > py - 28) y += py > y ? 5 : -5;
            if (x < px - 44 || x > px - 30) x += px - 37 > x ? 5 : -5;
        }
        if (px + kTouchLeft < x + 28 && px + kTouchRight > x && py + kTouchTop < y + 23 && py + kTouchBottom > y) {
            alive = false;
            return true;
        }
        const bool lined = (x < px + kLaserLeftX && px + kLaserLeftX < x + 28) ||
                           (x < px + kLaserRightX && px + kLaserRightX < x + 28);
        if (lined && y + 23 < py - 52 && ++inLine >= kProbeShotFrames) alive = false;
        return false;
    }
};

// Pixels the ship still drifts at this speed when the keys are let go.
int CoastX(const ShipModel& ship) {
    ShipModel coast = ship;
    for (int k = 0; k < 40 && coast.speedX != 0; ++k) coast.Advance(Steer{});
    return coast.x - ship.x;
}
int CoastY(const ShipModel& ship) {
    ShipModel coast = ship;
    for (int k = 0; k < 30 && coast.speedY != 0; ++k) coast.Advance(Steer{});
    return coast.y - ship.y;
}

// Toward the goal on each axis, letting go in time to coast onto it.
int8_t Toward(int position, int coast, int target) {
    const int gap = target - (position + coast);
    return gap > 4 ? 1 : (gap < -4 ? -1 : 0);
}

double FrameWeight(int k) { return k <= 24 ? 1.0 : 1.0 - 0.5 * double(k - 24) / double(kHorizon - 24); }

}  // namespace

void FlightPlanner::BuildPlans() {
    plans_.clear();
    for (const Steer& a : kActions) {
        Plan p;
        p.fill(a);
        plans_.push_back(p);
    }
    for (int t : kSwitchFrames)
        for (const Steer& a : kActions)
            for (const Steer& b : kActions) {
                if (a.h == b.h && a.v == b.v) continue;
                Plan p;
                for (int k = 0; k < kHorizon; ++k) p[size_t(k)] = k < t ? a : b;
                plans_.push_back(p);
            }
}

// Frames at which touches are tested: every frame at first, every second
// frame further on, where the future is less certain anyway.
bool Tested(int k) { return k <= 24 || k % 2 == 0; }

void FlightPlanner::CollectBoxes(const Situation& s) {
    // The farthest the ship can get in each frame, flat out either way.
    ShipModel extreme[4] = {s.ship, s.ship, s.ship, s.ship};
    constexpr Steer kExtremes[4] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    boxes_.clear();
    for (int k = 1; k <= kHorizon; ++k) {
        for (int e = 0; e < 4; ++e) extreme[e].Advance(kExtremes[e]);
        frameStart_[size_t(k)] = int(boxes_.size());
        if (!Tested(k) || k <= s.framesToControl) continue;
        const int reachLeft = extreme[0].x + kTouchLeft - kNearMargin,
                  reachRight = extreme[1].x + kTouchRight + kNearMargin;
        const int reachTop = extreme[2].y + kTouchTop - kNearMargin,
                  reachBottom = extreme[3].y + kTouchBottom + kNearMargin;
        for (size_t i = 0; i < s.movers.size(); ++i) {
            const Mover& m = s.movers[i];
            if (k < m.birth) continue;
            const int top = m.Top(k), bottom = top + m.height;
            if (m.right <= reachLeft || m.left >= reachRight || bottom <= reachTop || top >= reachBottom) continue;
            boxes_.push_back({m.left, m.right, top, bottom, int(i)});
        }
    }
    frameStart_[size_t(kHorizon + 1)] = int(boxes_.size());
}

double FlightPlanner::Evaluate(const Situation& s, const Plan& plan, const FlightGoal& goal, bool seekHazards,
                               double& hazardCost) {
    ShipModel ship = s.ship;
    std::fill(touched_.begin(), touched_.end(), 0);
    double cost = 0;
    hazardCost = 0;
    ProbeFlight probe(s);
    double travel = 0;
    for (int k = 1; k <= kHorizon; ++k) {
        // The probe moves before the ship in a frame, toward where it was.
        // A ram is a ram, now or later: not discounted.
        if (probe.Step(ship.x, ship.y) && !seekHazards) {
            cost += kProbeDamage;
            hazardCost += kProbeDamage;
        }
        ship.Advance(plan[size_t(k - 1)]);
        // Getting there sooner is better: the distance counts every frame.
        travel += std::abs(ship.x - goal.x) * goal.weightX + std::abs(ship.y - goal.y) * goal.weightY;
        const int first = frameStart_[size_t(k)], last = frameStart_[size_t(k + 1)];
        if (first == last) continue;
        const double weight = FrameWeight(k);
        for (int b = first; b < last; ++b) {
            const Box& box = boxes_[size_t(b)];
            if (touched_[size_t(box.mover)] == 2) continue;
            const Mover& m = s.movers[size_t(box.mover)];
            const bool shot = m.kind == MoverKind::Shot;
            const int left = ship.x + (shot ? kShotLeft : kTouchLeft);
            const int right = ship.x + (shot ? kShotRight : kTouchRight);
            const int shipTop = ship.y + (shot ? kShotTop : kTouchTop);
            const int shipBottom = ship.y + (shot ? kShotBottom : kTouchBottom);
            if (m.value > 0 && !seekHazards) {
                // A box is taken when the ship is well onto it.
                if (left + 4 < box.right && right - 4 > box.left && shipTop + 4 < box.bottom &&
                    shipBottom - 4 > box.top) {
                    cost -= m.value * weight;
                    touched_[size_t(box.mover)] = 2;
                }
                continue;
            }
            if (m.damage <= 0) continue;
            if (left - kMargin < box.right && right + kMargin > box.left && shipTop - kMargin < box.bottom &&
                shipBottom + kMargin > box.top) {
                const double c = m.damage * weight;
                cost += seekHazards ? -c : c;
                hazardCost += m.damage;
                touched_[size_t(box.mover)] = 2;
            } else if (touched_[size_t(box.mover)] == 0 && !seekHazards && left - kNearMargin < box.right &&
                       right + kNearMargin > box.left && shipTop - kNearMargin < box.bottom &&
                       shipBottom + kNearMargin > box.top) {
                cost += kNearCost * m.damage * weight;
                touched_[size_t(box.mover)] = 1;
            }
        }
    }
    if (probe.Threat() && !seekHazards) cost += kProbeLeftAlive;
    // Where the plan ends matters too: what comes down that column next.
    if (goal.lanes && !seekHazards) cost += kColumnWeight * goal.lanes->CostAt(ship.x);
    cost += travel / kHorizon + goal.weightX * std::abs(ship.x - goal.x) + goal.weightY * std::abs(ship.y - goal.y);
    // A ship pressed into a side or the bottom has nowhere to go.
    if (ship.x < 70) cost += kEdgeCost * (70 - ship.x);
    if (ship.x > 730) cost += kEdgeCost * (ship.x - 730);
    if (ship.y > 460) cost += kEdgeCost * (ship.y - 460);
    return cost;
}

FlightChoice FlightPlanner::Choose(const Situation& s, const FlightGoal& goal, bool seekHazards) {
    if (plans_.empty()) BuildPlans();
    const size_t count = s.movers.size();
    touched_.assign(count, 0);
    CollectBoxes(s);

    Plan shifted = previous_;
    if (hasPrevious_) {
        std::rotate(shifted.begin(), shifted.begin() + 1, shifted.end());
        shifted[kHorizon - 1] = shifted[kHorizon - 2];
    }
    // A plan that simply heads for the goal and stops there: a fixed plan
    // that waits and then goes can always look as good, and would be
    // chosen frame after frame without the ship ever setting out.
    Plan direct;
    ShipModel ship = s.ship;
    for (int k = 0; k < kHorizon; ++k) {
        const Steer steer{Toward(ship.x, CoastX(ship), goal.x), Toward(ship.y, CoastY(ship), goal.y)};
        direct[size_t(k)] = steer;
        ship.Advance(steer);
    }
    double bestCost = 1e18, bestHazard = 0;
    const Plan* best = nullptr;
    auto consider = [&](const Plan& plan) {
        double hazard = 0;
        const double cost = Evaluate(s, plan, goal, seekHazards, hazard);
        if (cost < bestCost) {
            bestCost = cost;
            bestHazard = hazard;
            best = &plan;
        }
    };
    for (const Plan& plan : plans_) consider(plan);
    consider(direct);
    Plan chosen = *best;
    if (hasPrevious_) {
        double hazard = 0;
        // Keeping to the plan under way is worth a little: no dithering.
        const double cost = Evaluate(s, shifted, goal, seekHazards, hazard) - 0.3;
        if (cost <= bestCost) {
            bestCost = cost;
            bestHazard = hazard;
            chosen = shifted;
        }
    }
    previous_ = chosen;
    hasPrevious_ = true;
    return {chosen[0], bestHazard};
}

}  // namespace autopilot
