// A wave as stored in a collection file: the RIFF image's format and samples,
// and the same sound converted once to the mixer's 44100 Hz stereo format.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct WaveFormat {
    uint16_t formatTag = 1;  // 1 = PCM
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

struct WaveData {
    WaveFormat format;
    std::vector<uint8_t> samples;  // the "data" chunk as stored
};

// Parses a RIFF wave image; throws MediaError "Wave is invalid" (or a
// clearer message for unsupported formats). An empty image gives an empty wave.
WaveData ParseWaveImage(const uint8_t* data, size_t size);

constexpr int kMixRate = 44100;
// Interleaved stereo float samples at kMixRate, resampled from the wave.
std::vector<float> ConvertToMixFormat(const WaveData& wave);
