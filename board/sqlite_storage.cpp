// The SQLite backend: one database file in WAL mode (readers never wait for
// the writer; a commit is durable once the process has written it), a busy
// timeout for the moments two connections write at once, and every
// statement prepared once per connection and bound by position.
#include <sqlite3.h>

#include <map>
#include <stdexcept>

#include "schema.h"
#include "storage.h"

namespace board {

namespace {

class SqliteStorage;

// A prepared statement in use: values bound, stepped, reset when done.
class Query {
public:
    Query(sqlite3* db, sqlite3_stmt* statement) : db_(db), s_(statement) {}
    ~Query() {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    Query& Bind(int at, int64_t value) {
        Check(sqlite3_bind_int64(s_, at, value));
        return *this;
    }
    Query& Bind(int at, double value) {
        Check(sqlite3_bind_double(s_, at, value));
        return *this;
    }
    Query& Bind(int at, const std::string& text) {
        Check(sqlite3_bind_text(s_, at, text.data(), int(text.size()), SQLITE_TRANSIENT));
        return *this;
    }
    Query& BindBlob(int at, const std::string& bytes) {
        Check(sqlite3_bind_blob(s_, at, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT));
        return *this;
    }
    // True while a row is there to read.
    bool Step() {
        const int rc = sqlite3_step(s_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(db_));
    }
    int64_t Int(int column) const { return sqlite3_column_int64(s_, column); }
    double Real(int column) const { return sqlite3_column_double(s_, column); }
    std::string Text(int column) const {
        const void* bytes = sqlite3_column_blob(s_, column);
        return bytes ? std::string(static_cast<const char*>(bytes), size_t(sqlite3_column_bytes(s_, column)))
                     : std::string();
    }
    int Changes() const { return sqlite3_changes(db_); }

private:
    sqlite3* db_;
    sqlite3_stmt* s_;
    void Check(int rc) const {
        if (rc != SQLITE_OK) throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(db_));
    }
};

constexpr const char* kReplayColumns =
    "id, status, reason, name, score, difficulty, level, frames, version, submitted_at, hidden";

ReplayRecord ReadRecord(const Query& q) {
    ReplayRecord r;
    r.id = q.Int(0);
    r.status = q.Text(1);
    r.reason = q.Text(2);
    r.name = q.Text(3);
    r.score = q.Int(4);
    r.difficulty = int(q.Int(5));
    r.level = int(q.Int(6));
    r.frames = q.Int(7);
    r.version = q.Text(8);
    r.submittedAt = q.Int(9);
    r.hidden = q.Int(10) != 0;
    return r;
}

class SqliteStorage : public Storage {
public:
    explicit SqliteStorage(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw std::runtime_error("cannot open the database '" + path + "': " + why);
        }
        sqlite3_busy_timeout(db_, 10000);
        Exec("PRAGMA journal_mode=WAL");
        Exec("PRAGMA synchronous=NORMAL");
        Exec("PRAGMA foreign_keys=ON");
        Migrate();
    }
    ~SqliteStorage() override {
        for (auto& [sql, statement] : prepared_) sqlite3_finalize(statement);
        sqlite3_close(db_);
    }

    std::optional<int64_t> Submit(const NewReplay& r, int64_t& existingId) override {
        Exec("BEGIN IMMEDIATE");
        try {
            Query insert = Prepared(
                "INSERT INTO replays (fingerprint, submitted_at, submitter, claimed_frames, game_version)"
                " VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT (fingerprint) DO NOTHING RETURNING id");
            insert.Bind(1, r.fingerprint).Bind(2, r.submittedAt).Bind(3, r.submitter).Bind(4, r.claimedFrames);
            insert.Bind(5, int64_t(r.gameVersion));
            if (!insert.Step()) {
                Exec("ROLLBACK");
                Query existing = Prepared("SELECT id FROM replays WHERE fingerprint = ?1");
                existing.Bind(1, r.fingerprint);
                existingId = existing.Step() ? existing.Int(0) : 0;
                return std::nullopt;
            }
            const int64_t id = insert.Int(0);
            while (insert.Step()) {
            }
            Query file = Prepared("INSERT INTO replay_files (replay_id, body) VALUES (?1, ?2)");
            file.Bind(1, id).BindBlob(2, r.body).Step();
            Exec("COMMIT");
            return id;
        } catch (...) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }

    std::optional<ReplayRecord> Find(int64_t id) override {
        Query q = Prepared(std::string("SELECT ") + kReplayColumns + " FROM replays WHERE id = ?1");
        q.Bind(1, id);
        if (!q.Step()) return std::nullopt;
        return ReadRecord(q);
    }

    std::optional<std::string> File(int64_t id) override {
        Query q = Prepared(
            "SELECT f.body FROM replay_files f JOIN replays r ON r.id = f.replay_id WHERE r.id = ?1 AND r.hidden = 0");
        q.Bind(1, id);
        if (!q.Step()) return std::nullopt;
        return q.Text(0);
    }

    std::vector<ScoreRow> Scores(int difficulty, int limit) override {
        Query q = Prepared(
            "SELECT id, name, score, level, submitted_at, version FROM replays"
            " WHERE difficulty = ?1 AND status = 'verified' AND hidden = 0 ORDER BY score DESC, id LIMIT ?2");
        q.Bind(1, int64_t(difficulty)).Bind(2, int64_t(limit));
        std::vector<ScoreRow> rows;
        while (q.Step()) rows.push_back({q.Int(0), q.Text(1), q.Int(2), int(q.Int(3)), q.Int(4), q.Text(5)});
        return rows;
    }

    std::optional<Job> Claim(const std::string& worker, int64_t now, int64_t leaseUntil) override {
        // One statement under the database's write lock: two workers never
        // take the same job.
        Query q = Prepared(
            "UPDATE replays SET status = 'verifying', worker = ?1, lease_until = ?2, attempts = attempts + 1"
            " WHERE id = (SELECT id FROM replays WHERE status = 'queued'"
            "  OR (status = 'verifying' AND lease_until < ?3) ORDER BY id LIMIT 1)"
            " RETURNING id, claimed_frames, game_version, attempts");
        q.Bind(1, worker).Bind(2, leaseUntil).Bind(3, now);
        if (!q.Step()) return std::nullopt;
        Job job{q.Int(0), q.Int(1), int(q.Int(2)), int(q.Int(3)), {}};
        while (q.Step()) {
        }
        Query body = Prepared("SELECT body FROM replay_files WHERE replay_id = ?1");
        body.Bind(1, job.id);
        if (body.Step()) job.body = body.Text(0);
        return job;
    }

    bool Renew(int64_t id, const std::string& worker, int64_t leaseUntil) override {
        Query q =
            Prepared("UPDATE replays SET lease_until = ?1 WHERE id = ?2 AND worker = ?3 AND status = 'verifying'");
        q.Bind(1, leaseUntil).Bind(2, id).Bind(3, worker).Step();
        return q.Changes() == 1;
    }

    void Release(int64_t id, const std::string& worker) override {
        Query q = Prepared(
            "UPDATE replays SET status = 'queued', lease_until = 0, attempts = attempts - 1"
            " WHERE id = ?1 AND worker = ?2 AND status = 'verifying'");
        q.Bind(1, id).Bind(2, worker).Step();
    }

    bool Finish(const Verdict& v, const std::string& worker, int64_t now) override {
        Query q = Prepared(
            "UPDATE replays SET status = ?1, reason = ?2, name = ?3, score = ?4, difficulty = ?5, level = ?6,"
            " frames = ?7, version = ?8, verify_seconds = ?9, verified_at = ?10, lease_until = 0"
            " WHERE id = ?11 AND worker = ?12 AND status = 'verifying'");
        q.Bind(1, v.status).Bind(2, v.reason).Bind(3, v.name).Bind(4, v.score).Bind(5, int64_t(v.difficulty));
        q.Bind(6, int64_t(v.level)).Bind(7, v.frames).Bind(8, v.version).Bind(9, v.seconds).Bind(10, now);
        q.Bind(11, v.id).Bind(12, worker).Step();
        return q.Changes() == 1;
    }

    Counts Count() override {
        Query q = Prepared("SELECT status, COUNT(*), SUM(verify_seconds) FROM replays GROUP BY status");
        Counts c;
        while (q.Step()) {
            const std::string status = q.Text(0);
            int64_t* slot = status == "queued"      ? &c.queued
                            : status == "verifying" ? &c.verifying
                            : status == "verified"  ? &c.verified
                                                    : &c.refused;
            *slot = q.Int(1);
            if (status == "verified" || status == "refused") c.verifySeconds += q.Real(2);
        }
        return c;
    }

    bool SetHidden(int64_t id, bool hidden) override {
        Query q = Prepared("UPDATE replays SET hidden = ?1 WHERE id = ?2");
        q.Bind(1, int64_t(hidden)).Bind(2, id).Step();
        return q.Changes() == 1;
    }

    bool Delete(int64_t id) override {
        Query q = Prepared("DELETE FROM replays WHERE id = ?1");  // its file goes with it
        q.Bind(1, id).Step();
        return q.Changes() == 1;
    }

private:
    sqlite3* db_ = nullptr;
    std::map<std::string, sqlite3_stmt*> prepared_;

    // Statements without values only: pragmas, transactions, the schema.
    void Exec(const char* sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string why = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error("SQLite: " + why + " (" + std::string(sql).substr(0, 60) + ")");
        }
    }
    Query Prepared(const std::string& sql) {
        sqlite3_stmt*& statement = prepared_[sql];
        if (!statement && sqlite3_prepare_v2(db_, sql.c_str(), int(sql.size()), &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(db_));
        return Query(db_, statement);
    }
    void Migrate() {
        Exec("BEGIN IMMEDIATE");
        try {
            Exec(kCreateMigrationsTable);
            int64_t applied = 0;
            {
                Query q = Prepared("SELECT COALESCE(MAX(version), 0) FROM schema_migrations");
                if (q.Step()) applied = q.Int(0);
            }
            for (const Migration& m : Migrations(Dialect::Sqlite)) {
                if (m.version <= applied) continue;
                for (const std::string& statement : m.statements) Exec(statement.c_str());
                Query q = Prepared(
                    "INSERT INTO schema_migrations (version, name, applied_at) VALUES (?1, ?2, strftime('%s', 'now'))");
                q.Bind(1, int64_t(m.version)).Bind(2, m.name).Step();
            }
            Exec("COMMIT");
        } catch (...) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            throw;
        }
    }
};

}  // namespace

std::unique_ptr<Storage> OpenSqlite(const std::string& path) { return std::make_unique<SqliteStorage>(path); }

}  // namespace board
