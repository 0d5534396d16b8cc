#pragma once

#include <ostream>

#include "platform/jet/MotorJet.h"

// Writes a statement's rows as CSV (RFC 4180, CRLF line ends): a header
// with the column names, then one line per row. Null is an empty field,
// empty text is "", text is quoted only when it holds a comma, a quote or a
// line break; numbers in their general form with "." as decimal point,
// Booleans True/False, dates as YYYY-MM-DD HH:MM:SS. bEncabezado false
// leaves the header out.
void EscribeCsv(const jet::TResultado& resultado, std::ostream& salida, bool bEncabezado = true);
void EscribeCabeceraCsv(const std::vector<std::string>& columnas, std::ostream& salida);
void EscribeFilaCsv(const std::vector<jet::TValor>& fila, std::ostream& salida);
