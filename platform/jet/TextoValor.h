#pragma once

#include <string>

#include "platform/jet/TValorJet.h"

namespace jet {

// A value as a recordset shows it as text: null empty, Booleans True/False,
// numbers and currency in the general form (TextoNumero) with cSeparador as
// decimal point, dates as YYYY-MM-DD HH:MM:SS, text as it is.
std::string TextoValor(const TValor& valor, char cSeparador = '.');

}  // namespace jet
