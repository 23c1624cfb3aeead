// Writing collection files (".lev"): the mirror of the game's reader. Builds
// the resource header and the "TPF0" object stream of a picture or wave
// collection from items in memory.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace levpack {

enum class PictureData { Dib, Bitmap, Jpeg };

struct PictureEntry {
    std::string name;
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0xBBGGRR, row-major
    int patternWidth = 0, patternHeight = 0;
    int skipWidth = 0, skipHeight = 0;
    bool transparent = true;
    uint32_t transparentColor = 0;
    bool systemMemory = false;
    PictureData data = PictureData::Dib;
    int jpegQuality = 92;
};

struct WaveEntry {
    std::string name;
    bool looped = false;
    int maxPlayingCount = 0;
    int channels = 1;
    int sampleRate = 22050;
    int bitsPerSample = 16;
    std::vector<uint8_t> samples;  // PCM bytes as stored in the "data" chunk
};

std::vector<uint8_t> WritePictureCollection(const std::vector<PictureEntry>& items,
                                            const std::vector<uint8_t>& colorTable = {});
std::vector<uint8_t> WriteWaveCollection(const std::vector<WaveEntry>& items);
// A RIFF wave image of the desc's format and samples.
std::vector<uint8_t> WaveImage(const WaveEntry& wave);
// Writes bytes to a file atomically (temporary file, then rename).
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace levpack
