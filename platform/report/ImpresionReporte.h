#pragma once

class QPrinter;

namespace rpt {

class TReporte;

// Prints the prepared pages of a report on a printer set up by the print
// dialog: the job takes the report's document name, and the printer's page
// range applies. False when printing could not start; the report says why.
bool ImprimeReporte(TReporte& reporte, QPrinter& impresora);

}  // namespace rpt
