// The migrations. Version 1: the replays with their verification state and
// verdict (the queue is the replays whose status is queued, or verifying
// with a lease run out), their files in a table of their own so the score
// lists read small rows, and the indexes the queue and the lists use.
#include "schema.h"

namespace board {

namespace {

std::string Put(std::string sql, Dialect dialect) {
    const std::pair<const char*, const char*> words[] = {
        {"{id}", dialect == Dialect::Sqlite ? "INTEGER PRIMARY KEY" : "BIGSERIAL PRIMARY KEY"},
        {"{blob}", dialect == Dialect::Sqlite ? "BLOB" : "BYTEA"},
    };
    for (const auto& [word, text] : words)
        for (size_t at = sql.find(word); at != std::string::npos; at = sql.find(word, at))
            sql.replace(at, std::string(word).size(), text);
    return sql;
}

}  // namespace

std::vector<Migration> Migrations(Dialect dialect) {
    std::vector<Migration> all = {
        {1,
         "replays and their queue",
         {
             "CREATE TABLE replays ("
             " id {id},"
             " fingerprint TEXT NOT NULL UNIQUE,"
             " submitted_at BIGINT NOT NULL,"
             " submitter TEXT NOT NULL,"
             " claimed_frames BIGINT NOT NULL,"
             " game_version INTEGER NOT NULL,"
             " status TEXT NOT NULL DEFAULT 'queued'"
             "  CHECK (status IN ('queued', 'verifying', 'verified', 'refused')),"
             " reason TEXT NOT NULL DEFAULT '',"
             " name TEXT NOT NULL DEFAULT '',"
             " score BIGINT NOT NULL DEFAULT 0,"
             " difficulty INTEGER NOT NULL DEFAULT 0,"
             " level INTEGER NOT NULL DEFAULT 0,"
             " frames BIGINT NOT NULL DEFAULT 0,"
             " version TEXT NOT NULL DEFAULT '',"
             " attempts INTEGER NOT NULL DEFAULT 0,"
             " worker TEXT NOT NULL DEFAULT '',"
             " lease_until BIGINT NOT NULL DEFAULT 0,"
             " verified_at BIGINT NOT NULL DEFAULT 0,"
             " verify_seconds DOUBLE PRECISION NOT NULL DEFAULT 0,"
             " hidden INTEGER NOT NULL DEFAULT 0)",
             "CREATE TABLE replay_files ("
             " replay_id BIGINT PRIMARY KEY REFERENCES replays (id) ON DELETE CASCADE,"
             " body {blob} NOT NULL)",
             "CREATE INDEX replays_queue ON replays (status, id)",
             "CREATE INDEX replays_board ON replays (difficulty, score DESC, id)"
             " WHERE status = 'verified' AND hidden = 0",
         }},
    };
    for (Migration& m : all)
        for (std::string& statement : m.statements) statement = Put(statement, dialect);
    return all;
}

}  // namespace board
