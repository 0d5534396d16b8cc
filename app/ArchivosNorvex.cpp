#include "app/ArchivosNorvex.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace archivos_norvex {
namespace {

// Windows compares these names in its ANSI upper case; the names involved
// are plain ASCII, so ASCII folding is enough and never depends on a locale.
bool IgualSinCaso(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        auto m = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; };
        return m(x) == m(y);
    });
}

std::string Recorta(const std::string& s) {
    const auto esBlanco = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r'; };
    size_t i = 0, j = s.size();
    while (i < j && esBlanco(s[i])) ++i;
    while (j > i && esBlanco(s[j - 1])) --j;
    return s.substr(i, j - i);
}

}  // namespace

std::optional<fs::path> BuscaSinCaso(const fs::path& sDir, const std::string& sRelativa) {
    fs::path actual = sDir;
    std::stringstream partes(sRelativa);
    std::string parte;
    while (std::getline(partes, parte, '/')) {
        if (parte.empty())
            continue;
        std::error_code ec;
        if (fs::exists(actual / parte, ec)) {
            actual /= parte;
            continue;
        }
        std::optional<fs::path> hallado;
        for (fs::directory_iterator it(actual, ec), fin; !ec && it != fin; it.increment(ec)) {
            if (IgualSinCaso(it->path().filename().string(), parte)) {
                hallado = it->path();
                break;
            }
        }
        if (!hallado)
            return std::nullopt;
        actual = *hallado;
    }
    return actual;
}

std::optional<std::string> LeeCadenaIni(const fs::path& sArchivo, const std::string& sSeccion,
                                        const std::string& sClave) {
    std::ifstream archivo(sArchivo, std::ios::binary);
    if (!archivo)
        return std::nullopt;
    std::string linea;
    bool bPrimera = true, bEnSeccion = false, bSeccionVista = false;
    while (std::getline(archivo, linea)) {
        if (bPrimera && linea.starts_with("\xEF\xBB\xBF"))
            linea.erase(0, 3);
        bPrimera = false;
        const std::string sLinea = Recorta(linea);
        if (sLinea.starts_with('[')) {
            const size_t nCierre = sLinea.find(']');
            const std::string sNombre = Recorta(
                sLinea.substr(1, nCierre == std::string::npos ? std::string::npos : nCierre - 1));
            // Only the first section of that name is read.
            if (bEnSeccion)
                return std::nullopt;
            bEnSeccion = !bSeccionVista && IgualSinCaso(sNombre, sSeccion);
            bSeccionVista = bSeccionVista || bEnSeccion;
            continue;
        }
        const size_t nIgual = sLinea.find('=');
        if (!bEnSeccion || nIgual == std::string::npos)
            continue;
        if (!IgualSinCaso(Recorta(sLinea.substr(0, nIgual)), sClave))
            continue;
        std::string sValor = Recorta(sLinea.substr(nIgual + 1));
        if (sValor.size() >= 2 && sValor.front() == '"' && sValor.back() == '"')
            sValor = sValor.substr(1, sValor.size() - 2);
        return sValor;
    }
    return std::nullopt;
}

int LeeEnteroIni(const fs::path& sArchivo, const std::string& sSeccion, const std::string& sClave) {
    const std::optional<std::string> sValor = LeeCadenaIni(sArchivo, sSeccion, sClave);
    if (!sValor || sValor->empty())
        return 0;
    const char* pInicio = sValor->data();
    if (*pInicio == '+' && sValor->size() > 1 && pInicio[1] != '-')
        ++pInicio;
    int nValor = 0;
    const char* pFin = sValor->data() + sValor->size();
    const auto [p, ec] = std::from_chars(pInicio, pFin, nValor);
    // Anything but a complete 32-bit whole number reads as 0.
    if (ec != std::errc() || p != pFin)
        return 0;
    return nValor;
}

}  // namespace archivos_norvex
