// A rectangle as the game hands it to blits and the canvas: right and bottom
// exclusive.
#pragma once

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};
