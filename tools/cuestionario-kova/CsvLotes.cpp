#include "tools/cuestionario-kova/CsvLotes.h"

namespace {

std::string CampoCsv(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos)
        return s;
    std::string r = "\"";
    for (char c : s) {
        r += c;
        if (c == '"')
            r += '"';
    }
    return r + '"';
}

}  // namespace

std::string FilaCsv(std::initializer_list<std::string> campos) {
    std::string sFila;
    bool bPrimero = true;
    for (const std::string& s : campos) {
        sFila += (bPrimero ? "" : ",") + CampoCsv(s);
        bPrimero = false;
    }
    return sFila + "\r\n";
}
