#pragma once

#include <string>
#include <vector>

#include "platform/jet/MotorJet.h"
#include "platform/jet/TArchivoAccess.h"

// The columns of some tables, in table order, as a result jetsql writes
// like any other: [Tabla,] Columna, Tipo (Access's name), Tamaño
// (characters for text, bytes for fixed-size kinds, empty for memo and
// other long values) and Nulos ("Sí", "No", or "?" when the file does not
// tell). bConTabla adds the table's name as the first column.
jet::TResultado DameEsquema(const jet::TArchivoAccess& archivo,
                            const std::vector<std::string>& tablas, bool bConTabla);
