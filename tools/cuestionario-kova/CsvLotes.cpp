#include "tools/cuestionario-kova/CsvLotes.h"

#include "platform/jet/Comillas.h"

namespace {

// Quoted only where the text needs it, as the other CSV outputs do.
std::string CampoCsv(const std::string& s) {
    return s.find_first_of(",\"\r\n") == std::string::npos ? s : jet::Entrecomilla(s, '"');
}

}  // namespace

std::string FilaCsv(std::initializer_list<std::string> campos) {
    return FilaCsv(std::vector<std::string>(campos));
}

std::string FilaCsv(const std::vector<std::string>& campos) {
    std::string sFila;
    bool bPrimero = true;
    for (const std::string& s : campos) {
        sFila += (bPrimero ? "" : ",") + CampoCsv(s);
        bPrimero = false;
    }
    return sFila + "\r\n";
}
