#include "platform/jet/MotorJet.h"

#include <sqlite3.h>

#include <cmath>
#include <memory>

#include "platform/jet/Anticipador.h"
#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/RecursosSqlite.h"
#include "platform/jet/sql/TiposLector.h"

namespace jet {

namespace {

// The kind comes from the column's declared type when the column is a
// table's own, otherwise from what the generator worked out.
TValor LeeValor(sqlite3_stmt* st, int i, sql::TipoJet eTipo) {
    const int tipo = sqlite3_column_type(st, i);
    if (tipo == SQLITE_NULL)
        return std::monostate{};
    // SQLite's arithmetic overflows to an infinity; Jet stops with its
    // overflow failure instead of answering one.
    if (tipo == SQLITE_FLOAT && !std::isfinite(sqlite3_column_double(st, i)))
        throw sql::ErrorDesbordamientoOperacion();
    const char* d = sqlite3_column_decltype(st, i);
    std::string declarado = d ? d : "";
    if (!d && eTipo == sql::TipoJet::Fecha)
        declarado = "DATETIME";
    if (!d && eTipo == sql::TipoJet::Moneda)
        declarado = "CURRENCY";
    if (!d && eTipo == sql::TipoJet::Booleano)
        declarado = "BOOLEAN";
    if (!d && eTipo == sql::TipoJet::Decimal)
        declarado = "DECIMAL";
    if (!d && eTipo == sql::TipoJet::Simple)
        declarado = "SINGLE";
    if (auto v = sql::TiposLector::Lee(st, i, declarado))
        return *v;
    if (declarado.starts_with("BOOLEAN") && tipo != SQLITE_TEXT)
        return sqlite3_column_int64(st, i) != 0;
    if (declarado.starts_with("DATETIME") && tipo != SQLITE_TEXT)
        return TFecha{sqlite3_column_double(st, i)};
    if (declarado.starts_with("CURRENCY") && tipo != SQLITE_TEXT)
        return TMoneda{std::llround(sqlite3_column_double(st, i) * 10000.0)};
    switch (tipo) {
        case SQLITE_INTEGER:
            return static_cast<int64_t>(sqlite3_column_int64(st, i));
        case SQLITE_FLOAT:
            return sqlite3_column_double(st, i);
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            return std::string(p ? p : "", sqlite3_column_bytes(st, i));
        }
    }
}

// A failure of the heartbeat's own call stops the work as an interruption
// would (it runs inside SQLite): the caller gets that failure as it came.
template <class F>
auto ConFalloDelLatido(const std::shared_ptr<TLatido>& latido, F f) -> decltype(f()) {
    try {
        return f();
    } catch (const EErrorJet&) {
        if (latido)
            latido->RelanzaFallo();
        throw;
    }
}

}  // namespace

// The thread's answers come from the copy of the file as it was: a file that
// changes stops it before the copy is touched.
TMotorJet::TMotorJet(TInstantanea::TAbreArchivo abre, TInstantanea::TFirmaEnDisco firmaEnDisco)
    : instantanea_(std::move(abre), std::move(firmaEnDisco), [this] { SueltaHilo(); }) {}

TMotorJet::~TMotorJet() = default;

void TMotorJet::PonPaso(const std::string& sPaso, bool bActivo) {
    // The thread compiles with the options it was given: it stops first.
    SueltaHilo();
    opciones_.Pon(sPaso, bActivo);
}

void TMotorJet::Anticipa(std::vector<std::string> consultas) {
    Olvida();
    anticipadas_ = std::move(consultas);
}

size_t TMotorJet::Anticipadas() const {
    return nAnticipadas_ + (anticipador_ ? anticipador_->Anticipadas() : 0);
}

void TMotorJet::Olvida() {
    SueltaHilo();
    anticipadas_.clear();
    nSiguiente_ = 0;
}

void TMotorJet::SueltaHilo() {
    if (anticipador_)
        nAnticipadas_ += anticipador_->Anticipadas();
    anticipador_.reset();
    instantanea_.PonDerivadasAparte(false);
}

TResultado TMotorJet::EjecutaAnticipada(const std::string& sSql) {
    const size_t i = nSiguiente_++;
    try {
        instantanea_.Actualiza();
        if (anticipador_)
            if (auto r = anticipador_->Toma(i))
                return std::move(*r);
        TResultado r = Corre(sql::Compila(sSql, instantanea_, opciones_));
        if (i == 0 && anticipadas_.size() > 2) {
            // From now on this connection keeps its derived tables apart, so
            // that the shared database is not written while the thread reads.
            instantanea_.PonDerivadasAparte(true);
            anticipador_ = std::make_unique<TAnticipador>(instantanea_, anticipadas_, 1,
                                                          instantanea_.Latido(), opciones_);
        }
        return r;
    } catch (...) {
        // Whatever stopped it, the rest of the list is the caller's now.
        Olvida();
        throw;
    }
}

// The whole statement, without kept derived tables, so that it reads (and
// runs) on its own.
std::string TMotorJet::Traduce(const std::string& sSql) {
    sql::TOpciones opciones = opciones_;
    opciones.Pon("guarda", false);
    return ConFalloDelLatido(Latido(),
                             [&] { return sql::Compila(sSql, instantanea_, opciones).sSql; });
}

TResultado TMotorJet::Ejecuta(const std::string& sSql) {
    return ConFalloDelLatido(Latido(), [&] {
        if (nSiguiente_ < anticipadas_.size() && sSql == anticipadas_[nSiguiente_])
            return EjecutaAnticipada(sSql);
        if (!anticipadas_.empty())
            Olvida();
        return Corre(sql::Compila(sSql, instantanea_, opciones_));
    });
}

TEvidenciaJet TMotorJet::Evidencia(const std::string& sSql,
                                   const std::vector<sql::TColumnaEvidencia>& columnas) {
    sql::TOpciones opciones = opciones_;
    opciones.evidencia = columnas;
    return ConFalloDelLatido(Latido(), [&]() -> TEvidenciaJet {
        const sql::TCompilada compilada = sql::Compila(sSql, instantanea_, opciones);
        return {Corre(compilada), *compilada.forma};
    });
}

TResultado TMotorJet::Corre(const sql::TTraduccion& generado) {
    return CorreEn(instantanea_.Db(), instantanea_.Ranura(), generado);
}

TResultado TMotorJet::CorreEn(sqlite3* db, sql::TRanuraError& ranura,
                              const sql::TTraduccion& generado) {
    ranura.Vacia();
    sqlite3_stmt* pSt = nullptr;
    const int rcPrepara = sqlite3_prepare_v2(db, generado.sSql.c_str(),
                                             static_cast<int>(generado.sSql.size()), &pSt, nullptr);
    sql::TSentenciaSqlite st(pSt);
    if (rcPrepara != SQLITE_OK)
        throw sql::FalloDeConexion(db, &ranura);
    TResultado r;
    r.columnas = generado.columnas;
    const int n = sqlite3_column_count(st.get());
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        std::vector<TValor> fila;
        fila.reserve(n);
        for (int i = 0; i < n; ++i) {
            const bool bHay = i < static_cast<int>(generado.tipos.size());
            fila.push_back(LeeValor(st.get(), i, bHay ? generado.tipos[i] : sql::TipoJet::Otro));
        }
        r.filas.push_back(std::move(fila));
    }
    if (rc != SQLITE_DONE)
        throw sql::FalloDeConexion(db, &ranura);
    return r;
}

}  // namespace jet
