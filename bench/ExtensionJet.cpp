// The engine's jet_* functions and JET collation as a SQLite extension, so
// that the `sqlite3` program can run the SQLite texts the engine writes:
//   sqlite3 copia.db '.load build/bin/jet_sqlite' 'SELECT …'
// The engine's own calls go straight to libsqlite3, which is the library the
// `sqlite3` program itself uses on Debian; the routine table is not needed.
#include <sqlite3.h>

#include "platform/jet/ConexionesJet.h"

struct sqlite3_api_routines;

extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(
    sqlite3* db, char** pzError, const sqlite3_api_routines*) {
    try {
        jet::PreparaConexion(db, nullptr);
    } catch (...) {
        // Called by SQLite's C code, through which nothing may unwind.
        *pzError = sqlite3_mprintf("no se pudieron registrar las funciones de Jet");
        return SQLITE_ERROR;
    }
    return SQLITE_OK;
}
