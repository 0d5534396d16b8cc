#pragma once

#include <string>

#include "platform/jet/sql/RecursosSqlite.h"

struct sqlite3;

namespace jet {

// Every SQLite connection the engine opens: the snapshot's, the second
// thread's (TAnticipador), each half's (CopiaPorMitades) and the SQLite
// program's through the bench's extension. Each is prepared alike, so the
// same SQL gives the same answer on any of them.

// A name for a database in memory that no other of this process has, for
// SQLite's memdb VFS (a URI): a second connection of this process opens the
// same database by it. sQue says whose it is ("instantanea", "hilo"...).
std::string NombreEnMemoria(const char* sQue);

// A new database in memory under that name, prepared (PreparaConexion);
// BaseNoCreada or CopiaNoPreparada when it cannot be.
sql::TConexionSqlite AbreEnMemoria(const std::string& sNombre, sql::TRanuraError* ranura);

// A second connection to a database opened so, prepared; none if it cannot
// be opened or prepared (the caller then does without it).
sql::TConexionSqlite AbreSegunda(const std::string& sNombre, sql::TRanuraError* ranura);

// What a connection needs to run the SQL the engine writes: the jet_*
// functions, the JET collation and the limits and settings the engine uses.
// ranura: where failures of jet_* functions go (none: only SQLite's text).
void PreparaConexion(sqlite3* db, sql::TRanuraError* ranura);

}  // namespace jet
