#pragma once

#include <functional>
#include <memory>
#include <string>

#include "report/IIManejadorReportes.h"

class TAlmacenRespuestasCC;
class TEspacioRespuestas;
struct TPreguntasCC;
namespace rpt {
class TReporte;
class TVistaPrevia;
}  // namespace rpt

// The window's report handler: the report gets the answers the centre kept
// for its company (number nNumEmp, name as the run reads it), and the
// preview gets the action "Respuestas del CC" (Ctrl+R), which opens the form
// (at the question its property kPropiedadPreguntaCC names, if any); a save
// keeps the answers in almacen and prepares the preview again with them.
// alMostrar adds what else the preview offers.
std::shared_ptr<IManejadorReportes> CreaManejadorVentana(
    rpt::TReporte& reporte, const std::string& sNomRep, int nNumEmp,
    std::shared_ptr<TAlmacenRespuestasCC> almacen,
    std::function<void(rpt::TVistaPrevia&)> alMostrar = nullptr);

// The room the centre's answers (the edition's questions preguntas) have in
// reporte (prepared, with the run's values): free-text answers are measured,
// the others count at the longest value their check accepts.
std::shared_ptr<const TEspacioRespuestas> CreaEspacioRespuestasCC(const rpt::TReporte& reporte,
                                                                  const TPreguntasCC& preguntas);

// Object name of the preview's action, and of its property that names the
// question the form opens at (0: the first).
inline constexpr const char* kAccionRespuestasCC = "acRespuestasCC";
inline constexpr const char* kPropiedadPreguntaCC = "preguntaCC";
