#include "tools/cuestionario-kova/ManejadorLotes.h"

#include <charconv>

TManejadorLotes::TManejadorLotes(rpt::TReporte* Reporte, const std::string& sNombre) {
    if (Reporte)
        F_Manejador = std::make_unique<TManejadorReportes>(*Reporte, sNombre);
}

void TManejadorLotes::AgregaDatoReporte(const std::string& sCategoria, const std::string& sVariable,
                                        const std::string& sDato) {
    if (F_Manejador)
        F_Manejador->AgregaDatoReporte(sCategoria, sVariable, sDato);
    const std::string sPrefijo = "preg_";
    if (sCategoria != "Cuestionario" || !sVariable.starts_with(sPrefijo))
        return;
    int n = 0;
    const char* pFin = sVariable.data() + sVariable.size();
    const auto [p, ec] = std::from_chars(sVariable.data() + sPrefijo.size(), pFin, n);
    if (ec == std::errc() && p == pFin)
        F_Respuestas[n] = sDato;
}

void TManejadorLotes::MuestraReporte() {
    if (F_Manejador)
        F_Manejador->PreparaReporte();
    F_bPreparado = true;
}
