#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/jet/Instantanea.h"
#include "platform/jet/TValorJet.h"
#include "platform/jet/sql/Compilador.h"
#include "platform/jet/sql/Evidencia.h"

namespace jet {

class TAnticipador;

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
    ~TMotorJet();
    TResultado Ejecuta(const std::string& sSql);
    // The statements the caller is about to run, in this order (a
    // questionnaire's). Once the first of them has run (it keeps the derived
    // tables the others share), a second thread answers some of the rest
    // ahead on its own connection (TAnticipador); Ejecuta hands each answer
    // back when its statement comes, or runs the statement itself. Answers,
    // failures, interruption and heartbeat are as without the list. Any other
    // statement, a failure or an interruption drops what is left of the list;
    // an empty list drops it too.
    void Anticipa(std::vector<std::string> consultas);
    // How many answers the second thread has given so far, over all lists.
    size_t Anticipadas() const;
    // The SQLite text a statement becomes, whole (for diagnosis).
    std::string Traduce(const std::string& sSql);
    // Derived tables that several statements share are computed once per
    // snapshot; off, every statement computes everything (same answers).
    void PonOptimizacion(bool b) { PonPaso("guarda", b); }
    // A kept derived table with GROUP BY over many rows is computed in two
    // halves on two threads (CopiaPorMitades); off, in one piece (same rows).
    void PonMitades(bool b) { PonPaso("mitades", b); }
    // Switches an optional pass of the compiler on or off (sql::Pasos()), for
    // every statement from now on, those answered ahead included; throws
    // std::invalid_argument for a name that is no optional pass.
    void PonPaso(const std::string& sPaso, bool bActivo);
    const sql::TOpciones& Opciones() const { return opciones_; }
    size_t PorMitades() const { return instantanea_.PorMitades(); }
    // Called now and then while the engine works, e.g. to keep a window
    // painted (TLatido); none by default.
    void PonLatido(std::shared_ptr<TLatido> latido) { instantanea_.PonLatido(std::move(latido)); }
    const std::shared_ptr<TLatido>& Latido() const { return instantanea_.Latido(); }
    // The rows the aggregate of an answer statement reads, with the wanted
    // columns they have (sql::ReescribeEvidencia).
    TEvidenciaJet Evidencia(const std::string& sSql,
                            const std::vector<sql::TColumnaEvidencia>& columnas);

    // Runs a compiled statement on a connection. Shared with TAnticipador's
    // thread.
    static TResultado CorreEn(sqlite3* db, sql::TRanuraError& ranura,
                              const sql::TTraduccion& generado);

private:
    sql::TOpciones opciones_;
    TInstantanea instantanea_;
    std::vector<std::string> anticipadas_;
    size_t nSiguiente_ = 0;
    size_t nAnticipadas_ = 0;
    // After instantanea_: its thread stops before the snapshot closes.
    std::unique_ptr<TAnticipador> anticipador_;

    TResultado Corre(const sql::TTraduccion& generado);
    TResultado EjecutaAnticipada(const std::string& sSql);
    void Olvida();
    void SueltaHilo();
};

}  // namespace jet
