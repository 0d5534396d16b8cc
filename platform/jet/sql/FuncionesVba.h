#pragma once

#include <optional>
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

// A date written as text, as CDate reads it: month/day/year (day first
// when that is no date), year-month-day, a day with its month in letters
// ("15 de marzo de 2017", "March 15, 2017"), a time of day, or both; the day
// serial, or nothing when the text is no date.
std::optional<double> FechaDeTexto(const std::string& sTexto);

}  // namespace jet::sql
