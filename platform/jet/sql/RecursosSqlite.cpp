#include "platform/jet/sql/RecursosSqlite.h"

#include <cctype>
#include <cstring>

#include "platform/jet/ErroresJet.h"

namespace jet::sql {

namespace {

// SQLITE_ERROR covers every fault of a statement SQLite could not prepare
// or run; these are the ones Jet has its own words for. The binder reports
// names, ambiguity, union columns and misplaced aggregates itself, before
// SQLite sees a statement; those rows stay so that a statement that reaches
// SQLite with such a fault all the same still fails in Jet's words.
struct FalloNombrado {
    const char* sPrefijo;  // of SQLite's message; the rest names the culprit
    TErrorJet e;
};

const FalloNombrado kNombrados[] = {
    {"no such column: ", TErrorJet::ParametroSinValor},
    {"ambiguous column name: ", TErrorJet::CampoAmbiguo},
    {"no such table: ", TErrorJet::TablaNoEncontrada},
    {"misuse of aggregate", TErrorJet::AgregadoMalUsado},
    {"parser stack overflow", TErrorJet::DemasiadoCompleja},
    {"Expression tree is too large", TErrorJet::DemasiadoCompleja},
    {"too many terms in compound SELECT", TErrorJet::DemasiadoCompleja},
    {"too many arguments on function", TErrorJet::DemasiadoCompleja},
};

// The function SQLite names in "misuse of aggregate: count()", "misuse of
// aggregate function count()" or "misuse of aliased aggregate c", as Jet
// spells a function.
std::string FuncionNombrada(const std::string& sMensaje) {
    std::string s = sMensaje.substr(sMensaje.find_last_of(" :") + 1);
    if (s.ends_with("()"))
        s.resize(s.size() - 2);
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

EErrorJet FalloDeSqlite(int nCodigo, const std::string& sMensaje) {
    switch (nCodigo & 0xff) {
        case SQLITE_NOMEM:
            return ErrorJet(TErrorJet::Memoria);
        case SQLITE_INTERRUPT:
            return ErrorJet(TErrorJet::Interrumpida);
        case SQLITE_TOOBIG:
            return ErrorJet(TErrorJet::ResultadoGrande, {sMensaje});
        case SQLITE_ERROR:
            break;
        default:
            return ErrorJet(TErrorJet::Motor, {sMensaje});
    }
    for (const auto& f : kNombrados) {
        if (!sMensaje.starts_with(f.sPrefijo))
            continue;
        if (f.e == TErrorJet::DemasiadoCompleja)
            return ErrorJet(f.e, {sMensaje});
        if (f.e == TErrorJet::AgregadoMalUsado)
            return ErrorJet(f.e, {FuncionNombrada(sMensaje), "esa parte de la instrucción"});
        return ErrorJet(f.e, {sMensaje.substr(std::strlen(f.sPrefijo))});
    }
    if (sMensaje.find("do not have the same number of result columns") != std::string::npos)
        return ErrorJet(TErrorJet::ColumnasUnion);
    // SUM of whole numbers past 64 bits.
    if (sMensaje == "integer overflow")
        return ErrorJet(TErrorJet::Desbordamiento, {"SUM"});
    return ErrorJet(TErrorJet::Motor, {sMensaje});
}

EErrorJet FalloDeConexion(sqlite3* db, TRanuraError* ranura) {
    if (ranura)
        if (auto e = ranura->Toma())
            return *e;
    return FalloDeSqlite(sqlite3_extended_errcode(db), sqlite3_errmsg(db));
}

}  // namespace jet::sql
