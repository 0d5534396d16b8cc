#include "data/UnionNorvex.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "platform/jet/NombresJet.h"
#include "platform/jet/sql/JetCollation.h"

namespace {

using jet::TValor;

int Columna(const jet::TTabla& tabla, const char* sNombre) {
    for (size_t i = 0; i < tabla.columnas.size(); ++i)
        if (jet::MismoNombreJet(tabla.columnas[i].sNombre, sNombre))
            return static_cast<int>(i);
    return -1;
}

bool EsTabla(const jet::TTabla& tabla, const char* sNombre) {
    return jet::MismoNombreJet(tabla.sNombre, sNombre);
}

std::optional<int64_t> Entero(const TValor& v) {
    if (const auto* n = std::get_if<int64_t>(&v))
        return *n;
    return std::nullopt;
}

std::optional<std::string> Texto(const TValor& v) {
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    return std::nullopt;
}

// Null reads as empty: a surname left out and one typed as nothing are the
// same person's.
std::string Recortado(const TValor& v) {
    const std::string s = Texto(v).value_or("");
    const auto a = s.find_first_not_of(' ');
    if (a == std::string::npos)
        return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

bool MismaDescripcion(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (jet::sql::JetCollation::Compara(a[i], b[i]) != 0)
            return false;
    return true;
}

// One catalogue row of one branch: its key and what describes it.
template <typename TClave>
struct TFilaCatalogo {
    TClave clave;
    std::vector<std::string> descripcion;
    bool operator==(const TFilaCatalogo&) const = default;
};

// Reads a catalogue of one branch: the rows it keeps.
template <typename TClave>
std::vector<TFilaCatalogo<TClave>> LeeCatalogo(
    const jet::TArchivoAccess& parte, size_t n, const char* sTabla, const char* sClave,
    const std::vector<const char*>& descripcion,
    const std::function<bool(size_t, const jet::TTabla&, const std::vector<TValor>&)>& guarda) {
    std::vector<TFilaCatalogo<TClave>> filas;
    const jet::TTabla* tabla = parte.BuscaTabla(sTabla);
    if (!tabla)
        return filas;
    const int nClave = Columna(*tabla, sClave);
    std::vector<int> columnas;
    for (const char* s : descripcion) columnas.push_back(Columna(*tabla, s));
    if (nClave < 0)
        return filas;
    parte.LeeFilas(tabla->sNombre, [&](const std::vector<TValor>& fila) {
        if (!guarda(n, *tabla, fila))
            return;
        std::optional<TClave> clave;
        if constexpr (std::is_same_v<TClave, std::string>)
            clave = Texto(fila[nClave]);
        else
            clave = Entero(fila[nClave]);
        if (!clave)
            return;
        TFilaCatalogo<TClave> f{*clave, {}};
        for (int c : columnas) f.descripcion.push_back(c >= 0 ? Recortado(fila[c]) : "");
        filas.push_back(std::move(f));
    });
    return filas;
}

// Merges one catalogue: fills, per branch, its key -> the union's key and the
// keys whose rows stay out, and every key of the union. nuevaClave gives the
// key of a branch's row whose key is taken by a row that says otherwise.
// Keys are told apart by TMenor: text keys as Jet tells them.
template <typename TClave, typename TMenor>
void UneCatalogo(const std::vector<std::vector<TFilaCatalogo<TClave>>>& filas,
                 std::vector<std::map<TClave, TClave, TMenor>>& mapas,
                 std::vector<std::set<TClave, TMenor>>& fuera, std::set<TClave, TMenor>& claves,
                 const std::function<TClave(size_t, const TClave&)>& nuevaClave) {
    mapas.assign(filas.size(), {});
    fuera.assign(filas.size(), {});
    claves.clear();
    // Key in a branch -> the rows of the union with that key (description, key).
    std::map<TClave, std::vector<std::pair<std::vector<std::string>, TClave>>, TMenor> unidas;
    for (size_t n = 0; n < filas.size(); ++n)
        for (const auto& f : filas[n]) {
            if (mapas[n].count(f.clave))
                continue;  // a key twice in one branch: its first row speaks
            auto& variantes = unidas[f.clave];
            auto igual = std::find_if(variantes.begin(), variantes.end(), [&](const auto& v) {
                return MismaDescripcion(v.first, f.descripcion);
            });
            if (n > 0 && igual != variantes.end()) {
                mapas[n][f.clave] = igual->second;
                fuera[n].insert(f.clave);
                continue;
            }
            const TClave clave = variantes.empty() || n == 0 ? f.clave : nuevaClave(n, f.clave);
            variantes.emplace_back(f.descripcion, clave);
            mapas[n][f.clave] = clave;
            claves.insert(clave);
        }
}

// Where Norvex and the PEP list keep a client's key: 20 characters. A key
// of the union's own must fit, or the list would cut it back, maybe into the
// key of the client it was made to differ from.
constexpr size_t kAnchoClave = 20;

// The first n characters (not bytes) of UTF-8 text.
std::string Primeros(const std::string& s, size_t n) {
    size_t i = 0;
    for (size_t k = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && k++ == n)
            break;
    return s.substr(0, i);
}

// sClave followed by "/" and the branch's number (1 the head office), and by
// as many "'" as it takes to be a key nobody has; sClave cut as much as it
// takes for all that to fit.
std::string ClaveNueva(size_t n, const std::string& sClave,
                       const std::function<bool(const std::string&)>& tomada) {
    for (std::string sCola = "/" + std::to_string(n + 1);; sCola += "'") {
        const size_t nLibre = kAnchoClave - std::min(kAnchoClave, sCola.size());
        const std::string s = Primeros(sClave, nLibre) + sCola;
        if (!tomada(s))
            return s;
    }
}

}  // namespace

bool TUnionNorvex::TOrdenJet::operator()(const std::string& a, const std::string& b) const {
    return jet::sql::JetCollation::Compara(a, b) < 0;
}

// Per branch, the rows of each catalogue.
struct TUnionNorvex::TCatalogos {
    std::vector<std::vector<TFilaCatalogo<int64_t>>> sectores, divisas;
    std::vector<std::vector<TFilaCatalogo<std::string>>> clientes;
};

TUnionNorvex::TUnionNorvex(std::vector<int64_t> empresas) : empresas_(std::move(empresas)) {}

TUnionNorvex::~TUnionNorvex() = default;

void TUnionNorvex::LeeCatalogos(const jet::TArchivoAccess& parte, size_t n) {
    // A branch's rows of another company stay out; the head office's all pass.
    auto guarda = [this](size_t k, const jet::TTabla& tabla, const std::vector<TValor>& fila) {
        const int nEmp = Columna(tabla, "NumEmp");
        return k == 0 || nEmp < 0 || (k < empresas_.size() && Entero(fila[nEmp]) == empresas_[k]);
    };
    auto sinGuarda = [](size_t, const jet::TTabla&, const std::vector<TValor>&) { return true; };
    TCatalogos& c = *catalogos_;
    c.sectores.at(n) =
        LeeCatalogo<int64_t>(parte, n, "tSector", "ClaveSector", {"Sector"}, sinGuarda);
    c.divisas.at(n) = LeeCatalogo<int64_t>(parte, n, "tDivisas", "NumeroDivisa",
                                           {"Simbolo", "Divisa"}, sinGuarda);
    c.clientes.at(n) =
        LeeCatalogo<std::string>(parte, n, "tCliente", "ClaveCliente",
                                 {"Nombre", "ApellidoPaterno", "ApellidoMaterno"}, guarda);
}

void TUnionNorvex::Prepara(const std::vector<const jet::TArchivoAccess*>& partes) {
    catalogos_ = std::make_unique<TCatalogos>();
    catalogos_->sectores.resize(partes.size());
    catalogos_->divisas.resize(partes.size());
    catalogos_->clientes.resize(partes.size());
    for (size_t n = 0; n < partes.size(); ++n) LeeCatalogos(*partes[n], n);
    {
        const std::lock_guard<std::mutex> cerrojo(mAlertas_);
        alertas_.clear();
    }
    UneCatalogos();
}

void TUnionNorvex::UneCatalogos() {
    const auto& sectores = catalogos_->sectores;
    const auto& divisas = catalogos_->divisas;
    const auto& clientes = catalogos_->clientes;
    auto mayor = [](const auto& filas) {
        int64_t n = 0;
        for (const auto& parte : filas)
            for (const auto& f : parte) n = std::max(n, f.clave);
        return n;
    };
    nSiguienteSector_ = mayor(sectores) + 1;
    nSiguienteDivisa_ = mayor(divisas) + 1;
    bRenombradaAlLeer_ = false;
    UneCatalogo<int64_t>(sectores, sectores_, sectoresFuera_, clavesSectores_,
                         [this](size_t, const int64_t&) { return nSiguienteSector_++; });
    UneCatalogo<int64_t>(divisas, divisas_, divisasFuera_, clavesDivisas_,
                         [this](size_t, const int64_t&) { return nSiguienteDivisa_++; });
    // A key of its own must not be one that a later branch's catalogue has.
    TClavesTexto catalogadas;
    for (const auto& parte : clientes)
        for (const auto& f : parte) catalogadas.insert(f.clave);
    UneCatalogo<std::string>(clientes, clientes_, clientesFuera_, clavesClientes_,
                             [&](size_t n, const std::string& s) {
                                 return ClaveNueva(n, s, [&](const std::string& k) {
                                     return clavesClientes_.count(k) || catalogadas.count(k);
                                 });
                             });
    // Every branch's catalogue must be known before the keys a branch merely
    // uses are told lost or taken: those are found as rows are read.
}

namespace {

// Whether a branch's keys, as its rows already read got them (antes), map
// as the catalogues now say (ahora): a key the catalogue has to the same
// key, and one it lacks to itself (no key of the union's now takes it).
template <typename TClave, typename TMenor>
bool MismasClaves(size_t n, const std::map<TClave, TClave, TMenor>& antes,
                  const std::map<TClave, TClave, TMenor>& ahora,
                  const std::set<TClave, TMenor>& claves) {
    for (const auto& [clave, unida] : antes) {
        const auto it = ahora.find(clave);
        if (it != ahora.end() ? !(it->second == unida)
                              : !(unida == clave) || (n > 0 && claves.count(clave)))
            return false;
    }
    for (const auto& [clave, unida] : ahora)
        if (!antes.count(clave))
            return false;
    return true;
}

}  // namespace

std::set<size_t> TUnionNorvex::Reprepara(const std::vector<const jet::TArchivoAccess*>& partes,
                                         const std::set<size_t>& cambiadas) {
    std::set<size_t> releer;
    for (size_t n = 0; n < partes.size(); ++n) releer.insert(n);
    if (bRenombradaAlLeer_ || !catalogos_ || catalogos_->clientes.size() != partes.size()) {
        Prepara(partes);
        return releer;
    }
    bool bMismosCatalogos = true;
    for (size_t n : cambiadas) {
        if (n >= partes.size())
            continue;
        const TCatalogos& c = *catalogos_;
        const auto sectoresLeidos = c.sectores[n], divisasLeidas = c.divisas[n];
        const auto clientesLeidos = c.clientes[n];
        LeeCatalogos(*partes[n], n);
        bMismosCatalogos = bMismosCatalogos && c.sectores[n] == sectoresLeidos &&
                           c.divisas[n] == divisasLeidas && c.clientes[n] == clientesLeidos;
    }
    releer = cambiadas;
    // The same catalogues merge into the same keys, and a key that rows use
    // without a catalogue row maps as it did (none was renamed): only the
    // changed branches' rows are read again.
    if (!bMismosCatalogos) {
        const auto clientes = std::move(clientes_);
        const auto sectores = std::move(sectores_);
        const auto divisas = std::move(divisas_);
        const auto clientesFuera = clientesFuera_;
        const auto sectoresFuera = sectoresFuera_;
        const auto divisasFuera = divisasFuera_;
        UneCatalogos();
        for (size_t n = 0; n < partes.size(); ++n) {
            if (cambiadas.count(n))
                continue;
            if (clientesFuera_[n] != clientesFuera[n] || sectoresFuera_[n] != sectoresFuera[n] ||
                divisasFuera_[n] != divisasFuera[n] ||
                !MismasClaves(n, clientes[n], clientes_[n], clavesClientes_) ||
                !MismasClaves(n, sectores[n], sectores_[n], clavesSectores_) ||
                !MismasClaves(n, divisas[n], divisas_[n], clavesDivisas_)) {
                releer.insert(n);
                continue;
            }
            // Its rows stay as they are: so do the keys they taught.
            clientes_[n] = clientes[n];
            sectores_[n] = sectores[n];
            divisas_[n] = divisas[n];
        }
    }
    const std::lock_guard<std::mutex> cerrojo(mAlertas_);
    for (auto it = alertas_.begin(); it != alertas_.end();) {
        for (size_t n : releer) it->second.erase(n);
        it = it->second.empty() ? alertas_.erase(it) : std::next(it);
    }
    return releer;
}

std::string TUnionNorvex::Cliente(size_t n, const std::string& s) {
    auto& mapa = clientes_[n];
    if (auto it = mapa.find(s); it != mapa.end())
        return it->second;
    std::string sNueva = s;
    if (n > 0 && clavesClientes_.count(s)) {
        sNueva =
            ClaveNueva(n, s, [this](const std::string& k) { return clavesClientes_.count(k); });
        clavesClientes_.insert(sNueva);
        bRenombradaAlLeer_ = true;
    }
    return mapa[s] = sNueva;
}

int64_t TUnionNorvex::Sector(size_t n, int64_t nClave) {
    auto& mapa = sectores_[n];
    if (auto it = mapa.find(nClave); it != mapa.end())
        return it->second;
    if (n > 0 && clavesSectores_.count(nClave)) {
        bRenombradaAlLeer_ = true;
        return mapa[nClave] = nSiguienteSector_++;
    }
    return mapa[nClave] = nClave;
}

int64_t TUnionNorvex::Divisa(size_t n, int64_t nClave) {
    auto& mapa = divisas_[n];
    if (auto it = mapa.find(nClave); it != mapa.end())
        return it->second;
    if (n > 0 && clavesDivisas_.count(nClave)) {
        bRenombradaAlLeer_ = true;
        return mapa[nClave] = nSiguienteDivisa_++;
    }
    return mapa[nClave] = nClave;
}

std::set<size_t> TUnionNorvex::DameSucursalesConAlertas(const std::string& sClave) const {
    const std::lock_guard<std::mutex> cerrojo(mAlertas_);
    const auto it = alertas_.find(sClave);
    return it == alertas_.end() ? std::set<size_t>{} : it->second;
}

bool TUnionNorvex::Adapta(size_t n, const jet::TTabla& tabla, std::vector<TValor>& fila) {
    const bool bAceptada = AdaptaFila(n, tabla, fila);
    if (bAceptada && EsTabla(tabla, "tRelevan")) {
        const int nCliente = Columna(tabla, "ClaveCliente");
        const int nEmp = Columna(tabla, "NumEmp");
        if (nCliente >= 0 && nEmp >= 0 && !empresas_.empty() && Entero(fila[nEmp]) == empresas_[0])
            if (const auto s = Texto(fila[nCliente])) {
                const std::lock_guard<std::mutex> cerrojo(mAlertas_);
                alertas_[*s].insert(n);
            }
    }
    return bAceptada;
}

bool TUnionNorvex::AdaptaFila(size_t n, const jet::TTabla& tabla, std::vector<TValor>& fila) {
    if (n == 0)
        return true;
    if (EsTabla(tabla, "tEmpresa") || EsTabla(tabla, "tEmps") || EsTabla(tabla, "tCompUsr"))
        return false;
    // Column positions are looked up per row: a handful of short names,
    // far below what reading the row cost.
    const int nEmp = Columna(tabla, "NumEmp");
    if (nEmp >= 0) {
        if (n >= empresas_.size() || Entero(fila[nEmp]) != empresas_[n])
            return false;
        fila[nEmp] = empresas_[0];
    }
    const int nCliente = Columna(tabla, "ClaveCliente");
    const int nSector = Columna(tabla, "ClaveSector");
    const int nDivisa = Columna(tabla, "NumeroDivisa");
    const int nFolio = Columna(tabla, "Folio");
    if (nFolio >= 0)
        if (const auto k = Entero(fila[nFolio]))
            fila[nFolio] = static_cast<int64_t>(n + 1) * kFoliosPorSucursal + *k;
    if (EsTabla(tabla, "tCliente") && nCliente >= 0)
        if (const auto s = Texto(fila[nCliente]); s && clientesFuera_[n].count(*s))
            return false;
    if (EsTabla(tabla, "tSector") && nSector >= 0)
        if (const auto k = Entero(fila[nSector]); k && sectoresFuera_[n].count(*k))
            return false;
    if (EsTabla(tabla, "tDivisas") && nDivisa >= 0)
        if (const auto k = Entero(fila[nDivisa]); k && divisasFuera_[n].count(*k))
            return false;
    if (nCliente >= 0)
        if (const auto s = Texto(fila[nCliente]))
            fila[nCliente] = Cliente(n, *s);
    if (nSector >= 0)
        if (const auto k = Entero(fila[nSector]))
            fila[nSector] = Sector(n, *k);
    if (nDivisa >= 0)
        if (const auto k = Entero(fila[nDivisa]))
            fila[nDivisa] = Divisa(n, *k);
    return true;
}
