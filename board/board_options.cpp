// The options table and the state folder's place.
#include "board_options.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>

namespace board {

namespace {

struct Option {
    const char* name;
    const char* value;  // nullptr: a switch
    const char* help;
    std::function<bool(BoardOptions&, const std::string&)> apply;
};

std::function<bool(BoardOptions&, const std::string&)> Whole(int BoardOptions::*field, int low, int high) {
    return [=](BoardOptions& o, const std::string& v) {
        if (v.empty() || v.size() > 9 || v.find_first_not_of("0123456789") != std::string::npos) return false;
        o.*field = std::atoi(v.c_str());
        return o.*field >= low && o.*field <= high;
    };
}

std::function<bool(BoardOptions&, const std::string&)> Text(std::string BoardOptions::*field) {
    return [=](BoardOptions& o, const std::string& v) { return o.*field = v, !v.empty(); };
}

const std::vector<Option>& Options() {
    static const std::vector<Option> options = {
        {"--listen", "HOST:PORT", "answer HTTP here (default 127.0.0.1:8080)", Text(&BoardOptions::listen)},
        {"--database", "URL", "sqlite:PATH (default: board.sqlite in the state folder) or postgresql://...",
         Text(&BoardOptions::database)},
        {"--game", "PATH", "the kavrix program that verifies (repeat for one per recording version)",
         [](BoardOptions& o, const std::string& v) { return o.games.push_back(v), !v.empty(); }},
        {"--data", "DIR", "the game's data folder, handed to the game", Text(&BoardOptions::dataDir)},
        {"--site", "DIR", "the game's browser build, served at /play/ for the page's watch links",
         Text(&BoardOptions::siteDir)},
        {"--state-dir", "DIR",
         "where the default database lives (default $STATE_DIRECTORY, else "
         "$XDG_STATE_HOME/kavrix-board)",
         Text(&BoardOptions::stateDir)},
        {"--workers", "N", "verification workers in this process (0..64, default 1)",
         Whole(&BoardOptions::workers, 0, 64)},
        {"--worker-only", nullptr, "verify only: no HTTP (several may share one PostgreSQL database)",
         [](BoardOptions& o, const std::string&) { return o.workerOnly = true; }},
        {"--admin-token", "TOKEN",
         "allow hide and delete with 'Authorization: Bearer TOKEN' (also "
         "$KAVRIX_BOARD_ADMIN_TOKEN)",
         Text(&BoardOptions::adminToken)},
        {"--admin-token-file", "FILE", "the admin token from the first line of FILE",
         Text(&BoardOptions::adminTokenFile)},
        {"--threads", "N", "HTTP threads, one per open connection (default 256)",
         Whole(&BoardOptions::threads, 4, 4096)},
        {"--max-replay-kb", "N", "the largest replay taken, in KB (default 1024; a 20-minute game is about 200)",
         Whole(&BoardOptions::maxReplayKb, 16, 65536)},
        {"--rate-limit", "N", "replays a minute one address may send (default 10)",
         Whole(&BoardOptions::ratePerMinute, 1, 1000000)},
        {"--job-timeout", "S", "a job whose worker was silent this long is taken again (default 30)",
         Whole(&BoardOptions::jobTimeout, 2, 3600)},
        {"--verify-speed", "F", "frames a CPU second a replay must at least go (default 1000)",
         Whole(&BoardOptions::verifySpeed, 10, 1000000)},
        {"--child-memory-mb", "M", "the game's address space in MB (default 1024, 0 unbounded)",
         Whole(&BoardOptions::childMemoryMb, 0, 1 << 20)},
        {"--version", nullptr, "print the version",
         [](BoardOptions& o, const std::string&) { return o.version = true; }},
        {"--help", nullptr, "print this help", [](BoardOptions& o, const std::string&) { return o.help = true; }},
    };
    return options;
}

}  // namespace

bool ParseBoardOptions(int argc, const char* const* argv, BoardOptions& o, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const Option* option = nullptr;
        for (const Option& candidate : Options())
            if (arg == candidate.name) option = &candidate;
        if (!option) {
            error = "unknown option '" + arg + "'";
            return false;
        }
        std::string value;
        if (option->value) {
            if (i + 1 >= argc) {
                error = "option " + arg + " needs a value (" + option->value + ")";
                return false;
            }
            value = argv[++i];
        }
        if (!option->apply(o, value)) {
            error = "option " + arg + ": '" + value + "' is not " + option->value;
            return false;
        }
    }
    if (o.workerOnly && !o.siteDir.empty()) {
        error = "option --site belongs to a board that answers HTTP, not to --worker-only";
        return false;
    }
    if (o.workerOnly && o.workers == 0) {
        error = "options --worker-only and --workers 0 leave nothing to do";
        return false;
    }
    return true;
}

std::string BoardHelpText() {
    std::string text =
        "usage: kavrix-board [--listen HOST:PORT] [--database URL] [--game PATH]... [--data DIR]\n"
        "                    [--site DIR] [--workers N] [--worker-only] [--admin-token-file FILE] ...\n"
        "A world score board for Kavrix: every score is verified by replaying its game.\n\n";
    for (const Option& o : Options()) {
        std::string key = std::string(o.name) + (o.value ? std::string(" ") + o.value : "");
        key.resize(std::max<size_t>(key.size() + 2, 26), ' ');
        text += "  " + key + o.help + "\n";
    }
    return text +
           "\nThe game runs only as a child process (--game, default /usr/games/kavrix), once per replay,\n"
           "in an empty folder, its CPU time, memory and output bounded. See kavrix-board(8).\n";
}

std::string StateFolder(const BoardOptions& o) {
    std::string folder = o.stateDir;
    if (folder.empty()) {
        if (const char* systemd = std::getenv("STATE_DIRECTORY"); systemd && *systemd) {
            folder = systemd;
            folder = folder.substr(0, folder.find(':'));  // the first of several
        } else if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && *xdg) {
            folder = std::string(xdg) + "/kavrix-board";
        } else if (const char* home = std::getenv("HOME"); home && *home) {
            folder = std::string(home) + "/.local/state/kavrix-board";
        } else {
            throw std::runtime_error("no state folder is known: give --state-dir or --database");
        }
    }
    std::filesystem::create_directories(folder);
    return folder;
}

}  // namespace board
