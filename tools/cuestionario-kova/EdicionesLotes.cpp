#include "tools/cuestionario-kova/EdicionesLotes.h"

#include "questionnaire/EleccionEdicion.h"
#include "questionnaire/ValidaEdicion.h"
#include "tools/cuestionario-kova/Lotes.h"

int ListaEdicionesLotes(std::ostream& out, std::ostream& err) {
    for (const TEdicionHallada& h : EdicionesConocidas()) {
        if (const auto& e = h.lectura.edicion) {
            out << e->sClave << '\t' << e->sNombre << '\t' << FechaIso(e->inicio) << '/'
                << FechaIso(e->fin) << '\t' << h.sCarpeta.string() << '\n';
            continue;
        }
        err << "La edición de " << h.sCarpeta.string() << " no se puede usar:\n";
        for (const TProblemaEdicion& p : h.lectura.problemas) err << p.Texto() << '\n';
    }
    return slExito;
}

int ValidaEdicionLotes(const std::filesystem::path& sCarpeta, std::ostream& out,
                       std::ostream& err) {
    const TLecturaEdicion l = RevisaEdicion(sCarpeta);
    if (!l.edicion) {
        for (const TProblemaEdicion& p : l.problemas) err << p.Texto() << '\n';
        return slUsoOCompuerta;
    }
    out << ResumenEdicion(*l.edicion) << '\n';
    return slExito;
}
