// Reading "Kavrix X.Y.Z" and "Recording version: N" from each game's
// --version, run as a bounded child like every run of the game.
#include "game_binaries.h"

#include <stdexcept>

#include "child_process.h"

namespace board {

std::vector<GameBinary> AskGameVersions(const std::vector<std::string>& paths, const std::string& folder) {
    std::vector<GameBinary> games;
    for (const std::string& path : paths) {
        ChildLimits limits;
        limits.cpuSeconds = 10;
        limits.wallSeconds = 20;
        const ChildResult run = RunChild({path, "--version"}, folder, limits);
        if (run.end != ChildResult::End::Exited || run.code != 0)
            throw std::runtime_error("the game '" + path + "' does not answer --version (" + DescribeEnd(run) + ")");
        GameBinary game{path, 0, ""};
        const size_t name = run.output.find("Kavrix ");
        const size_t version = run.output.find("Recording version: ");
        if (name != 0 || version == std::string::npos)
            throw std::runtime_error("'" + path + "' does not say which recordings it replays: it is not a game " +
                                     "that a board can verify with (kavrix 1.0.0 or later)");
        game.programVersion = run.output.substr(7, run.output.find('\n') - 7);
        game.recordingVersion = std::atoi(run.output.c_str() + version + 19);
        if (game.recordingVersion <= 0) throw std::runtime_error("'" + path + "' names no recording version");
        if (GameForVersion(games, game.recordingVersion))
            throw std::runtime_error("two games replay version " + std::to_string(game.recordingVersion) + ": '" +
                                     GameForVersion(games, game.recordingVersion)->path + "' and '" + path + "'");
        games.push_back(game);
    }
    return games;
}

const GameBinary* GameForVersion(const std::vector<GameBinary>& games, int recordingVersion) {
    for (const GameBinary& game : games)
        if (game.recordingVersion == recordingVersion) return &game;
    return nullptr;
}

std::string HeldVersions(const std::vector<GameBinary>& games) {
    std::string text;
    for (const GameBinary& game : games)
        text += (text.empty() ? "" : " and ") + std::string("version ") + std::to_string(game.recordingVersion) +
                " (kavrix " + game.programVersion + ")";
    return text;
}

}  // namespace board
