#include "app/ArchivosNorvex.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <functional>
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

struct TCierraDescriptor {
    int fd;
    ~TCierraDescriptor() { ::close(fd); }
};

// Hands each line of the file, without its '\n', to fLinea until it returns
// true. Read in blocks, so memory holds one line at a time.
void RecorreLineas(int fd, const std::function<bool(const std::string&)>& fLinea) {
    std::string sLinea;
    char bloque[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, bloque, sizeof bloque);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        for (const char *p = bloque, *pFin = bloque + n; p < pFin;) {
            const char* pSalto = std::find(p, pFin, '\n');
            sLinea.append(p, pSalto);
            if (pSalto == pFin)
                break;
            if (fLinea(sLinea))
                return;
            sLinea.clear();
            p = pSalto + 1;
        }
    }
    if (!sLinea.empty())
        fLinea(sLinea);
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
    // Opened without blocking and checked on the descriptor itself: a pipe or
    // a device under this name would otherwise wait for a writer or never
    // end, and a check on the path before opening can be outrun by a swap.
    const int fd = ::open(sArchivo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    TCierraDescriptor cierra{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;

    std::optional<std::string> sValor;
    bool bPrimera = true, bEnSeccion = false, bSeccionVista = false;
    RecorreLineas(fd, [&](const std::string& linea) {
        const bool bBom = bPrimera && linea.starts_with("\xEF\xBB\xBF");
        bPrimera = false;
        const std::string sLinea = Recorta(bBom ? linea.substr(3) : linea);
        if (sLinea.starts_with('[')) {
            const size_t nCierre = sLinea.find(']');
            const std::string sNombre = Recorta(
                sLinea.substr(1, nCierre == std::string::npos ? std::string::npos : nCierre - 1));
            // Only the first section of that name is read.
            if (bEnSeccion)
                return true;
            bEnSeccion = !bSeccionVista && IgualSinCaso(sNombre, sSeccion);
            bSeccionVista = bSeccionVista || bEnSeccion;
            return false;
        }
        const size_t nIgual = sLinea.find('=');
        if (!bEnSeccion || nIgual == std::string::npos)
            return false;
        if (!IgualSinCaso(Recorta(sLinea.substr(0, nIgual)), sClave))
            return false;
        sValor = Recorta(sLinea.substr(nIgual + 1));
        if (sValor->size() >= 2 && sValor->front() == '"' && sValor->back() == '"')
            sValor = sValor->substr(1, sValor->size() - 2);
        return true;
    });
    return sValor;
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
