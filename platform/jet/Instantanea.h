#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/jet/CopiaTablas.h"
#include "platform/jet/Latido.h"
#include "platform/jet/TArchivoAccess.h"
#include "platform/jet/TablasGuardadas.h"
#include "platform/jet/sql/Catalogo.h"
#include "platform/jet/sql/RecursosSqlite.h"

struct sqlite3;

namespace jet {

// The snapshot: an Access file's tables in an in-memory SQLite database, each
// copied on first use (TCopiaTablas), the derived tables its statements share
// kept once (TTablasGuardadas), all of it dropped or read again when the file
// changes on disk. It is the catalogue the compiler binds against. Its
// connection is opened as every engine connection is (ConexionesJet).
class TInstantanea : public sql::ICatalogo {
public:
    using TAbreArchivo = std::function<std::unique_ptr<TArchivoAccess>()>;
    using TFirmaEnDisco = std::function<TFirmaArchivo(const std::string&)>;

    // antesDeRecargar runs, on the thread that calls Actualiza, before the
    // copy or the file changes in any way: whoever still reads the old copy
    // on another thread (TAnticipador) stops there. Required, so that no
    // owner forgets its readers.
    TInstantanea(TAbreArchivo abre, TFirmaEnDisco firmaEnDisco,
                 std::function<void()> antesDeRecargar);
    ~TInstantanea() override;
    TInstantanea(const TInstantanea&) = delete;
    TInstantanea& operator=(const TInstantanea&) = delete;

    // If the file changed on disk since it was read, drops every copied
    // table and reopens it, so the next statement sees the new contents.
    // A file made of parts (IArchivoPorPartes) reopens only the changed
    // parts, and the copied tables trade only the rows of the parts it says
    // must be read again (TCopiaTablas::RecargaPartes). Derived tables kept
    // are dropped. Stopped or failed midway, the tables keep their rows as
    // they were and the next call copies the whole file anew.
    // antesDeRecargar runs before either.
    void Actualiza() override;
    sqlite3* Db() { return db_; }
    // Where the connection's jet_* functions leave the Jet failure they raise.
    sql::TRanuraError& Ranura() { return ranura_; }
    TablaCatalogo DameTabla(const std::string& sNombre) override;
    std::string Materializa(const std::string& sSql) override;
    std::string MaterializaPorMitades(const std::string& sSql, const TDaMitades& mitades) override;
    size_t PorMitades() const { return guardadas_.PorMitades(); }  // derived tables so kept
    // Called while tables are copied and statements run (none: no call).
    void PonLatido(std::shared_ptr<TLatido> latido) { latido_ = std::move(latido); }
    const std::shared_ptr<TLatido>& Latido() const { return latido_; }

    // For a second connection that reads the snapshot on another thread
    // (TAnticipador): the name that opens the same in-memory database (a URI
    // for SQLite's memdb VFS; empty before the file is read), and, safe from
    // any thread, a copied table's description and the table keeping a
    // derived table's rows in that database (empty if none, or not copied).
    std::string NombreCompartido() const;
    std::optional<TablaCatalogo> TablaCopiada(const std::string& sNombre) const;
    std::string DerivadaCompartida(const std::string& sSql) const;
    // While on, derived tables kept from now on go to a database of this
    // connection's own (TTablasGuardadas::PonAparte).
    void PonDerivadasAparte(bool b) { guardadas_.PonAparte(b); }

private:
    TAbreArchivo abre_;
    TFirmaEnDisco firmaEnDisco_;
    std::function<void()> antesDeRecargar_;
    std::unique_ptr<TArchivoAccess> archivo_;
    sql::TConexionSqlite base_;
    sqlite3* db_ = nullptr;  // base_'s
    std::string sNombreBase_;
    sql::TRanuraError ranura_;
    TCopiaTablas copia_;
    TTablasGuardadas guardadas_;
    bool bRecargaEntera_ = false;  // a reload of parts stopped midway
    std::shared_ptr<TLatido> latido_;
    // Guards what another thread reads here (the file's catalogue and the
    // database's name): this thread takes it only to change them.
    mutable std::mutex mCompartido_;

    bool Interrumpido() const { return latido_ && latido_->Interrumpido(); }
    void AbreBase();
    void CierraBase();
    bool RecargaPartes();
};

}  // namespace jet
