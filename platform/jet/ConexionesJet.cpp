#include "platform/jet/ConexionesJet.h"

#include <sqlite3.h>

#include <atomic>
#include <mutex>

#include "platform/jet/ErroresJet.h"
#include "platform/jet/sql/JetCollation.h"
#include "platform/jet/sql/JetFunctions.h"
#include "platform/jet/sql/TiposLector.h"

namespace jet {

std::string NombreEnMemoria(const char* sQue) {
    static std::atomic<unsigned> n{0};
    return std::string("file:/kova-") + sQue + "-" + std::to_string(++n) + "?vfs=memdb";
}

sql::TConexionSqlite AbreEnMemoria(const std::string& sNombre, sql::TRanuraError* ranura) {
    // SQLite's memory statistics take a process-wide mutex on every
    // allocation, and nothing here reads them. Only possible before SQLite
    // starts up; if something else started it first, it stays on (harmless).
    static std::once_flag sinEstadisticas;
    std::call_once(sinEstadisticas, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
    // Each connection is used by one thread at a time: SQLite's own locking
    // per call would only cost time (a tenth of a run).
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(
        sNombre.c_str(), &db,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI,
        nullptr);
    sql::TConexionSqlite conexion(db);
    if (rc != SQLITE_OK)
        throw ErrorJet(TErrorJet::BaseNoCreada);
    PreparaConexion(db, ranura);
    return conexion;
}

sql::TConexionSqlite AbreSegunda(const std::string& sNombre, sql::TRanuraError* ranura) {
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(sNombre.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI, nullptr);
    sql::TConexionSqlite conexion(db);
    if (rc != SQLITE_OK)
        return nullptr;
    try {
        PreparaConexion(db, ranura);
    } catch (const EErrorJet&) {
        return nullptr;
    }
    return conexion;
}

void PreparaConexion(sqlite3* db, sql::TRanuraError* ranura) {
    // A quoted name that matches no column must fail, never turn into text.
    if (sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr) != SQLITE_OK ||
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr) != SQLITE_OK)
        throw ErrorJet(TErrorJet::CopiaNoPreparada, {sqlite3_errmsg(db)});
    // sqlite3_limit answers the previous limit: nothing to check.
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 1 << 30);
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 10000);
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 100000);  // capped at SQLite's build maximum
    sql::JetCollation::Registra(db);
    sql::JetFunctions::Registra(db, ranura);
    sql::TiposLector::Registra(db, ranura);
}

}  // namespace jet
