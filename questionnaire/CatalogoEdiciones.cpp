#include "questionnaire/CatalogoEdiciones.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <stdexcept>

namespace fs = std::filesystem;

fs::path CarpetaEdicionesPrograma() {
    std::error_code ec;
    const fs::path sDir = fs::read_symlink("/proc/self/exe", ec).parent_path();
    const fs::path candidatas[] = {
        sDir / "ediciones",
        (sDir / ".." / "share" / "cuestionario-kova" / "ediciones").lexically_normal(),
        "/usr/share/cuestionario-kova/ediciones"};
    for (const fs::path& s : candidatas)
        if (fs::is_directory(s, ec))
            return s;
    return candidatas[1];
}

fs::path CarpetaEdicionesUsuario() {
    // As Qt's data location for the window program, so both programs see
    // the same folder.
    const char* sDatos = std::getenv("XDG_DATA_HOME");
    fs::path sBase;
    if (sDatos && *sDatos == '/')
        sBase = sDatos;
    else if (const char* sCasa = std::getenv("HOME"); sCasa && *sCasa)
        sBase = fs::path(sCasa) / ".local" / "share";
    else
        return {};
    return sBase / "CuestionarioKOVA" / "ediciones";
}

std::vector<fs::path> CarpetasEdiciones() {
    std::vector<fs::path> r{CarpetaEdicionesPrograma()};
    if (fs::path s = CarpetaEdicionesUsuario(); !s.empty())
        r.push_back(std::move(s));
    return r;
}

std::vector<TEdicionHallada> BuscaEdiciones(const std::vector<fs::path>& raices) {
    std::vector<TEdicionHallada> r;
    std::map<std::string, fs::path> carpetaDe;  // key -> the folder that has it
    for (const fs::path& sRaiz : raices) {
        std::error_code ec;
        std::vector<fs::path> carpetas;
        for (fs::directory_iterator it(sRaiz, ec), fin; !ec && it != fin; it.increment(ec))
            // Every folder there is meant as an edition: one without its
            // files is reported, not passed over in silence.
            if (it->is_directory(ec))
                carpetas.push_back(it->path());
        std::sort(carpetas.begin(), carpetas.end());
        for (fs::path& sCarpeta : carpetas) {
            TEdicionHallada h{sCarpeta, LeeEdicion(sCarpeta)};
            if (h.lectura.edicion) {
                const std::string& sClave = h.lectura.edicion->sClave;
                if (const auto it = carpetaDe.find(sClave); it != carpetaDe.end()) {
                    h.lectura.problemas.push_back({sCarpeta / kArchivoEdicion, 0,
                                                   "la clave «" + sClave +
                                                       "» ya es de la edición de " +
                                                       it->second.string() + "."});
                    h.lectura.edicion.reset();
                } else {
                    carpetaDe.emplace(sClave, sCarpeta);
                }
            }
            r.push_back(std::move(h));
        }
    }
    return r;
}

std::shared_ptr<const TEdicion> EdicionPredeterminada() {
    static const std::shared_ptr<const TEdicion> edicion = [] {
        const fs::path sCarpeta = CarpetaEdicionesPrograma() / kClaveEdicionPredeterminada;
        TLecturaEdicion l = LeeEdicion(sCarpeta);
        if (!l.edicion) {
            std::string s = "No fue posible leer la edición " +
                            std::string(kClaveEdicionPredeterminada) + " del programa (" +
                            sCarpeta.string() + "); reinstale el programa.";
            for (const TProblemaEdicion& p : l.problemas) s += "\n" + p.Texto();
            throw std::runtime_error(s);
        }
        return l.edicion;
    }();
    return edicion;
}
