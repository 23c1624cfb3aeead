// The pilot's frame: what it saw (for the report), whether its run is over,
// and the keys and events of the scene at hand.
#include "autopilot.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "item_use.h"
#include "media/cp1250.h"
#include "state/world.h"

namespace autopilot {
namespace {

constexpr uint8_t kEscape = 27;
constexpr int kFramesBeforeEscape = 90;

// The column of the hazard that will reach the ship first: where a pilot
// meaning to lose its ships goes.
int NearestHazardX(const Situation& s) {
    int best = s.ship.x, bestArrival = 1 << 30;
    for (const Mover& m : s.movers) {
        if (m.damage <= 0 || m.value > 0 || m.Top(1) > s.ship.y) continue;
        const int arrival = ArrivalFrame(s, m);
        if (arrival < bestArrival) {
            bestArrival = arrival;
            best = (m.left + m.right) / 2;
        }
    }
    return std::clamp(best, 45, 765);
}

}  // namespace

Autopilot::Autopilot(PilotOptions options)
    : options_(std::move(options)), frontEnd_(Utf8ToCp1250(options_.playerName), options_.difficulty) {}

void Autopilot::Tap(KeySet& held, GameKey key) {
    if (!lastHeld_.test(size_t(key))) held.set(size_t(key));
}

void Autopilot::Observe(const World& w, int64_t frame) {
    const ProgressRecord& p = w.game.Progress;
    const Scene scene = w.shell.CurrentScene;
    report_.frames = frame;
    report_.scene = SceneName(scene);
    if (scene == Scene::HlavniHra) {
        if (!gameStarted_) report_.startLevel = p.Level;
        gameStarted_ = true;
        if (w.saved.CurrentProfile > 0) profileSlot_ = w.saved.CurrentProfile;
        if (wentToMenu_ && reloadFrame_ < 0) {
            reloadFrame_ = frame;
            report_.reloaded = true;
        }
    }
    if (!gameStarted_) return;
    report_.levelReached = std::max(report_.levelReached, int(p.Level));
    const int lives = p.Lives < 0 ? 0 : p.Lives;
    if (scene == Scene::HlavniHra) {  // ships lost in play (a loaded profile brings its own lives)
        if (lastLives_ > lives && reloadFrame_ != frame) report_.livesLost += lastLives_ - lives;
        lastLives_ = lives;
    }
    report_.lives = lives;
    report_.energy = p.Energy;
    report_.score = std::max(report_.score, int(p.Score));
    if (p.Level == 9 && p.ScrollDistance > 10700 && w.game.MotherShipParts[18].Energy < 1)
        report_.motherShipDestroyed = true;
    if (scene == Scene::Animace) report_.endingSeen = report_.motherShipDestroyed = true;
    if (w.front.GameActive == 0 && scene == Scene::Menu) {
        report_.gameOver = !report_.endingSeen;
        if (w.front.NewScoreRank > 0) report_.scoreEntered = true;
    }
}

bool Autopilot::ShouldStop(const World& w, int64_t frame) {
    if (options_.stopAfterLevel > 0 && report_.levelReached > options_.stopAfterLevel) return true;
    if (options_.stopAtVictory && w.shell.CurrentScene == Scene::Animace) return true;
    if (gameStarted_ && w.front.GameActive == 0 && w.shell.CurrentScene == Scene::Menu &&
        ++endedFrames_ > options_.framesOnScorePage)
        return true;
    if (options_.framesAfterReload >= 0 && reloadFrame_ >= 0 && frame - reloadFrame_ >= options_.framesAfterReload)
        return true;
    return false;
}

void Autopilot::Fly(const World& w, KeySet& held) {
    Situation& s = situation_;
    ReadSituation(w, kHorizon, s);
    flown_ = true;
    expectedShip_ = s.ship;
    expectedDamage_ = 0;
    lastEnergy_ = s.energy;
    lastShielded_ = s.invulnerable || s.exploding > 0;
    if (options_.skipCommander && s.commanderSpeaking && s.commanderLineTyped) Tap(held, GameKey::Enter);
    if (s.briefing) {  // the level waits for the commander
        expectedShip_.Advance(Steer{});
        return;
    }

    FlightGoal goal;
    goal.y = s.battle ? 480 : 400;
    goal.weightY = 0.04;
    goal.x = options_.loseOnPurpose ? NearestHazardX(s) : lanes_.Choose(s);
    if (options_.loseOnPurpose) goal.weightX = 0.2;
    else goal.lanes = &lanes_;
    lastGoalX_ = goal.x;
    const FlightChoice choice = planner_.Choose(s, goal, options_.loseOnPurpose);
    expectedDamage_ = choice.hazardCost;
    expectedShip_.Advance(choice.steer);
    if (choice.steer.h < 0) held.set(size_t(GameKey::Left));
    if (choice.steer.h > 0) held.set(size_t(GameKey::Right));
    if (choice.steer.v < 0) held.set(size_t(GameKey::Up));
    if (choice.steer.v > 0) held.set(size_t(GameKey::Down));
    // Fire even on the way to losing: the score must reach the table.
    const bool fire = gunnery_.ShouldFire(s);
    if (fire) held.set(size_t(GameKey::Space));
    if (options_.loseOnPurpose) return;
    static constexpr GameKey kItemKeys[3] = {GameKey::Key1, GameKey::Key2, GameKey::Key3};
    const bool itemKeyUp = !lastHeld_.test(size_t(GameKey::Key1)) && !lastHeld_.test(size_t(GameKey::Key2)) &&
                           !lastHeld_.test(size_t(GameKey::Key3));
    if (itemKeyUp) {
        const int slot = ChooseItemSlot(s, choice.hazardCost, fire);
        if (slot > 0) held.set(size_t(kItemKeys[slot - 1]));
    }
}

void Autopilot::Trace(const World& w, int64_t frame, const KeySet& held) const {
    const Situation& s = situation_;
    const ProgressRecord& p = w.game.Progress;
    std::fprintf(stderr, "frame %lld %s level %d scroll %d ship %d,%d energy %d lives %d gun %d movers %zu",
                 (long long)frame, SceneName(w.shell.CurrentScene), int(p.Level), int(p.ScrollDistance), int(p.PlayerX),
                 int(p.PlayerY), int(p.Energy), int(p.Lives), int(w.game.WeaponEnergy), s.movers.size());
    if (s.battle) {
        std::fprintf(stderr, " goal %d parts %zu probe %d/%d at %d,%d counter %d", lastGoalX_, s.parts.size(),
                     int(s.probeAlive), int(s.probeOut), s.probeX, s.probeY, s.probeCounter);
        for (const PartView& part : s.parts) std::fprintf(stderr, " %d:%d", part.record, part.energy);
    }
    std::fprintf(stderr, " keys %s\n", held.to_string().c_str());
}

void Autopilot::CheckForesight(const World& w, int64_t frame) {
    const ProgressRecord& p = w.game.Progress;
    if (!flown_ || w.shell.CurrentScene != Scene::HlavniHra) return;
    if (p.PlayerX != expectedShip_.x || p.PlayerY != expectedShip_.y) ++report_.shipMispredictions;
    // Energy falls by hits, or comes back to 100 when a ship is lost.
    const bool lostShip = p.ShipExplosionFrame == 1;
    if ((p.Energy >= lastEnergy_ && !lostShip) || lastShielded_) return;
    ++report_.hits;
    if (expectedDamage_ <= 0) ++report_.unforeseenHits;
    if (options_.traceEvery > 0) {
        // What was near when the ship lost energy.
        std::fprintf(stderr, "frame %lld: energy %d -> %d (foreseen %.0f) at ship %d,%d; probe %d at %d,%d; near:",
                     (long long)frame, lastEnergy_, int(p.Energy), expectedDamage_, int(p.PlayerX), int(p.PlayerY),
                     int(situation_.probeAlive), situation_.probeX, situation_.probeY);
        for (const Mover& m : situation_.movers)
            if (m.birth <= 1 && std::abs(m.Top(1) - p.PlayerY) < 90 &&
                std::abs((m.left + m.right) / 2 - p.PlayerX) < 90)
                std::fprintf(stderr, " [%s %d..%d y%d dmg%d]", m.kind == MoverKind::Shot ? "shot" : "obj", m.left,
                             m.right, m.Top(1), m.damage);
        std::fprintf(stderr, "\n");
    }
}

bool Autopilot::BeforeFrame(const World& w, int64_t frame, KeySet& held, std::vector<ScriptEvent>& events) {
    Observe(w, frame);
    CheckForesight(w, frame);
    flown_ = false;
    if (ShouldStop(w, frame)) return false;
    held.reset();
    const Scene scene = w.shell.CurrentScene;
    if (scene == Scene::Intro) {
        frontEnd_.Intro(w, events);
    } else if (scene == Scene::Menu) {
        if (w.front.GameActive && wentToMenu_) frontEnd_.LoadProfile(w, profileSlot_, events);
        else if (!w.front.GameActive && !gameStarted_ && options_.wholeGame) frontEnd_.NewGame(w, events);
    } else if (scene == Scene::Uvod) {
        frontEnd_.TextScreen(w, events);
    } else if (scene == Scene::HlavniHra) {
        if (options_.wholeGame && !wentToMenu_) {
            if (escapePending_ < 0 && w.game.FinishPassed) escapePending_ = kFramesBeforeEscape;
            if (escapePending_ > 0 && --escapePending_ == 0) {
                ScriptEvent e;
                e.kind = ScriptEventKind::Type;
                e.code = kEscape;
                events.push_back(e);
                wentToMenu_ = true;
            }
        }
        Fly(w, held);
    }
    lastHeld_ = held;
    report_.frames = frame + 1;
    if (options_.traceEvery > 0 && frame % options_.traceEvery == 0) Trace(w, frame, held);
    return true;
}

}  // namespace autopilot
