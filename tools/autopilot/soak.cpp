// Soak: games in one process, so leaks and growth show in its memory; the
// game's stderr is counted on its way through.
#include "soak.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <string>

#include "game_run.h"

namespace autopilot {
namespace {

// Counts the lines written through it and passes them on.
class CountingBuffer : public std::streambuf {
public:
    explicit CountingBuffer(std::streambuf* next) : next_(next) {}
    long lines = 0;

protected:
    int overflow(int c) override {
        if (c == '\n') ++lines;
        return c == traits_type::eof() ? 0 : next_->sputc(char(c));
    }
    int sync() override { return next_->pubsync(); }

private:
    std::streambuf* next_;
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
    CountingBuffer counter(std::cerr.rdbuf());
    std::streambuf* original = std::cerr.rdbuf(&counter);
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
    std::cerr.rdbuf(original);
    const long rssEnd = StatusKilobytes("VmRSS");
    std::printf("soak: %ld frames in %ld games, %.0f s, %.0f frames/s\n", played, games, seconds, played / seconds);
    std::printf("soak: errors printed %ld\n", counter.lines);
    std::printf("soak: resident memory %ld kB before the first game, %ld kB after it, %ld kB at the end (peak %ld kB)\n",
                rssBefore, rssAfterFirst, rssEnd, StatusKilobytes("VmHWM"));
    return counter.lines == 0 ? 0 : 1;
}

}  // namespace autopilot
