#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "tools/mdbgen/ArchivoPaginas.h"

namespace mdb {

// One data page being filled: rows grow from the end of the page towards
// the row-offset table after the 14-byte header. The owner word is the
// table definition's page, or "LVAL" for long-value pages.
class TPaginaDatos {
public:
    static constexpr uint32_t kDuenoLval = 0x4c41564c;  // "LVAL"
    static constexpr int kFilaMaxima = 4096 - 14 - 2;   // one row alone on a page

    TPaginaDatos() { Limpia(); }

    int Filas() const { return nFilas_; }
    bool Cabe(size_t nBytes) const;
    // Returns the row number of the new row.
    int Agrega(const uint8_t* pFila, size_t nBytes);
    void Escribe(TArchivoPaginas& archivo, uint32_t nPagina, uint32_t nDueno);

private:
    void Limpia();
    std::array<uint8_t, 4096> buf_;
    int nFilas_ = 0;
    int nFin_ = 4096;  // first byte of the lowest row
};

}  // namespace mdb
