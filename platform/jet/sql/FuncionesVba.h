#pragma once

#include <string>

struct sqlite3;
struct sqlite3_context;
struct sqlite3_value;

namespace jet::sql {

using FuncionSql = void (*)(sqlite3_context*, int, sqlite3_value**);

// SQLite's own limit on a function's arguments.
constexpr int kMaxArgumentos = 127;

struct FilaImplementacionVba {
    const char* sSqlite;
    FuncionSql f;
};

// The implementation of the VBA function SQLite knows as sSqlite (jet_chr,
// jet_format...), or null. Their names, arities and kinds are rows of the
// function table (TablaFunciones), which the registration reads.
FuncionSql ImplementacionVba(const std::string& sSqlite);

}  // namespace jet::sql
