#pragma once

#include <optional>
#include <string>

#include "platform/jet/TValorJet.h"

namespace jet {

// Jet's Decimal holds at most 28 digits; a 128-bit integer holds 38.
inline constexpr int nDigitosDecimal = 28;

// The digits of a decimal with cSeparador as the point, no exponent and no
// trailing fractional zeros (Jet's general form): 12.50 prints "12.5".
std::string TextoDecimal(const TDecimal& d, char cSeparador = '.');

// The decimal a text in the form [-]digits[.digits][e[+-]digits] holds
// exactly, or nullopt when it is not one or needs more than 38 digits.
std::optional<TDecimal> DecimalDeTexto(const std::string& s);

// The decimal a double stands for: its shortest text that reads back as the
// same double (0.1 is 0.1, not 0.1000000000000000055…), then, when nEscala
// is not negative, rounded half away from zero to that many decimals.
// nullopt for infinities, NaN and magnitudes beyond 38 digits.
std::optional<TDecimal> DecimalDeDoble(double d, int nEscala = -1);

// The double nearest to the decimal.
double DobleDeDecimal(const TDecimal& d);

// The same value with nEscala decimals, rounded half away from zero when
// digits are dropped; nullopt when it no longer fits 38 digits.
std::optional<TDecimal> ConEscala(const TDecimal& d, int nEscala);

// a + b exactly; nullopt when the sum does not fit 38 digits.
std::optional<TDecimal> SumaDecimal(const TDecimal& a, const TDecimal& b);

}  // namespace jet
