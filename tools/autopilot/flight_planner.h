// Choosing the direction keys of the next frame: a fixed family of key
// plans (one action held, or one action then another) is flown forward with
// the ship model against everything the situation foresees; the plan that
// costs least in energy lost, boxes missed and distance from the goal wins,
// and its first frame is what the pilot holds now.
#pragma once
#include <array>
#include <vector>

#include "lanes.h"
#include "situation.h"

namespace autopilot {

constexpr int kHorizon = 48;

// Where the pilot would like the ship to be, and how much it matters.
struct FlightGoal {
    int x = 400, y = 430;
    double weightX = 0.02, weightY = 0.02;  // cost per pixel of distance at the horizon
    // What staying on in each column costs beyond the horizon (null: nothing).
    const LaneChooser* lanes = nullptr;
};

struct FlightChoice {
    Steer steer;
    double hazardCost = 0;  // energy the best plan still expects to lose
};

class FlightPlanner {
public:
    // seekHazards: fly into things instead of away from them (a game meant
    // to be lost).
    FlightChoice Choose(const Situation& s, const FlightGoal& goal, bool seekHazards);

private:
    using Plan = std::array<Steer, kHorizon>;
    std::vector<Plan> plans_;
    Plan previous_{};
    bool hasPrevious_ = false;
    // A mover's box in one frame, for the movers the ship can reach then.
    struct Box {
        int left, right, top, bottom;
        int mover;
    };
    std::vector<uint8_t> touched_;
    std::vector<Box> boxes_;  // by frame, see frameStart_
    std::array<int, kHorizon + 2> frameStart_{};

    void BuildPlans();
    void CollectBoxes(const Situation& s);
    double Evaluate(const Situation& s, const Plan& plan, const FlightGoal& goal, bool seekHazards, double& hazardCost);
};

}  // namespace autopilot
