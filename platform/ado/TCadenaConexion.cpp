#include "platform/ado/TCadenaConexion.h"

#include <algorithm>
#include <cctype>

namespace ado {

namespace {

std::string NormalizaClave(const std::string& sClave) {
    const auto nInicio = sClave.find_first_not_of(" \t");
    if (nInicio == std::string::npos)
        return "";
    const auto nFin = sClave.find_last_not_of(" \t");
    std::string s = sClave.substr(nInicio, nFin - nInicio + 1);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

TCadenaConexion::TCadenaConexion(const std::string& sCadena) {
    size_t nInicio = 0;
    while (nInicio <= sCadena.size()) {
        size_t nFin = sCadena.find(';', nInicio);
        if (nFin == std::string::npos)
            nFin = sCadena.size();
        const std::string sPar = sCadena.substr(nInicio, nFin - nInicio);
        const auto nIgual = sPar.find('=');
        if (nIgual != std::string::npos) {
            const std::string sClave = NormalizaClave(sPar.substr(0, nIgual));
            if (!sClave.empty())
                valores_[sClave] = sPar.substr(nIgual + 1);
        }
        nInicio = nFin + 1;
    }
}

std::string TCadenaConexion::Valor(const std::string& sClave) const {
    const auto it = valores_.find(NormalizaClave(sClave));
    return it == valores_.end() ? "" : it->second;
}

bool TCadenaConexion::Tiene(const std::string& sClave) const {
    return valores_.count(NormalizaClave(sClave)) > 0;
}

}  // namespace ado
