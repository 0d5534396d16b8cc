#pragma once

#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/jet/sql/Ast.h"
#include "platform/jet/sql/Catalogo.h"
#include "platform/jet/sql/Evidencia.h"

// The one road from Access SQL text to SQLite SQL: every caller (the
// engine, its second thread, the tests, the fuzzer) compiles through
// Compila, so that a pass added here reaches every answer alike.
namespace jet::sql {

// A statement as SQLite SQL, with what its result columns hold.
struct TTraduccion {
    std::string sSql;
    std::vector<std::string> columnas;
    std::vector<TipoJet> tipos;
};

// One pass of the road, in the order they run. An optional pass can be
// switched off by name for diagnosis (jetsql --sin-paso): the statement is
// then written without what that pass does, which may change its answer
// or make it fail, but never breaks the road.
struct TPaso {
    const char* sNombre;
    bool bOpcional;
    const char* sQueHace;
};
std::span<const TPaso> Pasos();
// The pass of that name; none when there is no such pass.
const TPaso* BuscaPaso(const std::string& sNombre);

struct TOpciones {
    // Optional passes switched off, by name (see Pasos()).
    std::set<std::string> apagados;
    // Set: the statement is compiled as the evidence of its aggregate, with
    // these columns where its source has them (ReescribeEvidencia).
    std::optional<std::vector<TColumnaEvidencia>> evidencia;

    bool Activo(const std::string& sPaso) const { return !apagados.contains(sPaso); }
    // Switches an optional pass on or off; throws std::invalid_argument for
    // a name that is no optional pass.
    void Pon(const std::string& sPaso, bool bActivo);
};

struct TCompilada : TTraduccion {
    // For the evidence: what the answer's aggregate does.
    std::optional<TFormaAgregado> forma;
};

// Parses sSql once, brings the catalogue up to date (ICatalogo::Actualiza),
// binds, rewrites, keeps derived tables through the catalogue and prints.
// Every failure is an EErrorJet.
TCompilada Compila(const std::string& sSql, ICatalogo& catalogo, const TOpciones& opciones);

}  // namespace jet::sql
