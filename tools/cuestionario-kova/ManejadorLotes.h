#pragma once

#include <map>
#include <memory>
#include <string>

#include "report/IIManejadorReportes.h"
#include "report/ManejadorReportes.h"

// The report handler of a batch run: it keeps every answer as the report
// would show it and, when a PDF is wanted, fills the report and prepares its
// pages; there is no preview to show.
class TManejadorLotes : public IManejadorReportes {
public:
    // Without a report only the answers are kept.
    TManejadorLotes(rpt::TReporte* Reporte, const std::string& sNombre);

    void AgregaDatoReporte(const std::string& sCategoria, const std::string& sVariable,
                           const std::string& sDato) override;
    void MuestraReporte() override;

    // Answers by question number ("preg_" variables of "Cuestionario").
    const std::map<int, std::string>& Respuestas() const { return F_Respuestas; }
    bool Preparado() const { return F_bPreparado; }

private:
    std::unique_ptr<TManejadorReportes> F_Manejador;
    std::map<int, std::string> F_Respuestas;
    bool F_bPreparado = false;
};
