// The FFmpeg side of the video writer, shared by its two tracks: error texts
// that name the file or the missing encoder, the encode-and-write step, and
// the sound track (the mixer's 44100 Hz resampled to Opus's 48000 Hz).
// Included only by the video writer's own files.
#pragma once
#include <cstdint>
#include <string>

#include "video/library.h"

namespace video {

std::string ErrorText(int code);
// Throws std::runtime_error "video 'PATH': WHAT (FFmpeg's reason)".
[[noreturn]] void Fail(const std::string& path, const std::string& what, int code = 0);
// Throws naming the encoder the installed FFmpeg lacks and the package that brings it.
[[noreturn]] void MissingEncoder(const std::string& path, const std::string& encoders);

// Hands a frame (null: the end) to the encoder and writes every packet it
// gives back into the file, its timestamps moved to the stream's time base.
void Encode(AVFormatContext* file, AVCodecContext* codec, AVStream* stream, const AVFrame* frame, AVPacket* packet,
            const std::string& path);

// The Opus track: sound arrives at the mixer's rate, is resampled, queued
// and encoded in the encoder's frames of 20 ms; the last frame may be shorter.
class SoundTrack {
public:
    // Adds the stream to the file and opens the encoder.
    SoundTrack(AVFormatContext* file, const std::string& path);
    ~SoundTrack();
    SoundTrack(const SoundTrack&) = delete;
    SoundTrack& operator=(const SoundTrack&) = delete;
    // Interleaved stereo int16 at the mixer's rate.
    void Add(const int16_t* samples, int count);
    // Encodes what is left and drains the encoder.
    void Finish();

private:
    AVFormatContext* file;
    std::string path;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    SwrContext* resampler = nullptr;
    AVAudioFifo* queue = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    uint8_t** resampled = nullptr;  // the resampler's output, one plane per channel when planar
    int resampledCapacity = 0;
    int64_t nextPts = 0;
    bool smallLastFrame = false;

    void Queue(const uint8_t* const* input, int count);
    void EncodeQueued(bool last);
};

}  // namespace video
