#include "tools/mdbgen/MapaUso.h"

#include <array>

#include "tools/mdbgen/CodificaJet.h"
#include "tools/mdbgen/EErrorMdb.h"

namespace mdb {

namespace {
constexpr uint32_t kBitsEnFila = (kLargoMapa - 5) * 8;
constexpr uint32_t kBitsEnPagina = (kPagina - 4) * 8;
constexpr uint32_t kPaginasDeMapa = (kLargoMapa - 1) / 4;
}  // namespace

std::vector<uint8_t> CreaMapaUso(const std::vector<uint32_t>& paginas, TArchivoPaginas& archivo) {
    std::vector<uint8_t> fila(kLargoMapa, 0);
    if (paginas.empty())
        return fila;
    const uint32_t nPrimera = paginas.front(), nUltima = paginas.back();
    if (nUltima - nPrimera < kBitsEnFila) {
        PonU32(&fila[1], nPrimera);
        for (uint32_t p : paginas)
            fila[5 + (p - nPrimera) / 8] |= uint8_t(1u << ((p - nPrimera) % 8));
        return fila;
    }
    fila[0] = 0x01;
    if (nUltima / kBitsEnPagina >= kPaginasDeMapa)
        throw EErrorMdb("el archivo pasa del tamaño que una tabla de Access puede ocupar");
    std::array<uint8_t, kPagina> mapa{};
    size_t i = 0;
    while (i < paginas.size()) {
        const uint32_t nBloque = paginas[i] / kBitsEnPagina;
        mapa.fill(0);
        mapa[0] = 0x05;
        mapa[1] = 0x01;
        for (; i < paginas.size() && paginas[i] / kBitsEnPagina == nBloque; ++i) {
            const uint32_t nBit = paginas[i] % kBitsEnPagina;
            mapa[4 + nBit / 8] |= uint8_t(1u << (nBit % 8));
        }
        const uint32_t nPaginaMapa = archivo.Reserva();
        archivo.Escribe(nPaginaMapa, mapa.data());
        PonU32(&fila[1 + 4 * nBloque], nPaginaMapa);
    }
    return fila;
}

}  // namespace mdb
