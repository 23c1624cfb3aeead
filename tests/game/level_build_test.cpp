// Level construction: counts of every group per level and difficulty, bands,
// spacing, the barrier rows of level 3, the boxes, the scenery reloads, the
// retry limit of placement and damaged Level values.
#include "game/level_build.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "level_fixture.h"

using levelfixture::MakeLevelWorld;
using levelfixture::RaketySize;

namespace {

// One group as a level table describes it. picture -1 = meteors (9..13);
// energy etc. are before the strength factor; collision -1 = not set.
struct Expected {
    int count;
    bool scaled;
    int picture;
    int low, high;
    int energy;
    bool energyScaled;
    int collision;
    int score;
    int content;
    int speedMin, speedMax;
    int fireBase;  // 0 = unarmed
    int shotSpeed = 0, shotKind = 0, spread = 0, shotDamage = 0;
};

std::vector<Expected> Groups(int level) {
    switch (level) {
        case 1:
            return {{100, true, -1, 1200, 25800, 199, true, 25, -2, 0, 2, 3, 0},
                    {20, false, 14, 1200, 16800, 9, false, -1, 0, 14, 1, 1, 0}};
        case 2:
            return {{50, true, 2, 1200, 9000, 9, true, 10, 20, 0, 1, 1, 0},
                    {15, true, 2, 9000, 12000, 9, true, 10, 20, 0, 1, 1, 0},
                    {1, false, 8, 9000, 12000, 150, false, -1, 0, 100, 1, 1, 0},
                    {15, true, 3, 9000, 12000, 19, true, 15, 40, 0, 1, 1, 0},
                    {65, true, 3, 12000, 18000, 19, true, 15, 40, 0, 1, 1, 0}};
        case 3:
            return {{1, false, 8, 2400, 3000, 150, false, -1, 0, 101, 0, 0, 0},
                    {30, true, 3, 4800, 11400, 19, true, 15, 40, 0, 1, 1, 0},
                    {40, true, 15, 4800, 15000, 19, true, 10, 20, 0, 2, 2, 0},
                    {40, true, 15, 13800, 19800, 19, true, 10, 20, 0, 2, 2, 0},
                    {100, true, 15, 21600, 36000, 19, true, 10, 20, 0, 2, 2, 0},
                    {35, true, 7, 6600, 12000, 39, true, 20, 50, 0, 0, 0, 0}};
        case 4:
            return {{1, false, 8, 1200, 2400, 150, false, -1, 0, 102, 1, 1, 0},
                    {65, true, 4, 1200, 19200, 119, true, 20, 65, 0, 1, 1, 50, 2, 0, 18, 10},
                    {130, true, 20, 1200, 25800, 59, true, 15, 50, 0, 2, 2, 0}};
        case 5:
            return {{1, false, 8, 3000, 3600, 150, false, -1, 0, 103, 0, 0, 0},
                    {60, true, 16, 1200, 7200, 119, true, 20, 60, 0, 1, 1, 90, 2, 0, 13, 10},
                    {120, true, 19, 7200, 29400, 59, true, 15, 50, 0, 2, 2, 0},
                    {90, true, 16, 7200, 25200, 119, true, 20, 60, 0, 1, 1, 90, 2, 0, 13, 10}};
        case 6:
            return {{130, true, -1, 1200, 27000, 800, true, 30, -2, 0, 2, 3, 0},
                    {60, true, 18, 1200, 18000, 119, true, 25, 70, 0, 1, 1, 150, 2, 1, 14, 5}};
        case 7:
            return {{1, false, 8, 1800, 2400, 150, false, -1, 0, 104, 0, 0, 0},
                    {80, true, 1, 1200, 18000, 119, true, 25, 65, 0, 1, 1, 150, 2, 2, 0, 15},
                    {150, true, 20, 1200, 24000, 59, true, 15, 50, 0, 2, 2, 0}};
        case 8:
            return {{80, true, 17, 1200, 18000, 179, true, 35, 90, 0, 1, 1, 150, 2, 2, 20, 15},
                    {200, true, 15, 1200, 24000, 19, true, 10, 20, 0, 2, 2, 0}};
        case 9:
            return {{25, true, 2, 1200, 24000, 9, true, 10, 20, 0, 2, 2, 0},
                    {25, true, 20, 1200, 24000, 59, true, 15, 50, 0, 2, 2, 0},
                    {25, true, 15, 1200, 24000, 19, true, 10, 20, 0, 2, 2, 0},
                    {20, true, 16, 1200, 15000, 119, true, 20, 60, 0, 2, 2, 150, 3, 0, 13, 10},
                    {20, true, 1, 1200, 10200, 119, true, 25, 65, 0, 0, 0, 150, 2, 2, 0, 15},
                    {20, true, 3, 1200, 15000, 19, true, 15, 40, 0, 1, 1, 0},
                    {25, true, 19, 1200, 15000, 59, true, 15, 50, 0, 1, 1, 0},
                    {25, true, 4, 1200, 18000, 119, true, 20, 65, 0, 1, 1, 150, 2, 0, 18, 10},
                    {20, true, 17, 1200, 10200, 179, true, 35, 90, 0, 0, 0, 150, 2, 2, 20, 15},
                    {20, true, 7, 1200, 10200, 39, true, 20, 50, 0, 0, 0, 0},
                    {25, true, 18, 1200, 18000, 119, true, 25, 70, 0, 1, 1, 0}};
        default: return {};
    }
}

int LevelEndOf(int level) {
    const int ends[10] = {0, 9400, 9500, 12800, 10800, 13000, 9600, 9600, 9400, 10000};
    return ends[level];
}

double CountFactor(int level, int difficulty) {
    if (difficulty == 1) return 1;
    if (difficulty == 2 || level == 9) return 1.5;
    return 2;
}
double StrengthFactor(int difficulty) { return difficulty == 1 ? 1 : difficulty == 2 ? 1.2 : 2; }
int Scaled(int v, double s) { return int(std::lround(v * s)); }

bool MatchesGroup(const LevelObject& o, const Expected& g, double s) {
    const bool meteor = g.picture == -1;
    if (meteor ? (o.Picture < 9 || o.Picture > 13) : o.Picture != g.picture) return false;
    const auto size = RaketySize(o.Picture);
    if (o.Y < g.low + size.height || o.Y > g.high - 1) return false;
    if (o.Content != g.content) return false;
    if (o.Speed < g.speedMin || o.Speed > g.speedMax) return false;
    if (o.Energy != (g.energyScaled ? Scaled(g.energy, s) : g.energy)) return false;
    if (g.collision >= 0 && o.CollisionDamage != Scaled(g.collision, s)) return false;
    if (g.score >= 0 && o.Score != g.score) return false;
    if (g.fireBase == 0) return o.Fires == 0;
    return o.Fires == 1 && o.FireInterval >= g.fireBase && o.FireInterval < g.fireBase + 80 &&
           o.ShotSpeed == g.shotSpeed && o.ShotKind == g.shotKind && o.ShotSpread == g.spread &&
           o.ShotDamage == Scaled(g.shotDamage, s);
}

bool IsBox(const LevelObject& o, int level) {
    return o.Picture == 8 && ((o.Content >= 1 && o.Content <= 9)) && o.Energy == 150 && o.Score == 0 &&
           o.Speed == ((level == 4 || level == 8) ? 1 : 0);
}

TEST(BuildLevel, EveryGroupHasItsCountBandAndValuesAtEveryDifficulty) {
    const std::string dir = MakeTempDir("scenery");
    levelfixture::WriteSceneryFiles(dir);
    for (int difficulty = 1; difficulty <= 3; ++difficulty) {
        for (int level = 1; level <= 9; ++level) {
            SCOPED_TRACE("level " + std::to_string(level) + " difficulty " + std::to_string(difficulty));
            auto t = MakeLevelWorld(1000u + uint32_t(level * 7 + difficulty));
            World& w = t.w();
            w.shell.options.dataDir = dir;
            w.game.Progress.Level = level;
            w.game.Progress.Difficulty = uint8_t(difficulty);
            BuildLevel(w);
            EXPECT_EQ(w.game.Progress.LevelEnd, LevelEndOf(level));

            const auto groups = Groups(level);
            const double k = CountFactor(level, difficulty), s = StrengthFactor(difficulty);
            std::vector<int> wanted, found(groups.size(), 0);
            for (const auto& g : groups) wanted.push_back(g.scaled ? int(std::nearbyint(g.count * k)) : g.count);
            int boxes = 0, barriers = 0, unmatched = 0;
            for (const LevelObject& o : w.game.LevelObjects) {
                if (o.X == 0) continue;
                ASSERT_GT(o.X, 0);
                EXPECT_EQ(o.Visible, 0);
                EXPECT_EQ(o.Hit, 0);
                if (level == 3 && o.Picture == 5) {
                    ++barriers;
                    continue;
                }
                const auto size = RaketySize(o.Picture);
                EXPECT_GE(o.X, 5);
                EXPECT_LE(o.X, 784 - size.width);
                // Boxes of every level: between 1800 + H and the level end - 601.
                if (IsBox(o, level)) {
                    ++boxes;
                    EXPECT_GE(o.Y, 1800 + size.height);
                    EXPECT_LE(o.Y, LevelEndOf(level) - 601);
                    continue;
                }
                // Groups with the same values but overlapping bands (level 3,
                // groups 2 and 3) fill the first one first.
                bool matched = false;
                for (size_t g = 0; g < groups.size() && !matched; ++g) {
                    if (found[g] < wanted[g] && MatchesGroup(o, groups[g], s)) {
                        ++found[g];
                        matched = true;
                    }
                }
                if (!matched) ++unmatched;
            }
            EXPECT_EQ(unmatched, 0);
            for (size_t g = 0; g < groups.size(); ++g) EXPECT_EQ(found[g], wanted[g]) << "group " << g;
            EXPECT_EQ(boxes, level >= 2 ? 7 : 1);
            if (level == 3) {
                EXPECT_GE(barriers, 255);
            }
        }
    }
}

TEST(BuildLevel, CountsRoundHalfToEvenAndLevelNineEasesTheHardestDifficulty) {
    const std::string dir = MakeTempDir("scenery");
    levelfixture::WriteSceneryFiles(dir);
    auto count = [&](int level, int difficulty, int picture, int below) {
        auto t = MakeLevelWorld(77);
        t.w().shell.options.dataDir = dir;
        t.w().game.Progress.Level = level;
        t.w().game.Progress.Difficulty = uint8_t(difficulty);
        BuildLevel(t.w());
        int n = 0;
        for (const LevelObject& o : t.w().game.LevelObjects)
            if (o.X > 0 && o.Picture == picture && o.Content == 0 && (below == 0 || o.Y < below)) ++n;
        return n;
    };
    // Difficulty 2, level 2: 75, 22, 22 and 98 craft.
    EXPECT_EQ(count(2, 2, 2, 9000), 75);
    EXPECT_EQ(count(2, 2, 2, 0) - 75, 22);
    EXPECT_EQ(count(2, 2, 3, 12000), 22);
    EXPECT_EQ(count(2, 2, 3, 0) - 22, 98);
    // Difficulty 3, level 9: 38 for groups of 25, 30 for groups of 20.
    EXPECT_EQ(count(9, 3, 2, 0), 38);
    EXPECT_EQ(count(9, 3, 7, 0), 30);
    EXPECT_EQ(count(9, 3, 3, 0), 30);
}

// A replay rebuilds the same level only if every rule draws its random
// numbers in the same order: the fields in table order, then the place.
TEST(BuildLevel, RandomDrawsComeInTheOrderOfTheFieldsThenThePlace) {
    {
        auto t = MakeLevelWorld(2024);
        World& w = t.w();
        w.game.Progress.Level = 1;
        w.game.Progress.Difficulty = 1;
        Random r = w.random;
        BuildLevel(w);
        const int picture = 9 + RandomInt(r, 5);
        const int speed = 2 + RandomInt(r, 2);
        const auto size = RaketySize(picture);
        const int x = RandomInt(r, 780 - size.width) + 5;
        const int y = 1200 + RandomInt(r, 25800 - 1200 - size.height) + size.height;
        const LevelObject& meteor = w.game.LevelObjects[1];
        EXPECT_EQ(meteor.Picture, picture);
        EXPECT_EQ(meteor.Speed, speed);
        EXPECT_EQ(meteor.X, x);
        EXPECT_EQ(meteor.Y, y);
    }
    {
        auto t = MakeLevelWorld(77);
        World& w = t.w();
        w.game.Progress.Level = 5;
        w.game.Progress.Difficulty = 1;
        Random r = w.random;
        BuildLevel(w);
        // The weapon box (50 x 50) in 3000..3600.
        const int bx = RandomInt(r, 780 - 50) + 5;
        const int by = 3000 + RandomInt(r, 600 - 50) + 50;
        // The first gunship (60 x 54): its fire interval, then its place,
        // drawn again while it lies too near the box.
        const int interval = 90 + RandomInt(r, 80);
        int cx = 0, cy = 0;
        do {
            cx = RandomInt(r, 780 - 60) + 5;
            cy = 1200 + RandomInt(r, 6000 - 54) + 54;
        } while (std::abs(cx - bx) < 60 + 50 && std::abs(cy - by) < 54 + 50);
        const LevelObject& box = w.game.LevelObjects[1];
        const LevelObject& craft = w.game.LevelObjects[2];
        EXPECT_EQ(box.Content, 103);
        EXPECT_EQ(box.X, bx);
        EXPECT_EQ(box.Y, by);
        EXPECT_EQ(craft.Picture, 16);
        EXPECT_EQ(craft.FireInterval, interval);
        EXPECT_EQ(craft.X, cx);
        EXPECT_EQ(craft.Y, cy);
    }
}

TEST(BuildLevel, PlacedObjectsKeepTheirDistanceFromEverythingPlacedBefore) {
    const std::string dir = MakeTempDir("scenery");
    levelfixture::WriteSceneryFiles(dir);
    for (int level : {2, 3, 5, 8, 9}) {
        auto t = MakeLevelWorld(4242u + uint32_t(level));
        World& w = t.w();
        w.shell.options.dataDir = dir;
        w.game.Progress.Level = level;
        w.game.Progress.Difficulty = 3;
        BuildLevel(w);
        // Slots are taken in order, so a higher slot was placed later and the
        // distance is measured with its size.
        for (int b = 1; b <= kLevelObjectCount; ++b) {
            const LevelObject& later = w.game.LevelObjects[b];
            if (later.X <= 0 || later.Picture == 5) continue;
            const auto size = RaketySize(later.Picture);
            for (int a = 1; a < b; ++a) {
                const LevelObject& earlier = w.game.LevelObjects[a];
                if (earlier.X <= 0) continue;
                const bool apart = std::abs(later.X - earlier.X) >= size.width + 50 ||
                                   std::abs(later.Y - earlier.Y) >= size.height + 50;
                ASSERT_TRUE(apart) << "level " << level << " slots " << a << " and " << b;
            }
        }
    }
}

TEST(BuildLevel, LevelThreeBarriersComeInWholeRowsAndFourToSixBlocks) {
    bool sawOffsetZero = false;
    for (uint32_t seed = 1; seed <= 150; ++seed) {
        auto t = MakeLevelWorld(seed);
        World& w = t.w();
        w.game.Progress.Level = 3;
        w.game.Progress.Difficulty = 1;
        BuildLevel(w);
        std::map<int, std::vector<int>> rows;  // Y -> X of the blocks
        for (const LevelObject& o : w.game.LevelObjects)
            if (o.X != 0 && o.Picture == 5) rows[o.Y].push_back(o.X);
        int total = 0, blocks = 0, rowsInBlock = 0, lastY = -1000;
        for (auto& [y, xs] : rows) {
            ASSERT_EQ(xs.size(), 17u) << "seed " << seed << " row " << y;
            std::sort(xs.begin(), xs.end());
            const int offset = xs[1] - 44;
            ASSERT_GE(offset, 0);
            ASSERT_LE(offset, 51);
            if (offset == 0) {
                sawOffsetZero = true;
                EXPECT_EQ(xs[0], 1);  // kept one pixel right of the edge
            } else {
                EXPECT_EQ(xs[0], offset);
            }
            for (int c = 1; c < 17; ++c) EXPECT_EQ(xs[size_t(c)], c * 44 + offset);
            EXPECT_GE(y, 1200);
            EXPECT_LE(y, 4200 + 5 * 44);
            if (y - lastY == 44) {
                ++rowsInBlock;
            } else {
                if (blocks > 0) {
                    EXPECT_GE(rowsInBlock, 3);
                    EXPECT_LE(rowsInBlock, 6);
                    EXPECT_GE(y - lastY, 44 + 400);
                    EXPECT_LE(y - lastY, 44 + 499);
                }
                ++blocks;
                rowsInBlock = 1;
            }
            lastY = y;
            total += 17;
        }
        EXPECT_GE(rowsInBlock, 3);
        EXPECT_LE(rowsInBlock, 6);
        EXPECT_GE(blocks, 4);
        EXPECT_LE(blocks, 6);
        EXPECT_GE(total, 255);
        EXPECT_LE(total, 510);
    }
    EXPECT_TRUE(sawOffsetZero);
}

TEST(BuildLevel, SceneryIsLoadedOnlyByTheCityAndMotherShipLevels) {
    const std::string dir = MakeTempDir("scenery");
    levelfixture::WriteSceneryFiles(dir);
    for (int level = 1; level <= 9; ++level) {
        auto t = MakeLevelWorld(5);
        World& w = t.w();
        w.shell.options.dataDir = dir;
        w.game.Progress.Level = level;
        BuildLevel(w);
        const std::string first = w.media.Level.items.at(0).Name;
        if (level == 4 || level == 8) EXPECT_EQ(first, "Kostky");
        else if (level == 9) EXPECT_EQ(first, "Lod");
        else EXPECT_EQ(first, "Sentinel") << "level " << level;
    }
    // Already in place: no reload (the in-memory collection stays as it is).
    for (int level : {4, 8, 9}) {
        auto t = MakeLevelWorld(5);
        World& w = t.w();
        w.shell.options.dataDir = dir + "/nothing-here";
        w.media.Level.items[0].Name = level == 9 ? "lod" : "KOSTKY";
        IndexCollection(w.media.Level);
        w.game.Progress.Level = level;
        EXPECT_NO_THROW(BuildLevel(w));
        EXPECT_EQ(w.media.Level.items.size(), 1u);
    }
    // Missing file: the loader's error names it.
    auto t = MakeLevelWorld(5);
    t.w().shell.options.dataDir = dir + "/nothing-here";
    t.w().game.Progress.Level = 4;
    try {
        BuildLevel(t.w());
        FAIL() << "a missing scenery file must raise";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("mesto.lev"), std::string::npos) << e.what();
    }
}

TEST(BuildLevel, LevelStateBesidesTheObjects) {
    const std::string dir = MakeTempDir("scenery");
    levelfixture::WriteSceneryFiles(dir);
    for (int level = 1; level <= 9; ++level) {
        auto t = MakeLevelWorld(9);
        World& w = t.w();
        w.shell.options.dataDir = dir;
        w.game.Progress.Level = level;
        w.game.Progress.BlackBoxCount = 7;
        w.game.CommanderStep = 0;
        w.game.CommanderText.Assign("old");
        w.game.CommanderTextPos = 12;
        w.game.CommanderTimer = 99;
        w.game.CityGrid[3][2].Picture = 5;
        // Leftovers of an earlier level in every slot.
        for (LevelObject& o : w.game.LevelObjects) {
            o.X = -1;
            o.Visible = 1;
            o.Hit = 3;
            o.Fires = 1;
        }
        BuildLevel(w);
        const bool briefing = level == 1 || level == 2 || level == 3 || level == 6 || level == 9;
        EXPECT_EQ(w.game.CommanderStep, briefing ? 1 : 0) << level;
        EXPECT_TRUE(IsNoText(w.game.CommanderText));
        EXPECT_EQ(w.game.CommanderTextPos, 1);
        EXPECT_EQ(w.game.CommanderTimer, 0);
        EXPECT_EQ(w.game.Progress.BlackBoxCount, level == 1 ? 0 : 7) << level;
        EXPECT_EQ(w.game.CityGrid[3][2].Picture, (level == 4 || level == 8) ? -1 : 5) << level;
        int placed = 0;
        for (const LevelObject& o : w.game.LevelObjects) {
            EXPECT_GE(o.X, 0);  // spent slots of the old level are free again
            if (o.X == 0) {
                EXPECT_EQ(o.Visible, 0);
                EXPECT_EQ(o.Fires, 0);
                EXPECT_EQ(o.Energy, 0);
            } else {
                ++placed;
            }
        }
        EXPECT_GT(placed, 0);
    }
}

TEST(BuildLevel, MeteorsScoreAFixedAmountWhateverTheSlotHeldBefore) {
    for (int level : {1, 6}) {
        auto t = MakeLevelWorld(3);
        World& w = t.w();
        for (LevelObject& o : w.game.LevelObjects) o.Score = 12345;
        w.game.Progress.Level = level;
        BuildLevel(w);
        int meteors = 0;
        for (const LevelObject& o : w.game.LevelObjects) {
            if (o.X > 0 && o.Picture >= 9 && o.Picture <= 13) {
                ++meteors;
                EXPECT_EQ(o.Score, level == 1 ? 10 : 40);
            }
        }
        EXPECT_GT(meteors, 0);
    }
}

TEST(BuildLevel, DamagedLevelOrDifficultyFromAProfileStaysPlayable) {
    const std::string dir = MakeTempDir("scenery");
    levelfixture::WriteSceneryFiles(dir);
    struct Case {
        int32_t level;
        int32_t builtAs;
    };
    for (Case c : {Case{0, 1}, Case{-7, 1}, Case{10, 9}, Case{255, 9}, Case{INT32_MAX, 9}}) {
        auto t = MakeLevelWorld(11);
        World& w = t.w();
        w.shell.options.dataDir = dir;
        w.game.Progress.Level = c.level;
        w.game.Progress.Difficulty = 200;
        BuildLevel(w);
        EXPECT_EQ(w.game.Progress.Level, c.builtAs);
        EXPECT_EQ(w.game.Progress.LevelEnd, LevelEndOf(c.builtAs));
    }
    // Difficulty 0 plays as the easiest: 100 meteors in level 1.
    auto t = MakeLevelWorld(11);
    t.w().game.Progress.Level = 1;
    t.w().game.Progress.Difficulty = 0;
    BuildLevel(t.w());
    int meteors = 0;
    for (const LevelObject& o : t.w().game.LevelObjects)
        if (o.X > 0 && o.Picture >= 9 && o.Picture <= 13) ++meteors;
    EXPECT_EQ(meteors, 100);
}

TEST(PlaceLevelObject, GivesUpAfterItsRetryLimitAndLeavesTheSlotAsItWas) {
    auto t = MakeLevelWorld(21);
    World& w = t.w();
    // A row of blockers 80 apart across the whole width: no X is 90 away
    // from all of them, so a 40-wide object finds no place beside them.
    int slot = 1;
    for (int x = 5; x < 800; x += 80, ++slot) {
        LevelObject& b = w.game.LevelObjects[slot];
        b.X = x;
        b.Y = 5000;
        b.Picture = 0;
        b.Energy = 10;
    }
    LevelObject& o = w.game.LevelObjects[slot];
    o.Picture = 0;
    o.Energy = 150;
    o.Content = 3;
    o.Fires = 1;
    EXPECT_FALSE(PlaceLevelObject(w, slot, 4950, 5060));
    EXPECT_EQ(o.X, 0);
    EXPECT_EQ(o.Energy, 0);
    EXPECT_EQ(o.Content, 0);
    EXPECT_EQ(o.Fires, 0);
    // A spent slot stays spent.
    o.X = -1;
    o.Picture = 8;
    o.Content = 101;
    EXPECT_FALSE(PlaceLevelObject(w, slot, 4950, 5060));
    EXPECT_EQ(o.X, -1);
    EXPECT_EQ(o.Content, 0);
    // With room above the row it finds a place inside the band.
    o.X = 0;
    o.Picture = 0;
    ASSERT_TRUE(PlaceLevelObject(w, slot, 6000, 6600));
    EXPECT_GE(o.X, 5);
    EXPECT_LE(o.X, 744);
    EXPECT_GE(o.Y, 6040);
    EXPECT_LE(o.Y, 6599);
}

}  // namespace
