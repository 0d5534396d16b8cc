#pragma once

#include <string>

#include "platform/jet/sql/Ast.h"
#include "platform/jet/sql/Catalogo.h"

namespace jet::sql {

// The last pass: writes a bound, rewritten tree as one SQLite statement with
// Jet's results, and does nothing else (no look-ups, no checks, no
// execution). Text comparisons go through the JET collation, Jet operators
// and functions through the jet_* functions; comparisons give -1/0 where a
// value is wanted; every derived table becomes a common table of the
// statement's WITH clause, so any nesting fits SQLite's parser. TOP and a
// union's order reach it already rewritten as ranked steps (Reescrituras).
class ImpresorSqlite {
public:
    // The statement.
    static std::string Imprime(const Consulta& consulta);
    // A derived table of a FROM clause as a statement of its own, as the
    // engine keeps its rows.
    static std::string ImprimeDerivada(const Consulta& consulta);
    // That derived table in two halves by its first GROUP BY term, for a
    // single SELECT with GROUP BY (TMitades).
    static TMitades ImprimeMitades(const Consulta& consulta);
};

}  // namespace jet::sql
