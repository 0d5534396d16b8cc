#pragma once

#include <string>
#include <string_view>

// Small pieces of text handling the SQL side shares: keywords, month names
// and the like are ASCII, and compared in upper case.
namespace jet::sql {

inline std::string MayusculasAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// s without the blanks and tabs around it.
inline std::string Recortado(std::string_view s) {
    const auto a = s.find_first_not_of(" \t");
    if (a == std::string_view::npos)
        return "";
    return std::string(s.substr(a, s.find_last_not_of(" \t") - a + 1));
}

}  // namespace jet::sql
