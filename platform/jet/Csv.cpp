#include "platform/jet/Csv.h"

#include "platform/jet/Comillas.h"

namespace jet {

std::string CampoCsv(std::string_view s) {
    if (s.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(s);
    return Entrecomilla(std::string(s), '"');
}

std::string FilaCsv(const std::vector<std::string>& campos) {
    std::string sFila;
    for (size_t i = 0; i < campos.size(); ++i) {
        if (i)
            sFila += ',';
        sFila += CampoCsv(campos[i]);
    }
    return sFila + "\r\n";
}

std::string FilaCsv(std::initializer_list<std::string> campos) {
    return FilaCsv(std::vector<std::string>(campos));
}

std::optional<std::vector<TRegistroCsv>> LeeCsv(std::string_view s, std::string& sError) {
    std::vector<TRegistroCsv> registros;
    TRegistroCsv actual;
    std::string campo;
    int nLinea = 1;
    bool bEnComillas = false, bCerrado = false, bHayAlgo = false;
    auto fallo = [&](const char* sQue) {
        sError = "Línea " + std::to_string(nLinea) + ": " + sQue;
        return std::nullopt;
    };
    auto cierraRegistro = [&] {
        if (bHayAlgo || !campo.empty()) {
            actual.campos.push_back(campo);
            registros.push_back(std::move(actual));
        }
        actual = {};
        campo.clear();
        bHayAlgo = bCerrado = false;
    };
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (!bHayAlgo && campo.empty() && actual.campos.empty())
            actual.nLinea = nLinea;
        if (bEnComillas) {
            if (c == '"' && i + 1 < s.size() && s[i + 1] == '"') {
                campo += '"';
                ++i;
            } else if (c == '"') {
                bEnComillas = false;
                bCerrado = true;
            } else {
                if (c == '\n')
                    ++nLinea;
                campo += c;
            }
            continue;
        }
        if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
            continue;  // the LF that follows ends the line
        if (c == '\n' || c == '\r') {
            cierraRegistro();
            ++nLinea;
        } else if (c == ',') {
            actual.campos.push_back(campo);
            campo.clear();
            bHayAlgo = true;
            bCerrado = false;
        } else if (bCerrado) {
            return fallo("hay texto después de las comillas que cierran un campo.");
        } else if (c == '"') {
            if (!campo.empty())
                return fallo("comillas dentro de un campo sin comillas.");
            bEnComillas = true;
            bHayAlgo = true;
        } else {
            campo += c;
        }
    }
    if (bEnComillas) {
        nLinea = actual.nLinea;
        return fallo("unas comillas abren un campo y no lo cierran.");
    }
    cierraRegistro();
    return registros;
}

}  // namespace jet
