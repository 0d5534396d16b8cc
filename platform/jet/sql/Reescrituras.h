#pragma once

#include "platform/jet/sql/Ast.h"

// The rewrites between binding and printing: each takes a bound tree and
// leaves a bound tree that means the same to Jet and that the printer writes
// as SQLite SQL with Jet's results.
namespace jet::sql {

// Marks each query whose rows must keep their order: the statement, its
// subqueries, and a derived table whose rows the outer query passes on as
// they come (one source, no grouping, sorting, DISTINCT or aggregate).
void MarcaOrden(Consulta& c);

// Jet removes duplicates by sorting: a SELECT DISTINCT without ORDER BY
// gives its rows sorted by its columns, in order, text in Jet's order.
// Applies where the rows reach the result in their order.
void OrdenaDistintas(Consulta& c);

// A long AND/OR chain as groups of about sqrt(n) terms: SQLite parses a flat
// chain into a tree as deep as the chain, so thousands of conditions stay
// within its expression depth this way.
void AgrupaLogicas(Consulta& c);

// All of them, in order.
void Reescribe(Consulta& c);

}  // namespace jet::sql
