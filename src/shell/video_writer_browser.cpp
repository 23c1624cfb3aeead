// The video writer of the browser build, which has no FFmpeg: asking for a
// video (--video) ends the run with this message before anything is written.
// Everything else the command line offers works as on the desktop.
#include <stdexcept>

#include "shell/video_writer.h"

struct VideoWriter::Streams {};

VideoWriter::VideoWriter(const std::string& path, int scale) {
    throw std::runtime_error("cannot make the video '" + path +
                             "': videos are made by the desktop game only (this build has no FFmpeg)");
}

VideoWriter::~VideoWriter() = default;
void VideoWriter::AddPicture(const Surface&) {}
void VideoWriter::AddSound(const int16_t*, int) {}
void VideoWriter::Finish() {}
void VideoWriter::Abandon() {}

const std::string& VideoWriter::VideoCodecName() const {
    static const std::string none = "none";
    return none;
}

int64_t VideoWriter::PicturesWritten() const { return 0; }
