// Command-line options of the kavrix program: window, full screen or
// headless, scaling, filter and present path, the language, data and save directories,
// frame count and seed, input scripts, screenshots, state dumps, a direct new
// game, recording or replaying a game, and a video of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ScreenshotRequest {
    int64_t frame = 0;  // taken after this frame (0 = the first frame) has run
    std::string file;
};

struct RunOptions {
    bool window = false;      // this run in a window, whatever kavrix.conf says
    bool fullScreen = false;  // this run full screen, likewise
    bool headless = false;
    int scale = 0;        // the window as a multiple of 800 x 600; 0: not given
    std::string scaling;  // "sharp", "integer" or "linear" (remembered); empty: not given
    // The older spellings of the scaling, kept working: --integer-scale on is
    // integer, --filter linear is linear, the rest sharp (see WindowOptions).
    std::string filter;     // "nearest" or "linear"; empty: not given
    int integerScale = -1;  // 1 on, 0 off; -1: not given
    std::string renderer;   // "auto", "gpu" or "surface"; empty: $KAVRIX_RENDERER or auto
    std::string language;   // "cs" or "en" for this run; empty: kavrix.conf's, or Czech
    std::string dataDir;    // empty: looked for (see FindDataFolder)
    std::string saveDir;    // empty: the per-user data folder, or the working directory headless
    int64_t frames = -1;    // -1: until the game quits (headless: required)
    int64_t seed = -1;      // -1: from the clock (or the input script)
    std::string inputFile;
    std::vector<ScreenshotRequest> screenshots;
    std::string dumpStateFile;
    bool newGame = false;
    std::string newGameName;
    int difficulty = 2;
    int level = 1;
    bool difficultyGiven = false, levelGiven = false;
    std::string recordFile;
    std::string replayFile;  // a path, or the name of a kept replay
    // With --replay: play it only when it begins as a new game at level 1,
    // and write what a score board lists of it here (JSON).
    std::string verifyNewGameFile;
    bool keepReplays = false;  // headless: keep the games' replays as the windowed game does
    bool listReplays = false;
    std::string submitReplay;  // a kept replay (path or name) to send to a score board
    std::string boardUrl;      // the board; empty: kavrix.conf's board=
    std::string videoFile;     // a WebM of the run (headless)
    int videoScale = 1;
    bool quiet = false;  // no progress line
    bool help = false;
    bool version = false;
};

// Parses argv; on a bad option returns false with a message naming it.
bool ParseOptions(int argc, const char* const* argv, RunOptions& options, std::string& error);
// The synopsis, printed with --help and after an option error.
std::string UsageText();
// What --help prints after the synopsis: one line per option with what it
// does, where data and saves are found, the exit statuses.
std::string HelpText();
// What --version prints: the name, the version and the licence.
const char* VersionText();
// The program's version ("1.0.0").
const char* ProgramVersion();
