// The autopilot: a player for Kavrix that plays through the runner's pilot
// seam. Before every frame it reads the world (never writing to it) and
// answers with held keys and mouse and character events, exactly as a
// keyboard and mouse would, so a game it plays records as a plain input
// script and replays without it. It flies, fires, takes boxes, spends items,
// hurries the commander along, fights the mother ship, and when asked plays
// the whole game from the intro through the menu.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "flight_planner.h"
#include "front_end_pilot.h"
#include "gunnery.h"
#include "lanes.h"
#include "shell/runner.h"
#include "situation.h"

namespace autopilot {

struct PilotOptions {
    // Play from the intro: the menu, a new profile, the story text; after
    // the first finish-line save, Escape to the menu and load the profile.
    bool wholeGame = false;
    std::string playerName = "Kavrix";  // UTF-8; typed as cp1250 codes
    int difficulty = 2;
    bool loseOnPurpose = false;   // fly into things: a game that is lost
    bool skipCommander = true;    // Enter once a commander line is typed out
    int stopAfterLevel = 0;       // stop once this level is passed (0 never)
    bool stopAtVictory = false;   // stop when the mother ship's destruction ends the battle
    int framesAfterReload = -1;   // whole game: stop this many frames after the load (-1 play on)
    int framesOnScorePage = 240;  // after the game has ended, the score page is watched this long
    int traceEvery = 0;           // print what the pilot sees every this many frames (0 never)
};

// How the game went, as far as the pilot saw it.
struct PilotReport {
    int64_t frames = 0;
    int startLevel = 0, levelReached = 0;
    int lives = 0, livesLost = 0;
    int energy = 0, score = 0;
    std::string scene;
    bool gameOver = false;  // the last ship was lost
    bool motherShipDestroyed = false;
    bool endingSeen = false;    // the story animation ran
    bool scoreEntered = false;  // the score went into the table
    bool reloaded = false;      // whole game: the profile was loaded back
    // The pilot's foresight, checked against what happened: hits taken, hits
    // its plan had not seen coming (0 unless its model of the game is off),
    // and frames in which the ship did not go where the ship model said.
    int hits = 0, unforeseenHits = 0, shipMispredictions = 0;
};

class Autopilot : public FramePilot {
public:
    explicit Autopilot(PilotOptions options);
    bool BeforeFrame(const World& w, int64_t frame, KeySet& held, std::vector<ScriptEvent>& events) override;
    const PilotReport& Report() const { return report_; }

private:
    PilotOptions options_;
    PilotReport report_;
    FrontEndPilot frontEnd_;
    FlightPlanner planner_;
    LaneChooser lanes_;
    Gunnery gunnery_;
    Situation situation_;
    KeySet lastHeld_;
    bool gameStarted_ = false;
    int profileSlot_ = 0;
    int escapePending_ = -1;  // frames until Escape after the first save
    bool wentToMenu_ = false;
    int64_t reloadFrame_ = -1;
    int endedFrames_ = 0;
    int lastLives_ = -1;
    int lastGoalX_ = 0;
    // What the last flown frame expected: where the ship would be, and the
    // energy the chosen plan expected to lose within its horizon.
    bool flown_ = false;
    ShipModel expectedShip_;
    double expectedDamage_ = 0;
    int lastEnergy_ = 0;
    bool lastShielded_ = false;

    void Observe(const World& w, int64_t frame);
    void Trace(const World& w, int64_t frame, const KeySet& held) const;
    // Compares the last frame with what the pilot expected of it.
    void CheckForesight(const World& w, int64_t frame);
    bool ShouldStop(const World& w, int64_t frame);
    void Fly(const World& w, KeySet& held);
    // A key pressed for one frame: held now only if it was up the frame before.
    void Tap(KeySet& held, GameKey key);
};

}  // namespace autopilot
