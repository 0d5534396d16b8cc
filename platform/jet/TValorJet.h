#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace jet {

// Currency: an exact amount in ten-thousandths (Jet stores it so).
struct TMoneda {
    int64_t nDiezMilesimos = 0;
    bool operator==(const TMoneda&) const = default;
};

// Date/time as Jet's day serial: days since 1899-12-30, time as the fraction.
struct TFecha {
    double dSerial = 0;
    bool operator==(const TFecha&) const = default;
};

// One value of a row, as the file holds it. Byte, Integer and Long become
// int64_t, Single and Double become double, text and memo UTF-8.
using TValor = std::variant<std::monostate, bool, int64_t, double, TMoneda, TFecha, std::string>;

inline bool EsNulo(const TValor& v) { return std::holds_alternative<std::monostate>(v); }

}  // namespace jet
