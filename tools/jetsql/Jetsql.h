#pragma once

#include <ostream>

#include "tools/jetsql/OpcionesJetsql.h"

// Runs jetsql: results on salida, a failure as "KIND - message" on errores.
// Returns the exit status: 0 on success, 1 on failure.
int EjecutaJetsql(const TOpcionesJetsql& opciones, std::ostream& salida, std::ostream& errores);
