#pragma once

#include <string>

namespace jet {

// A double in the general form: at most 15 significant digits, no trailing
// zeros, an exponent only for very large or very small magnitudes
// (12345.0 gives "12345", 0.1 + 0.2 gives "0.3", 1e15 gives "1E+15").
std::string TextoNumero(double d, char cSeparador = '.');

// A Single as the shortest text that reads back as the same float, in the
// same general form (0.15f gives "0.15", 1e20f gives "1E+20").
std::string TextoSimple(float f, char cSeparador = '.');

}  // namespace jet
