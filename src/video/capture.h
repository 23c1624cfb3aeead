// A headless run turned into a video: after every tick the picture it
// presented and its sound go to the video writer, a progress line on stderr
// tells how far it is, and the file is kept only when the run ends well.
#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "media/headless_platform.h"
#include "shell/runner.h"
#include "video/writer.h"

// The video that --video asks for, as the runner takes it (a TickCaptureMaker).
std::unique_ptr<TickCapture> MakeVideoCapture(const RunOptions& options, HeadlessPlatform& platform,
                                              int64_t totalTicks);

class VideoCapture : public TickCapture {
public:
    // Begins the file (throws naming it, or the missing encoder) for a
    // platform already capturing (StartCapture, before it opened audio).
    // totalTicks: the run's length when known (-1 otherwise).
    VideoCapture(const std::string& path, int scale, bool quiet, HeadlessPlatform& platform, int64_t totalTicks);
    // The tick just run: its presented picture and its 705.6 samples of sound.
    void AfterTick() override;
    // Closes the file and reports its figures; throws naming the file.
    void Finish() override;
    // Drops the partial video (a replay that went its own way, an error);
    // what stood at the file's name is left as it was.
    void Abandon() override;

private:
    std::string path;
    bool quiet;
    bool terminal;  // stderr is a terminal: the progress line is rewritten in place
    HeadlessPlatform& platform;
    int64_t totalTicks;
    VideoWriter writer;
    int16_t sound[2 * kMaxTickSamples];
    std::chrono::steady_clock::time_point started, lastReport;
    bool lineOpen = false;  // a progress line without its newline stands on stderr

    void Report(bool final);
};
