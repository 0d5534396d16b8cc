#pragma once

#include <string>

namespace jet {

// The text between two `comilla` characters, each one inside doubled: the
// form SQL uses for names and literals, and CSV for fields.
inline std::string Entrecomilla(const std::string& s, char comilla) {
    std::string r(1, comilla);
    for (char c : s) {
        r += c;
        if (c == comilla)
            r += comilla;
    }
    return r + comilla;
}

}  // namespace jet
