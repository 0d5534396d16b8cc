#pragma once

#include <memory>
#include <string>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// Reads one Access SQL SELECT statement (with its UNION branches) into a
// syntax tree. Statements that would change data or schema are refused as
// the database is read-only; anything else that is not a SELECT is a syntax
// error, as in Jet.
class Parser {
public:
    static std::shared_ptr<Consulta> Analiza(const std::string& sSql);
};

}  // namespace jet::sql
