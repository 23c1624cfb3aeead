// Feeding the video writer tick by tick, and the progress line: ticks done
// of the run's total, speed as a multiple of real time (a tick is 16 ms of
// game time), and the time left. On a terminal the line is rewritten in
// place; in a log a line is written every few seconds.
#include "video/capture.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

std::string MinutesAndSeconds(double seconds) {
    const long whole = long(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

std::unique_ptr<TickCapture> MakeVideoCapture(const RunOptions& options, HeadlessPlatform& platform,
                                              int64_t totalTicks) {
    return std::make_unique<VideoCapture>(options.videoFile, options.videoScale, options.quiet, platform, totalTicks);
}

VideoCapture::VideoCapture(const std::string& path_, int scale, bool quiet_, HeadlessPlatform& platform_,
                           int64_t totalTicks_)
    : path(path_),
      quiet(quiet_),
      terminal(isatty(STDERR_FILENO) != 0),
      platform(platform_),
      totalTicks(totalTicks_),
      writer(path_, scale) {
    started = lastReport = Clock::now();
}

void VideoCapture::AfterTick() {
    // The picture on screen after the tick: a tick that presented nothing
    // (the frame-rate key) leaves the last one standing.
    writer.AddPicture(platform.PresentedPicture());
    const int samples = platform.RenderTickAudio(sound);
    writer.AddSound(sound, samples);
    if (quiet) return;
    const Clock::time_point now = Clock::now();
    const double interval = terminal ? 0.25 : 5.0;
    if (Seconds(now - lastReport) >= interval) {
        lastReport = now;
        Report(false);
    }
}

void VideoCapture::Report(bool final) {
    const int64_t done = writer.PicturesWritten();
    const double elapsed = Seconds(Clock::now() - started);
    const double gameSeconds = double(done) * kTickMilliseconds / 1000.0;
    const double speed = elapsed > 0 ? gameSeconds / elapsed : 0.0;
    char text[512];
    if (final) {
        std::error_code ec;
        const double megabytes = double(std::filesystem::file_size(path, ec)) / 1e6;
        std::string codec = writer.VideoCodecName();
        for (char& c : codec) c = char(std::toupper(static_cast<unsigned char>(c)));
        std::snprintf(text, sizeof text,
                      "Kavrix: video '%s': %lld frames (%s, %s and Opus, %.1f MB) in %.1f s, %.1fx real time",
                      path.c_str(), (long long)done, MinutesAndSeconds(gameSeconds).c_str(), codec.c_str(),
                      ec ? 0.0 : megabytes, elapsed, speed);
    } else if (totalTicks > 0) {
        const double left = speed > 0 ? double(totalTicks - done) * kTickMilliseconds / 1000.0 / speed : 0.0;
        std::snprintf(text, sizeof text, "Kavrix: video '%s': frame %lld of %lld (%d%%), %.1fx real time, %s left",
                      path.c_str(), (long long)done, (long long)totalTicks, int(100 * done / totalTicks), speed,
                      MinutesAndSeconds(left).c_str());
    } else {
        std::snprintf(text, sizeof text, "Kavrix: video '%s': frame %lld, %.1fx real time", path.c_str(),
                      (long long)done, speed);
    }
    // On a terminal the line is rewritten in place (cleared to its end).
    std::fprintf(stderr, terminal ? "\r%s\x1b[K" : "%s\n", text);
    lineOpen = terminal;
    if (final && lineOpen) std::fputc('\n', stderr);
    if (final) lineOpen = false;
    std::fflush(stderr);
}

void VideoCapture::Finish() {
    writer.Finish();
    if (!quiet) Report(true);
}

void VideoCapture::Abandon() {
    // A message that follows starts on a line of its own.
    if (lineOpen) std::fputc('\n', stderr);
    lineOpen = false;
    writer.Abandon();
}
