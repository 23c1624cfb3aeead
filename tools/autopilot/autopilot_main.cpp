// kavrix-autopilot: lets the autopilot play Kavrix headless. One game (and
// its recording, whose header names the command that made it), a survey of
// how often it survives each level at each difficulty, or a soak of a
// million frames across all levels and difficulties.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "game_run.h"
#include "soak.h"
#include "survey.h"

namespace {

const char* kUsage =
    "usage: kavrix-autopilot [--data DIR] [--save-dir DIR] [--record FILE] [--frames N]\n"
    "                        [--seed S] [--difficulty 1..3] [--name NAME] [--lang cs|en]\n"
    "                        (--level 1..9 | --whole-game [--frames-after-reload N])\n"
    "                        [--stop-after-level] [--stop-at-victory] [--lose]\n"
    "                        [--commander skip|wait] [--score-page-frames N]\n"
    "       kavrix-autopilot --survey [--levels A-B] [--difficulties A-B] [--seeds N]\n"
    "                        [--seed-base S] [--jobs N] [--whole-game] [--data DIR]\n"
    "       kavrix-autopilot --soak FRAMES [--data DIR]\n"
    "One game: plays a new game of the level (or the whole game from the intro), stops\n"
    "when asked (the level passed, the mother ship destroyed, the game over and its\n"
    "score page seen) and reports how it ended. --record writes the game's input\n"
    "script with hash lines; its header holds the options that make it again.\n";

bool ParseInt(const char* text, long low, long high, long& value) {
    if (!text) return false;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (*end != '\0' || v < low || v > high) return false;
    value = v;
    return true;
}

bool ParseRange(const char* text, int low, int high, int& from, int& to) {
    if (!text) return false;
    const std::string s = text;
    const size_t dash = s.find('-');
    long a = 0, b = 0;
    if (dash == std::string::npos) {
        if (!ParseInt(text, low, high, a)) return false;
        from = to = int(a);
        return true;
    }
    if (!ParseInt(s.substr(0, dash).c_str(), low, high, a) || !ParseInt(s.substr(dash + 1).c_str(), low, high, b) ||
        a > b)
        return false;
    from = int(a);
    to = int(b);
    return true;
}

// Puts the options that make the recording again under its first line.
void AddHeader(const std::string& file, const std::string& replayOptions) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    in.close();
    std::string all = text.str();
    const size_t firstLine = all.find('\n');
    const std::string header = "# made by: kavrix-autopilot --data DATA --save-dir EMPTYDIR --record FILE" +
                               replayOptions + "\n# autopilot:" + replayOptions + "\n";
    all.insert(firstLine == std::string::npos ? all.size() : firstLine + 1, header);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << all;
}

void PrintReport(const autopilot::GameResult& r) {
    const autopilot::PilotReport& p = r.report;
    std::printf(
        "frames %lld, level %d reached (started at %d), lives %d (lost %d), energy %d, score %d, scene %s%s%s%s%s%s\n",
        (long long)p.frames, p.levelReached, p.startLevel, p.lives, p.livesLost, p.energy, p.score, p.scene.c_str(),
        p.gameOver ? ", game over" : "", p.motherShipDestroyed ? ", mother ship destroyed" : "",
        p.endingSeen ? ", ending seen" : "", p.scoreEntered ? ", score entered" : "",
        p.reloaded ? ", profile loaded back" : "");
    std::printf("%d hits taken, %d of them unforeseen; ship model missed %d frames\n", p.hits, p.unforeseenHits,
                p.shipMispredictions);
    std::printf("%.1f s, %.0f frames/s\n", r.seconds, r.seconds > 0 ? double(p.frames) / r.seconds : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    autopilot::GameSetup setup;
    autopilot::SurveySetup survey;
    std::string replayOptions;  // the options a re-recording needs
    bool doSurvey = false;
    long soakFrames = 0;
    bool levelGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        long n = 0;
        auto bad = [&] {
            std::fprintf(stderr, "kavrix-autopilot: bad or missing value for %s\n%s", std::string(arg).c_str(), kUsage);
            return 2;
        };
        auto keep = [&](bool withValue) {
            replayOptions += " " + std::string(arg);
            if (withValue) replayOptions += " " + std::string(next);
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--data") {
            if (!next) return bad();
            setup.dataDir = survey.dataDir = next;
            ++i;
        } else if (arg == "--save-dir") {
            if (!next) return bad();
            setup.saveDir = next;
            ++i;
        } else if (arg == "--record") {
            if (!next) return bad();
            setup.recordFile = next;
            ++i;
        } else if (arg == "--frames") {
            if (!ParseInt(next, 1, 100000000, n)) return bad();
            keep(true);
            setup.frameLimit = n;
            ++i;
        } else if (arg == "--seed") {
            if (!ParseInt(next, 0, 2147483647, n)) return bad();
            keep(true);
            setup.seed = uint32_t(n);
            ++i;
        } else if (arg == "--difficulty") {
            if (!ParseInt(next, 1, 3, n)) return bad();
            keep(true);
            setup.pilot.difficulty = int(n);
            ++i;
        } else if (arg == "--level") {
            if (!ParseInt(next, 1, 9, n)) return bad();
            keep(true);
            setup.level = int(n);
            levelGiven = true;
            ++i;
        } else if (arg == "--name") {
            if (!next) return bad();
            setup.pilot.playerName = next;
            replayOptions += " --name '" + std::string(next) + "'";
            ++i;
        } else if (arg == "--lang") {
            if (!next || (std::string_view(next) != "cs" && std::string_view(next) != "en")) return bad();
            keep(true);
            setup.language = next;
            ++i;
        } else if (arg == "--whole-game") {
            keep(false);
            setup.pilot.wholeGame = survey.wholeGame = true;
        } else if (arg == "--frames-after-reload") {
            if (!ParseInt(next, 0, 100000000, n)) return bad();
            keep(true);
            setup.pilot.framesAfterReload = int(n);
            ++i;
        } else if (arg == "--stop-after-level") {
            keep(false);
            setup.pilot.stopAfterLevel = -1;  // the level played, set below
        } else if (arg == "--stop-at-victory") {
            keep(false);
            setup.pilot.stopAtVictory = true;
        } else if (arg == "--lose") {
            keep(false);
            setup.pilot.loseOnPurpose = true;
        } else if (arg == "--commander") {
            if (!next || (std::string_view(next) != "skip" && std::string_view(next) != "wait")) return bad();
            keep(true);
            setup.pilot.skipCommander = std::string_view(next) == "skip";
            ++i;
        } else if (arg == "--score-page-frames") {
            if (!ParseInt(next, 0, 100000, n)) return bad();
            keep(true);
            setup.pilot.framesOnScorePage = int(n);
            ++i;
        } else if (arg == "--trace") {
            if (!ParseInt(next, 1, 100000, n)) return bad();
            setup.pilot.traceEvery = int(n);
            ++i;
        } else if (arg == "--screenshot") {
            if (!next) return bad();
            setup.screenshots.push_back(next);
            ++i;
        } else if (arg == "--survey") {
            doSurvey = true;
        } else if (arg == "--levels") {
            if (!ParseRange(next, 1, 9, survey.firstLevel, survey.lastLevel)) return bad();
            ++i;
        } else if (arg == "--difficulties") {
            if (!ParseRange(next, 1, 3, survey.firstDifficulty, survey.lastDifficulty)) return bad();
            ++i;
        } else if (arg == "--seeds") {
            if (!ParseInt(next, 1, 100000, n)) return bad();
            survey.seeds = int(n);
            ++i;
        } else if (arg == "--seed-base") {
            if (!ParseInt(next, 0, 2000000000, n)) return bad();
            survey.seedBase = uint32_t(n);
            ++i;
        } else if (arg == "--jobs") {
            if (!ParseInt(next, 1, 64, n)) return bad();
            survey.jobs = int(n);
            ++i;
        } else if (arg == "--soak") {
            if (!ParseInt(next, 1, 2000000000, n)) return bad();
            soakFrames = n;
            ++i;
        } else {
            std::fprintf(stderr, "kavrix-autopilot: unknown option %s\n%s", std::string(arg).c_str(), kUsage);
            return 2;
        }
    }
    try {
        if (soakFrames > 0) return autopilot::RunSoak(setup.dataDir, soakFrames);
        if (doSurvey) return autopilot::RunSurvey(survey);
        if (!levelGiven && !setup.pilot.wholeGame) {
            std::fprintf(stderr, "kavrix-autopilot: give --level N or --whole-game\n%s", kUsage);
            return 2;
        }
        if (setup.pilot.stopAfterLevel < 0) setup.pilot.stopAfterLevel = setup.level;
        const autopilot::GameResult result = autopilot::PlayGame(setup);
        if (!setup.recordFile.empty() && result.status == 0) AddHeader(setup.recordFile, replayOptions);
        PrintReport(result);
        return result.status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kavrix-autopilot: %s\n", e.what());
        return 1;
    }
}
