#pragma once

struct sqlite3;

namespace jet::sql {

class TRanuraError;

// Jet's operators, functions and aggregates as SQLite functions named
// jet_*, for the SQL that ImpresorSqlite writes. A failure inside one
// (division by zero, a type mismatch) fails the statement and leaves the
// Jet failure in the connection's slot, when it has one.
class JetFunctions {
public:
    // Throws when SQLite refuses a function.
    static void Registra(sqlite3* db, TRanuraError* ranura);
};

}  // namespace jet::sql
