// The city of levels 4 and 8: where its blocks are drawn, the smooth
// one-pixel scroll across a column shift, how the city grows in after a
// reset, the random blocks and their open stretches, the empty end of the
// level, and the animation cycles of reactors and structures.
#include "game/city.h"

#include <gtest/gtest.h>

#include <memory>

#include "test_support.h"

namespace {

struct City {
    TestWorld t = MakeTestWorld();
    World& w = t.w();
    GameState& g = w.game;
    City() {
        g.Progress.Level = 4;
        g.Progress.ScrollDistance = 2000;
        for (Star& star : g.Stars) star.X = 900;  // keep the stars off the surface
    }
    CityCell& Cell(int column, int row) { return g.CityGrid[column][size_t(row)]; }
    // The city has reached the last part of the level: every new block is empty.
    void NearFinish() { g.Progress.ScrollDistance = 10201; }
    void Frame() {
        FillSurface(*w.media.back, 0);
        UpdateCity(w);
    }
};

int ShownBlocks(const GameState& g, int row) {
    int n = 0;
    for (int k = 1; k <= 9; ++k) n += g.CityGrid[k][size_t(row)].Picture >= 0;
    return n;
}

bool SameSurface(const Surface& a, const Surface& b) {
    for (int y = 0; y < kSurfaceHeight; ++y)
        for (int x = 0; x < kSurfaceWidth; ++x)
            if (a.pixels[y][x] != b.pixels[y][x]) return false;
    return true;
}

int LitPixels(const Surface& s) {
    int n = 0;
    for (const auto& row : s.pixels)
        for (uint16_t p : row) n += p != 0;
    return n;
}

CityCell Tile(int32_t frame) { return CityCell{frame, 0, 0, 0, 0, 0}; }

TEST(CityDrawing, EachKindOfBlockStandsInItsColumnAndRow) {
    City c;
    c.NearFinish();
    c.g.CityScroll = 40;
    c.Cell(1, 0) = Tile(7);                          // half off the left edge, above the top
    c.Cell(9, 6) = CityCell{100, 30, 0, 3, 4, 0};    // reactor, frame 3
    c.Cell(4, 2) = CityCell{109, 30, 0, 1, 1, 0};    // "Animace" 109 - 102 - 1
    c.Cell(6, 3) = CityCell{212, 30, 0, -1, 2, -1};  // "Animace2" 212 - 201 - 1 only
    c.Cell(6, 7) = Tile(3);                          // cells below row 6 are never shown
    c.Frame();

    auto expected = std::make_unique<Surface>();
    const PictureCollection& level = c.w.media.Level;
    DrawPattern(FindPicture(level, "Kostky"), *expected, -50, -101 + 40, 7);
    DrawPattern(FindPicture(level, "Reaktor"), *expected, 758, 5 * 101 + 40, 3);
    DrawPattern(FindPicture(level, "Animace"), *expected, 3 * 101 - 50, 101 + 40, 6);
    DrawPattern(FindPicture(level, "Animace2"), *expected, 5 * 101 - 50, 2 * 101 + 40, 10);
    EXPECT_TRUE(SameSurface(*c.w.media.back, *expected));
}

TEST(CityScrolling, ShiftAtOffset100MovesThePictureOnByOnePixel) {
    City c;
    c.NearFinish();  // no new blocks to disturb the picture
    c.g.CityScroll = 99;
    for (int k = 1; k <= 9; ++k)
        for (int r = 0; r < 6; ++r) c.Cell(k, r) = Tile((k + r) % 18);
    c.Frame();  // drawn at offset 99
    auto previous = std::make_unique<Surface>(*c.w.media.back);
    EXPECT_EQ(c.g.CityScroll, 100);
    const int32_t age = c.g.CityAge;

    // Offset 100 is drawn before the shift...
    c.Frame();
    EXPECT_EQ(c.g.CityScroll, 0);
    EXPECT_EQ(c.g.CityAge, age);                       // the shifting frame does not age the city
    EXPECT_EQ(c.Cell(3, 1).Picture, Tile(3).Picture);  // every column one block lower
    EXPECT_EQ(c.Cell(3, 6).Picture, Tile(3 + 5).Picture);
    for (int k = 1; k <= 9; ++k) EXPECT_EQ(c.Cell(k, 0).Picture, -1);
    for (int pass = 0; pass < 2; ++pass) {
        // ...and offset 0 with every block a row lower next: each frame is
        // the previous one a pixel further down.
        const Surface& now = *c.w.media.back;
        for (int y = 1; y < kSurfaceHeight; ++y)
            for (int x = 0; x < kSurfaceWidth; ++x)
                ASSERT_EQ(now.pixels[y][x], previous->pixels[y - 1][x]) << "pass " << pass << " at " << x << "," << y;
        *previous = now;
        c.Frame();
    }
}

TEST(CityScrolling, AfterAResetTheCityGrowsInFromTheTop) {
    City c;  // a fresh run: CityScroll 100, the grid empty
    ASSERT_EQ(c.g.CityScroll, 100);
    c.Frame();
    EXPECT_EQ(LitPixels(*c.w.media.back), 0);  // the empty grid drew nothing before the shift
    EXPECT_EQ(c.g.CityScroll, 0);
    EXPECT_GT(ShownBlocks(c.g, 0), 0);
    for (int r = 1; r < 7; ++r) EXPECT_EQ(ShownBlocks(c.g, r), 0) << "row " << r;

    // Row 0 lies above the top edge until it has scrolled in.
    c.Frame();
    EXPECT_EQ(LitPixels(*c.w.media.back), 0);
    for (int i = 0; i < 100; ++i) c.Frame();
    EXPECT_EQ(c.g.CityScroll, 0);  // the 101st frame after the first shift shifts again
    EXPECT_GT(ShownBlocks(c.g, 1), 0);
    for (int r = 2; r < 7; ++r) EXPECT_EQ(ShownBlocks(c.g, r), 0) << "row " << r;
    c.Frame();
    EXPECT_GT(LitPixels(*c.w.media.back), 0);
}

TEST(CityBlocks, NewBlocksComeFromTheRulesInTheirOrder) {
    // A reference of the draws, in order; each later rule overrides.
    struct Reference {
        Random r;
        int32_t age;
        CityCell Next(int k) {
            CityCell c{0, 0, 0, 0, 0, 0};
            if (RandomInt(r, 7) == 0) c.Picture = RandomInt(r, 13) + 5;
            else c.Picture = RandomInt(r, 5);
            if (RandomInt(r, 12) == 0) c = {100, RandomInt(r, 10) + 25, 0, RandomInt(r, 5), 4, 0};
            if (RandomInt(r, 12) == 0) {
                c.Picture = (RandomInt(r, 8) + 1) * 2 + 101;
                c = {c.Picture, RandomInt(r, 10) + 25, 0, RandomInt(r, 2), 1, 0};
            }
            if (RandomInt(r, 12) == 0) {
                c.Picture = (RandomInt(r, 14) + 1) * 3 + 200;
                c = {c.Picture, RandomInt(r, 30) + 25, 0, RandomInt(r, 3), 2, -1};
            }
            if ((k == 1 || k == 9) && RandomInt(r, 2) == 0) c.Picture = -1;
            if (RandomInt(r, 200) + 500 < age) c.Picture = -1;
            if (RandomInt(r, 300) + 1000 < age) age = 0;
            return c;
        }
    };
    City c;
    for (int32_t startAge : {0, 600, 1200}) {
        for (int shift = 0; shift < 30; ++shift) {
            c.g.CityScroll = 100;
            c.g.CityAge = startAge;
            Reference ref{c.w.random, startAge};
            c.Frame();
            for (int k = 1; k <= 9; ++k) {
                const CityCell want = ref.Next(k);
                const CityCell& got = c.Cell(k, 0);
                // The animation step has already run once on the new block.
                ASSERT_EQ(got.Picture, want.Picture) << "age " << startAge << " column " << k;
                if (want.Picture >= 100) {
                    EXPECT_EQ(got.FrameDelay, want.FrameDelay);
                    EXPECT_EQ(got.DelayCount, 1);
                    EXPECT_EQ(got.Frame, want.Frame);
                    EXPECT_EQ(got.LastFrame, want.LastFrame);
                    EXPECT_EQ(got.FirstFrame, want.FirstFrame);
                }
            }
            EXPECT_EQ(c.g.CityAge, ref.age);
            EXPECT_EQ(c.w.random.seed, ref.r.seed);  // no other draw was made
        }
    }
}

TEST(CityBlocks, OuterColumnsOpenHalfTheTimeAndOldCitiesThinOut) {
    City c;
    int outerEmpty = 0, outer = 0, innerEmpty = 0, reactors = 0, arms = 0, structures = 0;
    for (int shift = 0; shift < 400; ++shift) {
        c.g.CityScroll = 100;
        c.g.CityAge = 0;
        c.Frame();
        for (int k = 1; k <= 9; ++k) {
            const int32_t p = c.Cell(k, 0).Picture;
            if (k == 1 || k == 9) {
                ++outer;
                outerEmpty += p < 0;
            } else {
                innerEmpty += p < 0;
                EXPECT_TRUE((p >= 0 && p <= 17) || p == 100 || (p >= 103 && p <= 117 && p % 2 == 1) ||
                            (p >= 203 && p <= 242 && p % 3 == 2))
                    << p;
                reactors += p == 100;
                structures += p > 100 && p < 200;
                arms += p > 200;
            }
        }
    }
    EXPECT_EQ(innerEmpty, 0);  // a young city has no gaps inside
    EXPECT_NEAR(double(outerEmpty) / outer, 0.5, 0.08);
    // Each of the three animated kinds turns up now and then (about one block in 12).
    EXPECT_GT(reactors, 50);
    EXPECT_GT(structures, 80);
    EXPECT_GT(arms, 100);

    // Past an age of 699 every new block is open space; past 1299 the city starts over.
    c.g.CityScroll = 100;
    c.g.CityAge = 700;
    c.Frame();
    EXPECT_EQ(ShownBlocks(c.g, 0), 0);
    EXPECT_EQ(c.g.CityAge, 700);
    c.g.CityScroll = 100;
    c.g.CityAge = 1300;
    c.Frame();
    EXPECT_EQ(c.g.CityAge, 0);
    // Between shifts the age counts the frames.
    for (int i = 0; i < 10; ++i) c.Frame();
    EXPECT_EQ(c.g.CityAge, 10);
    EXPECT_EQ(c.g.CityScroll, 10);
}

TEST(CityBlocks, TheCityRunsOutBeforeTheFinish) {
    struct Case {
        int32_t level, scroll;
        bool empty;
    };
    City c;
    for (const Case& k : {Case{4, 10200, false}, Case{4, 10201, true}, Case{8, 8800, false}, Case{8, 8801, true},
                          Case{8, 10150, true}}) {
        c.g.Progress.Level = k.level;
        c.g.Progress.ScrollDistance = k.scroll;
        int shown = 0;
        for (int shift = 0; shift < 10; ++shift) {
            c.g.CityScroll = 100;
            c.g.CityAge = 0;
            c.Frame();
            shown += ShownBlocks(c.g, 0);
        }
        if (k.empty) {
            EXPECT_EQ(shown, 0) << "level " << k.level << " at " << k.scroll;
        } else {
            EXPECT_GT(shown, 50) << "level " << k.level << " at " << k.scroll;
        }
    }
}

// Runs the city with the grid held still and returns the frames a cell's
// animation value takes, one entry per change.
std::vector<int32_t> Cycle(City& c, CityCell cell, int frames, int* framesPerStep) {
    c.NearFinish();
    c.Cell(5, 3) = cell;
    std::vector<int32_t> values{cell.Frame};
    int lastChange = 0, step = 0;
    for (int i = 1; i <= frames; ++i) {
        c.g.CityScroll = 0;
        c.Frame();
        if (c.Cell(5, 3).Frame != values.back()) {
            values.push_back(c.Cell(5, 3).Frame);
            if (lastChange > 0) step = i - lastChange;
            lastChange = i;
        }
    }
    *framesPerStep = step;
    return values;
}

TEST(CityAnimation, ReactorStructureAndArmCycles) {
    int step = 0;
    {
        City c;
        EXPECT_EQ(Cycle(c, CityCell{100, 25, 0, 0, 4, 0}, 5 * 26, &step), (std::vector<int32_t>{0, 1, 2, 3, 4, 0}));
        EXPECT_EQ(step, 26);  // FrameDelay 25: one step every 26 frames
    }
    {
        City c;
        EXPECT_EQ(Cycle(c, CityCell{111, 34, 0, 0, 1, 0}, 4 * 35, &step), (std::vector<int32_t>{0, 1, 0, 1, 0}));
        EXPECT_EQ(step, 35);
    }
    {
        City c;
        EXPECT_EQ(Cycle(c, CityCell{230, 25, 0, -1, 2, -1}, 5 * 26, &step), (std::vector<int32_t>{-1, 0, 1, 2, -1, 0}));
        EXPECT_EQ(step, 26);
    }
}

}  // namespace
