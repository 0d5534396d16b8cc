#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

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

// Single: kept as the float the file holds, so that it prints as the
// shortest text that reads back as that same float (0.15, not 0.150000005960464).
struct TSimple {
    float fValor = 0;
    bool operator==(const TSimple&) const = default;
};

// Decimal (Numeric): the exact value nValor / 10^nEscala. Jet keeps up to 28
// digits, which a 128-bit integer holds. Equal values compare equal whatever
// their scale (1.5 and 1.50).
struct TDecimal {
    __int128 nValor = 0;
    int nEscala = 0;
    bool operator==(const TDecimal& o) const;
};

// The bytes of an OLE Object or Binary column, as they are in the file.
struct TBytes {
    std::string bytes;
    bool operator==(const TBytes&) const = default;
};

// One file of an Attachment column: its name and its bytes, uncompressed.
struct TAdjunto {
    std::string sNombre;
    std::string bytes;
    bool operator==(const TAdjunto&) const = default;
};
// The files attached to one row, in the order Access keeps them.
struct TAdjuntos {
    std::vector<TAdjunto> archivos;
    bool operator==(const TAdjuntos&) const = default;
};

// One value of a row, as the file holds it. Byte, Integer, Long and BigInt
// become int64_t, Double becomes double, text and memo UTF-8.
using TValor = std::variant<std::monostate, bool, int64_t, double, TMoneda, TFecha, std::string,
                            TSimple, TDecimal, TBytes, TAdjuntos>;

inline bool EsNulo(const TValor& v) {
    return std::holds_alternative<std::monostate>(v);
}

}  // namespace jet
