#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// What a call becomes in SQLite (the lowering, BajaSqlite). A date reaches
// SQLite as its serial, a plain number: the last three forms say what the
// function does with a first argument the binder knows to be a date.
enum class FormaFuncion {
    Llamada,    // sSqlite(args)
    Iif,        // CASE WHEN ... THEN ... ELSE ... END
    EsNulo,     // x IS NULL, a truth
    Nz,         // COALESCE(x, y or '')
    Formato,    // sSqlite(args), a date told by a last argument 1 (Format)
    EsFecha,    // sSqlite(x), a date always one: x IS NOT NULL (IsDate)
    EsNumerico  // sSqlite(x), a date never a number: 0 (IsNumeric)
};

// The kind of value a call yields, for the result columns SQLite cannot
// describe (a date from DATESERIAL or MAX(Fecha)).
enum class TipoResultado {
    Otro,
    Fecha,
    ComoArgumento,  // the first argument's kind (MIN, MAX, FIRST, LAST)
    SumaMoneda,     // currency when the argument is currency (SUM)
    Moneda,         // currency (CCur)
    Iif             // the branches' kind when they agree (or one is Null)
};

// One Jet function of SQL: what the binder checks and types, what the
// lowering makes of it. Adding a function is one row here plus, for a jet_*
// function, its implementation registered under sSqlite.
struct FilaFuncion {
    const char* sNombre;  // as Jet spells it, upper case
    size_t nMin, nMax;    // arity
    bool bAgregado;
    TipoResultado eTipo;
    FormaFuncion eForma;
    const char* sSqlite;             // the SQLite function that computes it
    bool bCotejo = false;            // the argument compares as text does in Jet (MIN, MAX)
    const char* sMoneda = nullptr;   // the function for a currency argument (SUM)
    bool bVolatil = false;           // answers anew on each call (Now, Rnd): never kept
    size_t nMaxSqlite = 0;           // arguments SQLite takes beyond nMax (Format's date flag)
    const char* sDecimal = nullptr;  // the function for a Decimal argument (SUM, AVG): exact
};

// The row of a function by its upper-case name; nullptr when Jet has none.
const FilaFuncion* BuscaFuncion(const std::string& sNombre);
// Every row, for the SQLite registration.
std::span<const FilaFuncion> TodasLasFunciones();

}  // namespace jet::sql
