// The window's picture at the screen sizes players have, through both present
// paths (the window's own pixels and SDL's renderer, here its software one on
// SDL's dummy video driver): by default it fills the screen's height, centred
// between black bars, and a high-contrast edge of a known frame stays sharp,
// at most one screen pixel between its two colours; whole-number scaling stays
// at whole factors.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "media/sdl_view.h"
#include "media/surface.h"

namespace {

constexpr uint16_t kWhite = 0xFFFF;

// Black, with a white block and a white checkerboard of single game pixels
// (every pixel an edge).
std::unique_ptr<Surface> KnownFrame() {
    auto frame = std::make_unique<Surface>();
    for (int y = 100; y < 300; ++y)
        for (int x = 150; x < 451; ++x) frame->pixels[y][x] = kWhite;
    for (int y = 400; y < 440; ++y)
        for (int x = 500; x < 540; ++x) frame->pixels[y][x] = (x + y) % 2 ? kWhite : 0;
    return frame;
}

// Full black or full white within the renderers' rounding.
enum class Tone { Black, White, Grey };

struct Shown {
    SDL_Surface* screen;
    uint32_t At(int x, int y) const {
        return *reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(screen->pixels) +
                                                  size_t(y) * screen->pitch + size_t(x) * 4) &
               0xFFFFFF;
    }
    Tone ToneAt(int x, int y) const {
        const uint32_t p = At(x, y);
        const int r = int(p >> 16), g = int(p >> 8 & 0xFF), b = int(p & 0xFF);
        if (std::max({r, g, b}) <= 8) return Tone::Black;
        if (std::min({r, g, b}) >= 247) return Tone::White;
        return Tone::Grey;
    }
    bool Black(int x, int y) const { return ToneAt(x, y) == Tone::Black; }
    bool White(int x, int y) const { return ToneAt(x, y) == Tone::White; }
};

// Walks n pixels of the window from (x, y) in steps of (dx, dy) and returns
// how many are neither black nor white: the soft pixels of the edges crossed.
// No run of them is longer than maxRun; edges counts the changes of tone.
int GreysAlong(const Shown& shown, int x, int y, int dx, int dy, int n, int maxRun, int& edges) {
    int greys = 0, run = 0;
    edges = 0;
    Tone last = shown.ToneAt(x, y);
    for (int i = 1; i < n; ++i) {
        const Tone tone = shown.ToneAt(x + i * dx, y + i * dy);
        if (tone == Tone::Grey) {
            ++greys;
            ++run;
            continue;
        }
        if (tone != last) ++edges;
        EXPECT_LE(run, maxRun) << "soft for " << run << " pixels at " << x + i * dx << "," << y + i * dy;
        run = 0;
        last = tone;
    }
    return greys;
}

class SdlViewSizes : public testing::TestWithParam<PresentPath> {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    }
    void TearDown() override { SDL_Quit(); }

    // The known frame presented in a window of w x h pixels.
    Shown Present(SdlView& view, int w, int h) {
        SDL_SetWindowSize(view.Window(), w, h);
        SDL_WindowEvent resized{};
        resized.event = SDL_WINDOWEVENT_SIZE_CHANGED;
        view.WindowEvent(resized);
        view.Present(*KnownFrame());
        return Shown{SDL_GetWindowSurface(view.Window())};
    }
};

TEST_P(SdlViewSizes, PictureFillsTheHeightCentredWithSharpEdges) {
    SdlOptions options;
    options.fullScreen = false;
    options.present = GetParam();
    SdlView view(options);
    struct Size {
        int w, h, pictureX, pictureW;
    };
    for (const Size size : {Size{1920, 1080, 240, 1440}, Size{1280, 720, 160, 960}}) {
        SCOPED_TRACE(std::to_string(size.w) + "x" + std::to_string(size.h) + " " + view.PathName());
        const Shown shown = Present(view, size.w, size.h);
        ASSERT_TRUE(shown.screen);
        ASSERT_EQ(shown.screen->w, size.w);
        ASSERT_EQ(shown.screen->format->BytesPerPixel, 4);
        // Black bars left and right, the picture from the top row to the
        // bottom one: the block's white reaches its scaled place.
        const double scale = double(size.h) / kSurfaceHeight;
        for (int y = 0; y < size.h; y += 7) {
            EXPECT_TRUE(shown.Black(size.pictureX - 1, y) && shown.Black(size.pictureX + size.pictureW, y)) << y;
            EXPECT_TRUE(shown.Black(0, y) && shown.Black(size.w - 1, y));
        }
        const int blockX = size.pictureX + int(300 * scale), blockTop = int(101 * scale),
                  blockBottom = int(298 * scale);
        EXPECT_TRUE(shown.White(blockX, blockTop) && shown.White(blockX, blockBottom));
        EXPECT_TRUE(shown.Black(size.pictureX + int(149 * scale), int(200 * scale)));
        // Edge softness: the block's left and right edges and its top and
        // bottom are each at most one screen pixel soft.
        int edges = 0;
        const int row = int(200 * scale), column = size.pictureX + int(300 * scale);
        EXPECT_LE(GreysAlong(shown, size.pictureX, row, 1, 0, size.pictureW, 1, edges), 2);
        EXPECT_EQ(edges, 2);
        EXPECT_LE(GreysAlong(shown, column, 0, 0, 1, size.h, 1, edges), 2);
        EXPECT_EQ(edges, 2);
        // The checkerboard, every game pixel an edge: at most one soft pixel
        // per edge (two in a row only for a game pixel between two of them),
        // and every black and white pixel still tells from its neighbours.
        const int checkerY = int(420.5 * scale), checkerX = size.pictureX + int(500 * scale);
        const int greys = GreysAlong(shown, checkerX, checkerY, 1, 0, int(40 * scale), 2, edges);
        EXPECT_LE(greys, 40);
        EXPECT_GE(edges, 20) << "the checkerboard's pixels stay apart";
    }
}

TEST_P(SdlViewSizes, WholeNumberScalingKeepsWholeFactors) {
    SdlOptions options;
    options.fullScreen = false;
    options.present = GetParam();
    options.scaling = ScaleMode::Integer;
    SdlView view(options);
    const Shown shown = Present(view, 1920, 1080);
    ASSERT_TRUE(shown.screen);
    // 1 x: 800 x 600 at (560, 240), every pixel full black or white.
    EXPECT_TRUE(shown.Black(559, 400) && shown.Black(560 + 800, 400) && shown.Black(700, 239));
    EXPECT_TRUE(shown.White(560 + 200, 240 + 200));
    int edges = 0;
    EXPECT_EQ(GreysAlong(shown, 560, 240 + 420, 1, 0, 800, 0, edges), 0);
    EXPECT_EQ(edges, 40);  // the checkerboard's 40 pixels, each apart
}

INSTANTIATE_TEST_SUITE_P(BothPaths, SdlViewSizes, testing::Values(PresentPath::Surface, PresentPath::Gpu),
                         [](const testing::TestParamInfo<PresentPath>& info) {
                             return info.param == PresentPath::Surface ? "WindowPixels" : "Renderer";
                         });

}  // namespace
