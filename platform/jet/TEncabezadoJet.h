#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace jet {

// What the first page of an Access file says about it. libmdb does not check
// the database password (Jet's password is a gate, not encryption), so we read
// it here ourselves.
struct TEncabezadoJet {
    static constexpr size_t nBytesLeidos = 0x80 + 0x18;  // enough for every field below

    int nVersion = 0;          // 3 for Jet 3; 4 for Jet 4 and the ACE formats after it
    int nVersionArchivo = 0;   // the format's own byte: 0 Jet 3, 1 Jet 4, 2 Access 2007,
                               // 3 Access 2010, 5 Access 2016...
    size_t nTamanoPagina = 0;  // 2048 (Jet 3) or 4096
    std::string sContrasena;   // UTF-8, empty when the file has none
    bool bACE = false;         // Access 2007 or later (.accdb)
    uint32_t nClaveBD = 0;     // not 0: every page but the first is encrypted

    // The header of the first nBytesLeidos bytes of a file; nullopt when they
    // are not those of an Access database.
    static std::optional<TEncabezadoJet> Lee(const unsigned char* pBytes, size_t nBytes);
};

}  // namespace jet
