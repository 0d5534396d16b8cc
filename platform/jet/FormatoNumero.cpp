#include "platform/jet/FormatoNumero.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

namespace jet {

namespace {

std::string ConSeparador(std::string s, char cSeparador) {
    for (char& c : s) {
        if (c == '.')
            c = cSeparador;
        else if (c == 'e')
            c = 'E';
    }
    return s;
}

}  // namespace

std::string TextoNumero(double d, char cSeparador) {
    if (d == 0)
        return "0";  // also -0
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", d);
    return ConSeparador(buf, cSeparador);
}

std::string TextoSimple(float f, char cSeparador) {
    if (f == 0)
        return "0";
    // Shortest digits; fixed notation for the magnitudes TextoNumero also
    // writes so (exponents -5 to 14), an exponent otherwise.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, f, std::chars_format::scientific);
    const std::string sCientifico(buf, r.ptr);
    const int nExponente = std::atoi(sCientifico.c_str() + sCientifico.find('e') + 1);
    if (nExponente < -4 || nExponente >= 15)
        return ConSeparador(sCientifico, cSeparador);
    r = std::to_chars(buf, buf + sizeof buf, f, std::chars_format::fixed);
    return ConSeparador(std::string(buf, r.ptr), cSeparador);
}

}  // namespace jet
