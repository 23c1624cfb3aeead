// Verifying one submitted replay: the game of its version replays it in a
// child process, in an empty folder of its own, checking every hash and
// that it began as a new game (--verify-new-game); the player, score,
// difficulty and level reached come from the replayed game (its verdict and
// its --dump-state), never from the file's text.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game_binaries.h"
#include "storage.h"

namespace board {

struct VerifierSettings {
    std::vector<GameBinary> games;
    std::string dataDir;               // the game's data ("" : the game finds its own)
    std::string workRoot;              // where the verification folders are made
    double framesPerCpuSecond = 1000;  // the slowest a game may replay
    int cpuMarginSeconds = 10;         // start-up and a slow machine's share
    int64_t addressSpaceBytes = int64_t(1) << 30;
};

// A verdict without a game's findings: refused ("refused") or to be tried
// again (""), and why.
Verdict Judged(int64_t id, const std::string& status, const std::string& reason);

// The CPU seconds a replay of so many frames may take.
int CpuSecondsFor(const VerifierSettings& settings, int64_t frames);

// The verdict (status "verified" or "refused"), or status "" when the game
// could not replay it for a reason of the board's own (the data missing, no
// room for the folder): the job is then tried again later.
// everySecond is called while the game runs; false stops it (the verdict
// is then status "").
Verdict Verify(const Job& job, const VerifierSettings& settings, const std::function<bool()>& everySecond);

}  // namespace board
