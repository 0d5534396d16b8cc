#include "platform/jet/ArchivoUnion.h"

#include <strings.h>

#include <stdexcept>

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

}  // namespace

TArchivoUnion::TArchivoUnion(std::vector<std::unique_ptr<TArchivoAccess>> partes,
                             std::shared_ptr<IReglasUnion> reglas)
    : partes_(std::move(partes)), reglas_(std::move(reglas)) {
    if (partes_.empty())
        throw std::invalid_argument("una unión necesita al menos un archivo");
    std::vector<std::string> rutas;
    std::vector<const TArchivoAccess*> vistas;
    for (const auto& p : partes_) {
        rutas.push_back(p->Ruta());
        vistas.push_back(p.get());
    }
    sRuta_ = UneRutas(rutas);
    if (reglas_)
        reglas_->Prepara(vistas);
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
    std::vector<TFirmaArchivo> firmas;
    for (const std::string& s : SeparaRutas(sRutas))
        firmas.push_back(TArchivoAccess::FirmaEnDisco(s));
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
    const TTabla* tabla = BuscaTabla(sTabla);
    if (!tabla) {
        partes_.front()->LeeFilas(sTabla, fila);  // fails as the file fails
        return;
    }
    for (size_t n = 0; n < partes_.size(); ++n) {
        const TTabla* propia = partes_[n]->BuscaTabla(tabla->sNombre);
        if (!propia)
            continue;
        // Where each of the union's columns is in this file's table (-1: none).
        std::vector<int> donde;
        for (const TColumna& c : tabla->columnas) {
            int k = -1;
            for (size_t j = 0; j < propia->columnas.size(); ++j)
                if (strcasecmp(propia->columnas[j].sNombre.c_str(), c.sNombre.c_str()) == 0) {
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
}

}  // namespace jet
