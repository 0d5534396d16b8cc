#include "platform/jet/Anticipador.h"

#include <sqlite3.h>

#include <chrono>
#include <map>
#include <utility>

#include "platform/jet/ConexionesJet.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/Instantanea.h"
#include "platform/jet/MotorJet.h"
#include "platform/jet/TablasGuardadas.h"
#include "platform/jet/sql/RecursosSqlite.h"

namespace jet {

namespace {

// A table not copied yet would have to be copied (a write to the shared
// database): the statement is the caller's.
struct ENoCopiada {};

// The snapshot as the thread sees it: the tables copied and the derived
// tables kept in the shared database, which it only reads, and the derived
// tables it keeps itself in a database of its own connection, which the
// caller's connection never sees.
class TCatalogoHilo : public sql::ICatalogo {
public:
    TCatalogoHilo(const TInstantanea& instantanea, sqlite3* db, sql::TRanuraError& ranura)
        : instantanea_(instantanea), db_(db), ranura_(ranura) {}
    TablaCatalogo DameTabla(const std::string& sNombre) override {
        if (auto t = instantanea_.TablaCopiada(sNombre))
            return std::move(*t);
        throw ENoCopiada{};
    }
    std::string Materializa(const std::string& sSql) override {
        if (std::string s = instantanea_.DerivadaCompartida(sSql); !s.empty())
            return s;
        if (auto it = propias_.find(sSql); it != propias_.end())
            return it->second;
        // Names the shared database never uses, so unqualified they find this one.
        const std::string sNombre = "__h" + std::to_string(propias_.size() + 1);
        const bool bBien = CopiaDerivada(db_, "hilo.\"" + sNombre + "\"", sSql);
        ranura_.Vacia();
        return propias_[sSql] = bBien ? sNombre : "";
    }

private:
    const TInstantanea& instantanea_;
    sqlite3* db_;
    sql::TRanuraError& ranura_;
    std::map<std::string, std::string> propias_;
};

}  // namespace

TAnticipador::TAnticipador(const TInstantanea& instantanea, std::vector<std::string> consultas,
                           size_t nDesde, std::shared_ptr<TLatido> latido, sql::TOpciones opciones)
    : instantanea_(instantanea),
      opciones_(std::move(opciones)),
      consultas_(std::move(consultas)),
      latido_(std::move(latido)),
      ranuras_(consultas_.size()) {
    for (size_t i = 0; i < nDesde && i < ranuras_.size(); ++i)
        ranuras_[i].eEstado = TEstado::DelLlamador;
    hilo_ = std::jthread([this](const std::stop_token& parar) { Trabaja(parar); });
}

TAnticipador::~TAnticipador() {
    hilo_.request_stop();
    cambio_.notify_all();
}

bool TAnticipador::Detener() const {
    return parar_->stop_requested() || (latido_ && latido_->Interrumpido());
}

size_t TAnticipador::Anticipadas() const {
    const std::lock_guard<std::mutex> cerrojo(m_);
    return nAnticipadas_;
}

std::optional<TResultado> TAnticipador::Toma(size_t i) {
    std::unique_lock<std::mutex> cerrojo(m_);
    if (i >= ranuras_.size())
        return std::nullopt;
    TRanura& r = ranuras_[i];
    if (r.eEstado == TEstado::Libre) {
        r.eEstado = TEstado::DelLlamador;
        return std::nullopt;
    }
    // Woken when the thread is done with it; with a heartbeat, also at its
    // interval, to beat it.
    const auto hecha = [&] { return r.eEstado != TEstado::EnCurso; };
    if (!latido_)
        cambio_.wait(cerrojo, hecha);
    while (!hecha()) {
        // The heartbeat may run a window's events: never under the lock.
        cerrojo.unlock();
        latido_->Late();
        if (latido_->Interrumpido())
            throw ErrorJet(TErrorJet::Interrumpida);
        cerrojo.lock();
        cambio_.wait_for(cerrojo, latido_->Espera(), hecha);
    }
    if (r.fallo)
        std::rethrow_exception(std::exchange(r.fallo, nullptr));
    if (r.eEstado != TEstado::Hecha)
        return std::nullopt;
    r.eEstado = TEstado::DelLlamador;
    std::optional<TResultado> resultado(std::move(*r.resultado));
    r.resultado.reset();
    return resultado;
}

void TAnticipador::Trabaja(const std::stop_token& parar) {
    parar_ = &parar;
    const std::string sNombre = instantanea_.NombreCompartido();
    if (sNombre.empty())
        return;
    sql::TRanuraError ranura;
    const sql::TConexionSqlite conexion = AbreSegunda(sNombre, &ranura);
    sqlite3* db = conexion.get();
    if (!db)
        return;
    const std::string sAdjunta = "ATTACH '" + NombreEnMemoria("hilo") + "' AS hilo";
    if (sqlite3_exec(db, sAdjunta.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return;
    sqlite3_progress_handler(
        db, 1000, [](void* p) { return static_cast<const TAnticipador*>(p)->Detener() ? 1 : 0; },
        this);
    // Waits while the caller's connection writes the shared database (a
    // table it copies), unless asked to stop.
    sqlite3_busy_handler(
        db,
        [](void* p, int) {
            if (static_cast<const TAnticipador*>(p)->Detener())
                return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 1;
        },
        this);
    TCatalogoHilo catalogo(instantanea_, db, ranura);
    while (!Detener()) {
        size_t j = ranuras_.size();
        {
            const std::lock_guard<std::mutex> cerrojo(m_);
            while (j > 0 && ranuras_[j - 1].eEstado != TEstado::Libre) --j;
            if (j == 0)
                return;
            --j;
            // Never one the caller has passed: its ranuras are all taken.
            ranuras_[j].eEstado = TEstado::EnCurso;
        }
        std::unique_ptr<TResultado> resultado;
        std::exception_ptr fallo;
        try {
            resultado = std::make_unique<TResultado>(
                TMotorJet::CorreEn(db, ranura, sql::Compila(consultas_[j], catalogo, opciones_)));
        } catch (const EErrorJet&) {
            // The caller runs it again and meets the failure itself.
        } catch (const ENoCopiada&) {
        } catch (...) {
            // Nothing may leave a thread: the caller throws it instead.
            fallo = std::current_exception();
        }
        ranura.Vacia();
        {
            const std::lock_guard<std::mutex> cerrojo(m_);
            ranuras_[j].eEstado = resultado ? TEstado::Hecha : TEstado::Fallida;
            ranuras_[j].resultado = std::move(resultado);
            ranuras_[j].fallo = fallo;
            nAnticipadas_ += ranuras_[j].resultado ? 1 : 0;
        }
        cambio_.notify_all();
        if (fallo)
            return;
    }
}

}  // namespace jet
