// What the score board's tests share: kavrix-board started and killed as a
// real process on 127.0.0.1, a fresh database of the backend under test
// (SQLite, or the PostgreSQL in $KAVRIX_BOARD_DATABASE), HTTP through the
// board's own HTTP library, and real kept replays of lost games made by
// headless runs of the game (the autopilot plays, the game keeps).
#pragma once
#include <httplib.h>
#include <sys/types.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

// A running kavrix-board; killed with SIGKILL when dropped.
class BoardProcess {
public:
    // Starts it with the test data, the game of this build and these
    // arguments, and waits for its first line; fails the test if it stops.
    explicit BoardProcess(const std::vector<std::string>& args);
    ~BoardProcess();
    BoardProcess(const BoardProcess&) = delete;
    BoardProcess& operator=(const BoardProcess&) = delete;

    int Port() const { return port_; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    httplib::Client Client() const;
    void Kill();  // SIGKILL, waited for
    int Stop();   // SIGTERM, waited for; the exit status
    std::string Log() const;

private:
    pid_t pid_ = -1;
    int port_ = 0;
    std::string log_;
};

// The bounds a board in a test runs with (a sanitizer build's game is slower
// and cannot have its address space bounded).
std::vector<std::string> TestBoardArgs(const std::string& database);

// A database of the backend under test that no other test uses.
std::string FreshDatabase(const std::string& tag);
bool OnPostgres();

// A game lost at level 1, kept by the game as a replay.
struct KeptGame {
    std::string path, text;
    std::string name;  // UTF-8
    int difficulty = 0;
    long long score = 0;  // as the game's score page shows it
    long long frames = 0;
};
// Made once per process: difficulty 1 "Kavrix", 2 "Žluťoučký kůň",
// 3 "<script>"Pilot".
const KeptGame& LostGame(int difficulty);
// A game begun from the menu (the golden front end's), kept when the run
// ended with the game still going.
const KeptGame& UnfinishedMenuGame();

// POST /api/replays; the status and the answer.
struct Answer {
    int status = 0;
    nlohmann::json body;
};
Answer PostReplay(httplib::Client& client, const std::string& text);
// GET a JSON answer.
Answer GetJson(httplib::Client& client, const std::string& path);
// Waits (up to a bound) until the replay is verified or refused; its record.
nlohmann::json WaitForVerdict(httplib::Client& client, long long id);

// The replay with its player's lives changed in its starting state (read
// back and written again with the game's own routines) and its hash 0 made
// anew, as a forger with the game's source would.
std::string WithForgedLives(const std::string& replay, int lives);
