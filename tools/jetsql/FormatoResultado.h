#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "platform/jet/MotorJet.h"

// The shapes a result can be written in.
enum class TModoSalida { msCsv, msTabla, msJson, msLineas };

// "csv", "tabla", "json" or "lineas"; nullopt for anything else.
std::optional<TModoSalida> LeeModoSalida(const std::string& s);

// Writes a result: CSV as EscribeCsv, an aligned table (numbers to the
// right, texts longer than nAnchoMaximo characters cut with "…", a count of
// rows below), JSON (one array of objects, one object a line) or one
// "column = value" line per field with a blank line between rows.
// bEncabezados leaves the column names out of CSV and tables.
void EscribeResultado(const jet::TResultado& resultado, TModoSalida eModo, bool bEncabezados,
                      std::ostream& salida, size_t nAnchoMaximo = 40);
