// Sharp scaling on the CPU, for the present path that writes the window's own
// pixels: the frame enlarged by nearest neighbour to a whole multiple, then
// smoothed down to the picture's rectangle by linear filtering, both steps in
// one pass per axis through tables made when the rectangle changes. Only the
// game rows that changed since the last frame are scaled again.
#pragma once
#include <cstdint>
#include <vector>

// One output pixel along one axis: the game pixel it shows and how much of
// the next game pixel is mixed in (0..255 of 256). Only an output pixel whose
// sample falls on the seam between two enlarged game pixels mixes at all.
struct SharpTap {
    uint16_t index = 0;
    uint16_t weight = 0;
};

// The taps for `out` output pixels showing `in` game pixels enlarged `factor`
// times (factor * in >= out): the linear filter samples the enlarged row at
// the centre of each output pixel.
std::vector<SharpTap> SharpTaps(int in, int out, int factor);

class SharpScaler {
public:
    // Prepares a picture of w x h pixels; allocates, so it is called when the
    // window changes, never per frame.
    void Resize(int w, int h);
    int Width() const { return w_; }
    int Height() const { return h_; }
    // Scales game rows [firstRow, endRow) of an 800 x 600 XRGB frame (rows
    // `framePitch` bytes apart) into the picture at `to` (rows `pitch` bytes
    // apart); the picture rows rewritten are [outFirst, outEnd).
    void Scale(const uint8_t* frame, int framePitch, int firstRow, int endRow, uint8_t* to, int pitch, int& outFirst,
               int& outEnd);

private:
    std::vector<SharpTap> columns_, rows_;
    std::vector<uint8_t> columnWeights_;
    std::vector<uint32_t> left_, right_;  // one game row's pixels under each picture column, and their neighbours
    std::vector<uint32_t> wideRows_;      // every game row already scaled across, w_ pixels each
    int w_ = 0, h_ = 0;
};
