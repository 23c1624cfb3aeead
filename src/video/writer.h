// A WebM video being written: the game's pictures as VP9 (VP8 where the
// installed FFmpeg has no VP9 encoder), 62.5 a second, scaled by a whole
// number with nearest neighbour so pixels stay sharp, and the mixer's sound
// as Opus. The only part of the game that sees FFmpeg.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

struct Surface;

class VideoWriter {
public:
    // Creates the file and opens the encoders. Throws std::runtime_error
    // naming the file when it cannot be written, or naming a missing
    // encoder and the Debian package that provides it.
    VideoWriter(const std::string& path, int scale);
    // A writer that was not finished removes its partial file.
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // The picture of the next 16 ms tick.
    void AddPicture(const Surface& picture);
    // Sound as the mixer makes it: interleaved stereo int16 at 44100 Hz.
    void AddSound(const int16_t* samples, int count);
    // Drains the encoders and closes the file; throws naming the file.
    void Finish();
    // Closes and removes the partial file.
    void Abandon();

    const std::string& VideoCodecName() const;  // "vp9" or "vp8"
    int64_t PicturesWritten() const;

private:
    struct Streams;
    std::unique_ptr<Streams> streams;
};
