// Level construction: BuildLevel empties LevelObjects and fills it again from
// the rules of the current level, then adds the item boxes every level gets;
// PlaceLevelObject gives one prepared object a random place inside a band.
#include "game/level_build.h"

#include <cmath>
#include <cstdlib>

#include "game/level_rules.h"
#include "media/picture.h"
#include "state/world.h"

namespace {

// Far above what any band of the game needs (a few dozen tries at most); an
// object that still finds no place is left out instead of hanging the frame.
constexpr int kMaxPlacementAttempts = 10000;

LevelFactors FactorsFor(uint8_t difficulty) {
    // A damaged profile may bring any byte: below 1 plays as 1, above 3 as 3.
    if (difficulty <= 1) return {1.0, 1.0};
    if (difficulty == 2) return {1.5, 1.2};
    return {2.0, 2.0};
}

void ClearSlotForBuild(LevelObject& o) {
    ClearObjectPlace(o);
    o.Fires = 0;
    o.ShotSpeed = 0;
    o.FireInterval = 0;
    o.ShotKind = 0;
    o.ShotSpread = 0;
    // CollisionDamage, ShotDamage and Score are left as they are: every rule
    // that needs them sets them.
}

}  // namespace

int ScaledCount(int n, double countFactor) {
    return int(std::nearbyint(double(n) * countFactor));  // default rounding: half to even
}

int32_t ScaledStrength(int32_t v, double strengthFactor) {
    return int32_t(std::lround(double(v) * strengthFactor));
}

int TakeFreeSlot(World& w) {
    auto& objects = w.game.LevelObjects;
    for (int i = 1; i <= kLevelObjectCount; ++i)
        if (objects[i].X == 0) return i;
    return 0;
}

void PlaceGroup(World& w, const GroupRule& rule, const LevelFactors& factors) {
    const int count = rule.countScaled ? ScaledCount(rule.count, factors.count) : rule.count;
    for (int n = 0; n < count; ++n) {
        const int slot = TakeFreeSlot(w);
        if (slot == 0) continue;
        LevelObject& o = w.game.LevelObjects[slot];
        o.Picture = uint8_t(rule.picture == kMeteorPicture ? 9 + RandomInt(w, 5) : rule.picture);
        o.Speed = uint8_t(rule.speed == kMeteorSpeed ? 2 + RandomInt(w, 2) : rule.speed);
        o.Energy = rule.energyScaled ? ScaledStrength(rule.energy, factors.strength) : rule.energy;
        if (rule.collisionDamage != kKeep)
            o.CollisionDamage = ScaledStrength(rule.collisionDamage, factors.strength);
        if (rule.score != kKeep) o.Score = rule.score;
        o.Content = uint8_t(rule.content);
        o.Hit = 0;
        o.Visible = 0;
        if (rule.fires) {
            o.Fires = 1;
            o.ShotSpeed = uint8_t(rule.shotSpeed);
            o.FireInterval = uint8_t(rule.fireIntervalBase + RandomInt(w, 80));
            o.ShotKind = uint8_t(rule.shotKind);
            o.ShotSpread = uint8_t(rule.shotSpread);
            o.ShotDamage = ScaledStrength(rule.shotDamage, factors.strength);
        }
        PlaceLevelObject(w, slot, rule.low, rule.high);
    }
}

bool PlaceLevelObject(World& w, int32_t index, int32_t low, int32_t high) {
    auto& objects = w.game.LevelObjects;
    LevelObject& o = objects[index];
    const PictureItem& picture = PictureAt(w.media.Rakety, o.Picture);
    const int width = PatternWidth(picture);
    const int height = PatternHeight(picture);
    for (int attempt = 0; attempt < kMaxPlacementAttempts; ++attempt) {
        const int32_t x = RandomInt(w, 780 - width) + 5;
        const int32_t y = low + RandomInt(w, high - low - height) + height;
        bool clash = false;
        for (int i = 1; i <= kLevelObjectCount && !clash; ++i) {
            const LevelObject& other = objects[i];
            if (other.X <= 0 || i == index) continue;
            clash = std::abs(x - other.X) < width + 50 && std::abs(y - other.Y) < height + 50;
        }
        if (!clash) {
            o.X = x;
            o.Y = y;
            return true;
        }
    }
    // Left out: the slot goes back to what it was (free, or spent for a
    // re-offered weapon box), holding nothing that could come into play.
    const int32_t keepX = o.X;
    ClearSlotForBuild(o);
    o.X = keepX;
    return false;
}

void BuildLevel(World& w) {
    GameState& g = w.game;
    for (LevelObject& o : g.LevelObjects) ClearSlotForBuild(o);
    SetNoText(g.CommanderText);
    g.CommanderTextPos = 1;
    g.CommanderTimer = 0;

    // A damaged profile may bring any Level: it is brought back into 1..9 so
    // that the level, its scenery and everything after it agree.
    if (g.Progress.Level < 1) g.Progress.Level = 1;
    if (g.Progress.Level > 9) g.Progress.Level = 9;
    const int level = g.Progress.Level;

    LevelFactors factors = FactorsFor(g.Progress.Difficulty);
    RunLevelRules(w, level, factors);

    const bool city = level == 4 || level == 8;
    GroupRule box;
    box.count = 1;
    box.countScaled = false;
    box.picture = 8;
    box.speed = city ? 1 : 0;
    box.low = 1800;
    box.high = g.Progress.LevelEnd - 600;
    box.energy = 150;
    box.energyScaled = false;
    box.score = 0;
    if (level >= 2) {
        for (int n = 0; n < 4; ++n) {
            const int slot = TakeFreeSlot(w);
            if (slot == 0) continue;
            // The content is drawn before the place, as for every box.
            box.content = RandomInt(w, 7) + 1;
            PlaceGroup(w, box, factors);
        }
        box.content = 8;
        box.count = 2;
        PlaceGroup(w, box, factors);
    }
    box.content = 9;
    box.count = 1;
    PlaceGroup(w, box, factors);
}
