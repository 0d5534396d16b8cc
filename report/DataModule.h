#pragma once

#include "platform/report/TOpcionesPDF.h"
#include "platform/report/TReporte.h"
#include "report/TablaPEPs.h"

// The program's data module: the questionnaire report with its PDF export
// settings, and the PEP table. It is created once at start-up and outlives
// every job, so report variables persist from one run to the next.
class TdmMain {
public:
    // Loads the questionnaire template compiled into the program; a template
    // that does not load is a broken build and throws std::runtime_error.
    TdmMain();

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

// Where the questionnaire template lives inside the program.
inline constexpr const char* kPlantillaCuestionario = ":/report/CuestionarioKOVA.json";
