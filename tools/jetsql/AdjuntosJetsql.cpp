#include "tools/jetsql/AdjuntosJetsql.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/ado/TADOConnection.h"
#include "platform/ado/TADOQuery.h"
#include "platform/jet/ErroresJet.h"

namespace {

namespace fs = std::filesystem;

jet::EErrorJet ErrorEscritura(const fs::path& ruta, const std::string& sPorQue) {
    return jet::ErrorJet(jet::TErrorJet::AdjuntoNoEscrito, {ruta.string(), sPorQue});
}

// A file's name as Access keeps it may hold anything; it must stay one name
// inside its folder.
std::string NombreSeguro(const std::string& sNombre) {
    const bool bEspecial = sNombre.empty() || sNombre == "." || sNombre == "..";
    std::string s = bEspecial ? "_" : "";
    for (char c : sNombre) s += (c == '/' || c == '\0') ? '_' : c;
    return s;
}

void Escribe(const fs::path& ruta, const std::string& bytes) {
    // O_EXCL: an existing file (or a link planted in its place) is never
    // written through.
    const int fd = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw ErrorEscritura(ruta, errno == EEXIST ? "ya existe" : "no se puede crear");
    size_t nEscritos = 0;
    while (nEscritos < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + nEscritos, bytes.size() - nEscritos);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            throw ErrorEscritura(ruta, "el disco no lo admitió");
        }
        nEscritos += static_cast<size_t>(n);
    }
    if (::close(fd) != 0)
        throw ErrorEscritura(ruta, "el disco no lo admitió");
}

std::string Corchetes(const std::string& s) {
    return "[" + s + "]";
}

}  // namespace

void EscribeAdjuntos(ado::TADOConnection& conexion, const std::string& sTabla,
                     const std::string& sColumna, const std::string& sCarpeta,
                     std::ostream& salida) {
    ado::TADOQuery q(&conexion);
    q.SQLAdd("SELECT " + Corchetes(sColumna) + " FROM " + Corchetes(sTabla));
    q.Open();
    const fs::path carpeta(sCarpeta);
    int nFila = 0;
    for (q.First(); !q.Eof(); q.Next()) {
        ++nFila;
        const auto archivos = q.Field(0).AsAdjuntos();
        if (archivos.empty())
            continue;
        const fs::path dir = carpeta / std::to_string(nFila);
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec)
            throw ErrorEscritura(dir, "no se puede crear la carpeta");
        for (const auto& a : archivos) {
            const std::string sNombre = NombreSeguro(a.sNombre);
            Escribe(dir / sNombre, a.bytes);
            salida << nFila << '/' << sNombre << '\t' << a.bytes.size() << '\n';
        }
    }
}
