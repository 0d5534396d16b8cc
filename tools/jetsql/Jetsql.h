#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "tools/jetsql/OpcionesJetsql.h"

// What jetsql finds around it when it starts.
struct TEntornoJetsql {
    std::istream* entrada = nullptr;  // statements when there is no -f; none reads nothing
    bool bEntradaTerminal = false;    // a person types: the console
    bool bSalidaTerminal = false;     // a person reads: aligned tables
    std::string sHistorial;           // the console's history file; empty keeps none
};

// Runs jetsql: results on salida, a failure as "KIND - message" on errores.
// Returns the exit status: 0 on success, 1 on failure.
int EjecutaJetsql(const TOpcionesJetsql& opciones, std::ostream& salida, std::ostream& errores,
                  const TEntornoJetsql& entorno = {});
