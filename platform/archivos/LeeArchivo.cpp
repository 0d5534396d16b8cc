#include "platform/archivos/LeeArchivo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace archivos {

namespace {

// Closes the descriptor on every way out.
struct TDescriptor {
    int fd;
    ~TDescriptor() {
        if (fd >= 0)
            close(fd);
    }
};

std::string Tamano(std::size_t nBytes) {
    if (nBytes >= 1024 * 1024 && nBytes % (1024 * 1024) == 0)
        return std::to_string(nBytes / (1024 * 1024)) + " MB";
    if (nBytes >= 1024 && nBytes % 1024 == 0)
        return std::to_string(nBytes / 1024) + " KB";
    return std::to_string(nBytes) + " bytes";
}

}  // namespace

std::optional<std::string> LeeArchivoRegular(const std::filesystem::path& sRuta,
                                             std::size_t nMaxBytes, std::string& sError) {
    const std::string sNombre = sRuta.string();
    // Without blocking: opening a FIFO for reading would otherwise wait for a
    // writer that may never come. The type is checked on what was opened, so
    // nothing can be swapped in between.
    TDescriptor archivo{open(sNombre.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (archivo.fd < 0) {
        sError = errno == ENOENT
                     ? "No existe el archivo " + sNombre + "."
                     : "No fue posible abrir " + sNombre + ": " + std::strerror(errno) + ".";
        return std::nullopt;
    }
    struct stat datos {};
    if (fstat(archivo.fd, &datos) != 0) {
        sError = "No fue posible leer " + sNombre + ": " + std::strerror(errno) + ".";
        return std::nullopt;
    }
    if (S_ISDIR(datos.st_mode)) {
        sError = sNombre + " es una carpeta, no un archivo.";
        return std::nullopt;
    }
    if (!S_ISREG(datos.st_mode)) {
        sError = sNombre + " no es un archivo común (es un dispositivo, una tubería o un socket).";
        return std::nullopt;
    }
    const std::string sGrande =
        sNombre + " es demasiado grande: el máximo es " + Tamano(nMaxBytes) + ".";
    if (static_cast<std::size_t>(datos.st_size) > nMaxBytes) {
        sError = sGrande;
        return std::nullopt;
    }
    std::string sDatos;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(archivo.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            sError = "No fue posible leer " + sNombre + ": " + std::strerror(errno) + ".";
            return std::nullopt;
        }
        if (n == 0)
            break;
        // The file may have grown since it was measured.
        if (sDatos.size() + static_cast<std::size_t>(n) > nMaxBytes) {
            sError = sGrande;
            return std::nullopt;
        }
        sDatos.append(buffer, static_cast<std::size_t>(n));
    }
    return sDatos;
}

}  // namespace archivos
