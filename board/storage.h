// The score board's storage: submitted replays, their verification queue and
// the verified scores, behind one interface with two backends (SQLite, the
// default, and PostgreSQL). One Storage is one connection: a thread uses its
// own, taken from a ConnectionPool. Every statement that carries a value is
// prepared; the schema is the one of schema.cpp, brought up to date on open.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace board {

// A submission as stored when it arrives.
struct NewReplay {
    std::string fingerprint;    // the game it holds (submission.h)
    std::string body;           // the file as sent
    std::string submitter;      // the address it came from
    int64_t submittedAt = 0;    // Unix seconds
    int64_t claimedFrames = 0;  // its end line: bounds the verification only
    int gameVersion = 0;        // its version line's number
};

// What the board says of one replay.
struct ReplayRecord {
    int64_t id = 0;
    std::string status;  // queued, verifying, verified, refused
    std::string reason;  // why refused
    std::string name;    // UTF-8, as the replayed game has it
    int64_t score = 0;
    int difficulty = 0, level = 0;
    int64_t frames = 0;
    std::string version;  // the game version that verified it
    int64_t submittedAt = 0;
    bool hidden = false;
};

// One line of a difficulty's score list.
struct ScoreRow {
    int64_t id = 0;
    std::string name;
    int64_t score = 0;
    int level = 0;
    int64_t submittedAt = 0;
    std::string version;
};

// A job a worker took: the replay to verify and how often it was taken.
struct Job {
    int64_t id = 0;
    int64_t claimedFrames = 0;
    int gameVersion = 0;
    int attempts = 0;  // this one included
    std::string body;
};

// What verification found; status "verified" or "refused".
struct Verdict {
    int64_t id = 0;
    std::string status, reason, name, version;
    int64_t score = 0, frames = 0;
    int difficulty = 0, level = 0;
    double seconds = 0;  // the verification's wall time
};

// For /metrics: replays by status, and the verification time spent.
struct Counts {
    int64_t queued = 0, verifying = 0, verified = 0, refused = 0;
    double verifySeconds = 0;  // over every verified and refused replay
};

class Storage {
public:
    virtual ~Storage() = default;
    // The new replay's id; nullopt with existingId set when a replay of the
    // same game was stored before.
    virtual std::optional<int64_t> Submit(const NewReplay& replay, int64_t& existingId) = 0;
    virtual std::optional<ReplayRecord> Find(int64_t id) = 0;
    // The file as sent, unless the replay is hidden or gone.
    virtual std::optional<std::string> File(int64_t id) = 0;
    // The verified, shown replays of a difficulty, best first.
    virtual std::vector<ScoreRow> Scores(int difficulty, int limit) = 0;
    // Takes the oldest queued replay, or one whose worker's lease ran out
    // before now, for worker until leaseUntil.
    virtual std::optional<Job> Claim(const std::string& worker, int64_t now, int64_t leaseUntil) = 0;
    // Keeps a job for worker; false when it is no longer the worker's.
    virtual bool Renew(int64_t id, const std::string& worker, int64_t leaseUntil) = 0;
    // Gives a job back to the queue unfinished (its worker is stopping).
    virtual void Release(int64_t id, const std::string& worker) = 0;
    // Stores the verdict of worker's job; false when it was no longer its.
    virtual bool Finish(const Verdict& verdict, const std::string& worker, int64_t now) = 0;
    virtual Counts Count() = 0;
    // Admin actions; false when there is no such replay.
    virtual bool SetHidden(int64_t id, bool hidden) = 0;
    virtual bool Delete(int64_t id) = 0;
};

// Opens a connection for "sqlite:PATH" or "postgresql://..." (also
// "postgres://..."); the first one of a process brings the schema up to date.
// Throws std::runtime_error saying what failed.
std::unique_ptr<Storage> OpenStorage(const std::string& url);
// "sqlite" or "postgresql" for a database URL; throws on any other.
std::string BackendOf(const std::string& url);

std::unique_ptr<Storage> OpenSqlite(const std::string& path);
std::unique_ptr<Storage> OpenPostgres(const std::string& url);

}  // namespace board
