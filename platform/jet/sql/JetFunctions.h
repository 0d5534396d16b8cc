#pragma once

#include <string>

struct sqlite3;

namespace jet::sql {

// Jet's operators, functions and aggregates as SQLite functions named
// jet_*, for the SQL that ImpresorSqlite writes. A failure inside one
// (division by zero, a type mismatch) fails the statement with a message
// that JetFunctions::LeeError turns back into the Jet failure.
class JetFunctions {
public:
    static void Registra(sqlite3* db);
    // The kind and message of a failure raised by a jet_* function, from
    // SQLite's error text; false when the text is SQLite's own.
    static bool LeeError(const char* sError, std::string& sClase, std::string& sMensaje);
};

}  // namespace jet::sql
