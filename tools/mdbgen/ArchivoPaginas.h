#pragma once

#include <cstdint>
#include <string>

namespace mdb {

// The output file as an array of 4 KB pages. A page number is reserved
// first and its bytes written later, in any order: rows need the page of
// a long value or of their table definition before those pages are done.
class TArchivoPaginas {
public:
    explicit TArchivoPaginas(const std::string& sRuta);
    ~TArchivoPaginas();
    TArchivoPaginas(const TArchivoPaginas&) = delete;
    TArchivoPaginas& operator=(const TArchivoPaginas&) = delete;

    uint32_t Reserva() { return nPaginas_++; }
    uint32_t Paginas() const { return nPaginas_; }
    void Escribe(uint32_t nPagina, const uint8_t* pDatos);
    // A page written before, read back (to encrypt the file once it is whole).
    void Lee(uint32_t nPagina, uint8_t* pDatos) const;
    void Cierra();

private:
    std::string sRuta_;
    int fd_ = -1;
    uint32_t nPaginas_ = 0;
};

}  // namespace mdb
