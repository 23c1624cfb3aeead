// Soak: games in one process, so leaks and growth show in its memory; every
// line the game writes to stderr while it runs is counted as an error.
#include "soak.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include <unistd.h>

#include "game_run.h"

namespace autopilot {
namespace {

// Everything written to the process's stderr (std::cerr and the C stdio
// alike) goes to a temporary file while the soak runs; at its end the file
// is copied back to stderr and its lines counted.
class StderrCapture {
public:
    StderrCapture() : file_(std::tmpfile()) {
        std::fflush(stderr);
        std::cerr.flush();
        saved_ = dup(2);
        if (file_) dup2(fileno(file_), 2);
    }
    // Restores stderr, passes on what was written and returns its line count.
    long Finish() {
        std::fflush(stderr);
        std::cerr.flush();
        dup2(saved_, 2);
        close(saved_);
        long lines = 0;
        if (!file_) return 0;
        std::rewind(file_);
        for (int c; (c = std::fgetc(file_)) != EOF;) {
            std::fputc(c, stderr);
            lines += c == '\n';
        }
        std::fclose(file_);
        return lines;
    }

private:
    std::FILE* file_;
    int saved_ = -1;
};

long StatusKilobytes(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
    return -1;
}

}  // namespace

int RunSoak(const std::string& dataDir, long frames) {
    StderrCapture errors;
    const long rssBefore = StatusKilobytes("VmRSS");
    long rssAfterFirst = -1;
    long played = 0, games = 0, passed = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; played < frames; ++i) {
        GameSetup game;
        game.dataDir = dataDir;
        game.seed = 7000 + uint32_t(i);
        game.level = 1 + i % 9;
        game.pilot.difficulty = 1 + (i / 9) % 3;
        game.pilot.framesOnScorePage = 60;
        if (game.level == 9) game.pilot.stopAtVictory = true;
        else game.pilot.stopAfterLevel = game.level;
        game.frameLimit = std::min(frames - played, 40000L);
        const GameResult r = PlayGame(game);
        played += long(r.report.frames);
        ++games;
        if (!r.report.gameOver && r.report.levelReached > 0) ++passed;
        if (r.status != 0) std::cerr << "kavrix-autopilot: game " << i << " ended with status " << r.status << "\n";
        if (rssAfterFirst < 0) rssAfterFirst = StatusKilobytes("VmRSS");
        std::printf("game %ld: level %d difficulty %d seed %u, %lld frames, %s; %ld frames so far, RSS %ld kB\n", games,
                    game.level, game.pilot.difficulty, game.seed, (long long)r.report.frames,
                    r.report.gameOver ? "lost" : "not lost", played, StatusKilobytes("VmRSS"));
        std::fflush(stdout);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long errorLines = errors.Finish();
    const long rssEnd = StatusKilobytes("VmRSS");
    std::printf("soak: %ld frames in %ld games, %.0f s, %.0f frames/s\n", played, games, seconds, played / seconds);
    std::printf("soak: errors printed %ld\n", errorLines);
    std::printf(
        "soak: resident memory %ld kB before the first game, %ld kB after it, %ld kB at the end (peak %ld kB)\n",
        rssBefore, rssAfterFirst, rssEnd, StatusKilobytes("VmHWM"));
    return errorLines == 0 ? 0 : 1;
}

}  // namespace autopilot
