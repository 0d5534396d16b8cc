#include "platform/jet/FormatoNumero.h"

#include <cstdio>

namespace jet {

std::string TextoNumero(double d, char cSeparador) {
    if (d == 0)
        return "0";  // also -0
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15G", d);
    std::string s = buf;
    for (char& c : s)
        if (c == '.')
            c = cSeparador;
    return s;
}

}  // namespace jet
