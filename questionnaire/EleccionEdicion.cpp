#include "questionnaire/EleccionEdicion.h"

#include "platform/archivos/Rutas.h"
#include "questionnaire/ValidaEdicion.h"

namespace fs = std::filesystem;

namespace {

using archivos::RutaCanonica;

void Revisa(TEdicionHallada& h) {
    if (!h.lectura.edicion || EsEdicionDelPrograma(h.sCarpeta))
        return;
    h.lectura.problemas = ValidaEdicion(*h.lectura.edicion);
    if (!h.lectura.problemas.empty())
        h.lectura.edicion.reset();
}

}  // namespace

bool EsEdicionDelPrograma(const fs::path& sCarpeta) {
    return RutaCanonica(sCarpeta).parent_path() == RutaCanonica(CarpetaEdicionesPrograma());
}

std::vector<TEdicionHallada> EdicionesConocidas(bool bRevisaAjenas) {
    std::vector<TEdicionHallada> halladas = BuscaEdiciones(CarpetasEdiciones());
    if (bRevisaAjenas)
        for (TEdicionHallada& h : halladas) Revisa(h);
    return halladas;
}

TLecturaEdicion EligeEdicion(const std::string& sClaveOCarpeta) {
    std::vector<TEdicionHallada> halladas = EdicionesConocidas(false);
    for (TEdicionHallada& h : halladas) {
        // A broken edition has no key to go by; its folder's name is the
        // usual one.
        const bool bEsa = h.lectura.edicion ? h.lectura.edicion->sClave == sClaveOCarpeta
                                            : h.sCarpeta.filename() == sClaveOCarpeta;
        if (bEsa) {
            Revisa(h);
            return std::move(h.lectura);
        }
    }
    std::error_code ec;
    if (!fs::is_directory(sClaveOCarpeta, ec)) {
        std::string sConocidas;
        for (const TEdicionHallada& h : halladas)
            if (h.lectura.edicion)
                sConocidas += (sConocidas.empty() ? "" : ", ") + h.lectura.edicion->sClave;
        return {nullptr,
                {{sClaveOCarpeta, 0,
                  "no es la clave de ninguna edición conocida ni una carpeta de edición"
                  " (ediciones conocidas: " +
                      (sConocidas.empty() ? std::string("ninguna") : sConocidas) + ")."}}};
    }
    return RevisaCarpetaEdicion(sClaveOCarpeta);
}

TLecturaEdicion RevisaCarpetaEdicion(const fs::path& sCarpeta) {
    TLecturaEdicion l = RevisaEdicion(sCarpeta);
    if (!l.edicion)
        return l;
    // The same key as another known edition would mix up their answers.
    for (const TEdicionHallada& h : EdicionesConocidas(false))
        if (h.lectura.edicion && h.lectura.edicion->sClave == l.edicion->sClave &&
            RutaCanonica(h.sCarpeta) != RutaCanonica(sCarpeta)) {
            l.problemas.push_back({sCarpeta / kArchivoEdicion, 0,
                                   "la clave «" + l.edicion->sClave + "» ya es de la edición de " +
                                       h.sCarpeta.string() + "; cámbiela."});
            l.edicion.reset();
            break;
        }
    return l;
}
