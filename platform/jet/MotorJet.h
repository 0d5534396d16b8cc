#pragma once

#include <string>
#include <vector>

#include "platform/jet/Instantanea.h"
#include "platform/jet/TValorJet.h"
#include "platform/jet/sql/Evidencia.h"

namespace jet {

namespace sql {
// A statement as SQLite SQL, with what its result columns hold.
struct TTraduccion {
    std::string sSql;
    std::vector<std::string> columnas;
    std::vector<TipoJet> tipos;
};
}  // namespace sql

struct TResultado {
    std::vector<std::string> columnas;
    std::vector<std::vector<TValor>> filas;
};

// The rows behind an answer and what its aggregate does with them.
struct TEvidenciaJet {
    TResultado filas;
    sql::TFormaAgregado forma;
};

// Runs Access SQL over one Access file with Jet's results: parses the
// statement, writes it as SQLite SQL and runs it on the file's snapshot,
// which is refreshed first if the file changed. Every failure is an
// EErrorJet with a kind and a Spanish message naming the culprit.
class TMotorJet {
public:
    TMotorJet(TInstantanea::TAbreArchivo abre, TInstantanea::TFirmaEnDisco firmaEnDisco);
    TResultado Ejecuta(const std::string& sSql);
    // The SQLite text a statement becomes, whole (for diagnosis).
    std::string Traduce(const std::string& sSql);
    // Derived tables that several statements share are computed once per
    // snapshot; off, every statement computes everything (same answers).
    void PonOptimizacion(bool b) { instantanea_.PonOptimizacion(b); }
    // Called now and then while the engine works, e.g. to keep a window
    // painted (TLatido); none by default.
    void PonLatido(std::shared_ptr<TLatido> latido) { instantanea_.PonLatido(std::move(latido)); }
    const std::shared_ptr<TLatido>& Latido() const { return instantanea_.Latido(); }
    // The rows the aggregate of an answer statement reads, with the wanted
    // columns they have (sql::ReescribeEvidencia).
    TEvidenciaJet Evidencia(const std::string& sSql,
                            const std::vector<sql::TColumnaEvidencia>& columnas);

private:
    TInstantanea instantanea_;

    // Parse, bind, rewrite, (keep derived tables,) print.
    sql::TTraduccion Compila(const std::string& sSql, bool bGuardadas);
    TResultado Corre(const sql::TTraduccion& generado);
};

}  // namespace jet
