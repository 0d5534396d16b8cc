#pragma once

#include <string>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// The last pass: writes a lowered tree (BajaSqlite) as one SQLite statement,
// each node as the text of its form and nothing else: no look-ups, no
// checks, no choices of meaning. What a node means in SQLite was decided by
// the lowering; the printer only lays the statement out so that SQLite's
// parser takes any nesting: every derived table becomes a common table of
// the statement's WITH clause (a query's own sources before the steps over
// them), except inside a subquery of an expression, which may read the
// outer query's rows and is written in place.
class ImpresorSqlite {
public:
    static std::string Imprime(const Consulta& consulta);
};

}  // namespace jet::sql
