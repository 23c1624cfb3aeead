// The level builder: BuildLevel empties LevelObjects and fills it again as
// the level table (level_table.cpp) describes the current level, then adds
// the boxes every level gets; PlaceLevelObject gives one prepared object a
// random place inside a band, away from everything already placed.
#include "game/level_build.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "game/level_table.h"
#include "game/mother_ship.h"
#include "game/object_kinds.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/picture.h"
#include "media/surface.h"
#include "state/world.h"

namespace {

// Far above what any band of the game needs (a few dozen tries at most); an
// object that still finds no place is left out instead of hanging the frame.
constexpr int kMaxPlacementAttempts = 10000;
// An object's X lies in kPlaceFrom..kPlaceFrom + kPlaceAcross - 1 - W, and it
// keeps kClearance pixels beyond its own size from every placed object.
constexpr int kPlaceFrom = 5;
constexpr int kPlaceAcross = 780;
constexpr int kClearance = 50;

void ClearSlotForBuild(LevelObject& o) {
    ClearObjectPlace(o);
    o.Fires = 0;
    o.ShotSpeed = 0;
    o.FireInterval = 0;
    o.ShotKind = 0;
    o.ShotSpread = 0;
    // CollisionDamage, ShotDamage and Score are left as they are: every
    // group that needs them sets them.
}

// n x CountFactor, an exact half going to the even neighbour (15 x 1.5 = 22).
int CountOf(Count c, const LevelFactors& f) { return c.scaled ? int(std::nearbyint(double(c.n) * f.count)) : c.n; }

// v x StrengthFactor rounded to the nearest integer (199 x 1.2 = 239).
int32_t StrengthOf(Strength s, const LevelFactors& f) {
    return s.scaled ? int32_t(std::lround(double(s.v) * f.strength)) : s.v;
}

int Draw(World& w, Drawn d) { return d.roll != 0 ? d.from + RandomInt(w, d.roll) : d.from; }

// The lowest-numbered slot whose X is 0, or 0 when none is free.
int TakeFreeSlot(const GameState& g) {
    for (int i = 1; i <= kLevelObjectCount; ++i)
        if (g.LevelObjects[i].X == 0) return i;
    return 0;
}

// Places the group's objects one by one, each drawing its values in field
// order and then its place; an object without a free slot is left out and
// the loop goes on.
void PlaceGroup(World& w, const ObjectGroup& group, const LevelFactors& f) {
    const int count = CountOf(group.count, f);
    for (int n = 0; n < count; ++n) {
        const int slot = TakeFreeSlot(w.game);
        if (slot == 0) continue;
        LevelObject& o = w.game.LevelObjects[slot];
        o.Picture = uint8_t(Draw(w, group.picture));
        o.Speed = uint8_t(Draw(w, group.speed));
        o.Energy = StrengthOf(group.energy, f);
        if (group.collisionDamage) o.CollisionDamage = StrengthOf(*group.collisionDamage, f);
        o.Score = group.score;
        o.Content = uint8_t(Draw(w, group.content));
        o.Hit = 0;
        o.Visible = 0;
        if (group.gun) {
            const Gun& gun = *group.gun;
            o.Fires = 1;
            o.ShotSpeed = uint8_t(gun.shotSpeed);
            o.FireInterval = uint8_t(Draw(w, gun.fireInterval));
            o.ShotKind = uint8_t(gun.shotKind);
            o.ShotSpread = uint8_t(gun.shotSpread);
            o.ShotDamage = StrengthOf(gun.shotDamage, f);
        }
        PlaceLevelObject(w, slot, group.band.low, group.band.high);
    }
}

// Barrier blocks are laid in rows at a fixed pitch, not placed at random.
void PlaceBarrierRows(World& w, const BarrierRows& b, const LevelFactors& f) {
    int32_t t = b.from;
    do {
        const int rows = Draw(w, b.rows);
        const int offset = RandomInt(w, kSurfaceWidth - b.columns * b.pitch);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < b.columns; ++column) {
                const int slot = TakeFreeSlot(w.game);
                if (slot == 0) continue;
                LevelObject& o = w.game.LevelObjects[slot];
                o.Picture = uint8_t(b.picture);
                o.Speed = 0;
                o.Hit = 0;
                o.Visible = 0;
                o.Energy = StrengthOf(b.energy, f);
                o.CollisionDamage = StrengthOf(b.collisionDamage, f);
                o.Score = b.score;
                o.X = column * b.pitch + offset;
                // X 0 would mark the slot free and the next object would take
                // it; the block moves one pixel right so that it stays.
                if (o.X == 0) o.X = 1;
                o.Y = t;
            }
            t += b.pitch;
        }
        t += Draw(w, b.gap);
    } while (t <= b.until);
}

// After the level's own groups: item boxes and mystery boxes where the level
// has them, and the extra-life box everywhere, from kBoxesFrom up to
// kBoxesBeforeFinish before the finish.
void PlaceBoxes(World& w, const LevelDesign& level, const LevelFactors& f) {
    ObjectGroup box = {.picture = kBoxPicture,
                       .speed = level.boxSpeed,
                       .band = {kBoxesFrom, w.game.Progress.LevelEnd - kBoxesBeforeFinish},
                       .energy = kBoxEnergy,
                       .score = 0};
    if (level.itemBoxes) {
        box.count = kItemBoxes;
        box.content = kFirstItem + Roll{kLastItem - kFirstItem + 1};
        PlaceGroup(w, box, f);
        box.count = kMysteryBoxes;
        box.content = kMysteryBox;
        PlaceGroup(w, box, f);
    }
    box.count = 1;
    box.content = kExtraLife;
    PlaceGroup(w, box, f);
}

// The shown cells (0..6) of the nine columns, as a new game leaves them.
void EmptyCityGrid(GameState& g) {
    for (int column = 1; column <= 9; ++column)
        for (int cell = 0; cell < 7; ++cell) g.CityGrid[column][size_t(cell)].Picture = -1;
}

// Letter case is ignored, as in every picture lookup: a collection whose
// first picture the scenery finds by name is the one in place.
bool FirstPictureIs(const PictureCollection& collection, const char* name) {
    if (collection.items.empty()) return false;
    const std::string& have = collection.items[0].Name;
    if (have.size() != std::char_traits<char>::length(name)) return false;
    for (size_t i = 0; i < have.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(have[i])) != std::tolower(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

}  // namespace

void EnsureLevelScenery(World& w, int level) {
    if (level < 1 || level > kLevelCount) return;
    const char* firstPicture = nullptr;
    const char* file = nullptr;
    switch (LevelDesignOf(level).scenery) {
        case Scenery::City:
            firstPicture = "Kostky";
            file = "video\\mesto.lev";
            break;
        case Scenery::MotherShip:
            firstPicture = "Lod";
            file = "video\\velkalod.lev";
            break;
        case Scenery::None: return;
    }
    if (FirstPictureIs(w.media.Level, firstPicture)) return;
    LoadPictureCollection(w.media.Level, ResolveAssetPath(w.shell.options.dataDir, file));
}

bool PlaceLevelObject(World& w, int32_t index, int32_t low, int32_t high) {
    auto& objects = w.game.LevelObjects;
    LevelObject& o = objects[index];
    const PictureItem& picture = PictureAt(w.media.Rakety, o.Picture);
    const int width = PatternWidth(picture);
    const int height = PatternHeight(picture);
    for (int attempt = 0; attempt < kMaxPlacementAttempts; ++attempt) {
        const int32_t x = RandomInt(w, kPlaceAcross - width) + kPlaceFrom;
        const int32_t y = low + RandomInt(w, high - low - height) + height;
        bool clash = false;
        for (int i = 1; i <= kLevelObjectCount && !clash; ++i) {
            const LevelObject& other = objects[i];
            if (other.X <= 0 || i == index) continue;
            clash = std::abs(x - other.X) < width + kClearance && std::abs(y - other.Y) < height + kClearance;
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
    ProgressRecord& p = g.Progress;
    for (LevelObject& o : g.LevelObjects) ClearSlotForBuild(o);
    SetNoText(g.CommanderText);
    g.CommanderTextPos = 1;
    g.CommanderTimer = 0;

    // A damaged profile may bring any Level: it is brought back into 1..9 so
    // that the level, its scenery and everything after it agree.
    p.Level = std::clamp(p.Level, 1, kLevelCount);
    const LevelDesign& level = LevelDesignOf(p.Level);
    LevelFactors factors = FactorsFor(p.Difficulty);

    p.LevelEnd = level.levelEnd;
    if (level.briefing) g.CommanderStep = 1;
    if (level.countsBlackBoxes) p.BlackBoxCount = 0;
    // The city starts empty; its scenery loads only when another is in place.
    if (level.scenery == Scenery::City) EmptyCityGrid(g);
    EnsureLevelScenery(w, p.Level);
    if (level.countFactorAtMost) factors.count = std::min(factors.count, *level.countFactorAtMost);
    if (level.scenery == Scenery::MotherShip) {
        // The clock of the platform: the headless one is fixed per frame, so
        // a replay builds the same escort.
        if (w.media.platform) SeedRandom(w.random, w.media.platform->Milliseconds());
        SetUpMotherShip(w, factors.strength);
    }
    if (level.barriers) PlaceBarrierRows(w, *level.barriers, factors);
    for (const ObjectGroup& group : level.groups) PlaceGroup(w, group, factors);
    PlaceBoxes(w, level, factors);
}
