// Where the picture sits in windows and screens of several sizes, whole-number
// and free scaling, and the pointer landing on the same game pixel in every
// mode (high-DPI outputs with more pixels than points included); the 5-6-5
// widening of the window paths against the screenshots' for every value.
#include <gtest/gtest.h>

#include <vector>

#include "media/pixel_convert.h"
#include "media/surface.h"
#include "media/view_geometry.h"

namespace {

void ExpectRect(const ViewRect& r, int x, int y, int w, int h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.w, w);
    EXPECT_EQ(r.h, h);
}

TEST(ViewGeometry, PictureKeepsItsAspectWithBarsWholeOrFree) {
    ExpectRect(PictureRect(800, 600, true), 0, 0, 800, 600);
    ExpectRect(PictureRect(1920, 1080, true), 560, 240, 800, 600);   // factor 1, the rest bars
    ExpectRect(PictureRect(1920, 1080, false), 240, 0, 1440, 1080);  // bars left and right
    ExpectRect(PictureRect(1280, 720, true), 240, 60, 800, 600);
    ExpectRect(PictureRect(1280, 720, false), 160, 0, 960, 720);
    ExpectRect(PictureRect(2560, 1440, true), 480, 120, 1600, 1200);
    ExpectRect(PictureRect(3840, 2160, true), 720, 180, 2400, 1800);
    ExpectRect(PictureRect(1000, 1200, false), 0, 225, 1000, 750);  // bars above and below
    // Smaller than the picture: whole factors cannot fit, so it shrinks to fit.
    ExpectRect(PictureRect(640, 400, true), 53, 0, 533, 400);
    ExpectRect(PictureRect(0, 0, true), 0, 0, 0, 0);
}

// The point at the centre of game pixel (gx, gy) as the window shows it.
void WindowPointOf(int gx, int gy, int winW, int winH, int outW, int outH, const ViewRect& r, int& x, int& y) {
    const double px = r.x + (gx + 0.5) * r.w / kSurfaceWidth, py = r.y + (gy + 0.5) * r.h / kSurfaceHeight;
    x = int(px * winW / outW);
    y = int(py * winH / outH);
}

TEST(ViewGeometry, ThePointerLandsOnTheGamePixelUnderItInEveryMode) {
    struct Mode {
        int winW, winH, outW, outH;
        bool integer;
    };
    const Mode modes[] = {
        {800, 600, 800, 600, true},     {1280, 720, 1280, 720, true},    {1280, 720, 1280, 720, false},
        {1920, 1080, 1920, 1080, true}, {1920, 1080, 1920, 1080, false}, {1600, 1200, 1600, 1200, true},
        {1024, 768, 1024, 768, false},  {640, 480, 640, 480, true},      {1700, 1000, 1700, 1000, false},
        {1280, 720, 2560, 1440, true},  {1280, 720, 2560, 1440, false},  // high DPI: two pixels a point
        {1920, 1080, 3840, 2160, true},
    };
    for (const Mode& m : modes) {
        const ViewRect r = PictureRect(m.outW, m.outH, m.integer);
        // Only where a game pixel covers at least one whole point can a
        // pointer hit it exactly; shrunken pictures are checked to within one.
        const bool exact = r.w * m.winW >= kSurfaceWidth * m.outW;
        int misses = 0;
        for (int gy = 0; gy < kSurfaceHeight; gy += 7) {
            for (int gx = 0; gx < kSurfaceWidth; gx += 5) {
                int x = 0, y = 0, hx = 0, hy = 0;
                WindowPointOf(gx, gy, m.winW, m.winH, m.outW, m.outH, r, x, y);
                GamePixelAt(x, y, m.winW, m.winH, m.outW, m.outH, r, hx, hy);
                const int off = std::max(std::abs(hx - gx), std::abs(hy - gy));
                if (exact ? off != 0 : off > 1) ++misses;
            }
        }
        EXPECT_EQ(misses, 0) << m.winW << "x" << m.winH << " output " << m.outW << "x" << m.outH
                             << (m.integer ? " whole" : " free");
    }
    // On the bars the pointer stays on the picture's nearest edge.
    const ViewRect wide = PictureRect(1920, 1080, true);
    int gx = -1, gy = -1;
    GamePixelAt(10, 10, 1920, 1080, 1920, 1080, wide, gx, gy);
    EXPECT_EQ(gx, 0);
    EXPECT_EQ(gy, 0);
    GamePixelAt(1919, 1079, 1920, 1080, 1920, 1080, wide, gx, gy);
    EXPECT_EQ(gx, kSurfaceWidth - 1);
    EXPECT_EQ(gy, kSurfaceHeight - 1);
}

TEST(ViewGeometry, ScaleOptionFitsTheDesktop) {
    EXPECT_EQ(WindowScaleThatFits(2, 1920, 1080), 1);  // 1600 x 1200 would not fit
    EXPECT_EQ(WindowScaleThatFits(2, 2560, 1400), 2);
    EXPECT_EQ(WindowScaleThatFits(5, 3840, 2100), 3);
    EXPECT_EQ(WindowScaleThatFits(3, 640, 480), 1);  // never below one
}

TEST(PixelConvert, EveryValueWidensAsTheScreenshotsDo) {
    std::vector<uint16_t> all(65536 + 5);
    for (size_t i = 0; i < all.size(); ++i) all[i] = uint16_t(i * 40503u);  // every value, shuffled
    for (int i = 0; i < 65536; ++i) all[size_t(i)] = uint16_t(i);
    std::vector<uint32_t> out(all.size());
    // An odd count and an odd start, so the eight-at-a-time part and its tail both run.
    Convert565ToXrgb(all.data() + 1, out.data() + 1, int(all.size()) - 1);
    Convert565ToXrgb(all.data(), out.data(), 1);
    for (size_t i = 0; i < all.size(); ++i) {
        const uint16_t p = all[i];
        const uint32_t r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
        const uint32_t expected = ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
        ASSERT_EQ(out[i], expected) << "pixel " << i << " value " << p;
    }
    EXPECT_EQ(XrgbFrom565(0xFFFF), 0xFFFFFFu);
    EXPECT_EQ(XrgbFrom565(0xF800), 0xFF0000u);
}

}  // namespace
