#include "platform/jet/Instantanea.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

#include "platform/jet/ArchivoPorPartes.h"
#include "platform/jet/ConexionesJet.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/sql/ErroresSql.h"

namespace jet {

TInstantanea::TInstantanea(TAbreArchivo abre, TFirmaEnDisco firmaEnDisco,
                           std::function<void()> antesDeRecargar)
    : abre_(std::move(abre)),
      firmaEnDisco_(std::move(firmaEnDisco)),
      antesDeRecargar_(std::move(antesDeRecargar)) {}

TInstantanea::~TInstantanea() {
    CierraBase();
}

void TInstantanea::AbreBase() {
    // The database lives in SQLite's memdb VFS under a name of its own, so
    // that a second connection of this process can read it (TAnticipador).
    const std::string sNombre = NombreEnMemoria("instantanea");
    base_ = AbreEnMemoria(sNombre, &ranura_);
    db_ = base_.get();
    {
        const std::lock_guard<std::mutex> cerrojo(mCompartido_);
        sNombreBase_ = sNombre;
    }
    copia_.Empieza(db_);
    guardadas_.Empieza(db_, sNombre);
    // Every thousand steps of a statement, so that no statement holds the
    // heartbeat back for long, nor an asked interruption.
    sqlite3_progress_handler(
        db_, 1000,
        [](void* pYo) {
            const auto* yo = static_cast<TInstantanea*>(pYo);
            if (!yo->latido_)
                return 0;
            yo->latido_->Late();
            return yo->Interrumpido() ? 1 : 0;
        },
        this);
    // A second connection reading the database (TAnticipador) holds off this
    // one's writes until its statement ends: wait for it, beating.
    sqlite3_busy_handler(
        db_,
        [](void* pYo, int) {
            const auto* yo = static_cast<TInstantanea*>(pYo);
            if (yo->latido_)
                yo->latido_->Late();
            if (yo->Interrumpido())
                return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 1;
        },
        this);
}

void TInstantanea::CierraBase() {
    copia_.Empieza(nullptr);
    guardadas_.Empieza(nullptr, "");
    base_.reset();
    db_ = nullptr;
    ranura_.Vacia();
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    sNombreBase_.clear();
}

void TInstantanea::Actualiza() {
    if (archivo_ && !bRecargaEntera_ && firmaEnDisco_(archivo_->Ruta()) == archivo_->Firma())
        return;
    // A reload of parts writes the shared database and reopens files that
    // another connection's catalogue reads: it stops first, as for a whole one.
    antesDeRecargar_();
    if (archivo_ && !bRecargaEntera_ && RecargaPartes())
        return;
    bRecargaEntera_ = false;
    CierraBase();
    {
        const std::lock_guard<std::mutex> cerrojo(mCompartido_);
        archivo_.reset();
    }
    auto archivo = abre_();
    {
        const std::lock_guard<std::mutex> cerrojo(mCompartido_);
        archivo_ = std::move(archivo);
    }
    AbreBase();
}

sql::ICatalogo::TablaCatalogo TInstantanea::DameTabla(const std::string& sNombre) {
    if (!archivo_)
        Actualiza();
    const TTabla* tabla = archivo_->BuscaTabla(sNombre);
    if (!tabla)
        throw sql::ErrorTablaNoEncontrada(sNombre);
    if (!copia_.Copiada(tabla->sNombre))
        copia_.Copia(*archivo_, *tabla, latido_.get());
    return TCopiaTablas::Describe(*tabla);
}

std::string TInstantanea::NombreCompartido() const {
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    return sNombreBase_;
}

std::optional<sql::ICatalogo::TablaCatalogo> TInstantanea::TablaCopiada(
    const std::string& sNombre) const {
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    const TTabla* tabla = archivo_ ? archivo_->BuscaTabla(sNombre) : nullptr;
    if (!tabla || !copia_.Copiada(tabla->sNombre))
        return std::nullopt;
    return TCopiaTablas::Describe(*tabla);
}

std::string TInstantanea::DerivadaCompartida(const std::string& sSql) const {
    return guardadas_.Compartida(sSql);
}

bool TInstantanea::RecargaPartes() {
    auto* partes = dynamic_cast<IArchivoPorPartes*>(archivo_.get());
    if (!partes || !db_)
        return false;
    const std::set<size_t> cambiadas = partes->PartesCambiadas();
    if (cambiadas.empty())
        return false;
    std::set<size_t> releer;
    try {
        // The parts change under the lock that another connection's
        // catalogue takes to look a table up (TablaCopiada), though its
        // reader was stopped already (antesDeRecargar_).
        const std::lock_guard<std::mutex> cerrojo(mCompartido_);
        releer = partes->ReabrePartes(cambiadas);
    } catch (const EErrorJet&) {
        return false;  // opened anew whole, the file fails (or not) as it fails alone
    }
    if (releer.size() >= partes->NumeroPartes() || !copia_.PorPartes(*archivo_))
        return false;
    guardadas_.Borra();
    try {
        copia_.RecargaPartes(*archivo_, releer, latido_.get());
    } catch (...) {
        // The parts are open anew and the tables hold the old rows: the next
        // call copies the whole file anew. The failure goes on as it came.
        bRecargaEntera_ = true;
        throw;
    }
    return true;
}

std::string TInstantanea::Materializa(const std::string& sSql) {
    return guardadas_.Materializa(sSql, ranura_, latido_.get());
}

std::string TInstantanea::MaterializaPorMitades(const std::string& sSql,
                                                const TDaMitades& mitades) {
    return guardadas_.MaterializaPorMitades(sSql, mitades, ranura_, latido_.get());
}

}  // namespace jet
