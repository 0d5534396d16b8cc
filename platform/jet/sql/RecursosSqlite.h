#pragma once

#include <sqlite3.h>

#include <memory>
#include <optional>

#include "platform/jet/EErrorJet.h"

namespace jet::sql {

// Owners of SQLite's handles: a connection closes, a statement finalises,
// on every path out, failures included.
struct CierraConexion {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizaSentencia {
    void operator()(sqlite3_stmt* st) const { sqlite3_finalize(st); }
};
using TConexionSqlite = std::unique_ptr<sqlite3, CierraConexion>;
using TSentenciaSqlite = std::unique_ptr<sqlite3_stmt, FinalizaSentencia>;

// Where a jet_* function leaves the Jet failure it raised, one per
// connection: SQLite carries only a message out of a function, and the
// engine needs the failure's kind too. The engine takes it when a
// statement fails; a failure that SQLite raised itself leaves it empty.
class TRanuraError {
public:
    void Pon(const EErrorJet& e) {
        if (!error_)
            error_ = e;
    }
    std::optional<EErrorJet> Toma() {
        std::optional<EErrorJet> e;
        e.swap(error_);
        return e;
    }
    void Vacia() { error_.reset(); }

private:
    std::optional<EErrorJet> error_;
};

// A failure of SQLite itself (no Jet failure waiting in the slot), said as
// Jet says it: by result code, and for SQLITE_ERROR by what it names.
EErrorJet FalloDeSqlite(int nCodigo, const std::string& sMensaje);

// The failure of the statement that just failed on db: the one a jet_*
// function left in the slot, otherwise SQLite's own.
EErrorJet FalloDeConexion(sqlite3* db, TRanuraError* ranura);

}  // namespace jet::sql
