// Parsing the command line of the kavrix program into RunOptions through one
// table of options, which also writes the synopsis and --help, so the two
// cannot drift apart; every malformed value is reported with the option it
// belongs to.
#include "shell/options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "shell/input_script.h"
#include "shell/replay.h"

// The version comes from the build (the project's version); a build without
// it still says which program it is.
#ifndef KAVRIX_VERSION
#define KAVRIX_VERSION "(unknown version)"
#endif

// Where the player's files live, and what the build leaves out, as --help
// tells them: the Windows build keeps them in %APPDATA%\Kavrix and has no
// FFmpeg for videos.
#ifdef KAVRIX_WINDOWS
#define KAVRIX_SAVE_DIR_HELP "saved files in DIR (default %APPDATA%\\Kavrix)"
#define KAVRIX_VIDEO_HELP "not in the Windows build, which makes no videos"
#else
#define KAVRIX_SAVE_DIR_HELP "saved files in DIR (default ~/.local/share/kavrix)"
#define KAVRIX_VIDEO_HELP "render the replay (or --frames N of a run) headless into a WebM video"
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

// A value read as a whole number in low..high into field; otherwise the
// error names the option, the value and what was expected.
bool Integer(const char* option, const char* value, int64_t low, int64_t high, const char* expected, int64_t& field,
             std::string& error) {
    if (ParseInteger(value, low, high, field)) return true;
    error = std::string("option ") + option + ": '" + value + "' is not " + expected;
    return false;
}

template <typename T>
bool IntegerInto(const char* option, const char* value, int64_t low, int64_t high, const char* expected, T& field,
                 std::string& error) {
    int64_t number = 0;
    if (!Integer(option, value, low, high, expected, number, error)) return false;
    field = T(number);
    return true;
}

// A value that must be one of the words in choices ("nearest|linear"); the
// error lists them ("nearest or linear", "auto, gpu or surface").
bool OneOf(const char* option, const char* value, std::string_view choices, std::string& error) {
    std::vector<std::string_view> words;
    for (size_t from = 0; from <= choices.size();) {
        size_t to = choices.find('|', from);
        if (to == std::string_view::npos) to = choices.size();
        words.push_back(choices.substr(from, to - from));
        if (words.back() == value) return true;
        from = to + 1;
    }
    error = std::string("option ") + option + ": '" + value + "' is not ";
    for (size_t i = 0; i < words.size(); ++i)
        error += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + std::string(words[i]);
    return false;
}

// One option: its name (and short alias), the word its value is shown as
// (none for a switch), its piece of the synopsis (empty when another
// option's piece shows it), its line of --help, and what it does to the
// options; apply returns false with error set on a bad value.
struct OptionSpec {
    const char* name;
    const char* alias;
    const char* value;
    const char* synopsis;
    const char* help;
    bool (*apply)(RunOptions& o, const char* value, std::string& error);
};

const OptionSpec kOptions[] = {
    {"--window", nullptr, nullptr, "[--window | --fullscreen]", "play in a window this time",
     [](RunOptions& o, const char*, std::string&) { return o.window = true; }},
    {"--fullscreen", nullptr, nullptr, "", "play full screen this time",
     [](RunOptions& o, const char*, std::string&) { return o.fullScreen = true; }},
    {"--scale", nullptr, "N", "[--scale N]", "open the window at N times 800 x 600 (as far as it fits)",
     [](RunOptions& o, const char* v, std::string& e) {
         return IntegerInto("--scale", v, 1, 16, "a factor 1..16", o.scale, e);
     }},
    {"--scaling", nullptr, "sharp|integer|linear", "[--scaling sharp|integer|linear]",
     "fill the screen sharply (default), by whole factors, or smoothed (remembered)",
     [](RunOptions& o, const char* v, std::string& e) {
         o.scaling = v;
         return OneOf("--scaling", v, "sharp|integer|linear", e);
     }},
    {"--filter", nullptr, "nearest|linear", "", "older spelling: linear is --scaling linear, nearest is sharp",
     [](RunOptions& o, const char* v, std::string& e) {
         o.filter = v;
         return OneOf("--filter", v, "nearest|linear", e);
     }},
    {"--integer-scale", nullptr, "on|off", "", "older spelling: on is --scaling integer, off is sharp",
     [](RunOptions& o, const char* v, std::string& e) {
         o.integerScale = std::string_view(v) == "on";
         return OneOf("--integer-scale", v, "on|off", e);
     }},
    {"--renderer", nullptr, "auto|gpu|surface", "[--renderer auto|gpu|surface]",
     "how frames reach the screen (also $KAVRIX_RENDERER)",
     [](RunOptions& o, const char* v, std::string& e) {
         o.renderer = v;
         return OneOf("--renderer", v, "auto|gpu|surface", e);
     }},
    {"--lang", nullptr, "cs|en", "[--lang cs|en]",
     "play in Czech or English this time (else the help page's choice, else the locale's)",
     [](RunOptions& o, const char* v, std::string& e) {
         o.language = v;
         return OneOf("--lang", v, "cs|en", e);
     }},
    {"--data", nullptr, "DIR", "[--data DIR]", "take the game's data (video/, audio/) from DIR",
     [](RunOptions& o, const char* v, std::string&) { return o.dataDir = v, true; }},
    {"--save-dir", nullptr, "DIR", "[--save-dir DIR]", KAVRIX_SAVE_DIR_HELP,
     [](RunOptions& o, const char* v, std::string&) { return o.saveDir = v, true; }},
    {"--headless", nullptr, nullptr, "[--headless]", "run without window or sound (needs --frames or --replay)",
     [](RunOptions& o, const char*, std::string&) { return o.headless = true; }},
    {"--frames", nullptr, "N", "[--frames N]", "stop after N frames",
     [](RunOptions& o, const char* v, std::string& e) {
         return Integer("--frames", v, 0, INT64_C(1) << 40, "a frame count", o.frames, e);
     }},
    {"--seed", nullptr, "S", "[--seed S]", "seed the game's random numbers with S (0..4294967295)",
     [](RunOptions& o, const char* v, std::string& e) {
         return Integer("--seed", v, 0, UINT32_MAX, "a number 0..4294967295", o.seed, e);
     }},
    {"--input", nullptr, "FILE", "[--input FILE]", "play the keys and mouse events of an input script",
     [](RunOptions& o, const char* v, std::string&) { return o.inputFile = v, true; }},
    {"--screenshot", nullptr, "F:FILE.png", "[--screenshot F:FILE.png]...",
     "write the screen after frame F as a PNG (repeatable)",
     [](RunOptions& o, const char* v, std::string& e) {
         const std::string_view desc = v;
         const size_t colon = desc.find(':');
         ScreenshotRequest shot;
         if (colon == std::string_view::npos || colon + 1 >= desc.size() ||
             !ParseInteger(std::string(desc.substr(0, colon)).c_str(), 0, INT64_C(1) << 40, shot.frame)) {
             e = "option --screenshot: '" + std::string(desc) + "' is not FRAME:FILE.png";
             return false;
         }
         shot.file = std::string(desc.substr(colon + 1));
         o.screenshots.push_back(shot);
         return true;
     }},
    {"--dump-state", nullptr, "FILE", "[--dump-state FILE]", "write the game state as JSON at the end of the run",
     [](RunOptions& o, const char* v, std::string&) { return o.dumpStateFile = v, true; }},
    {"--new-game", nullptr, "NAME", "[--new-game NAME [--difficulty 1..3] [--level 1..9]]",
     "start a game for the player NAME straight away",
     [](RunOptions& o, const char* v, std::string& e) {
         o.newGame = true;
         o.newGameName = v;
         if (IsPlayerName(o.newGameName)) return true;
         e = "option --new-game: the player name must have 1 to 20 characters that Windows-1250 can hold";
         return false;
     }},
    {"--difficulty", nullptr, "1..3", "", "the new game's difficulty (default 2)",
     [](RunOptions& o, const char* v, std::string& e) {
         o.difficultyGiven = true;
         return IntegerInto("--difficulty", v, 1, 3, "1, 2 or 3", o.difficulty, e);
     }},
    {"--level", nullptr, "1..9", "", "the new game's first level (default 1)",
     [](RunOptions& o, const char* v, std::string& e) {
         o.levelGiven = true;
         return IntegerInto("--level", v, 1, 9, "a level 1..9", o.level, e);
     }},
    {"--record", nullptr, "FILE", "[--record FILE]", "record the game's input and state hashes into FILE",
     [](RunOptions& o, const char* v, std::string&) { return o.recordFile = v, true; }},
    {"--replay", nullptr, "FILE|NAME", "[--replay FILE|NAME]",
     "play a recording or a kept replay back, checking every hash",
     [](RunOptions& o, const char* v, std::string&) { return o.replayFile = v, true; }},
    {"--verify-new-game", nullptr, "FILE", "",
     "with --replay: play it only if it begins as a new game at level 1, and write its player, difficulty, score "
     "and level reached to FILE as JSON (what a score board checks)",
     [](RunOptions& o, const char* v, std::string&) { return o.verifyNewGameFile = v, true; }},
    {"--list-replays", nullptr, nullptr, "[--list-replays]", "list the kept replays of your games and exit",
     [](RunOptions& o, const char*, std::string&) { return o.listReplays = true; }},
    {"--submit", nullptr, "NAME|FILE", "[--submit NAME|FILE [--board URL]]",
     "send a kept replay to your score board and print its verdict (nothing is sent otherwise)",
     [](RunOptions& o, const char* v, std::string&) { return o.submitReplay = v, true; }},
    {"--board", nullptr, "URL", "", "the score board --submit sends to (else board= in kavrix.conf)",
     [](RunOptions& o, const char* v, std::string&) { return o.boardUrl = v, true; }},
    {"--keep-replays", nullptr, nullptr, "", "headless: keep each game's replay as the windowed game does",
     [](RunOptions& o, const char*, std::string&) { return o.keepReplays = true; }},
    {"--video", nullptr, "OUT.webm", "[--video OUT.webm [--video-scale 1..4] [--quiet]]", KAVRIX_VIDEO_HELP,
     [](RunOptions& o, const char* v, std::string&) {
         o.videoFile = v;
         return o.headless = true;
     }},
    {"--video-scale", nullptr, "1..4", "", "the video's size as a whole multiple of 800 x 600",
     [](RunOptions& o, const char* v, std::string& e) {
         return IntegerInto("--video-scale", v, 1, 4, "a scale 1..4", o.videoScale, e);
     }},
    {"--quiet", nullptr, nullptr, "", "no progress line while the video renders",
     [](RunOptions& o, const char*, std::string&) { return o.quiet = true; }},
    {"--version", nullptr, nullptr, "[--version]", "print the version and the licence",
     [](RunOptions& o, const char*, std::string&) { return o.version = true; }},
    {"--help", "-h", nullptr, "[--help]", "print this help",
     [](RunOptions& o, const char*, std::string&) { return o.help = true; }},
};

const OptionSpec* FindOption(std::string_view arg) {
    for (const OptionSpec& option : kOptions)
        if (arg == option.name || (option.alias && arg == option.alias)) return &option;
    return nullptr;
}

}  // namespace

std::string UsageText() {
    // The synopsis pieces in table order, lines filled to 79 columns under
    // "usage: kavrix ".
    constexpr size_t kWidth = 79;
    const std::string first = "usage: kavrix ", indent(first.size(), ' ');
    std::string text, line = first;
    for (const OptionSpec& option : kOptions) {
        if (!*option.synopsis) continue;
        if (line.size() > indent.size() && line.size() + std::string_view(option.synopsis).size() > kWidth) {
            text += line + "\n";
            line = indent;
        }
        if (line.size() > indent.size()) line += ' ';
        line += option.synopsis;
    }
    return text + line + "\n";
}

std::string HelpText() {
    std::string text =
        "Kavrix, a 2D space shooter: fly the fighter Kavrix through nine levels.\n"
        "The game starts full screen, or in a window if it was left in one;\n"
        "Alt+Enter or F11 switches while playing.\n"
        "\n";
    for (const OptionSpec& option : kOptions) {
        std::string key = option.alias ? std::string(option.alias) + ", " + option.name : option.name;
        if (option.value) key += std::string(" ") + option.value;
        key.resize(std::max<size_t>(key.size() + 2, 25), ' ');
        text += "  " + key + option.help + "\n";
    }
    return text +
           "\n"
#ifdef KAVRIX_WINDOWS
           "Without --data the data is looked for in %KAVRIX_DATA%, the working directory\n"
           "and data\\ beside the program. Headless runs and replays keep their saved\n"
           "files in the working directory; replays write none. The replays of your last\n"
           "ten games and of the score table's entries are kept in replays\\ beside the\n"
           "saved files. Window, scaling, language and the keys of every action are kept\n"
           "in %APPDATA%\\Kavrix\\kavrix.conf. The Windows build makes no videos.\n"
#else
           "Without --data the data is looked for in $KAVRIX_DATA, the working directory,\n"
           "data/ beside the program and the installed share/kavrix. Headless runs and\n"
           "replays keep their saved files in the working directory; replays write none.\n"
           "The replays of your last ten games and of the score table's entries are kept\n"
           "in replays/ beside the saved files. Window, scaling, language and the keys\n"
           "of every action are kept in ~/.config/kavrix/kavrix.conf ($XDG_CONFIG_HOME);\n"
           "see the manual, kavrix(6).\n"
#endif
           "Exit status: 0 done, 1 start-up or run error, 2 bad option or damaged input\n"
           "script or replay, 3 a replay that differs from its recording, 4 a replay\n"
           "that does not begin as a new game (--verify-new-game).\n"
           "--submit: 0 verified, 1 not sent or no verdict, 2 no board or not a kept\n"
           "replay, 3 refused by the board.\n";
}

const char* ProgramVersion() { return KAVRIX_VERSION; }

const char* VersionText() {
    // The second line names the version of the game's behaviour its
    // recordings carry, for tools that pick a game for a replay (a score board).
    static const std::string text =
        "Kavrix " KAVRIX_VERSION
        "\n"
        "Recording version: " +
        std::to_string(kRecordingVersion) +
        " (recordings of another version are refused)\n"
        "Copyright (C) 2026 the Kavrix developers\n"
        "License GPL-3.0-or-later: GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl-3.0.html>,\n"
        "the game's generated pictures, sounds and music included.\n"
        "This is free software: you are free to change and redistribute it.\n"
        "There is NO WARRANTY, to the extent permitted by law.\n";
    return text.c_str();
}

bool ParseOptions(int argc, const char* const* argv, RunOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const OptionSpec* option = FindOption(arg);
        if (!option) {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
        const char* value = nullptr;
        if (option->value) {
            if (i + 1 >= argc) {
                error = "option " + std::string(arg) + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!option->apply(o, value, error)) return false;
    }
    if (!o.boardUrl.empty() && o.submitReplay.empty()) {
        error = "option --board belongs to --submit";
        return false;
    }
    // nothing runs, so nothing else needs to agree
    if (o.help || o.version || o.listReplays || !o.submitReplay.empty()) return true;
    if ((o.difficultyGiven || o.levelGiven) && !o.newGame) {
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
    if (!o.verifyNewGameFile.empty() && o.replayFile.empty()) {
        error = "option --verify-new-game belongs to --replay";
        return false;
    }
    if (!o.replayFile.empty() && !o.language.empty()) {
        error = "option --lang cannot be combined with --replay: a recording plays in the language it was made in";
        return false;
    }
    return true;
}
