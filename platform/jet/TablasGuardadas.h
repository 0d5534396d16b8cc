#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/jet/Latido.h"
#include "platform/jet/sql/Catalogo.h"
#include "platform/jet/sql/RecursosSqlite.h"

struct sqlite3;

namespace jet {

// The rows of the derived tables that several statements share, computed
// once per snapshot: each kept table is keyed by the text of its SELECT (two
// derived tables written alike hold the same rows) and named __m1, __m2...
// Each column is declared as SQLite would describe the derived table's
// column: its declared type (what tells Booleans, dates and currency apart,
// and the affinity comparisons use) and the JET collation for text and
// computed values. Rows keep their order. Any failure leaves the statement
// to run as written, so it fails (or not) exactly as it would without the
// copy.
//
// Used on the snapshot's thread; Compartida also from any other.
class TTablasGuardadas {
public:
    // The connection the tables go to (sNombreBase opens it again, for the
    // halves' second connection); those kept before are gone with theirs.
    void Empieza(sqlite3* db, std::string sNombreBase);
    // The table keeping sSql's rows, kept now if it was not; empty when it
    // cannot be kept (the caller runs the statement as written).
    std::string Materializa(const std::string& sSql, sql::TRanuraError& ranura,
                            const TLatido* latido);
    // The same, computed in two halves on two threads when it is worth it
    // (CopiaPorMitades), unless another connection reads the snapshot
    // meanwhile (PonAparte).
    std::string MaterializaPorMitades(const std::string& sSql,
                                      const sql::ICatalogo::TDaMitades& mitades,
                                      sql::TRanuraError& ranura, TLatido* latido);
    // The table keeping sSql's rows in the shared database, for another
    // connection; empty if none (or kept apart). From any thread.
    std::string Compartida(const std::string& sSql) const;
    // While on, tables kept from now on go to a database of this
    // connection's own, so that the shared one is never written while
    // another connection reads it. Their rows and names are the same.
    void PonAparte(bool b) { bAparte_ = b; }
    // Their rows came from the tables as they were: every kept table dropped.
    void Borra();
    size_t PorMitades() const { return nPorMitades_; }  // tables so kept, ever

private:
    sqlite3* db_ = nullptr;
    std::string sNombreBase_;
    bool bAparte_ = false;
    bool bAparteAbierta_ = false;
    size_t nPorMitades_ = 0;
    mutable std::mutex m_;
    std::map<std::string, std::string> derivadas_;  // guarded by m_: SELECT text -> table
    std::set<std::string> enAparte_;                // guarded by m_: those kept apart
};

// Creates the table sDestino (a name as SQL writes it, schema included)
// holding the rows of the SELECT sSql in their order, each column declared
// as SQLite describes it and text compared with the JET collation. False,
// and no table, if any step fails; the caller clears the connection's
// failure slot.
bool CopiaDerivada(sqlite3* db, const std::string& sDestino, const std::string& sSql);
// The column list "(...)" of that table, empty if sSql does not prepare.
std::string ColumnasDe(sqlite3* db, const std::string& sSql);

}  // namespace jet
