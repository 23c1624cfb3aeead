// video_frames: pictures of a video the game wrote, as PNG files, decoded by
// the tests' own reader, for looking at a render by eye.
// usage: video_frames FILE.webm OUTDIR [EVERY]   (every EVERY-th picture and the last; default 625 = 10 s)
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "video_probe.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: video_frames FILE.webm OUTDIR [EVERY]\n");
        return 2;
    }
    const long every = argc > 3 ? std::atol(argv[3]) : 625;
    const std::string dir = argv[2];
    try {
        RgbPicture last;
        int64_t lastIndex = -1;
        auto name = [&](int64_t index) {
            char file[64];
            std::snprintf(file, sizeof file, "/frame%05lld.png", (long long)index);
            return dir + file;
        };
        const VideoProbe probe = ProbeVideo(argv[1], [&](int64_t index, const RgbPicture& picture) {
            if (every > 0 && index % every == 0) WritePng(picture, name(index));
            last = picture;
            lastIndex = index;
        });
        if (lastIndex >= 0) WritePng(last, name(lastIndex));
        std::printf("%s %dx%d %d/%d fps, %lld pictures ending at %.3f s; %s %d Hz, %zu samples (%.3f s); file %.3f s\n",
                    probe.videoCodec.c_str(), probe.width, probe.height, probe.frameRateNum, probe.frameRateDen,
                    (long long)probe.pictures, probe.picturesEnd, probe.audioCodec.c_str(), probe.sampleRate,
                    probe.sound.size(), probe.sampleRate ? double(probe.sound.size()) / probe.sampleRate : 0.0,
                    probe.fileSeconds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "video_frames: %s\n", e.what());
        return 1;
    }
    return 0;
}
