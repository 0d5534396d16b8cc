#pragma once

#include "platform/jet/sql/Ast.h"
#include "platform/jet/sql/Catalogo.h"

namespace jet::sql {

// The engine's step between the rewrites and the printer: every derived
// table of a FROM clause whose rows the catalogue already keeps (or can
// keep now) becomes that kept table in the tree. A derived table cannot see
// the outer query's rows, so its rows depend only on its own text, and the
// questionnaire's statements share many. Innermost first, so an outer copy
// is written over the inner copies. Unions stay out (their columns take
// their kind from every branch, which a copy could not keep), and so do
// the derived tables of an expression's subquery, which may read the outer
// query's rows. A single SELECT grouping a plain source by a column first
// goes to the catalogue with its two halves (ICatalogo::MaterializaPorMitades)
// when bMitades.
void MaterializaDerivadas(Consulta& consulta, ICatalogo& catalogo, bool bMitades);

}  // namespace jet::sql
