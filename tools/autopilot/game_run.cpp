// One autopiloted game through RunKavrix.
#include "game_run.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "shell/options.h"

namespace autopilot {

std::string MakeTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kavrix-autopilot-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory");
    return pattern;
}

void RemoveDir(const std::string& dir) {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

GameResult PlayGame(const GameSetup& setup) {
    RunOptions options;
    options.headless = true;
    options.dataDir = setup.dataDir;
    const bool tempSave = setup.saveDir.empty();
    options.saveDir = tempSave ? MakeTempDir() : setup.saveDir;
    options.seed = setup.seed;
    options.frames = setup.frameLimit;
    options.recordFile = setup.recordFile;
    options.language = setup.language;
    for (const std::string& shot : setup.screenshots) {
        const size_t colon = shot.find(':');
        if (colon == std::string::npos) throw std::runtime_error("screenshot '" + shot + "' is not FRAME:FILE.png");
        options.screenshots.push_back({std::stoll(shot.substr(0, colon)), shot.substr(colon + 1)});
    }
    if (!setup.pilot.wholeGame) {
        options.newGame = true;
        options.newGameName = setup.pilot.playerName;
        options.difficulty = setup.pilot.difficulty;
        options.level = setup.level;
    }
    Autopilot pilot(setup.pilot);
    const auto start = std::chrono::steady_clock::now();
    GameResult result;
    result.status = RunKavrix(options, &pilot);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.report = pilot.Report();
    if (tempSave) RemoveDir(options.saveDir);
    return result;
}

}  // namespace autopilot
