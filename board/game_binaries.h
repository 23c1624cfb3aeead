// The games the board verifies with, one per recording version: each
// program given with --game is asked which version of the game's behaviour
// it replays (the second line of its --version), so a replay goes to the
// game that made its kind, and one of a version none holds is refused
// naming both.
#pragma once
#include <string>
#include <vector>

namespace board {

struct GameBinary {
    std::string path;
    int recordingVersion = 0;
    std::string programVersion;  // "1.0.0"
};

// Asks each program; throws std::runtime_error naming one that cannot be
// run or does not say, or two that replay the same version.
std::vector<GameBinary> AskGameVersions(const std::vector<std::string>& paths, const std::string& folder);
const GameBinary* GameForVersion(const std::vector<GameBinary>& games, int recordingVersion);
// "version 1 (kavrix 1.0.0)", or several joined by " and ".
std::string HeldVersions(const std::vector<GameBinary>& games);

}  // namespace board
