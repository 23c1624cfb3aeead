// One verification: the folder, the child's command line and bounds, and
// the reading of what it found. The verdict the game writes is checked
// against its state dump (the score page may have moved the score into the
// table), and only a game that ended, one game to a replay, is listed.
#include "verifier.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "child_process.h"
#include "submission.h"

namespace board {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr int kMostNameCharacters = 20;

Verdict Refused(const Job& job, const std::string& reason) { return Judged(job.id, "refused", reason); }
Verdict Failed(const Job& job, const std::string& reason) { return Judged(job.id, "", reason); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The game's last message, with the verification folder's paths taken out.
std::string GameMessage(const std::string& output, const std::string& replayPath) {
    std::string message;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("Kavrix: ", 0) == 0) message = line.substr(8);
    for (const std::string& path :
         {"replay '" + replayPath + "': ", "replay '" + replayPath + "' ", replayPath + ":"}) {
        const size_t at = message.find(path);
        if (at != std::string::npos) message.replace(at, path.size(), path.back() == ':' ? "line " : "");
    }
    return message.empty() ? "the game said nothing" : message;
}

// Characters of a UTF-8 text, or -1 when it holds a control character.
int NameCharacters(const std::string& utf8) {
    int count = 0;
    for (unsigned char c : utf8) {
        if (c < 0x20 || c == 0x7f) return -1;
        count += (c & 0xc0) != 0x80;
    }
    return count;
}

// Does the state dump agree with the verdict? The score is in Progress, or,
// once the score page took it, in the score table under the player's name.
bool DumpAgrees(const json& verdict, const json& dump) {
    const json& p = dump.at("Progress");
    const std::string name = verdict.at("player");
    const int64_t score = verdict.at("score");
    if (p.at("PlayerName") != name || p.at("Level") != verdict.at("levelReached")) return false;
    if (p.at("Difficulty").get<int>() < verdict.at("difficulty").get<int>()) return false;
    if (p.at("Score") == score) return true;
    if (p.at("Score") != 0) return false;
    for (const json& entry : dump.at("ScoreTable"))
        if (entry.at("Score") == score && entry.at("Name") == name) return true;
    return false;
}

// What the replayed game says, when the game replayed it to its end.
Verdict Judge(const Job& job, const GameBinary& game, const json& v, const json& dump) {
    const int64_t frames = v.at("frames"), ended = v.at("endedAfterFrame");
    if (v.at("anotherGameBeganAfterFrame") >= 0)
        return Refused(job, "another game began after frame " + v.at("anotherGameBeganAfterFrame").dump() +
                                ": a replay holds one game");
    if (!v.at("ended").get<bool>())
        return Refused(job, "the game did not end: the replay stops after frame " + std::to_string(frames) +
                                " with the game still going (a game is listed once it is lost or won)");
    if (ended != frames)
        return Refused(job, "the recording goes on " + std::to_string(frames - ended) +
                                " frames after its game ended after frame " + std::to_string(ended));
    const std::string name = v.at("player");
    const int characters = NameCharacters(name);
    if (characters < 1 || characters > kMostNameCharacters)
        return Refused(job, "its player's name is not a name the game allows (1 to 20 characters, no control codes)");
    if (!DumpAgrees(v, dump)) return Refused(job, "the replayed state disagrees with the game's verdict");
    Verdict verdict;
    verdict.id = job.id;
    verdict.status = "verified";
    verdict.name = name;
    verdict.score = v.at("score");
    verdict.difficulty = v.at("difficulty");
    verdict.level = v.at("levelReached");
    verdict.frames = frames;
    verdict.version = game.programVersion;
    return verdict;
}

// What the child's end says.
Verdict Interpret(const Job& job, const GameBinary& game, const ChildResult& run, const std::string& folder,
                  int cpuSeconds) {
    const std::string replayPath = folder + "/replay.replay";
    const bool outOfTime = run.end == ChildResult::End::TimedOut ||
                           (run.end == ChildResult::End::Signalled && (run.code == SIGXCPU || run.code == SIGKILL));
    if (outOfTime)
        return Refused(job, "its replay took longer than " + std::to_string(cpuSeconds) +
                                " CPU seconds, more than a game of its length needs");
    if (run.end != ChildResult::End::Exited) return Failed(job, "the game was " + DescribeEnd(run));
    switch (run.code) {
        case 0: break;
        case 2: return Refused(job, GameMessage(run.output, replayPath));
        case 3: return Refused(job, "the replay went its own way: " + GameMessage(run.output, replayPath));
        case 4: {
            std::string message = GameMessage(run.output, replayPath);
            const size_t said = message.find("is not a new game: ");
            if (said != std::string::npos) message = message.substr(said + 19);
            return Refused(job, "not a new game: " + message);
        }
        default: return Failed(job, "the game ended with " + DescribeEnd(run) + ": " + run.output.substr(0, 300));
    }
    try {
        return Judge(job, game, json::parse(ReadFile(folder + "/verdict.json")),
                     json::parse(ReadFile(folder + "/state.json")));
    } catch (const json::exception& e) {
        return Failed(job, std::string("the game's verdict cannot be read: ") + e.what());
    }
}

}  // namespace

Verdict Judged(int64_t id, const std::string& status, const std::string& reason) {
    Verdict v;
    v.id = id;
    v.status = status;
    v.reason = reason.substr(0, 400);
    return v;
}

int CpuSecondsFor(const VerifierSettings& settings, int64_t frames) {
    return settings.cpuMarginSeconds + int(double(frames) / settings.framesPerCpuSecond + 0.999);
}

Verdict Verify(const Job& job, const VerifierSettings& settings, const std::function<bool()>& everySecond) {
    SubmittedReplay replay;
    std::string error;
    if (!ReadSubmission(job.body, replay, error)) return Refused(job, error);
    const GameBinary* game = GameForVersion(settings.games, replay.version);
    if (!game)
        return Refused(job, "it was made by version " + std::to_string(replay.version) + " of the game (" +
                                (replay.versionNote.empty() ? "no program named" : replay.versionNote) +
                                "); this board verifies " + HeldVersions(settings.games));

    std::string folder = (fs::path(settings.workRoot) / "kavrix-verify-XXXXXX").string();
    if (!mkdtemp(folder.data())) return Failed(job, "cannot make a folder in '" + settings.workRoot + "'");
    Verdict verdict;
    try {
        fs::create_directory(folder + "/saves");
        std::ofstream(folder + "/replay.replay", std::ios::binary) << job.body;
        ChildLimits limits;
        limits.cpuSeconds = CpuSecondsFor(settings, replay.frames);
        limits.wallSeconds = 2.0 * limits.cpuSeconds + 10;
        limits.addressSpaceBytes = settings.addressSpaceBytes;
        std::vector<std::string> argv = {game->path,          "--headless",
                                         "--save-dir",        folder + "/saves",
                                         "--replay",          folder + "/replay.replay",
                                         "--verify-new-game", folder + "/verdict.json",
                                         "--dump-state",      folder + "/state.json"};
        if (!settings.dataDir.empty()) argv.insert(argv.begin() + 2, {"--data", settings.dataDir});
        const ChildResult run = RunChild(argv, folder, limits, everySecond);
        verdict = Interpret(job, *game, run, folder, limits.cpuSeconds);
        verdict.seconds = run.wallSeconds;
    } catch (const std::exception& e) {
        verdict = Failed(job, std::string("verification failed: ") + e.what());
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return verdict;
}

}  // namespace board
