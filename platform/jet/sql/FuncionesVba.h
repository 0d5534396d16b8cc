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

struct FuncionVba {
    const char* sNombre;  // as Access SQL names it, in capitals
    const char* sSqlite;
    int nMin, nMax;  // arguments taken
    bool bFecha;     // the answer is a date
    bool bDeterminista;
    FuncionSql f;
};

// The function of that name (in capitals), or null.
const FuncionVba* BuscaFuncionVba(const std::string& sNombre);

// Whether SQL the generator wrote calls a function whose answer changes
// from call to call (Now, Rnd...): rows computed with one cannot be kept.
bool UsaFuncionVolatil(const std::string& sSql);

// The VBA functions that Jet's expression service lends to SQL (text,
// numbers, conversions, dates and Format) as SQLite functions named jet_*.
void RegistraFuncionesVba(sqlite3* db);

// A date written as text, as CDate reads it: month/day/year (day first
// when that is no date), year-month-day, a time of day, or both; the day
// serial, or nothing when the text is no date.
std::optional<double> FechaDeTexto(const std::string& sTexto);

}  // namespace jet::sql
