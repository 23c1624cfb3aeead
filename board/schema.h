// The board's one schema, as versioned migrations that both backends apply
// in order. A migration is written once; the two words where SQLite and
// PostgreSQL differ ({id} for a table's own key, {blob} for bytes) are put
// in for each. The versions applied are kept in schema_migrations.
#pragma once
#include <string>
#include <vector>

namespace board {

enum class Dialect { Sqlite, Postgres };

struct Migration {
    int version;
    std::string name;
    std::vector<std::string> statements;  // for the dialect asked
};

// Every migration, oldest first.
std::vector<Migration> Migrations(Dialect dialect);

constexpr const char* kCreateMigrationsTable =
    "CREATE TABLE IF NOT EXISTS schema_migrations (version INTEGER PRIMARY KEY, name TEXT NOT NULL, "
    "applied_at BIGINT NOT NULL)";

}  // namespace board
