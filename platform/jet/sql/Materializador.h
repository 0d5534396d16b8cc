#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// What of a lowered tree the engine may keep (the "guarda" pass): it only
// looks at the tree and builds trees, never prints nor keeps anything
// itself; Compila prints what it names and hands it to the catalogue.
//
// A derived table of a FROM clause cannot see the outer query's rows, so its
// rows depend only on its own text, and the questionnaire's statements share
// many. Unions stay out (their columns take their kind from every branch,
// which a copy could not keep), and so do a rewrite's steps (kept with their
// query or not at all), the derived tables of an expression's subquery,
// which may read the outer query's rows, and rows computed with Now() or
// Rnd(), which answer anew each time.

// The derived tables that may be kept, innermost first, so that an outer
// one is printed over the inner ones already kept.
std::vector<Origen*> DerivadasGuardables(Consulta& consulta);

// Whether a derived table is a single SELECT grouping the rows of one table
// (or of derived tables that each read one, a union's branches among them)
// by a column first, without a join, its groups in GROUP BY's order: two
// halves of its groups, split at a value of that column, then give its rows
// one after the other (TMitades). As it stands now: an inner derived table
// already kept reads as a table.
bool PorMitades(Consulta& derivada);
// For such a derived table: the sample of that column's first values that
// chooses the value, and each half, as lowered trees.
struct TArbolesMitades {
    std::shared_ptr<Consulta> muestra, menor, mayor;
};
TArbolesMitades Mitades(const Consulta& derivada);

}  // namespace jet::sql
