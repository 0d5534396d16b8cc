#include "tools/mdbgen/PaginaDatos.h"

#include <cstring>

#include "tools/mdbgen/CodificaJet.h"

namespace mdb {

namespace {
constexpr int kCabecera = 14;
constexpr int kFilasMaximas = 255;  // a data pointer holds the row number in one byte
}  // namespace

void TPaginaDatos::Limpia() {
    buf_.fill(0);
    nFilas_ = 0;
    nFin_ = kPagina;
}

bool TPaginaDatos::Cabe(size_t nBytes) const {
    if (nFilas_ >= kFilasMaximas)
        return false;
    return int(nBytes) + 2 <= nFin_ - (kCabecera + 2 * nFilas_);
}

int TPaginaDatos::Agrega(const uint8_t* pFila, size_t nBytes) {
    nFin_ -= int(nBytes);
    std::memcpy(buf_.data() + nFin_, pFila, nBytes);
    PonU16(buf_.data() + kCabecera + 2 * nFilas_, uint32_t(nFin_));
    return nFilas_++;
}

void TPaginaDatos::Escribe(TArchivoPaginas& archivo, uint32_t nPagina, uint32_t nDueno) {
    uint8_t* p = buf_.data();
    p[0] = 0x01;
    p[1] = 0x01;
    PonU16(p + 2, uint32_t(nFin_ - (kCabecera + 2 * nFilas_)));
    PonU32(p + 4, nDueno);
    PonU32(p + 8, 0);
    PonU16(p + 12, uint32_t(nFilas_));
    archivo.Escribe(nPagina, p);
    Limpia();
}

}  // namespace mdb
