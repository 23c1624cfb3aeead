// Picture collections (Rakety, Obrazky, Level, MenuObr): named pictures cut
// into numbered frames, drawn with a colour key, stretched or blended onto
// the back surface. Pixels are converted to 5-6-5 once, when loaded.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "media/rect.h"
#include "media/surface.h"

// A decoded picture in 0xBBGGRR, before conversion to the display format.
struct RgbImage {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // row-major, 0xBBGGRR
};

struct PictureItem {
    std::string Name;
    int StoredPatternWidth = 0;  // as in the file; 0 or less = whole picture
    int StoredPatternHeight = 0;
    int SkipWidth = 0, SkipHeight = 0;
    bool SystemMemory = false;
    bool Transparent = true;
    uint32_t TransparentColor = 0;  // 0xBBGGRR (system colours already mapped)

    // Filled by PreparePicture from the decoded picture.
    int width = 0, height = 0;
    std::vector<uint16_t> pixels;  // 5-6-5, row-major
    uint16_t key565 = 0;
    int columns = 0, rows = 0;  // frame grid
    // Opaque runs of every frame row, so keyed blits copy spans instead of
    // testing each pixel: runs[runIndex[frame * h + row] .. runIndex[... + 1])
    // hold (x within the frame, length) pairs.
    std::vector<uint32_t> runIndex;
    std::vector<uint16_t> runs;
};

struct PictureCollection {
    std::vector<PictureItem> items;
    std::unordered_map<std::string, int> byLowerName;  // first item of a name wins
};

// Converts the picture to 5-6-5, computes the key and the frame grid.
void PreparePicture(PictureItem& item, const RgbImage& image);
// Rebuilds the name hash after items were added or replaced.
void IndexCollection(PictureCollection& collection);

// Throws MediaError "Image '<name>' not found".
const PictureItem& FindPicture(const PictureCollection& collection, std::string_view name);
// Throws MediaError when the index is outside the collection.
const PictureItem& PictureAt(const PictureCollection& collection, int index);

int PatternWidth(const PictureItem& item);  // as read: the whole width when stored <= 0
int PatternHeight(const PictureItem& item);
int FrameCount(const PictureItem& item);

// Frame numbers outside 0..FrameCount-1 draw nothing.
void DrawPattern(const PictureItem& item, Surface& surface, int x, int y, int frame);
void StretchDrawPattern(const PictureItem& item, Surface& surface, const Rect& rect, int frame);
// alpha <= 0 nothing; 1..254 old + (new - old) * alpha / 256 per channel; >= 255 opaque.
void BlendDrawPattern(const PictureItem& item, Surface& surface, const Rect& rect, int frame, int alpha);
