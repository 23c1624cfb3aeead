// The command line of kavrix-board, read through one table that also
// writes --help; every bad value is named with its option.
#pragma once
#include <string>
#include <vector>

namespace board {

struct BoardOptions {
    std::string listen = "127.0.0.1:8080";
    std::string database;            // empty: sqlite: in the state folder
    std::vector<std::string> games;  // empty: the installed game
    std::string dataDir;
    std::string siteDir;
    std::string stateDir;  // empty: $STATE_DIRECTORY, else $XDG_STATE_HOME/kavrix-board
    int workers = 1;
    bool workerOnly = false;
    std::string adminToken;
    std::string adminTokenFile;
    int threads = 256;
    int maxReplayKb = 1024;
    int ratePerMinute = 10;
    int jobTimeout = 30;
    int verifySpeed = 1000;    // frames a CPU second a replay may take at least
    int childMemoryMb = 1024;  // 0: not bounded
    bool help = false, version = false;
};

// On a bad option returns false with a message naming it.
bool ParseBoardOptions(int argc, const char* const* argv, BoardOptions& options, std::string& error);
std::string BoardHelpText();

// The state folder (made when missing) and the database URL it implies.
std::string StateFolder(const BoardOptions& options);

}  // namespace board
