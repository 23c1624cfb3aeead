// Where the 800 x 600 picture sits in a window or screen of any size: kept in
// its aspect with black bars, scaled by a whole factor when pixel-perfect
// scaling is on; the whole multiple that sharp scaling enlarges to first; and
// the way back from a pointer position in the window to the game pixel under
// it. Pure arithmetic, shared by every present path.
#pragma once

struct ViewRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// The picture's place in an output of outW x outH pixels. With integerScale
// the largest whole factor that fits (at least 1, so an output smaller than
// the picture crops nothing but shrinks it to fit instead); otherwise the
// largest size of the picture's aspect that fits. Centred either way.
ViewRect PictureRect(int outW, int outH, bool integerScale);

// Sharp scaling first enlarges the picture by this whole factor (every game
// pixel a k x k square), the smallest whole multiple of 800 x 600 that covers
// the picture's rectangle, then smooths that down to the rectangle: edges stay
// within one screen pixel and no game pixel is doubled unevenly. At least 1.
int SharpUpscaleFactor(const ViewRect& picture);

// The game pixel under a pointer at (x, y) in window coordinates (points),
// for a window of winW x winH points whose output has outW x outH pixels
// (more pixels than points on a high-DPI screen). Points on the bars land on
// the nearest edge pixel of the picture.
void GamePixelAt(int x, int y, int winW, int winH, int outW, int outH, const ViewRect& picture, int& gameX, int& gameY);

// The window size for --scale N: the largest multiple of 800 x 600 up to N
// that fits inside the usable desktop (at least 1).
int WindowScaleThatFits(int requested, int desktopW, int desktopH);
