#pragma once

#include <QString>
#include <memory>

#include "questionnaire/IIRepCuestionarioKOVA.h"

namespace rpt {
class TReporte;
}

// The answer variable's question number ("preg_52" or
// "Cuestionario.preg_52" gives 52); 0 for any other variable.
int PreguntaDeVariable(const QString& sVariable);

// From now on a click on a computed answer in the preview of reporte opens
// "Detalle de la pregunta N" with the rows behind it, taken by cuestionario
// (the question set that fills the report). Once cuestionario is gone a click
// does nothing.
void EnlazaDetalle(rpt::TReporte& reporte,
                   const std::shared_ptr<IRepCuestionarioKOVA>& cuestionario);
