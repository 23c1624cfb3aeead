// Parsing the command line of the kavrix program into RunOptions; every
// malformed value is reported with the option it belongs to.
#include "shell/options.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "shell/input_script.h"

// The version comes from the build (the project's version); a build without
// it still says which program it is.
#ifndef KAVRIX_VERSION
#define KAVRIX_VERSION "(unknown version)"
#endif

namespace {

bool ParseInteger(const char* text, int64_t low, int64_t high, int64_t& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < low || v > high) return false;
    value = v;
    return true;
}

}  // namespace

const char* UsageText() {
    return "usage: kavrix [--window | --fullscreen] [--scale N] [--filter nearest|linear]\n"
           "              [--integer-scale on|off] [--renderer auto|gpu|surface]\n"
           "              [--data DIR] [--save-dir DIR]\n"
           "              [--headless] [--frames N] [--seed S] [--input FILE]\n"
           "              [--screenshot F:FILE.png]... [--dump-state FILE]\n"
           "              [--new-game NAME [--difficulty 1..3] [--level 1..9]]\n"
           "              [--record FILE] [--replay FILE] [--version] [--help]\n"
           "              [--video OUT.webm [--video-scale 1..4] [--quiet]]\n";
}

const char* HelpText() {
    return "Kavrix, a 2D space shooter: fly the fighter Kavrix through nine levels.\n"
           "The game starts full screen, or in a window if it was left in one;\n"
           "Alt+Enter or F11 switches while playing.\n"
           "\n"
           "  --window                 play in a window this time\n"
           "  --fullscreen             play full screen this time\n"
           "  --scale N                open the window at N times 800 x 600 (as far as it fits)\n"
           "  --filter nearest|linear  sharp or smoothed pixels when scaled (remembered)\n"
           "  --integer-scale on|off   scale by whole factors only, the rest black (remembered)\n"
           "  --renderer auto|gpu|surface  how frames reach the screen (also $KAVRIX_RENDERER)\n"
           "  --data DIR               take the game's data (video/, audio/) from DIR\n"
           "  --save-dir DIR           saved files in DIR (default ~/.local/share/kavrix)\n"
           "  --headless               run without window or sound (needs --frames or --replay)\n"
           "  --frames N               stop after N frames\n"
           "  --seed S                 seed the game's random numbers with S (0..4294967295)\n"
           "  --input FILE             play the keys and mouse events of an input script\n"
           "  --screenshot F:FILE.png  write the screen after frame F as a PNG (repeatable)\n"
           "  --dump-state FILE        write the game state as JSON at the end of the run\n"
           "  --new-game NAME          start a game for the player NAME straight away\n"
           "  --difficulty 1..3        the new game's difficulty (default 2)\n"
           "  --level 1..9             the new game's first level (default 1)\n"
           "  --record FILE            record the game's input and state hashes into FILE\n"
           "  --replay FILE            play a recording back, checking every hash\n"
           "  --video OUT.webm         render the replay (or --frames N of a run) headless into a WebM video\n"
           "  --video-scale 1..4       the video's size as a whole multiple of 800 x 600\n"
           "  --quiet                  no progress line while the video renders\n"
           "  --version                print the version and the licence\n"
           "  -h, --help               print this help\n"
           "\n"
           "Without --data the data is looked for in $KAVRIX_DATA, the working directory,\n"
           "data/ beside the program and the installed share/kavrix. Headless runs and\n"
           "replays keep their saved files in the working directory. Window, filter and\n"
           "scaling are remembered in ~/.config/kavrix/kavrix.conf ($XDG_CONFIG_HOME).\n"
           "Exit status: 0 done, 1 start-up or run error, 2 bad option or damaged input\n"
           "script or replay, 3 a replay that differs from its recording.\n";
}

const char* VersionText() {
    return "Kavrix " KAVRIX_VERSION "\n"
           "Copyright (C) 2026 the Kavrix developers\n"
           "License GPL-3.0-or-later: GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl-3.0.html>,\n"
           "the game's generated pictures, sounds and music included.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

bool ParseOptions(int argc, const char* const* argv, RunOptions& o, std::string& error) {
    bool difficultyGiven = false, levelGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        // The value of an option that takes one; null when it is missing.
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        auto missing = [&](std::string_view name) {
            error = "option " + std::string(name) + " needs a value";
            return false;
        };
        int64_t number = 0;
        if (arg == "--window") {
            o.window = true;
        } else if (arg == "--fullscreen") {
            o.fullScreen = true;
        } else if (arg == "--scale") {
            const char* v = value();
            if (!v) return missing(arg);
            if (!ParseInteger(v, 1, 16, number)) {
                error = "option --scale: '" + std::string(v) + "' is not a factor 1..16";
                return false;
            }
            o.scale = int(number);
        } else if (arg == "--filter") {
            const char* v = value();
            if (!v) return missing(arg);
            o.filter = v;
            if (o.filter != "nearest" && o.filter != "linear") {
                error = "option --filter: '" + o.filter + "' is not nearest or linear";
                return false;
            }
        } else if (arg == "--integer-scale") {
            const char* v = value();
            if (!v) return missing(arg);
            const std::string_view onOff = v;
            if (onOff != "on" && onOff != "off") {
                error = "option --integer-scale: '" + std::string(onOff) + "' is not on or off";
                return false;
            }
            o.integerScale = onOff == "on";
        } else if (arg == "--renderer") {
            const char* v = value();
            if (!v) return missing(arg);
            o.renderer = v;
            if (o.renderer != "auto" && o.renderer != "gpu" && o.renderer != "surface") {
                error = "option --renderer: '" + o.renderer + "' is not auto, gpu or surface";
                return false;
            }
        } else if (arg == "--headless") {
            o.headless = true;
        } else if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else if (arg == "--data") {
            const char* v = value();
            if (!v) return missing(arg);
            o.dataDir = v;
        } else if (arg == "--save-dir") {
            const char* v = value();
            if (!v) return missing(arg);
            o.saveDir = v;
        } else if (arg == "--frames") {
            const char* v = value();
            if (!v) return missing(arg);
            if (!ParseInteger(v, 0, INT64_C(1) << 40, number)) {
                error = "option --frames: '" + std::string(v) + "' is not a frame count";
                return false;
            }
            o.frames = number;
        } else if (arg == "--seed") {
            const char* v = value();
            if (!v) return missing(arg);
            if (!ParseInteger(v, 0, UINT32_MAX, number)) {
                error = "option --seed: '" + std::string(v) + "' is not a number 0..4294967295";
                return false;
            }
            o.seed = number;
        } else if (arg == "--input") {
            const char* v = value();
            if (!v) return missing(arg);
            o.inputFile = v;
        } else if (arg == "--screenshot") {
            const char* v = value();
            if (!v) return missing(arg);
            const std::string_view desc = v;
            const size_t colon = desc.find(':');
            ScreenshotRequest shot;
            if (colon == std::string_view::npos || colon + 1 >= desc.size() ||
                !ParseInteger(std::string(desc.substr(0, colon)).c_str(), 0, INT64_C(1) << 40, number)) {
                error = "option --screenshot: '" + std::string(desc) + "' is not FRAME:FILE.png";
                return false;
            }
            shot.frame = number;
            shot.file = std::string(desc.substr(colon + 1));
            o.screenshots.push_back(shot);
        } else if (arg == "--dump-state") {
            const char* v = value();
            if (!v) return missing(arg);
            o.dumpStateFile = v;
        } else if (arg == "--new-game") {
            const char* v = value();
            if (!v) return missing(arg);
            o.newGame = true;
            o.newGameName = v;
            if (!IsPlayerName(o.newGameName)) {
                error = "option --new-game: the player name must have 1 to 20 characters that Windows-1250 can hold";
                return false;
            }
        } else if (arg == "--difficulty") {
            const char* v = value();
            if (!v) return missing(arg);
            if (!ParseInteger(v, 1, 3, number)) {
                error = "option --difficulty: '" + std::string(v) + "' is not 1, 2 or 3";
                return false;
            }
            o.difficulty = int(number);
            difficultyGiven = true;
        } else if (arg == "--level") {
            const char* v = value();
            if (!v) return missing(arg);
            if (!ParseInteger(v, 1, 9, number)) {
                error = "option --level: '" + std::string(v) + "' is not a level 1..9";
                return false;
            }
            o.level = int(number);
            levelGiven = true;
        } else if (arg == "--record") {
            const char* v = value();
            if (!v) return missing(arg);
            o.recordFile = v;
        } else if (arg == "--replay") {
            const char* v = value();
            if (!v) return missing(arg);
            o.replayFile = v;
        } else if (arg == "--video") {
            const char* v = value();
            if (!v) return missing(arg);
            o.videoFile = v;
            o.headless = true;
        } else if (arg == "--video-scale") {
            const char* v = value();
            if (!v) return missing(arg);
            if (!ParseInteger(v, 1, 4, number)) {
                error = "option --video-scale: '" + std::string(v) + "' is not a scale 1..4";
                return false;
            }
            o.videoScale = int(number);
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
    }
    if (o.help || o.version) return true;  // nothing runs, so nothing else needs to agree
    if ((difficultyGiven || levelGiven) && !o.newGame) {
        error = "options --difficulty and --level belong to --new-game";
        return false;
    }
    if (o.window && o.fullScreen) {
        error = "options --window and --fullscreen exclude each other";
        return false;
    }
    if (o.videoScale != 1 && o.videoFile.empty()) {
        error = "option --video-scale belongs to --video";
        return false;
    }
    if (!o.videoFile.empty() && o.frames < 0 && o.replayFile.empty()) {
        error = "option --video needs --replay FILE or --frames N";
        return false;
    }
    if (o.headless && o.frames < 0 && o.replayFile.empty()) {
        error = "option --headless needs --frames N";
        return false;
    }
    if (!o.replayFile.empty() && (!o.inputFile.empty() || !o.recordFile.empty())) {
        error = "option --replay cannot be combined with --input or --record";
        return false;
    }
    return true;
}
