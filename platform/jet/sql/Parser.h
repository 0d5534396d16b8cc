#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// The deepest nesting a statement may have (parentheses, NOT, signs, calls
// and subqueries together), and its longest text. Chains of one operator
// ("1+1+...", "x OR y OR ...") are flat and cost one level at any length.
constexpr int kProfundidadMaxima = 256;
constexpr size_t kLongitudMaxima = 16 * 1024 * 1024;

// Reads one Access SQL SELECT statement (with its UNION branches) into a
// syntax tree. Statements that would change data or schema are refused as
// the database is read-only; anything else that is not a SELECT is a syntax
// error, as in Jet.
class Parser {
public:
    static std::shared_ptr<Consulta> Analiza(const std::string& sSql);
};

}  // namespace jet::sql
