#pragma once

#include <memory>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// Copies of a tree, so that one parse can feed two passes that each leave
// their marks on what they walk (the evidence binds the statement once to
// learn its sources, then rewrites an unmarked copy).

// e and everything below it. bSubconsultas: the subqueries copied too;
// otherwise they are shared with e.
ExprPtr Clona(const Expr& e, bool bSubconsultas = false);

// The query and every query nested in it, with all it holds.
std::shared_ptr<Consulta> Clona(const Consulta& c);

}  // namespace jet::sql
