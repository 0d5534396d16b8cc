#include "bench/ConsultasCsv.h"

#include <fstream>
#include <sstream>

// Quoted fields double their quotes.
std::vector<std::pair<std::string, std::string>> LeeConsultas(const std::string& sRuta) {
    std::ifstream f(sRuta);
    std::stringstream ss;
    ss << f.rdbuf();
    const std::string s = ss.str();
    std::vector<std::pair<std::string, std::string>> r;
    std::vector<std::string> campos;
    std::string campo;
    bool bComillas = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (bComillas) {
            if (c == '"' && i + 1 < s.size() && s[i + 1] == '"')
                campo += '"', ++i;
            else if (c == '"')
                bComillas = false;
            else
                campo += c;
        } else if (c == '"') {
            bComillas = true;
        } else if (c == ',') {
            campos.push_back(campo), campo.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
            campos.push_back(campo), campo.clear();
            if (campos.size() == 2)
                r.emplace_back(campos[0], campos[1]);
            campos.clear();
        } else {
            campo += c;
        }
    }
    if (!r.empty())
        r.erase(r.begin());  // header
    return r;
}
