// Reading back a video the game wrote, independently of its writer: the
// streams and codecs as libavformat sees them, every picture decoded and
// converted to RGB by libswscale, the sound decoded to mono samples; and
// PNG files read and written for comparing pictures with screenshots.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct VideoProbe {
    std::string videoCodec, audioCodec;  // FFmpeg's codec names ("vp9", "opus")
    int width = 0, height = 0;
    int frameRateNum = 0, frameRateDen = 1;
    int64_t pictures = 0;
    double picturesStart = 0;  // seconds: the first picture's time
    double picturesEnd = 0;    // seconds: the last picture's time plus its duration
    double fileSeconds = 0;    // the duration the container states
    int sampleRate = 0;
    double soundStart = 0;     // seconds: the time of the first sample
    std::vector<float> sound;  // the mean of both channels, -1..1
};

// An RGB picture, 3 bytes a pixel, rows top to bottom.
struct RgbPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
};

// Decodes the whole file; onPicture (may be empty) sees every picture in
// order with its index. Throws std::runtime_error naming the file.
VideoProbe ProbeVideo(const std::string& path,
                      const std::function<void(int64_t index, const RgbPicture&)>& onPicture = {});

// Throws std::runtime_error naming the file.
RgbPicture ReadPng(const std::string& path);
void WritePng(const RgbPicture& picture, const std::string& path);

// The mean absolute difference of two pictures' channel values (0..255).
double MeanAbsoluteDifference(const RgbPicture& a, const RgbPicture& b);
// Root mean square of sound samples [from, to).
double Rms(const std::vector<float>& sound, size_t from, size_t to);
