// What the pilot sees of a game frame, read from the world without touching
// it: the ship, the things that will come at it in the next frames (level
// objects, enemy shots already flying and those the armed craft and the
// mother ship are about to fire), the boxes worth taking, and the mother
// ship's parts. Positions are screen pixels at a given coming frame.
#pragma once
#include <cstdint>
#include <vector>

#include "ship_model.h"

struct World;

namespace autopilot {

enum class MoverKind : uint8_t { Object, Shot };

// Something moving straight down the screen: a level object, an enemy shot
// or a shot about to be fired. Frame 1 is the frame that runs next.
struct Mover {
    MoverKind kind = MoverKind::Object;
    int left = 0, right = 0;  // screen x, right exclusive
    int height = 0;
    int topAtBirth = 0;      // screen y of its top edge in frame `birth`
    int birth = 1;           // first frame in which it can touch the ship
    int speed = 1;           // pixels per frame, downwards
    int damage = 0;          // energy the ship loses on touching it (0: harmless)
    int value = 0;           // worth of taking it (boxes), 0 for hazards
    int energy = 0;          // what shooting must take away to destroy it
    bool shootable = false;  // player fire can destroy it
    int slot = 0;            // LevelObjects slot, 0 for shots
    int content = 0;         // the object's Content (boxes), 0 for shots
    int score = 0;           // points for destroying it
    // An armed craft's guns: every fireInterval frames a shot of shotDamage
    // down each of the columns centre - spread and centre + spread.
    int fireInterval = 0, shotDamage = 0, gunLeft = 0, gunRight = 0, shotWidth = 0;
    int Top(int frame) const { return topAtBirth + (frame - birth) * speed; }
};

// One part of the mother ship that still stands, in screen pixels now.
struct PartView {
    int record = 0;
    int left = 0, top = 0, width = 0, height = 0;
    int energy = 0;
    bool armoured = false;
};

struct Situation {
    ShipModel ship;
    int level = 1, difficulty = 2, lives = 3;
    int energy = 100, weaponEnergy = 110;
    int scroll = 600;
    bool underControl = false;  // the arrival zoom is over
    int framesToControl = 0;    // frames until touches count again
    bool briefing = false;      // a level-start briefing holds the level
    bool commanderLineTyped = false;
    bool commanderSpeaking = false;
    int laserDamage = 10;
    bool hasRockets = false, hasBombs = false, hasDiagonalBalls = false;
    int itemSlots[3] = {};
    bool orbsActive = false, beamActive = false, discsActive = false, wingmenOut = false;
    bool invulnerable = false;
    int exploding = 0;          // the ship's destruction sequence runs
    std::vector<Mover> movers;  // hazards and boxes
    // The mother ship battle.
    bool battle = false;
    int motherX = 0, motherY = 0;
    std::vector<PartView> parts;  // standing parts 0..18
    bool probeAlive = false;      // launched (in the bay or out)
    bool probeOut = false;        // has left the bay
    int probeX = 0, probeY = 0;
    int probeCounter = 0, shipTick6 = 0;
    bool launcherShielded = true, coreShielded = true;
    bool motherDestroyed = false;
};

// Reads the situation before the next frame; `horizon` bounds how far ahead
// future enemy shots are foreseen.
void ReadSituation(const World& w, int horizon, Situation& s);

}  // namespace autopilot
