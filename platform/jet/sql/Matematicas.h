#pragma once

#include <cmath>

// The math functions the jet_* functions apply, one each: std's are
// overloaded, and a template argument needs one function of double.
namespace jet::sql {

inline double Piso(double d) {
    return std::floor(d);
}
inline double Trunca(double d) {
    return std::trunc(d);
}
inline double Absoluto(double d) {
    return std::fabs(d);
}
inline double Arcotangente(double d) {
    return std::atan(d);
}
inline double Logaritmo(double d) {
    return std::log(d);
}
inline double Exponencial(double d) {
    return std::exp(d);
}

}  // namespace jet::sql
