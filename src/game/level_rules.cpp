// The rules of the nine levels: which groups of meteors, craft, barriers and
// boxes each level places, in which bands, how strong, and where its finish
// flags stand. Level 3 adds its barrier rows; 4, 8 and 9 bring their scenery.
#include <cctype>
#include <string>

#include "game/level_build.h"
#include "game/level_rules.h"
#include "game/mother_ship.h"
#include "media/asset_path.h"
#include "media/collection_file.h"
#include "media/picture.h"
#include "state/world.h"

namespace {

// Destroyed meteors score a fixed amount: the storm of level 1 is light
// rock, the one of level 6 takes 800 energy a meteor and pays more.
constexpr int32_t kLevel1MeteorScore = 10;
constexpr int32_t kLevel6MeteorScore = 40;

GroupRule Craft(int count, int picture, int speed, int32_t low, int32_t high, int32_t energy,
                int32_t collision, int32_t score) {
    GroupRule r;
    r.count = count;
    r.picture = picture;
    r.speed = speed;
    r.low = low;
    r.high = high;
    r.energy = energy;
    r.collisionDamage = collision;
    r.score = score;
    return r;
}

GroupRule Armed(GroupRule r, int shotSpeed, int fireBase, int shotKind, int spread, int32_t damage) {
    r.fires = true;
    r.shotSpeed = shotSpeed;
    r.fireIntervalBase = fireBase;
    r.shotKind = shotKind;
    r.shotSpread = spread;
    r.shotDamage = damage;
    return r;
}

GroupRule WeaponBox(int weapon, int speed, int32_t low, int32_t high) {
    GroupRule r;
    r.count = 1;
    r.countScaled = false;
    r.picture = 8;
    r.speed = speed;
    r.low = low;
    r.high = high;
    r.energy = 150;
    r.energyScaled = false;
    r.score = 0;
    r.content = 100 + weapon;
    return r;
}

GroupRule Meteors(int count, int32_t high, int32_t energy, int32_t collision, int32_t score) {
    GroupRule r;
    r.count = count;
    r.picture = kMeteorPicture;
    r.speed = kMeteorSpeed;
    r.low = 1200;
    r.high = high;
    r.energy = energy;
    r.collisionDamage = collision;
    r.score = score;
    return r;
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

void EmptyCityGrid(World& w) {
    for (int column = 1; column <= 9; ++column)
        for (int cell = 0; cell < 7; ++cell) w.game.CityGrid[column][size_t(cell)].Picture = -1;
}

void PlaceBarrierRows(World& w, const LevelFactors& f) {
    int32_t t = 1200;
    do {
        const int rows = 3 + RandomInt(w, 4);
        const int offset = RandomInt(w, 800 - 17 * 44);
        for (int row = 0; row < rows; ++row) {
            for (int column = 1; column <= 17; ++column) {
                const int slot = TakeFreeSlot(w);
                if (slot == 0) continue;
                LevelObject& o = w.game.LevelObjects[slot];
                o.Picture = 5;
                o.Speed = 0;
                o.Hit = 0;
                o.Visible = 0;
                o.Energy = ScaledStrength(29, f.strength);
                o.CollisionDamage = ScaledStrength(10, f.strength);
                o.Score = 2;
                o.X = (column - 1) * 44 + offset;
                // X 0 would mark the slot free and the next object would take
                // it; the block moves one pixel right so that it stays.
                if (o.X == 0) o.X = 1;
                o.Y = t;
            }
            t += 44;
        }
        t += RandomInt(w, 100) + 400;
    } while (t <= 4200);
}

}  // namespace

// The scenery collection is reloaded only when another one is in place.
void EnsureLevelScenery(World& w, int level) {
    const char* firstPicture = nullptr;
    const char* file = nullptr;
    if (level == 4 || level == 8) {
        firstPicture = "Kostky";
        file = "video\\mesto.lev";
    } else if (level == 9) {
        firstPicture = "Lod";
        file = "video\\velkalod.lev";
    }
    if (!firstPicture || FirstPictureIs(w.media.Level, firstPicture)) return;
    LoadPictureCollection(w.media.Level, ResolveAssetPath(w.shell.options.dataDir, file));
}

void RunLevelRules(World& w, int level, LevelFactors& f) {
    GameState& g = w.game;
    ProgressRecord& p = g.Progress;
    switch (level) {
        case 1: {
            p.LevelEnd = 9400;
            g.CommanderStep = 1;
            p.BlackBoxCount = 0;
            PlaceGroup(w, Meteors(100, 25800, 199, 25, kLevel1MeteorScore), f);
            GroupRule black;
            black.count = 20;
            black.countScaled = false;
            black.picture = 14;
            black.speed = 1;
            black.low = 1200;
            black.high = 16800;
            black.energy = 9;
            black.energyScaled = false;
            black.score = 0;
            black.content = 14;
            PlaceGroup(w, black, f);
            break;
        }
        case 2:
            p.LevelEnd = 9500;
            g.CommanderStep = 1;
            PlaceGroup(w, Craft(50, 2, 1, 1200, 9000, 9, 10, 20), f);
            PlaceGroup(w, Craft(15, 2, 1, 9000, 12000, 9, 10, 20), f);
            PlaceGroup(w, WeaponBox(0, 1, 9000, 12000), f);
            PlaceGroup(w, Craft(15, 3, 1, 9000, 12000, 19, 15, 40), f);
            PlaceGroup(w, Craft(65, 3, 1, 12000, 18000, 19, 15, 40), f);
            break;
        case 3:
            p.LevelEnd = 12800;
            g.CommanderStep = 1;
            PlaceBarrierRows(w, f);
            PlaceGroup(w, WeaponBox(1, 0, 2400, 3000), f);
            PlaceGroup(w, Craft(30, 3, 1, 4800, 11400, 19, 15, 40), f);
            PlaceGroup(w, Craft(40, 15, 2, 4800, 15000, 19, 10, 20), f);
            PlaceGroup(w, Craft(40, 15, 2, 13800, 19800, 19, 10, 20), f);
            PlaceGroup(w, Craft(100, 15, 2, 21600, 36000, 19, 10, 20), f);
            PlaceGroup(w, Craft(35, 7, 0, 6600, 12000, 39, 20, 50), f);
            break;
        case 4:
            p.LevelEnd = 10800;
            EnsureLevelScenery(w, 4);
            EmptyCityGrid(w);
            PlaceGroup(w, WeaponBox(2, 1, 1200, 2400), f);
            PlaceGroup(w, Armed(Craft(65, 4, 1, 1200, 19200, 119, 20, 65), 2, 50, 0, 18, 10), f);
            PlaceGroup(w, Craft(130, 20, 2, 1200, 25800, 59, 15, 50), f);
            break;
        case 5:
            p.LevelEnd = 13000;
            PlaceGroup(w, WeaponBox(3, 0, 3000, 3600), f);
            PlaceGroup(w, Armed(Craft(60, 16, 1, 1200, 7200, 119, 20, 60), 2, 90, 0, 13, 10), f);
            PlaceGroup(w, Craft(120, 19, 2, 7200, 29400, 59, 15, 50), f);
            PlaceGroup(w, Armed(Craft(90, 16, 1, 7200, 25200, 119, 20, 60), 2, 90, 0, 13, 10), f);
            break;
        case 6:
            p.LevelEnd = 9600;
            g.CommanderStep = 1;
            PlaceGroup(w, Meteors(130, 27000, 800, 30, kLevel6MeteorScore), f);
            PlaceGroup(w, Armed(Craft(60, 18, 1, 1200, 18000, 119, 25, 70), 2, 150, 1, 14, 5), f);
            break;
        case 7:
            p.LevelEnd = 9600;
            PlaceGroup(w, WeaponBox(4, 0, 1800, 2400), f);
            PlaceGroup(w, Armed(Craft(80, 1, 1, 1200, 18000, 119, 25, 65), 2, 150, 2, 0, 15), f);
            PlaceGroup(w, Craft(150, 20, 2, 1200, 24000, 59, 15, 50), f);
            break;
        case 8:
            p.LevelEnd = 9400;
            EmptyCityGrid(w);
            EnsureLevelScenery(w, 8);
            PlaceGroup(w, Armed(Craft(80, 17, 1, 1200, 18000, 179, 35, 90), 2, 150, 2, 20, 15), f);
            PlaceGroup(w, Craft(200, 15, 2, 1200, 24000, 19, 10, 20), f);
            break;
        case 9:
            p.LevelEnd = 10000;
            g.CommanderStep = 1;
            EnsureLevelScenery(w, 9);
            if (f.count == 2.0) f.count = 1.5;
            // The clock of the platform: the headless one is fixed per frame,
            // so a replay builds the same escort.
            if (w.media.platform) SeedRandom(w.random, w.media.platform->Milliseconds());
            SetUpMotherShip(w, f.strength);
            PlaceGroup(w, Craft(25, 2, 2, 1200, 24000, 9, 10, 20), f);
            PlaceGroup(w, Craft(25, 20, 2, 1200, 24000, 59, 15, 50), f);
            PlaceGroup(w, Craft(25, 15, 2, 1200, 24000, 19, 10, 20), f);
            PlaceGroup(w, Armed(Craft(20, 16, 2, 1200, 15000, 119, 20, 60), 3, 150, 0, 13, 10), f);
            PlaceGroup(w, Armed(Craft(20, 1, 0, 1200, 10200, 119, 25, 65), 2, 150, 2, 0, 15), f);
            PlaceGroup(w, Craft(20, 3, 1, 1200, 15000, 19, 15, 40), f);
            PlaceGroup(w, Craft(25, 19, 1, 1200, 15000, 59, 15, 50), f);
            PlaceGroup(w, Armed(Craft(25, 4, 1, 1200, 18000, 119, 20, 65), 2, 150, 0, 18, 10), f);
            PlaceGroup(w, Armed(Craft(20, 17, 0, 1200, 10200, 179, 35, 90), 2, 150, 2, 20, 15), f);
            PlaceGroup(w, Craft(20, 7, 0, 1200, 10200, 39, 20, 50), f);
            PlaceGroup(w, Craft(25, 18, 1, 1200, 18000, 119, 25, 70), f);
            break;
        default:
            break;
    }
}
