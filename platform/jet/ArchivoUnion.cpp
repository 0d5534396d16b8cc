#include "platform/jet/ArchivoUnion.h"

#include <algorithm>
#include <stdexcept>

#include "platform/jet/NombresJet.h"

namespace jet {

namespace {

// Any change of one file's signature changes the whole one: sizes add up,
// the rest is mixed (a collision would need two files to change in step).
TFirmaArchivo Combina(const std::vector<TFirmaArchivo>& firmas) {
    TFirmaArchivo f;
    auto mezcla = [](auto& acumulado, auto valor) {
        acumulado = acumulado * 1000003 ^ static_cast<decltype(acumulado)>(valor);
    };
    for (const TFirmaArchivo& p : firmas) {
        f.nTamano += p.nTamano;
        mezcla(f.nModificacionNs, p.nModificacionNs);
        mezcla(f.nDispositivo, p.nDispositivo);
        mezcla(f.nInodo, p.nInodo);
        mezcla(f.nCambioNs, p.nCambioNs);
    }
    return f;
}

std::vector<std::string> SeparaRutas(const std::string& s) {
    std::vector<std::string> rutas;
    size_t n = 0;
    for (size_t i; (i = s.find('\0', n)) != std::string::npos; n = i + 1)
        rutas.push_back(s.substr(n, i - n));
    rutas.push_back(s.substr(n));
    return rutas;
}

// The tables as the union shows them: names and columns, not row counts.
bool MismasTablas(const TArchivoAccess& a, const TArchivoAccess& b) {
    const std::vector<std::string> nombres = a.DameNombresTablas();
    if (nombres != b.DameNombresTablas())
        return false;
    auto igual = [](const TColumna& x, const TColumna& y) {
        return x.sNombre == y.sNombre && x.eTipo == y.eTipo && x.nTamano == y.nTamano &&
               x.nPrecision == y.nPrecision && x.nEscala == y.nEscala &&
               x.nCodigoTipo == y.nCodigoTipo;
    };
    for (const std::string& s : nombres) {
        const TTabla* x = a.BuscaTabla(s);
        const TTabla* y = b.BuscaTabla(s);
        if (!x || !y || x->sNombre != y->sNombre ||
            !std::equal(x->columnas.begin(), x->columnas.end(), y->columnas.begin(),
                        y->columnas.end(), igual))
            return false;
    }
    return true;
}

// One read of rows at a time, as the rules adapt them.
class TLecturaUnica {
public:
    explicit TLecturaUnica(std::atomic<int>& n) : n_(n) {
        if (n_.fetch_add(1) != 0) {
            n_.fetch_sub(1);
            throw std::logic_error("dos lecturas a la vez de las filas de una unión");
        }
    }
    ~TLecturaUnica() { n_.fetch_sub(1); }
    TLecturaUnica(const TLecturaUnica&) = delete;
    TLecturaUnica& operator=(const TLecturaUnica&) = delete;

private:
    std::atomic<int>& n_;
};

}  // namespace

std::set<size_t> IReglasUnion::Reprepara(const std::vector<const TArchivoAccess*>& partes,
                                         const std::set<size_t>&) {
    Prepara(partes);
    std::set<size_t> todas;
    for (size_t n = 0; n < partes.size(); ++n) todas.insert(n);
    return todas;
}

TArchivoUnion::TArchivoUnion(std::vector<std::unique_ptr<TArchivoAccess>> partes,
                             std::shared_ptr<IReglasUnion> reglas, TAbreParte abreParte,
                             TFirmaEnDisco firmaEnDisco)
    : partes_(std::move(partes)),
      reglas_(std::move(reglas)),
      abreParte_(std::move(abreParte)),
      firmaEnDisco_(std::move(firmaEnDisco)) {
    if (partes_.empty())
        throw std::invalid_argument("una unión necesita al menos un archivo");
    std::vector<std::string> rutas;
    for (const auto& p : partes_) rutas.push_back(p->Ruta());
    sRuta_ = UneRutas(rutas);
    if (reglas_)
        reglas_->Prepara(Vistas());
}

std::vector<const TArchivoAccess*> TArchivoUnion::Vistas() const {
    std::vector<const TArchivoAccess*> vistas;
    for (const auto& p : partes_) vistas.push_back(p.get());
    return vistas;
}

std::set<size_t> TArchivoUnion::PartesCambiadas() const {
    std::set<size_t> cambiadas;
    for (size_t n = 0; n < partes_.size(); ++n)
        if (firmaEnDisco_(partes_[n]->Ruta()) != partes_[n]->Firma())
            cambiadas.insert(n);
    return cambiadas;
}

std::set<size_t> TArchivoUnion::ReabrePartes(const std::set<size_t>& cambiadas) {
    if (nLecturas_.load() != 0)
        throw std::logic_error("las reglas de una unión se preparan mientras se leen sus filas");
    std::set<size_t> todas;
    for (size_t n = 0; n < partes_.size(); ++n) todas.insert(n);
    if (!abreParte_)
        return todas;
    // Every file opens before any replaces its part: one that fails to open
    // leaves the union as it was.
    std::vector<std::unique_ptr<TArchivoAccess>> nuevas(partes_.size());
    for (size_t n : cambiadas)
        if (n < partes_.size())
            nuevas[n] = abreParte_(n);
    const bool bMismasTablas = !nuevas[0] || MismasTablas(*partes_[0], *nuevas[0]);
    std::set<size_t> reabiertas;
    for (size_t n = 0; n < partes_.size(); ++n)
        if (nuevas[n]) {
            partes_[n] = std::move(nuevas[n]);
            reabiertas.insert(n);
        }
    if (!bMismasTablas) {
        if (reglas_)
            reglas_->Prepara(Vistas());
        return todas;
    }
    return reglas_ ? reglas_->Reprepara(Vistas(), reabiertas) : reabiertas;
}

std::string TArchivoUnion::UneRutas(const std::vector<std::string>& rutas) {
    std::string s;
    for (size_t i = 0; i < rutas.size(); ++i) s += (i ? std::string(1, '\0') : "") + rutas[i];
    return s;
}

TFirmaArchivo TArchivoUnion::Firma() const {
    std::vector<TFirmaArchivo> firmas;
    for (const auto& p : partes_) firmas.push_back(p->Firma());
    return Combina(firmas);
}

TFirmaArchivo TArchivoUnion::FirmaEnDisco(const std::string& sRutas) {
    return FirmaEnDiscoPorPartes(sRutas, &TArchivoAccess::FirmaEnDisco);
}

TFirmaArchivo TArchivoUnion::FirmaEnDiscoPorPartes(const std::string& sRutas,
                                                   const TFirmaEnDisco& firmaParte) {
    std::vector<TFirmaArchivo> firmas;
    for (const std::string& s : SeparaRutas(sRutas)) firmas.push_back(firmaParte(s));
    return Combina(firmas);
}

std::vector<std::string> TArchivoUnion::DameNombresTablas() const {
    return partes_.front()->DameNombresTablas();
}

const TTabla* TArchivoUnion::BuscaTabla(const std::string& sNombre) const {
    return partes_.front()->BuscaTabla(sNombre);
}

void TArchivoUnion::LeeFilas(const std::string& sTabla,
                             const std::function<void(const std::vector<TValor>&)>& fila) const {
    for (size_t n = 0; n < partes_.size(); ++n) LeeFilasParte(n, sTabla, fila);
}

void TArchivoUnion::LeeFilasParte(
    size_t n, const std::string& sTabla,
    const std::function<void(const std::vector<TValor>&)>& fila) const {
    const TLecturaUnica lectura(nLecturas_);
    const TTabla* tabla = BuscaTabla(sTabla);
    if (!tabla) {
        if (n == 0)
            partes_.front()->LeeFilas(sTabla, fila);  // fails as the file fails
        return;
    }
    const TTabla* propia = n < partes_.size() ? partes_[n]->BuscaTabla(tabla->sNombre) : nullptr;
    if (!propia)
        return;
    // Where each of the union's columns is in this file's table (-1: none).
    std::vector<int> donde;
    for (const TColumna& c : tabla->columnas) {
        int k = -1;
        for (size_t j = 0; j < propia->columnas.size(); ++j)
            if (MismoNombreJet(propia->columnas[j].sNombre, c.sNombre)) {
                k = static_cast<int>(j);
                break;
            }
        donde.push_back(k);
    }
    std::vector<TValor> unida(tabla->columnas.size());
    partes_[n]->LeeFilas(propia->sNombre, [&](const std::vector<TValor>& original) {
        for (size_t i = 0; i < donde.size(); ++i)
            unida[i] = donde[i] >= 0 && static_cast<size_t>(donde[i]) < original.size()
                           ? original[donde[i]]
                           : TValor{std::monostate{}};
        if (!reglas_ || reglas_->Adapta(n, *tabla, unida))
            fila(unida);
    });
}

}  // namespace jet
