#include "tools/mdbgen/ArchivoPaginas.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/mdbgen/CodificaJet.h"
#include "tools/mdbgen/EErrorMdb.h"

namespace mdb {

TArchivoPaginas::TArchivoPaginas(const std::string& sRuta) : sRuta_(sRuta) {
    fd_ = ::open(sRuta.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        throw EErrorArchivoMdb("no se pudo crear " + sRuta + ": " + std::strerror(errno));
}

TArchivoPaginas::~TArchivoPaginas() {
    if (fd_ >= 0)
        ::close(fd_);
}

void TArchivoPaginas::Escribe(uint32_t nPagina, const uint8_t* pDatos) {
    const off_t nPos = off_t(nPagina) * kPagina;
    size_t nHecho = 0;
    while (nHecho < size_t(kPagina)) {
        ssize_t n = ::pwrite(fd_, pDatos + nHecho, kPagina - nHecho, nPos + off_t(nHecho));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw EErrorArchivoMdb("no se pudo escribir " + sRuta_ + ": " + std::strerror(errno));
        nHecho += size_t(n);
    }
}

void TArchivoPaginas::Lee(uint32_t nPagina, uint8_t* pDatos) const {
    const off_t nPos = off_t(nPagina) * kPagina;
    size_t nHecho = 0;
    while (nHecho < size_t(kPagina)) {
        ssize_t n = ::pread(fd_, pDatos + nHecho, kPagina - nHecho, nPos + off_t(nHecho));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw EErrorArchivoMdb("no se pudo releer " + sRuta_ + ": " + std::strerror(errno));
        nHecho += size_t(n);
    }
}

void TArchivoPaginas::Cierra() {
    if (fd_ < 0)
        return;
    const int r = ::close(fd_);
    fd_ = -1;
    if (r != 0)
        throw EErrorArchivoMdb("no se pudo cerrar " + sRuta_ + ": " + std::strerror(errno));
}

}  // namespace mdb
