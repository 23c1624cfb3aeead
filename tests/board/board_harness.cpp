// The board tests' processes, databases, HTTP calls and kept replays.
#include "board_harness.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <pqxx/pqxx>
#include <sstream>
#include <thread>

#include "shell/input_script.h"
#include "shell/line_buffer.h"
#include "shell/replay.h"
#include "shell/starting_state.h"
#include "state/saved_files.h"
#include "test_support.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// The first line of the board's output, once it is there: the address.
bool ReadPort(const std::string& log, int& port) {
    if (!fs::exists(log)) return false;
    const std::string text = ReadTextFile(log);
    if (text.find("verifying only") != std::string::npos) return true;
    const size_t at = text.find("listening on http://127.0.0.1:");
    if (at == std::string::npos) return false;
    port = std::atoi(text.c_str() + at + 30);
    return true;
}

// One line of the input a recording holds (no hash or end lines).
std::string InputOf(const std::string& recording) {
    std::string input;
    std::istringstream in(recording);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("hash ", 0) != 0 && line.rfind("end ", 0) != 0) input += line + "\n";
    return input;
}

// Plays the input in a fresh save folder whose score table any score
// enters, keeping the replay; the game kept and the score its page shows.
KeptGame KeepGame(const std::string& dir, const std::string& input, long long frames) {
    ScoreTableRecord table;  // every rank at 0 points
    const auto bytes = EncodeScores(table);
    WriteFileBytes(dir + "/" + kScoresFileName, std::vector<uint8_t>(bytes.begin(), bytes.end()));
    WriteTextFile(dir + "/game.txt", input);
    EXPECT_EQ(KavrixIn(dir, "--headless --keep-replays --save-dir . --input game.txt --frames " +
                                std::to_string(frames) + " --dump-state s.json"),
              0)
        << ReadTextFile(dir + "/err.txt");
    KeptGame game;
    for (const auto& entry : fs::directory_iterator(dir + "/replays")) game.path = entry.path().string();
    game.text = ReadTextFile(game.path);
    InputScript script;
    std::string error;
    EXPECT_TRUE(ParseInputScript(game.text, game.path, script, error)) << error;
    game.name = script.game.name;
    game.frames = script.game.frames;
    const std::string dump = ReadTextFile(dir + "/s.json");
    game.score = DumpInt(dump, "Score", dump.find("\"rank\":1,"));  // the score page's first entry
    return game;
}

KeptGame MakeLostGame(int difficulty) {
    static const std::map<int, std::pair<int, std::string>> kGames = {
        {1, {4, "Kavrix"}}, {2, {3, "Žluťoučký kůň"}}, {3, {1, "<script>\"Pilot"}}};
    const auto& [seed, name] = kGames.at(difficulty);
    const std::string dir = MakeTempDir("board-game");
    const std::string command = "'" KAVRIX_AUTOPILOT_BINARY "' --data '" + TestDataDir() + "' --save-dir '" + dir +
                                "' --record '" + dir + "/lost.rec' --lose --level 1 --difficulty " +
                                std::to_string(difficulty) + " --seed " + std::to_string(seed) + " --name '" + name +
                                "' --stop-after-level >'" + dir + "/autopilot.txt' 2>&1";
    EXPECT_EQ(RunCommand(command), 0) << ReadTextFile(dir + "/autopilot.txt");
    const std::string recording = ReadTextFile(dir + "/lost.rec");
    fs::create_directory(dir + "/keep");
    // A few frames past the recording's end: the score page has taken the
    // score, and the game's kept replay has ended.
    const long long end = std::atoll(recording.c_str() + recording.rfind("end ") + 4);
    KeptGame game = KeepGame(dir + "/keep", InputOf(recording), end + 5);
    game.difficulty = difficulty;
    return game;
}

}  // namespace

BoardProcess::BoardProcess(const std::vector<std::string>& args) {
    log_ = MakeTempDir("board-log") + "/board.txt";
    std::vector<std::string> words = {KAVRIX_BOARD_BINARY};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
        const int log = open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0 && dup2(log, 1) >= 0 && dup2(log, 2) >= 0) execv(argv[0], argv.data());
        _exit(127);
    }
    for (int tries = 0; tries < 300 && !ReadPort(log_, port_); ++tries) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            ADD_FAILURE() << "kavrix-board stopped at once:\n" << Log();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

BoardProcess::~BoardProcess() { Kill(); }

httplib::Client BoardProcess::Client() const {
    httplib::Client client("127.0.0.1", port_);
    client.set_connection_timeout(5);
    client.set_read_timeout(30);
    return client;
}

void BoardProcess::Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

int BoardProcess::Stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string BoardProcess::Log() const { return ReadTextFile(log_); }

std::vector<std::string> TestBoardArgs(const std::string& database) {
    std::vector<std::string> args = {"--database", database,      "--game",        KavrixBinary(),
                                     "--data",     TestDataDir(), "--job-timeout", "2"};
#ifdef KAVRIX_SANITIZED_GAME
    // The sanitizers reserve terabytes of address space and slow the game
    // several times over.
    args.insert(args.end(), {"--child-memory-mb", "0", "--verify-speed", "100"});
#endif
    return args;
}

bool OnPostgres() { return std::getenv("KAVRIX_BOARD_DATABASE") != nullptr; }

std::string FreshDatabase(const std::string& tag) {
    if (!OnPostgres()) return "sqlite:" + MakeTempDir("board-" + tag) + "/board.sqlite";
    const std::string base = std::getenv("KAVRIX_BOARD_DATABASE");
    const std::string name = "board_" + tag;
    pqxx::connection connection(base);
    pqxx::nontransaction t(connection);
    t.exec("DROP DATABASE IF EXISTS " + name);
    t.exec("CREATE DATABASE " + name);
    return base.substr(0, base.rfind('/') + 1) + name;
}

const KeptGame& LostGame(int difficulty) {
    static std::map<int, KeptGame> made;
    if (!made.count(difficulty)) made[difficulty] = MakeLostGame(difficulty);
    return made.at(difficulty);
}

const KeptGame& UnfinishedMenuGame() {
    static const KeptGame game = [] {
        const std::string dir = MakeTempDir("board-menu-game");
        return KeepGame(dir, InputOf(ReadTextFile(GoldenReplay("front_end_en.replay"))), 3000);
    }();
    return game;
}

Answer PostReplay(httplib::Client& client, const std::string& text) {
    const httplib::Result result = client.Post("/api/replays", text, "application/octet-stream");
    if (!result) return {};
    return {result->status, json::parse(result->body, nullptr, false)};
}

Answer GetJson(httplib::Client& client, const std::string& path) {
    const httplib::Result result = client.Get(path);
    if (!result) return {};
    return {result->status, json::parse(result->body, nullptr, false)};
}

json WaitForVerdict(httplib::Client& client, long long id) {
    for (int tries = 0; tries < 1200; ++tries) {
        const Answer a = GetJson(client, "/api/replays/" + std::to_string(id));
        if (a.status == 200 && (a.body["status"] == "verified" || a.body["status"] == "refused")) return a.body;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ADD_FAILURE() << "replay " << id << " got no verdict in 120 s";
    return json::object();
}

std::string WithForgedLives(const std::string& replay, int lives) {
    InputScript script;
    std::string error;
    EXPECT_TRUE(ParseInputScript(replay, "replay", script, error)) << error;
    TestWorld t = MakeTestWorld();
    const uint32_t clock = ReadStartingState(t.w(), script.startingState);
    t.w().game.Progress.Lives = lives;
    LineBuffer state(1 << 20);
    WriteStartingState(t.w(), clock, state);
    ScriptEvent hash0;
    hash0.kind = ScriptEventKind::Hash;
    hash0.hash = GameStateHash(t.w());
    // The state lines and hash 0 in place of the old.
    std::string forged;
    std::istringstream in(replay);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("state ", 0) == 0) continue;
        if (line.rfind("hash 0 ", 0) == 0) line = std::string(state.Text()) + FormatScriptEvent(hash0);
        forged += line + "\n";
    }
    return forged;
}
