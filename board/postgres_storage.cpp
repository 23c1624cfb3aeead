// The PostgreSQL backend through libpqxx 6.4: one connection, every
// statement prepared on it by name; workers on many machines share the queue,
// each taking its job with FOR UPDATE SKIP LOCKED so none waits for another's.
// The schema is brought up to date under an advisory lock, so processes
// started together migrate once.
#include <pqxx/pqxx>

#include <stdexcept>

#include "schema.h"
#include "storage.h"

namespace board {

namespace {

// The advisory lock's key: "kavrix-board" in no particular encoding.
constexpr int64_t kMigrationLock = 0x4b617672697842;

const std::pair<const char*, const char*> kStatements[] = {
    {"submit",
     "INSERT INTO replays (fingerprint, submitted_at, submitter, claimed_frames, game_version)"
     " VALUES ($1, $2, $3, $4, $5) ON CONFLICT (fingerprint) DO NOTHING RETURNING id"},
    {"submit_file", "INSERT INTO replay_files (replay_id, body) VALUES ($1, $2)"},
    {"existing", "SELECT id FROM replays WHERE fingerprint = $1"},
    {"find",
     "SELECT id, status, reason, name, score, difficulty, level, frames, version, submitted_at, hidden"
     " FROM replays WHERE id = $1"},
    {"file", "SELECT f.body FROM replay_files f JOIN replays r ON r.id = f.replay_id WHERE r.id = $1 AND r.hidden = 0"},
    {"scores",
     "SELECT id, name, score, level, submitted_at, version FROM replays"
     " WHERE difficulty = $1 AND status = 'verified' AND hidden = 0 ORDER BY score DESC, id LIMIT $2"},
    {"claim",
     "UPDATE replays SET status = 'verifying', worker = $1, lease_until = $2, attempts = attempts + 1"
     " WHERE id = (SELECT id FROM replays WHERE status = 'queued'"
     "  OR (status = 'verifying' AND lease_until < $3) ORDER BY id LIMIT 1 FOR UPDATE SKIP LOCKED)"
     " RETURNING id, claimed_frames, game_version, attempts"},
    {"body", "SELECT body FROM replay_files WHERE replay_id = $1"},
    {"release",
     "UPDATE replays SET status = 'queued', lease_until = 0, attempts = attempts - 1"
     " WHERE id = $1 AND worker = $2 AND status = 'verifying'"},
    {"renew", "UPDATE replays SET lease_until = $1 WHERE id = $2 AND worker = $3 AND status = 'verifying'"},
    {"finish",
     "UPDATE replays SET status = $1, reason = $2, name = $3, score = $4, difficulty = $5, level = $6,"
     " frames = $7, version = $8, verify_seconds = $9, verified_at = $10, lease_until = 0"
     " WHERE id = $11 AND worker = $12 AND status = 'verifying'"},
    {"count", "SELECT status, COUNT(*), COALESCE(SUM(verify_seconds), 0) FROM replays GROUP BY status"},
    {"hide", "UPDATE replays SET hidden = $1 WHERE id = $2"},
    {"delete", "DELETE FROM replays WHERE id = $1"},
};

std::string Bytes(const pqxx::field& field) {
    const pqxx::binarystring bytes(field);
    return bytes.str();
}

class PostgresStorage : public Storage {
public:
    explicit PostgresStorage(const std::string& url) : c_(url) {
        Migrate();
        // No statement of the board's takes long: one that does is ended,
        // so a thread never waits on the database for ever.
        c_.set_variable("statement_timeout", "30000");
        for (const auto& [name, sql] : kStatements) c_.prepare(name, sql);
    }

    std::optional<int64_t> Submit(const NewReplay& r, int64_t& existingId) override {
        pqxx::work t(c_);
        const pqxx::result inserted =
            t.exec_prepared("submit", r.fingerprint, r.submittedAt, r.submitter, r.claimedFrames, r.gameVersion);
        if (inserted.empty()) {
            const pqxx::result existing = t.exec_prepared("existing", r.fingerprint);
            existingId = existing.empty() ? 0 : existing[0][0].as<int64_t>();
            return std::nullopt;
        }
        const int64_t id = inserted[0][0].as<int64_t>();
        t.exec_prepared("submit_file", id, pqxx::binarystring(r.body.data(), r.body.size()));
        t.commit();
        return id;
    }

    std::optional<ReplayRecord> Find(int64_t id) override {
        pqxx::nontransaction t(c_);  // one statement: one round trip
        const pqxx::result rows = t.exec_prepared("find", id);
        if (rows.empty()) return std::nullopt;
        const pqxx::row row = rows[0];
        ReplayRecord r;
        r.id = row[0].as<int64_t>();
        r.status = row[1].as<std::string>();
        r.reason = row[2].as<std::string>();
        r.name = row[3].as<std::string>();
        r.score = row[4].as<int64_t>();
        r.difficulty = row[5].as<int>();
        r.level = row[6].as<int>();
        r.frames = row[7].as<int64_t>();
        r.version = row[8].as<std::string>();
        r.submittedAt = row[9].as<int64_t>();
        r.hidden = row[10].as<int>() != 0;
        return r;
    }

    std::optional<std::string> File(int64_t id) override {
        pqxx::nontransaction t(c_);  // one statement: one round trip
        const pqxx::result rows = t.exec_prepared("file", id);
        if (rows.empty()) return std::nullopt;
        return Bytes(rows[0][0]);
    }

    std::vector<ScoreRow> Scores(int difficulty, int limit) override {
        pqxx::nontransaction t(c_);  // one statement: one round trip
        std::vector<ScoreRow> list;
        for (const pqxx::row& row : t.exec_prepared("scores", difficulty, limit))
            list.push_back({row[0].as<int64_t>(), row[1].as<std::string>(), row[2].as<int64_t>(), row[3].as<int>(),
                            row[4].as<int64_t>(), row[5].as<std::string>()});
        return list;
    }

    std::optional<Job> Claim(const std::string& worker, int64_t now, int64_t leaseUntil) override {
        pqxx::work t(c_);
        const pqxx::result rows = t.exec_prepared("claim", worker, leaseUntil, now);
        if (rows.empty()) return std::nullopt;
        Job job{rows[0][0].as<int64_t>(), rows[0][1].as<int64_t>(), rows[0][2].as<int>(), rows[0][3].as<int>(), {}};
        const pqxx::result body = t.exec_prepared("body", job.id);
        if (!body.empty()) job.body = Bytes(body[0][0]);
        t.commit();
        return job;
    }

    bool Renew(int64_t id, const std::string& worker, int64_t leaseUntil) override {
        pqxx::work t(c_);
        const pqxx::result r = t.exec_prepared("renew", leaseUntil, id, worker);
        t.commit();
        return r.affected_rows() == 1;
    }

    void Release(int64_t id, const std::string& worker) override {
        pqxx::work t(c_);
        t.exec_prepared("release", id, worker);
        t.commit();
    }

    bool Finish(const Verdict& v, const std::string& worker, int64_t now) override {
        pqxx::work t(c_);
        const pqxx::result r = t.exec_prepared("finish", v.status, v.reason, v.name, v.score, v.difficulty, v.level,
                                               v.frames, v.version, v.seconds, now, v.id, worker);
        t.commit();
        return r.affected_rows() == 1;
    }

    Counts Count() override {
        pqxx::nontransaction t(c_);  // one statement: one round trip
        Counts c;
        for (const pqxx::row& row : t.exec_prepared("count")) {
            const std::string status = row[0].as<std::string>();
            int64_t* slot = status == "queued"      ? &c.queued
                            : status == "verifying" ? &c.verifying
                            : status == "verified"  ? &c.verified
                                                    : &c.refused;
            *slot = row[1].as<int64_t>();
            if (status == "verified" || status == "refused") c.verifySeconds += row[2].as<double>();
        }
        return c;
    }

    bool SetHidden(int64_t id, bool hidden) override {
        pqxx::work t(c_);
        const pqxx::result r = t.exec_prepared("hide", int(hidden), id);
        t.commit();
        return r.affected_rows() == 1;
    }

    bool Delete(int64_t id) override {
        pqxx::work t(c_);
        const pqxx::result r = t.exec_prepared("delete", id);
        t.commit();
        return r.affected_rows() == 1;
    }

private:
    pqxx::connection c_;

    // The schema's statements hold no values; the version applied is
    // written through a prepared statement.
    void Migrate() {
        pqxx::work t(c_);
        t.exec("SELECT pg_advisory_xact_lock(" + std::to_string(kMigrationLock) + ")");
        t.exec(kCreateMigrationsTable);
        c_.prepare("migrated", "SELECT COALESCE(MAX(version), 0) FROM schema_migrations");
        c_.prepare("migration_done",
                   "INSERT INTO schema_migrations (version, name, applied_at)"
                   " VALUES ($1, $2, EXTRACT(EPOCH FROM now())::BIGINT)");
        const int applied = t.exec_prepared1("migrated")[0].as<int>();
        for (const Migration& m : Migrations(Dialect::Postgres)) {
            if (m.version <= applied) continue;
            for (const std::string& statement : m.statements) t.exec(statement);
            t.exec_prepared0("migration_done", m.version, m.name);
        }
        t.commit();
        c_.unprepare("migrated");
        c_.unprepare("migration_done");
    }
};

}  // namespace

std::unique_ptr<Storage> OpenPostgres(const std::string& url) {
    try {
        return std::make_unique<PostgresStorage>(url);
    } catch (const pqxx::failure& e) {
        throw std::runtime_error(std::string("PostgreSQL: ") + e.what());
    }
}

}  // namespace board
