// The game's RGB 5-6-5 picture as the video's YUV 4:2:0 (BT.601 studio
// range), widened by a whole number with nearest neighbour: each pixel
// becomes scale x scale pixels of the same luma, and each chroma sample is
// the mean of the 2 x 2 pixels it stands for, so with an even scale every
// pixel keeps its own colour exactly.
#pragma once
#include <cstdint>
#include <vector>

struct Surface;

class PictureConverter {
public:
    explicit PictureConverter(int scale);
    int Width() const { return width; }
    int Height() const { return height; }
    // Fills the three planes (luma Width x Height, chroma half that each way).
    void Convert(const Surface& picture, uint8_t* y, int yStride, uint8_t* u, int uStride, uint8_t* v, int vStride);

private:
    int scale, width, height;
    std::vector<uint8_t> lumaOf;         // by 5-6-5 colour
    std::vector<uint32_t> chromaOf;      // by 5-6-5 colour: U and V packed (video_picture.cpp)
    std::vector<uint16_t> sourceColumn;  // the picture's column of each video column
    std::vector<uint32_t> rowChroma;     // a chroma row's two pixel rows summed, by video column
};
