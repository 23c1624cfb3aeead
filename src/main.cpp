// Program entry of Kavrix: reads the options and runs the game in a window
// (full screen by default) or headless; the exit status reports failures.
// Whatever escapes the run is told as a message with a failing status, never
// an abort.
#include <exception>
#include <iostream>
#include <string>

#include "shell/options.h"
#include "shell/runner.h"
#ifdef KAVRIX_WEB
#include <emscripten.h>

#include <memory>

#include "media/frame_loop.h"

namespace {

std::unique_ptr<GameRun> pageRun;  // main() has returned by the time the page calls back

// On the page the browser's animation frames drive the ticks: main returns to
// the browser and the run goes on from there; its status ends the program.
int RunOnPage(const RunOptions& options) {
    pageRun = std::make_unique<GameRun>(options);
    if (const int status = pageRun->Open(); status != 0) {
        pageRun->Close();
        return status;
    }
    RunFrameLoop([] { return pageRun->Tick(); }, [] { return pageRun->Close(); });
    return 0;
}

}  // namespace

// The page calls this when its tab is hidden or closed (web/page.js).
extern "C" EMSCRIPTEN_KEEPALIVE void kavrix_page_leaving() {
    if (pageRun) pageRun->SaveSettingsBeforeLeaving();
}
#elif !defined(KAVRIX_WINDOWS)
#include "video/capture.h"
#endif

int main(int argc, char** argv) {
    try {
        RunOptions options;
        std::string error;
        if (!ParseOptions(argc, argv, options, error)) {
            std::cerr << "kavrix: " << error << "\n"
                      << UsageText() << "Try 'kavrix --help' for what each option does.\n";
            return 2;
        }
        if (options.help) {
            std::cout << UsageText() << "\n" << HelpText();
            return 0;
        }
        if (options.version) {
            std::cout << VersionText();
            return 0;
        }
#ifdef KAVRIX_WEB
        // The browser build makes no videos: it has no FFmpeg.
        if (!options.headless) return RunOnPage(options);
        return RunKavrix(options);
#elif defined(KAVRIX_WINDOWS)
        // The Windows build makes no videos: it has no FFmpeg.
        return RunKavrix(options);
#else
        return RunKavrix(options, nullptr, MakeVideoCapture);
#endif
    } catch (const std::exception& e) {
        std::cerr << "Kavrix: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "Kavrix: an unexpected error ended the game\n";
    }
    return 1;
}
