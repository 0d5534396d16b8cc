#pragma once

#include "platform/jet/sql/Ast.h"

// The rewrites between binding and printing: each takes a bound tree and
// leaves a bound tree that means the same to Jet and that the printer writes
// as SQLite SQL with Jet's results. They run in the order of this file
// (Compila).
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

// A union becomes one SELECT over its branches, each branch a step of its
// own with its columns by position, its branch number and its rows' place:
// the last branch's ORDER BY sorts the whole union (by position, text in
// Jet's order), a UNION ALL otherwise yields its branches in order, and a
// branch's TOP or its own ORDER BY applies to that branch alone. Runs
// before ReescribeTop, whose work it does for the branches.
void OrdenaUniones(Consulta& c);

// Jet's TOP n [PERCENT] keeps the rows tied with its last one: a TOP query
// becomes a SELECT over its rows ranked by window functions (RANK,
// ROW_NUMBER, COUNT(*) OVER ()), filtered by rank and, where its rows'
// order counts, sorted by their place.
void ReescribeTop(Consulta& c);

}  // namespace jet::sql
