#include "platform/jet/sql/RecursosSqlite.h"

#include <cstring>

#include "platform/jet/ErroresJet.h"

namespace jet::sql {

namespace {

// SQLITE_ERROR covers every fault of a statement SQLite could not prepare
// or run; these are the ones Jet has its own words for.
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
