#pragma once

#include <QString>
#include <functional>

#include "platform/report/TOpcionesPDF.h"

namespace rpt {

class TReporte;

// Writes the prepared pages of a report to a PDF file: Qt paints the pages
// (real text, embedded font subsets), qpdf then sets the document information
// and viewer preferences. The file is replaced in one step, so a failed export
// never leaves a half-written file. Returns false and says why in sError.
bool ExportaPDF(TReporte& reporte, const QString& sArchivo, const TOpcionesPDF& opciones,
                const std::function<bool(int, int)>& progreso, QString* sError);

}  // namespace rpt
