#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/jet/ArchivoUnion.h"

// How the databases of a centre's branches add up to the centre's one
// database, so that the same statements answer for the whole centre.
//
// The first file (index 0) is the head office: its rows pass as they are, so a union of one
// branch answers exactly what the plain file answers. Every other branch adds
// the rows of its own active company (its Norvex.INI), written with the head
// office's company number; its companies, users and connected users stay out
// (each branch passed the access gate on its own file).
//
// Catalogues merge by key and description. A client of a branch whose key
// the centre already has is the same client when the name is the same
// (given name and both surnames, blanks trimmed, compared as Jet compares
// text; Null reads as empty), and its row stays out; with another name it is
// another client and gets a key of its own: the branch's key followed by
// "/" and the branch's number (1 is the head office), so that a reader of the
// evidence still finds the key Norvex shows. Sectors (key and sector name)
// and currencies (key, symbol and name) merge the same way; a new key for
// them is a number past every key of every branch's catalogue. A branch's
// clients, alerts and operations follow its own rows through these keys, so
// flags (activity, sight document) are those of the branch's own row. A key
// that a branch uses without having it in its catalogue stays lost: when
// another branch has that key, it becomes a new one nobody has. Client keys
// are text and match as Jet matches them, letter case aside ("ab1" of one
// branch is "AB1" of another), so a key of its own never equals, for Jet,
// a key another branch has.
//
// Branches number their folios each on its own, and the statements tell an
// operation by its folio: a folio of branch number b (2 on) becomes
// b * kFoliosPorSucursal + folio (folio 123 of branch 2 reads 20000000123),
// so that operations of two branches never merge and a reader of the
// evidence still tells the branch and its folio.
class TUnionNorvex : public jet::IReglasUnion {
public:
    // Past any folio an Access Long holds, written in decimal so that the
    // branch's number heads the folio.
    static constexpr int64_t kFoliosPorSucursal = 10'000'000'000;

    // Text keys in Jet's order: the same key in either letter case is one.
    struct TOrdenJet {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    using TClavesTexto = std::set<std::string, TOrdenJet>;

    // The active company of each branch, head office first.
    explicit TUnionNorvex(std::vector<int64_t> empresas);
    ~TUnionNorvex() override;

    void Prepara(const std::vector<const jet::TArchivoAccess*>& partes) override;
    bool Adapta(size_t nParte, const jet::TTabla& tabla, std::vector<jet::TValor>& fila) override;
    // Reads again only the changed branches' catalogues and merges them with
    // the others' as read before (no merge when they read as before: only
    // the changed branches are read again). A branch whose rows now map to
    // other keys (its client merged with a head office's client it was told
    // apart from, a key of its own now another) is read again; the others
    // keep the keys their rows got. Every branch is read again once a branch
    // used a key without a catalogue row that the union had to rename: such a
    // key's new name depends on the order rows were read.
    std::set<size_t> Reprepara(const std::vector<const jet::TArchivoAccess*>& partes,
                               const std::set<size_t>& cambiadas) override;

    // The branches (0 the head office) whose alerts of their active company
    // name a client of the union, once the alerts have been read. From any
    // thread, also while rows are read (a window's heartbeat).
    std::set<size_t> DameSucursalesConAlertas(const std::string& sClave) const;

private:
    struct TCatalogos;  // every branch's catalogue rows, as read
    std::vector<int64_t> empresas_;
    std::unique_ptr<TCatalogos> catalogos_;
    // Per branch, a key as the branch writes it -> the key in the union.
    std::vector<std::map<std::string, std::string, TOrdenJet>> clientes_;
    std::vector<std::map<int64_t, int64_t>> sectores_, divisas_;
    // Per branch, the catalogue rows that stay out (same row already there).
    std::vector<TClavesTexto> clientesFuera_;
    std::vector<std::set<int64_t>> sectoresFuera_, divisasFuera_;
    // Every key of the union (to tell a lost key from one another branch has).
    TClavesTexto clavesClientes_;
    std::set<int64_t> clavesSectores_, clavesDivisas_;
    int64_t nSiguienteSector_ = 0, nSiguienteDivisa_ = 0;
    // Written as the alerts are read (on the reading thread), read from any.
    mutable std::mutex mAlertas_;
    std::map<std::string, std::set<size_t>, TOrdenJet> alertas_;  // guarded by mAlertas_
    // A branch's key without a catalogue row was renamed as rows were read.
    bool bRenombradaAlLeer_ = false;

    void LeeCatalogos(const jet::TArchivoAccess& parte, size_t nParte);
    void UneCatalogos();
    bool AdaptaFila(size_t nParte, const jet::TTabla& tabla, std::vector<jet::TValor>& fila);
    std::string Cliente(size_t nParte, const std::string& sClave);
    int64_t Sector(size_t nParte, int64_t nClave);
    int64_t Divisa(size_t nParte, int64_t nClave);
};
