// The picture's rectangle in the output and the pointer's way back to game
// pixels, in integer arithmetic so every mode maps the same way.
#include "media/view_geometry.h"

#include <algorithm>
#include <cstdint>

#include "media/surface.h"

ViewRect PictureRect(int outW, int outH, bool integerScale) {
    ViewRect r;
    if (outW <= 0 || outH <= 0) return r;
    const int factor = std::min(outW / kSurfaceWidth, outH / kSurfaceHeight);
    if (integerScale && factor >= 1) {
        r.w = kSurfaceWidth * factor;
        r.h = kSurfaceHeight * factor;
    } else if (int64_t(outW) * kSurfaceHeight <= int64_t(outH) * kSurfaceWidth) {
        r.w = outW;  // narrower than 4:3: bars above and below
        r.h = int(int64_t(outW) * kSurfaceHeight / kSurfaceWidth);
    } else {
        r.h = outH;  // wider: bars left and right
        r.w = int(int64_t(outH) * kSurfaceWidth / kSurfaceHeight);
    }
    r.x = (outW - r.w) / 2;
    r.y = (outH - r.h) / 2;
    return r;
}

int SharpUpscaleFactor(const ViewRect& picture) {
    const int across = (picture.w + kSurfaceWidth - 1) / kSurfaceWidth;
    const int down = (picture.h + kSurfaceHeight - 1) / kSurfaceHeight;
    return std::max({1, across, down});
}

void GamePixelAt(int x, int y, int winW, int winH, int outW, int outH, const ViewRect& picture, int& gameX,
                 int& gameY) {
    if (winW <= 0 || winH <= 0 || picture.w <= 0 || picture.h <= 0) {
        gameX = gameY = 0;
        return;
    }
    // The centre of the point, in output pixels (twice over, to stay whole),
    // then relative to the picture and scaled down to the game's pixels.
    const int64_t px2 = (2 * int64_t(x) + 1) * outW / winW - 2 * int64_t(picture.x);
    const int64_t py2 = (2 * int64_t(y) + 1) * outH / winH - 2 * int64_t(picture.y);
    const int64_t gx = px2 >= 0 ? px2 * kSurfaceWidth / (2 * int64_t(picture.w)) : -1;
    const int64_t gy = py2 >= 0 ? py2 * kSurfaceHeight / (2 * int64_t(picture.h)) : -1;
    gameX = int(std::clamp<int64_t>(gx, 0, kSurfaceWidth - 1));
    gameY = int(std::clamp<int64_t>(gy, 0, kSurfaceHeight - 1));
}

int WindowScaleThatFits(int requested, int desktopW, int desktopH) {
    const int fits = std::min(desktopW / kSurfaceWidth, desktopH / kSurfaceHeight);
    return std::max(1, std::min(requested, fits));
}
