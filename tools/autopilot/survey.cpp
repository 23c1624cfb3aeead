// The survey's games, shared out among worker processes, and its table.
#include "survey.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "game_run.h"

namespace autopilot {
namespace {

struct Job {
    int level = 1, difficulty = 1;
    uint32_t seed = 1;
};

struct Outcome {
    Job job;
    bool passed = false;
    bool unfinished = false;  // neither through nor lost when the frame limit came
    int livesLost = 0, levelReached = 0;
    long frames = 0;
    double seconds = 0;
};

Outcome Play(const SurveySetup& setup, const Job& job) {
    GameSetup game;
    game.dataDir = setup.dataDir;
    game.seed = job.seed;
    game.level = job.level;
    game.pilot.difficulty = job.difficulty;
    game.pilot.framesOnScorePage = 0;
    if (setup.wholeGame) {
        game.pilot.wholeGame = true;
        game.pilot.playerName = "Žluťoučký kůň";
        game.frameLimit = 400000;
    } else {
        game.frameLimit = job.level == 9 ? 300000 : 100000;
        if (job.level == 9) game.pilot.stopAtVictory = true;
        else game.pilot.stopAfterLevel = job.level;
    }
    const GameResult r = PlayGame(game);
    Outcome o;
    o.job = job;
    const PilotReport& p = r.report;
    o.passed = setup.wholeGame ? p.endingSeen
                               : (!p.gameOver && (job.level == 9 ? p.motherShipDestroyed : p.levelReached > job.level));
    o.unfinished = !o.passed && !p.gameOver;
    o.livesLost = p.livesLost;
    o.levelReached = p.levelReached;
    o.frames = long(p.frames);
    o.seconds = r.seconds;
    return o;
}

std::string Line(const Outcome& o) {
    std::ostringstream s;
    s << o.job.level << ' ' << o.job.difficulty << ' ' << o.job.seed << ' ' << o.passed << ' ' << o.unfinished << ' '
      << o.livesLost << ' ' << o.levelReached << ' ' << o.frames << ' ' << o.seconds;
    return s.str();
}

bool ParseLine(const std::string& text, Outcome& o) {
    std::istringstream s(text);
    return bool(s >> o.job.level >> o.job.difficulty >> o.job.seed >> o.passed >> o.unfinished >> o.livesLost >>
                o.levelReached >> o.frames >> o.seconds);
}

}  // namespace

int RunSurvey(const SurveySetup& setup) {
    std::vector<Job> jobs;
    for (int d = setup.firstDifficulty; d <= setup.lastDifficulty; ++d)
        for (int level = setup.wholeGame ? 1 : setup.firstLevel; level <= (setup.wholeGame ? 1 : setup.lastLevel);
             ++level)
            for (int k = 0; k < setup.seeds; ++k) jobs.push_back({level, d, setup.seedBase + uint32_t(k)});

    const std::string dir = MakeTempDir();
    std::vector<pid_t> workers;
    for (int j = 0; j < setup.jobs; ++j) {
        const pid_t pid = fork();
        if (pid == 0) {
            std::ofstream out(dir + "/worker" + std::to_string(j));
            for (size_t i = size_t(j); i < jobs.size(); i += size_t(setup.jobs)) {
                const Outcome o = Play(setup, jobs[i]);
                out << Line(o) << std::endl;
                std::fprintf(stderr,
                             "level %d difficulty %d seed %u: %s, %d lives lost, level %d, %ld frames, %.1f s\n",
                             o.job.level, o.job.difficulty, o.job.seed,
                             o.passed ? "passed" : (o.unfinished ? "UNFINISHED" : "LOST"), o.livesLost, o.levelReached,
                             o.frames, o.seconds);
            }
            std::fflush(nullptr);
            _exit(0);
        }
        workers.push_back(pid);
    }
    for (pid_t pid : workers) waitpid(pid, nullptr, 0);

    std::map<std::pair<int, int>, std::vector<Outcome>> table;
    long frames = 0;
    double seconds = 0;
    for (int j = 0; j < setup.jobs; ++j) {
        std::ifstream in(dir + "/worker" + std::to_string(j));
        std::string text;
        while (std::getline(in, text)) {
            Outcome o;
            if (!ParseLine(text, o)) continue;
            table[{o.job.level, o.job.difficulty}].push_back(o);
            frames += o.frames;
            seconds += o.seconds;
        }
    }
    RemoveDir(dir);

    std::printf("%s: passed of %d seeds (mean lives lost; + games neither through nor lost at the frame limit)\n",
                setup.wholeGame ? "whole game, ending reached" : "level", setup.seeds);
    std::printf("%-8s", setup.wholeGame ? "" : "level");
    for (int d = setup.firstDifficulty; d <= setup.lastDifficulty; ++d) std::printf("  difficulty %d   ", d);
    std::printf("\n");
    for (int level = setup.wholeGame ? 1 : setup.firstLevel; level <= (setup.wholeGame ? 1 : setup.lastLevel);
         ++level) {
        std::printf("%-8d", level);
        for (int d = setup.firstDifficulty; d <= setup.lastDifficulty; ++d) {
            const auto& runs = table[{level, d}];
            int passed = 0, lost = 0, unfinished = 0;
            for (const Outcome& o : runs) {
                passed += o.passed;
                lost += o.livesLost;
                unfinished += o.unfinished;
            }
            char extra[16] = "";
            if (unfinished) std::snprintf(extra, sizeof extra, "+%d", unfinished);
            std::printf("  %2d/%-2zu (%4.2f)%-3s", passed, runs.size(), runs.empty() ? 0.0 : double(lost) / runs.size(),
                        extra);
        }
        std::printf("\n");
    }
    std::printf("%ld frames in %.0f s of play (%.0f frames/s per process)\n", frames, seconds,
                seconds > 0 ? frames / seconds : 0.0);
    return 0;
}

}  // namespace autopilot
