#pragma once

#include "platform/report/TOpcionesPDF.h"
#include "platform/report/TReporte.h"
#include "report/TablaPEPs.h"

struct TEdicion;

// The program's data module: the questionnaire report with its PDF export
// settings, and the PEP table. It is created once at start-up and outlives
// every job, so report variables persist from one run to the next.
class TdmMain {
public:
    // With the default edition's report (EdicionPredeterminada). A template
    // that does not load throws std::runtime_error.
    TdmMain();
    explicit TdmMain(const TEdicion& edicion);

    // The report of another edition in place of the current one: its
    // template, with every variable empty again, and its PDF's proposed
    // name and document information. Throws std::runtime_error, and keeps
    // the report as it was, when the template does not load.
    void CargaEdicion(const TEdicion& edicion);

    rpt::TReporte repGeneral;
    // The PDF export settings; they travel with the report, whose preview
    // runs the export.
    const rpt::TOpcionesPDF& PDFExport() const { return repGeneral.DameOpcionesPDF(); }

    // The PEP candidates: filled by the detection, ticked in the grid, read by
    // the next report run. Empty at start.
    TTablaPEPs vtPEPs;
};

// The one data module of the program, set by the program's start.
extern TdmMain* dmMain;
