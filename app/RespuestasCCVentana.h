#pragma once

#include <memory>
#include <string>

#include "report/IIManejadorReportes.h"

class TAlmacenRespuestasCC;
namespace rpt {
class TReporte;
class TVistaPrevia;
}  // namespace rpt

// The window's report handler: the report gets the answers the centre kept
// for its company (number nNumEmp, name as the run reads it), and the
// preview gets the action "Respuestas del CC", which opens the form; a save
// keeps the answers in almacen and prepares the preview again with them.
std::shared_ptr<IManejadorReportes> CreaManejadorVentana(
    rpt::TReporte& reporte, const std::string& sNomRep, int nNumEmp,
    std::shared_ptr<TAlmacenRespuestasCC> almacen);

// Object name of the preview's action.
inline constexpr const char* kAccionRespuestasCC = "acRespuestasCC";
