// Column costs. A column is the ship's touch width around a candidate x;
// the two laser beams at x - 23 and x + 12 clear what they meet first, one
// volley per 16 frames, lowest thing first.
#include "lanes.h"

#include <algorithm>
#include <cmath>

namespace autopilot {
namespace {

constexpr int kMaxLaneMovers = 256;
constexpr double kScoreWorth = 0.04;  // a craft's points against energy and distance

// Far things may still be dodged later: they weigh less.
double TimeWeight(int frames) {
    if (frames < 60) return 1.0;
    if (frames > 360) return 0.3;
    return 1.0 - 0.7 * double(frames - 60) / 300.0;
}

// Parts whose fall lets the next layer be hurt: the twelve that shield the
// launcher, then the launcher, then the core.
bool PartWanted(const Situation& s, int record) {
    static constexpr bool kShield[19] = {true,  false, false, true, true, true,  true, true,  true, true,
                                         false, false, true,  true, true, false, true, false, false};
    if (s.launcherShielded) return kShield[record];
    if (s.coreShielded) return record == 17;
    return record == 18;
}

// An armed craft above sends shots down its two gun columns until it is
// gone: a column under them takes a share of that fire (most of it can be
// dodged), the more the longer the craft will be there.
double GunfireCost(const Situation& s, const Mover& m, int x, bool lined) {
    if (m.fireInterval == 0 || m.birth > 1) return 0;
    const int left = x + kShotLeft - 4, right = x + kShotRight + 4;
    const bool under = (m.gunLeft < right && m.gunLeft + m.shotWidth > left) ||
                       (m.gunRight < right && m.gunRight + m.shotWidth > left);
    if (!under) return 0;
    int frames = std::min(ArrivalFrame(s, m), 300);
    if (lined) frames = std::min(frames, FramesToDestroy(s, m) + std::max(0, -m.Top(1)) / m.speed);
    const int guns = m.gunLeft != m.gunRight ? 2 : 1;
    return 0.3 * m.shotDamage * guns * double(frames) / m.fireInterval;
}

}  // namespace

int VolleyDamage(const Situation& s) { return s.laserDamage + (s.hasRockets ? 40 : 0); }

int FramesToDestroy(const Situation& s, const Mover& m) {
    if (m.kind == MoverKind::Shot) return 1;
    const int volleys = (m.energy + 1 + VolleyDamage(s) - 1) / VolleyDamage(s);
    return volleys * 16;
}

int ArrivalFrame(const Situation& s, const Mover& m) {
    const int shipTop = s.ship.y + (m.kind == MoverKind::Shot ? kShotTop : kTouchTop);
    const int gap = shipTop - (m.Top(m.birth) + m.height);
    if (gap <= 0) return m.birth;
    return m.birth + gap / std::max(1, m.speed);
}

double LaneChooser::LaneCost(const Situation& s, int x) const {
    const int left = x + kTouchLeft - 4, right = x + kTouchRight + 4;
    const int shipTop = s.ship.y + kTouchTop;
    // Things in the laser's line, in the order they come down.
    int inLine[kMaxLaneMovers];
    int lineCount = 0;
    double cost = 0;
    for (size_t i = 0; i < s.movers.size(); ++i) {
        const Mover& m = s.movers[i];
        if (m.right <= left || m.left >= right) continue;
        if (m.Top(m.birth) > shipTop + 20 && m.birth <= 1) continue;  // already below
        const int arrival = ArrivalFrame(s, m);
        if (m.value > 0) {
            cost -= m.value * TimeWeight(arrival);
            continue;
        }
        if (m.damage <= 0) continue;
        const bool lined = m.shootable && (InColumns(m, x + kLaserLeftX) || InColumns(m, x + kLaserRightX));
        cost += GunfireCost(s, m, x, lined);
        if (lined && lineCount < kMaxLaneMovers) {
            inLine[lineCount++] = int(i);
            continue;
        }
        cost += m.damage * TimeWeight(arrival);
    }
    std::sort(inLine, inLine + lineCount, [&](int a, int b) {
        return ArrivalFrame(s, s.movers[size_t(a)]) < ArrivalFrame(s, s.movers[size_t(b)]);
    });
    int busyUntil = 0;
    for (int n = 0; n < lineCount; ++n) {
        const Mover& m = s.movers[size_t(inLine[n])];
        const int arrival = ArrivalFrame(s, m);
        // The guns reach it once it is on the screen.
        const int onScreen = std::max(m.birth, m.birth + (-m.Top(m.birth) - m.height + 1 + m.speed - 1) / m.speed);
        // Bolts are on their way all the time: the flight up delays the
        // first hit only.
        const int start = std::max(busyUntil, onScreen + (shipTop - 40) / 10);
        const int done = start + FramesToDestroy(s, m);
        if (done + 4 < arrival) {
            busyUntil = done;
            cost -= kScoreWorth * m.score;  // points for the table
        } else {
            cost += m.damage * TimeWeight(arrival);
        }
    }
    return cost;
}

int FirstPartInLine(const Situation& s, int x, bool& wanted) {
    const PartView* first = nullptr;
    for (const PartView& part : s.parts)
        if (part.left < x && x < part.left + part.width &&
            (!first || part.top + part.height > first->top + first->height))
            first = &part;
    wanted = first && PartWanted(s, first->record);
    return first ? first->record : -1;
}

double LaneChooser::BattleWorth(const Situation& s, int x) const {
    double worth = 0;
    for (int laser : {x + kLaserLeftX, x + kLaserRightX}) {
        bool wanted = false;
        const int record = FirstPartInLine(s, laser, wanted);
        if (!wanted) continue;
        const PartView* part = nullptr;
        for (const PartView& p : s.parts)
            if (p.record == record) part = &p;
        // Finishing a part sooner is worth more; armour lets few shots through.
        double w = 10.0 + 2000.0 / double(part->energy + 100);
        if (part->armoured) w *= 0.5;
        worth += w;
    }
    return worth;
}

// The probe homes in on the ship at 5 pixels a frame on each axis: it comes
// into the left beam's line by itself, in time if it has more height to
// lose than width to make up (a bolt flies every 16 frames).
bool ProbeColumn(const Situation& s, int& x, int& slack) {
    if (!s.battle || !s.probeAlive) return false;
    const int shipY = s.ship.y;
    const int probeX = s.probeOut ? s.probeX : s.motherX + 230;
    const int probeY = s.probeOut ? s.probeY : std::min(0, s.motherY) + 180;
    if (probeY + 23 >= shipY - 52) return false;  // level with the ship: out of the beams' reach
    x = probeX + 14 - kLaserLeftX;
    slack = std::max(0, (shipY - 35 - probeY) - 100) / 2;
    return true;
}

double LaneChooser::CostAt(int x) const {
    const int i = std::clamp((x - kFirstLane + kLaneStep / 2) / kLaneStep, 0, kLaneCount - 1);
    return costs_[i];
}

int LaneChooser::Choose(const Situation& s) {
    int probeX = 0, probeSlack = 0;
    const bool probe = ProbeColumn(s, probeX, probeSlack);
    double bestCost = 1e18;
    int best = current_;
    double currentCost = 1e18;
    for (int x = kFirstLane; x <= kLastLane; x += kLaneStep) {
        double cost = LaneCost(s, x);
        if (s.battle && !s.motherDestroyed) cost -= BattleWorth(s, x);
        costs_[(x - kFirstLane) / kLaneStep] = cost;
        // The probe rams unless the lasers meet it on its way down: under it
        // (or under the bay while it is launched) is worth more than any part.
        if (probe) cost += 3.0 * std::max(0, std::abs(x - probeX) - probeSlack);
        cost += 0.01 * std::abs(x - s.ship.x);
        if (cost < bestCost) {
            bestCost = cost;
            best = x;
        }
        if (std::abs(x - current_) < kLaneStep) currentCost = cost;
    }
    // Keep the column unless another is clearly better.
    if (currentCost > bestCost + 2.0) current_ = best;
    return current_;
}

}  // namespace autopilot
