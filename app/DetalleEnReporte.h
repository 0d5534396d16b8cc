#pragma once

#include <QString>
#include <memory>

#include "questionnaire/IIRepCuestionarioKOVA.h"

namespace rpt {
class TReporte;
class TVistaPrevia;
}  // namespace rpt

// The answer variable's question number ("preg_52" or
// "Cuestionario.preg_52" gives 52); 0 for any other variable.
int PreguntaDeVariable(const QString& sVariable);

// Object name of the preview's action that opens a question by its number.
inline constexpr const char* kAccionDetalle = "acDetalle";

// From now on a click on an answer in the preview of reporte opens it: a
// computed answer, "Detalle de la pregunta N" with the rows behind it, taken
// by cuestionario (the question set that fills the report); an answer the
// centre gives, its form at that question (through the preview's action
// "Respuestas del CC"). Once cuestionario is gone a click on a computed
// answer does nothing.
void EnlazaDetalle(rpt::TReporte& reporte,
                   const std::shared_ptr<IRepCuestionarioKOVA>& cuestionario);

// Adds to the preview "Detalle de la pregunta…" (Ctrl+D): the question under
// the mouse pointer, or the first of the page shown, or any number typed,
// opened as a click on its answer opens it.
void AgregaAccionDetalle(rpt::TVistaPrevia& vista, rpt::TReporte& reporte);
