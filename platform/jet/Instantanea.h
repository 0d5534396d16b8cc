#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/jet/ArchivoPorPartes.h"
#include "platform/jet/Latido.h"
#include "platform/jet/TArchivoAccess.h"
#include "platform/jet/sql/Catalogo.h"
#include "platform/jet/sql/RecursosSqlite.h"

struct sqlite3;

namespace jet {

// The tables of one Access file copied into an in-memory SQLite database,
// each on first use, with exact values: doubles bit for bit, currency as its
// 4-decimal amount, dates as day serials, Booleans as -1/0, text as UTF-8.
// Column types are declared so that results can tell Booleans, dates and
// currency apart, and text columns compare with the JET collation.
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
    // must be read again, each part's rows where they were: every part's
    // rows take rowids of their own range, in the part's order. Derived
    // tables kept are dropped. Stopped or failed midway, the tables keep
    // their rows as they were and the next call copies the whole file anew.
    // antesDeRecargar runs before either.
    void Actualiza() override;
    sqlite3* Db() { return db_; }
    // Where the connection's jet_* functions leave the Jet failure they raise.
    sql::TRanuraError& Ranura() { return ranura_; }
    // What a connection needs to run the SQL the generator writes: the jet_*
    // functions, the JET collation and the limits and settings the engine uses.
    // ranura: where failures of jet_* functions go (none: only SQLite's text).
    static void PreparaConexion(sqlite3* db, sql::TRanuraError* ranura);
    // A second connection to the snapshot named sNombre (NombreCompartido),
    // prepared so; none if it cannot be opened or prepared.
    static sql::TConexionSqlite AbreSegunda(const std::string& sNombre, sql::TRanuraError* ranura);
    TablaCatalogo DameTabla(const std::string& sNombre) override;
    // Derived tables kept per snapshot.
    std::string Materializa(const std::string& sSql) override;
    // Computed in two halves on two threads when it is worth it (CopiaPorMitades),
    // unless another connection reads the snapshot meanwhile.
    std::string MaterializaPorMitades(const std::string& sSql, const TDaMitades& mitades) override;
    size_t PorMitades() const { return nPorMitades_; }  // derived tables so kept
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
    // Creates the table sDestino (a name as SQL writes it, schema included)
    // holding the rows of the SELECT sSql in their order, each column declared
    // as SQLite describes it (what tells Booleans, dates and currency apart)
    // and text compared with the JET collation. False, and no table, if any
    // step fails; the caller clears the connection's failure slot.
    static bool CopiaDerivada(sqlite3* db, const std::string& sDestino, const std::string& sSql);
    // The column list "(...)" of that table, empty if sSql does not prepare.
    static std::string Columnas(sqlite3* db, const std::string& sSql);
    // While on, derived tables kept from now on go to a database of this
    // connection's own, so that the shared one is never written while another
    // connection reads it. Their rows and names are the same either way.
    void PonDerivadasAparte(bool b) { bAparte_ = b; }

private:
    TAbreArchivo abre_;
    TFirmaEnDisco firmaEnDisco_;
    std::function<void()> antesDeRecargar_;
    std::unique_ptr<TArchivoAccess> archivo_;
    sql::TConexionSqlite base_;
    sqlite3* db_ = nullptr;  // base_'s
    std::string sNombreBase_;
    sql::TRanuraError ranura_;
    std::set<std::string> cargadas_;
    std::vector<std::string> ordenCarga_;  // the copied tables, in the order they were copied
    bool bRecargaEntera_ = false;          // a reload of parts stopped midway
    size_t nPorMitades_ = 0;
    std::map<std::string, std::string> derivadas_;  // SELECT text -> table holding its rows
    std::set<std::string> enAparte_;                // those tables kept in the own database
    bool bAparte_ = false;
    bool bAparteAbierta_ = false;
    std::shared_ptr<TLatido> latido_;
    // Guards what another thread reads (TablaCopiada, DerivadaCompartida):
    // this thread takes it only to change that state.
    mutable std::mutex mCompartido_;

    bool Interrumpido() const { return latido_ && latido_->Interrumpido(); }
    static TablaCatalogo Describe(const TTabla& tabla);
    void AbreBase();
    void CierraBase();
    void Carga(const TTabla& tabla);
    // Inserts the rows of the file (nParte none) or of one of its parts.
    void CopiaFilas(const TTabla& tabla, std::optional<size_t> nParte);
    bool RecargaPartes();
    void BorraDerivadas();
};

}  // namespace jet
