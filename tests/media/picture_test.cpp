// Pictures on the back surface: frame cutting, frame numbers outside the
// grid, the colour key, clipping at every edge, stretched and blended blits,
// and name lookup with its error message.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

#include "media/media_error.h"
#include "media/picture.h"

namespace {

// A distinct colour for every bitmap position (0xBBGGRR), never the key.
uint32_t ColourAt(int x, int y) { return uint32_t((x * 8) & 0xF8) | (uint32_t((y * 4) & 0xFC) << 8) | 0x400000u; }

PictureItem MakeItem(int width, int height, int patternW, int patternH, int skipW, int skipH, bool transparent = false,
                     uint32_t key = 0) {
    RgbImage image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.pixels.push_back(ColourAt(x, y));
    PictureItem item;
    item.Name = "Test";
    item.StoredPatternWidth = patternW;
    item.StoredPatternHeight = patternH;
    item.SkipWidth = skipW;
    item.SkipHeight = skipH;
    item.Transparent = transparent;
    item.TransparentColor = key;
    PreparePicture(item, image);
    return item;
}

struct PictureTest : ::testing::Test {
    std::unique_ptr<Surface> surface = std::make_unique<Surface>();
    static constexpr uint16_t kBackground = 0x1234;
    void SetUp() override { FillSurface(*surface, kBackground); }
    int ChangedPixels() const {
        int n = 0;
        for (int y = 0; y < kSurfaceHeight; ++y)
            for (int x = 0; x < kSurfaceWidth; ++x) n += surface->pixels[y][x] != kBackground;
        return n;
    }
};

TEST_F(PictureTest, FramesAreCutAcrossTheBitmapWithSkips) {
    PictureItem item = MakeItem(100, 50, 30, 50, 5, 0);
    EXPECT_EQ(PatternWidth(item), 30);
    EXPECT_EQ(PatternHeight(item), 50);
    ASSERT_EQ(FrameCount(item), 3);
    const int frameX[3] = {0, 35, 70};
    for (int frame = 0; frame < 3; ++frame) {
        FillSurface(*surface, kBackground);
        DrawPattern(item, *surface, 200, 100, frame);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 30; ++x)
                ASSERT_EQ(surface->pixels[100 + y][200 + x], ColorTo565(ColourAt(frameX[frame] + x, y)))
                    << "frame " << frame << " at " << x << "," << y;
        EXPECT_EQ(ChangedPixels(), 30 * 50) << "frame " << frame;
    }
}

TEST_F(PictureTest, FramesRunRowMajorOverAGrid) {
    // 2 columns x 2 rows of 10x8 frames with gaps of 2 and 3.
    PictureItem item = MakeItem(22, 19, 10, 8, 2, 3);
    ASSERT_EQ(FrameCount(item), 4);
    DrawPattern(item, *surface, 0, 0, 3);  // row 1, column 1
    EXPECT_EQ(surface->pixels[0][0], ColorTo565(ColourAt(12, 11)));
    EXPECT_EQ(surface->pixels[7][9], ColorTo565(ColourAt(21, 18)));
    DrawPattern(item, *surface, 0, 0, 1);  // row 0, column 1
    EXPECT_EQ(surface->pixels[0][0], ColorTo565(ColourAt(12, 0)));
}

TEST_F(PictureTest, FramesOutsideTheGridDrawNothing) {
    PictureItem item = MakeItem(100, 50, 30, 50, 5, 0);
    DrawPattern(item, *surface, 10, 10, -1);
    DrawPattern(item, *surface, 10, 10, 3);
    DrawPattern(item, *surface, 10, 10, 1000);
    StretchDrawPattern(item, *surface, Rect{0, 0, 50, 50}, 3);
    BlendDrawPattern(item, *surface, Rect{0, 0, 50, 50}, -1, 128);
    EXPECT_EQ(ChangedPixels(), 0);
}

TEST_F(PictureTest, ZeroPatternSizeMeansTheWholePicture) {
    PictureItem item = MakeItem(40, 20, 0, -3, 0, 0);
    EXPECT_EQ(PatternWidth(item), 40);
    EXPECT_EQ(PatternHeight(item), 20);
    ASSERT_EQ(FrameCount(item), 1);
    DrawPattern(item, *surface, 5, 6, 0);
    EXPECT_EQ(ChangedPixels(), 40 * 20);
    EXPECT_EQ(surface->pixels[6 + 19][5 + 39], ColorTo565(ColourAt(39, 19)));
    DrawPattern(item, *surface, 5, 6, 1);
    EXPECT_EQ(ChangedPixels(), 40 * 20);
}

TEST_F(PictureTest, PatternLargerThanThePictureHasNoFrames) {
    PictureItem item = MakeItem(20, 20, 30, 20, 0, 0);
    EXPECT_EQ(FrameCount(item), 0);
    DrawPattern(item, *surface, 0, 0, 0);
    EXPECT_EQ(ChangedPixels(), 0);
}

// A 6x4 picture whose border is the colour key and whose inside is opaque.
PictureItem MakeKeyedItem(uint32_t key, uint32_t nearKey) {
    RgbImage image;
    image.width = 6;
    image.height = 4;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool border = x == 0 || y == 0 || x == 5 || y == 3;
            // Alternate the exact key and a colour equal to it only after conversion.
            image.pixels.push_back(border ? ((x + y) % 2 ? key : nearKey) : ColourAt(x, y));
        }
    PictureItem item;
    item.Name = "Keyed";
    item.Transparent = true;
    item.TransparentColor = key;
    PreparePicture(item, image);
    return item;
}

TEST_F(PictureTest, ColourKeyIsComparedAfterConversion) {
    // 0xF903F8 differs from magenta 0xFF00FF but converts to the same 5-6-5 pixel.
    PictureItem item = MakeKeyedItem(0xFF00FF, 0xF903F8);
    DrawPattern(item, *surface, 10, 10, 0);
    EXPECT_EQ(ChangedPixels(), 4 * 2);
    EXPECT_EQ(surface->pixels[10][10], kBackground);
    EXPECT_EQ(surface->pixels[11][11], ColorTo565(ColourAt(1, 1)));
    EXPECT_EQ(surface->pixels[12][14], ColorTo565(ColourAt(4, 2)));

    // With Transparent off the key colour is drawn like any other.
    item.Transparent = false;
    FillSurface(*surface, kBackground);
    DrawPattern(item, *surface, 10, 10, 0);
    EXPECT_EQ(ChangedPixels(), 6 * 4);
    EXPECT_EQ(surface->pixels[10][10], ColorTo565(0xFF00FF));
}

TEST_F(PictureTest, NoneAsKeyColourMakesNothingTransparent) {
    // "clNone" reads as 0x1FFFFFFF: its low bits are white, but white stays drawn.
    PictureItem item = MakeKeyedItem(0x1FFFFFFF, 0xFFFFFF);
    DrawPattern(item, *surface, 10, 10, 0);
    EXPECT_EQ(ChangedPixels(), 6 * 4);
    EXPECT_EQ(surface->pixels[10][11], ColorTo565(0xFFFFFF));
}

TEST_F(PictureTest, ClippingAtEveryEdge) {
    for (bool transparent : {false, true}) {
        PictureItem item = MakeItem(10, 10, 0, 0, 0, 0, transparent, 0x000000);
        struct Case {
            int x, y, visible;
        };
        const Case cases[] = {
            {-3, 20, 7 * 10},   // left
            {795, 20, 5 * 10},  // right
            {20, -4, 10 * 6},   // top
            {20, 597, 10 * 3},  // bottom
            {-6, -7, 4 * 3},    // top-left corner
            {797, 598, 3 * 2},  // bottom-right corner
            {800, 20, 0},      {-10, 20, 0}, {20, 600, 0}, {20, -10, 0},
        };
        for (const Case& c : cases) {
            FillSurface(*surface, kBackground);
            DrawPattern(item, *surface, c.x, c.y, 0);
            EXPECT_EQ(ChangedPixels(), c.visible) << c.x << "," << c.y << " transparent " << transparent;
            if (c.visible == 0) continue;
            // The first visible pixel shows the bitmap pixel that lands there.
            const int sx = std::max(0, c.x), sy = std::max(0, c.y);
            EXPECT_EQ(surface->pixels[sy][sx], ColorTo565(ColourAt(sx - c.x, sy - c.y)))
                << c.x << "," << c.y << " transparent " << transparent;
        }
    }
}

TEST_F(PictureTest, KeyedRunsAreClippedOnTheLeft) {
    PictureItem item = MakeKeyedItem(0x000000, 0x000000);
    DrawPattern(item, *surface, -2, 0, 0);  // columns 2..4 of the inside remain
    EXPECT_EQ(ChangedPixels(), 3 * 2);
    EXPECT_EQ(surface->pixels[1][0], ColorTo565(ColourAt(2, 1)));
    EXPECT_EQ(surface->pixels[2][2], ColorTo565(ColourAt(4, 2)));
}

TEST_F(PictureTest, RaggedKeyedFramesMatchAPixelByPixelDraw) {
    // Two 40x6 frames whose rows hold many short opaque runs.
    RgbImage image;
    image.width = 80;
    image.height = 6;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 80; ++x) image.pixels.push_back((x * 5 + y * 3) % 7 < 3 ? 0x00FF00u : ColourAt(x, y));
    PictureItem item;
    item.Name = "Ragged";
    item.StoredPatternWidth = 40;
    item.TransparentColor = 0x00FF00;
    PreparePicture(item, image);
    ASSERT_EQ(FrameCount(item), 2);
    for (int x : {-30, -17, -1, 0, 3, 761, 777, 790}) {
        FillSurface(*surface, kBackground);
        DrawPattern(item, *surface, x, 300, 1);
        for (int row = 0; row < 6; ++row)
            for (int col = 0; col < 40; ++col) {
                if (x + col < 0 || x + col >= kSurfaceWidth) continue;
                const uint32_t colour = image.pixels[size_t(row * 80 + 40 + col)];
                const uint16_t expected = colour == 0x00FF00u ? kBackground : ColorTo565(colour);
                ASSERT_EQ(surface->pixels[300 + row][x + col], expected) << "x " << x << " col " << col;
            }
        EXPECT_EQ(surface->pixels[299][std::max(x, 0)], kBackground);
        EXPECT_EQ(surface->pixels[306][std::max(x, 0)], kBackground);
    }
}

TEST_F(PictureTest, StretchScalesTheFrameIntoTheRectangle) {
    PictureItem item = MakeItem(4, 2, 2, 2, 0, 0);  // two 2x2 frames
    StretchDrawPattern(item, *surface, Rect{10, 10, 14, 16}, 1);
    EXPECT_EQ(ChangedPixels(), 4 * 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 4; ++x)
            ASSERT_EQ(surface->pixels[10 + y][10 + x], ColorTo565(ColourAt(2 + x / 2, y / 3))) << x << "," << y;

    // Empty or inverted rectangles draw nothing.
    FillSurface(*surface, kBackground);
    StretchDrawPattern(item, *surface, Rect{10, 10, 10, 20}, 0);
    StretchDrawPattern(item, *surface, Rect{10, 10, 5, 20}, 0);
    EXPECT_EQ(ChangedPixels(), 0);
}

TEST_F(PictureTest, StretchIsClippedToTheSurface) {
    PictureItem item = MakeItem(2, 2, 0, 0, 0, 0);
    StretchDrawPattern(item, *surface, Rect{-2, -2, 2, 2}, 0);
    EXPECT_EQ(ChangedPixels(), 4);
    EXPECT_EQ(surface->pixels[0][0], ColorTo565(ColourAt(1, 1)));
    FillSurface(*surface, kBackground);
    StretchDrawPattern(item, *surface, Rect{798, 598, 802, 602}, 0);
    EXPECT_EQ(ChangedPixels(), 4);
    EXPECT_EQ(surface->pixels[599][799], ColorTo565(ColourAt(0, 0)));
    // A full-screen stretch of a tiny picture writes every pixel.
    StretchDrawPattern(item, *surface, Rect{-100, -100, 900, 700}, 0);
    EXPECT_EQ(ChangedPixels(), kSurfaceWidth * kSurfaceHeight);
}

TEST_F(PictureTest, OpaqueBlendEqualsStretch) {
    PictureItem item = MakeKeyedItem(0xFF00FF, 0xFF00FF);
    for (int y = 0; y < kSurfaceHeight; ++y)
        for (int x = 0; x < kSurfaceWidth; ++x) surface->pixels[y][x] = uint16_t(x * 31 + y * 7);
    auto stretched = std::make_unique<Surface>(*surface);
    const Rect rect{-5, 3, 40, 30};
    StretchDrawPattern(item, *stretched, rect, 0);
    for (int alpha : {255, 256, 1000}) {
        auto blended = std::make_unique<Surface>(*surface);
        BlendDrawPattern(item, *blended, rect, 0, alpha);
        EXPECT_EQ(SurfaceHash(*blended), SurfaceHash(*stretched)) << "alpha " << alpha;
    }
    for (int alpha : {0, -1}) {
        auto blended = std::make_unique<Surface>(*surface);
        BlendDrawPattern(item, *blended, rect, 0, alpha);
        EXPECT_EQ(SurfaceHash(*blended), SurfaceHash(*surface)) << "alpha " << alpha;
    }
}

TEST_F(PictureTest, HalfBlendMixesEachChannelHalfway) {
    RgbImage white{1, 1, {0xFFFFFF}};
    PictureItem item;
    item.Name = "White";
    item.Transparent = false;
    PreparePicture(item, white);

    auto channels = [](uint16_t p) { return std::array<int, 3>{p >> 11, (p >> 5) & 0x3F, p & 0x1F}; };
    const uint16_t backgrounds[] = {0x0000, 0xFFFF, ColorTo565(0x804020), ColorTo565(0x20FF80)};
    for (uint16_t background : backgrounds) {
        for (int alpha : {1, 64, 128, 200, 254}) {
            surface->pixels[0][0] = background;
            BlendDrawPattern(item, *surface, Rect{0, 0, 1, 1}, 0, alpha);
            const auto got = channels(surface->pixels[0][0]);
            const auto before = channels(background);
            const int full[3] = {31, 63, 31};
            for (int c = 0; c < 3; ++c) {
                const double exact = before[c] + (full[c] - before[c]) * alpha / 256.0;
                EXPECT_NEAR(got[c], exact, 1.0) << "channel " << c << " alpha " << alpha << " bg " << background;
                EXPECT_GE(got[c], before[c]);
                EXPECT_LE(got[c], full[c]);
            }
        }
    }
    // Halfway from black: a visibly mid grey, not white or black.
    surface->pixels[0][0] = 0;
    BlendDrawPattern(item, *surface, Rect{0, 0, 1, 1}, 0, 128);
    const auto mid = channels(surface->pixels[0][0]);
    EXPECT_EQ(mid[0], 15);
    EXPECT_EQ(mid[1], 31);
    EXPECT_EQ(mid[2], 15);
}

TEST_F(PictureTest, BlendSkipsTheColourKey) {
    PictureItem item = MakeKeyedItem(0xFF00FF, 0xFF00FF);
    BlendDrawPattern(item, *surface, Rect{0, 0, 6, 4}, 0, 128);
    EXPECT_EQ(surface->pixels[0][0], kBackground);
    EXPECT_NE(surface->pixels[1][1], kBackground);
    EXPECT_EQ(ChangedPixels(), 8);
}

TEST(PictureCollectionTest, NamesAreFoundWithoutRegardToCase) {
    PictureCollection collection;
    for (const char* name : {"Raketa", "VYBUCH", "strela", "raketa", "VelkaLod_Vybuch_Dlouhy_Nazev"}) {
        PictureItem item;
        item.Name = name;
        PreparePicture(item, RgbImage{1, 1, {0}});
        collection.items.push_back(item);
    }
    IndexCollection(collection);
    EXPECT_EQ(&FindPicture(collection, "RAKETA"), &collection.items[0]);  // first of a name wins
    EXPECT_EQ(&FindPicture(collection, "vybuch"), &collection.items[1]);
    EXPECT_EQ(&FindPicture(collection, "Strela"), &collection.items[2]);
    EXPECT_EQ(&PictureAt(collection, 3), &collection.items[3]);
    EXPECT_EQ(&FindPicture(collection, "velkalod_vybuch_dlouhy_nazev"), &collection.items[4]);
    EXPECT_EQ(&FindPicture(collection, "STRELA"), &collection.items[2]);
}

TEST(PictureCollectionTest, MissingNamesAndIndexesFailWithAClearMessage) {
    PictureCollection collection;
    PictureItem item;
    item.Name = "Hvezda";
    collection.items.push_back(item);
    IndexCollection(collection);
    try {
        FindPicture(collection, "Planeta");
        FAIL() << "no error for a missing name";
    } catch (const MediaError& e) {
        EXPECT_STREQ(e.what(), "Image 'Planeta' not found");
    }
    EXPECT_THROW(PictureAt(collection, 1), MediaError);
    EXPECT_THROW(PictureAt(collection, -1), MediaError);
}

}  // namespace
