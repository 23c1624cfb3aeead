// The kept replays: the folder "replays" beside the saved files, holding the
// last ten games and one replay for each entry of the score table while the
// entry stands. Each file is a recording whose "game" line says what lists
// show. Finished recordings are written, and the folder pruned, on a thread
// of their own, so a frame never waits for the disk; a write that fails (a
// full disk) drops that replay with one message and the game goes on.
#pragma once
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "shell/input_script.h"
#include "state/saved_state.h"

constexpr int kKeptLastGames = 10;

// One kept replay as lists show it.
struct KeptReplay {
    std::string name;  // the file's name without ".replay"
    std::string path;
    ScriptGame game;
};

// "replays" in the save folder.
std::string ReplayFolderIn(const std::string& saveFolder);

// Reads a replay file whole (a bounded read), parses and checks it. Not Ok:
// error says why ("NAME:LINE: ...", "recording 'X' is a folder").
enum class ReplayFileStatus { Ok, Missing, OtherVersion, Damaged };
ReplayFileStatus LoadReplayFile(const std::string& path, InputScript& script, std::string& error);
// Moves a damaged replay aside as NAME.damaged (or .damaged.2, ...) and says
// so on stderr, as damaged saved files are kept.
// Returns what was said.
std::string MoveDamagedReplayAside(const std::string& path, const std::string& problem);

class ReplayLibrary {
public:
    explicit ReplayLibrary(std::string folder);
    ~ReplayLibrary();  // the replays handed over are written first
    ReplayLibrary(const ReplayLibrary&) = delete;
    ReplayLibrary& operator=(const ReplayLibrary&) = delete;

    const std::string& Folder() const { return folder_; }
    std::string PathOf(const std::string& name) const;

    // Every kept replay, oldest first (by name, which is the time its game
    // began); one whose header cannot be read is reported and moved aside
    // (and what was said of it added to damaged, when given).
    std::vector<KeptReplay> List(std::vector<std::string>* damaged = nullptr) const;
    // Puts beside each entry of the table the kept replay made for it: the
    // replays whose score entered the table, oldest first, each take the
    // highest entry of the same score and name at or below the rank it
    // entered at that no older one took (entries only ever move down).
    static void MarkScores(const std::vector<KeptReplay>& replays, const ScoreTableRecord& table,
                           NumberedArray<ReplayName, 10>& marks);

    // A name for a game beginning now ("2026-03-14_21-05-33", "_02" and on
    // when taken); date gets the game line's date.
    std::string NewName(std::string& date);
    // Hands a finished recording over: it is written into the folder in the
    // background, then the folder keeps the last ten games and the replays
    // of the entries of table (the table as it stands after the game).
    void Keep(const std::string& name, std::string text, const ScoreTableRecord& table);
    // Waits until every replay handed over is written.
    void WaitForWrites();
    // The names of replays that could not be written since the last call.
    std::vector<std::string> TakeFailures();

private:
    struct Job {
        std::string name, text;
        ScoreTableRecord table;
    };
    std::string folder_;
    std::vector<std::string> namesGiven_;  // this run's, written or not
    std::mutex lock_;
    std::condition_variable wake_, idle_;
    std::deque<Job> jobs_;
    bool busy_ = false, stopping_ = false, threadTried_ = false;
    std::thread writer_;
    std::vector<std::string> failures_;
    std::atomic<bool> failed_{false};

    void WriterLoop();
    void Write(const Job& job);
    void Prune(const ScoreTableRecord& table);
};
