#pragma once

#include <functional>
#include <string>

#include "platform/report/TReporte.h"
#include "report/IIManejadorReportes.h"

namespace rpt {
class TVistaPrevia;
}

// The questionnaire run's door to the report: sets report variables from plain
// texts and shows the prepared report. The report object is borrowed; it
// belongs to the data module and outlives the handler.
class TManejadorReportes : public IManejadorReportes {
public:
    // Called with the preview before it is shown, to add to it.
    using TAlMostrar = std::function<void(rpt::TVistaPrevia&)>;

    TManejadorReportes(rpt::TReporte& elReporte, std::string sNombre);

    void AgregaDatoReporte(const std::string& sCategoria, const std::string& sVariable,
                           const std::string& sDato) override;
    void MuestraReporte() override;
    // What MuestraReporte does before the preview: the document name, then
    // the pages prepared afresh. A batch run stops here and exports them.
    void PreparaReporte();

    // The value the report stores for a plain text: the text between single
    // quotes (a text literal), or the text itself when it holds CR LF.
    static QString ComoValor(const QString& sDato);

    void SetAlMostrar(TAlMostrar alMostrar) { F_AlMostrar = std::move(alMostrar); }

private:
    rpt::TReporte& F_Reporte;
    std::string F_sNombre;
    TAlMostrar F_AlMostrar;
};
