#pragma once

#include <string>

#include "platform/jet/Latido.h"
#include "platform/jet/sql/Catalogo.h"

struct sqlite3;

namespace jet {

// Keeps the rows of a derived table with GROUP BY as TInstantanea::CopiaDerivada
// keeps them, computing its groups on two threads: the caller's connection
// computes the groups up to a value of the first GROUP BY term, a second
// connection to the same in-memory database (sCompartida, its URI) those
// above it, each into a database of its own, and the table then takes the
// first half's rows and the second's, in GROUP BY's order, which is the
// order the whole statement gives them. The value comes from the first
// rows the statement reads (TMitades::sMuestra), so that halves come out
// about even; a statement reading fewer rows is not split.
//
// Neither connection writes the shared database while the other reads it:
// only the caller, after the second connection is closed. The second thread
// (a std::jthread) is joined before this returns or throws, on every path;
// the caller waits for it on a condition variable, waking only to beat the
// heartbeat, which is called on the caller's thread only; an interruption
// stops both.
//
// Failure: false and nothing left behind (no table, nothing attached), when
// the statement is not worth splitting or any step fails; the caller then
// copies the rows in one piece, which meets any failure itself.
bool CopiaPorMitades(sqlite3* db, const std::string& sCompartida, const std::string& sDestino,
                     const std::string& sSql, const sql::TMitades& mitades, TLatido* latido);

}  // namespace jet
