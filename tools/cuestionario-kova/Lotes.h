#pragma once

#include "tools/cuestionario-kova/OpcionesLotes.h"

// Exit codes of the batch program.
enum TSalidaLotes { slExito = 0, slFallaCuestionario = 1, slUsoOCompuerta = 2 };

// One batch run over a Norvex folder: the access gate, the PEP detection,
// then the listing or the questionnaire with its output files. Candidates go
// to standard output, messages to standard error. Needs the Qt application
// object when a PDF is wanted.
int EjecutaLotes(const TOpcionesLotes& op);
