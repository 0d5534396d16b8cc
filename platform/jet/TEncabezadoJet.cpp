#include "platform/jet/TEncabezadoJet.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/jet/Rc4.h"
#include "platform/jet/TextoJet.h"

namespace jet {

namespace {

constexpr size_t nInicioCifrado = 0x18;
constexpr size_t nPosVersion = 0x14;
constexpr size_t nPosClaveBD = 0x3e;
constexpr size_t nPosContrasena = 0x42;
constexpr size_t nPosFechaCreacion = 0x72;

std::string ContrasenaJet3(const unsigned char* p) {
    size_t n = 0;
    while (n < 20 && p[n] != 0) ++n;
    return TextoJet3AUtf8(p, n);
}

// Jet 4 keeps up to 20 UCS-2 characters, each byte masked again with the
// whole days of the creation date, so equal passwords differ between files.
std::string ContrasenaJet4(const unsigned char* p, const unsigned char* pFecha) {
    double dFecha;
    std::memcpy(&dFecha, pFecha, sizeof dFecha);
    // A damaged header can hold any double here (NaN, 1e300); converting one
    // outside int32 is undefined, and such a file has no usable password anyway.
    const bool bEnRango = dFecha > -2147483649.0 && dFecha < 2147483648.0;  // false for NaN
    const auto nMascara = static_cast<uint32_t>(bEnRango ? static_cast<int32_t>(dFecha) : 0);
    std::array<unsigned char, 40> bytes;
    for (size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = static_cast<unsigned char>(p[k] ^ (nMascara >> (8 * (k % 4))));
    size_t n = 0;
    while (n < bytes.size() && (bytes[n] != 0 || bytes[n + 1] != 0)) n += 2;
    return Ucs2AUtf8(bytes.data(), n);  // a password is never compressed
}

}  // namespace

std::optional<TEncabezadoJet> TEncabezadoJet::Lee(const unsigned char* pBytes, size_t nBytes) {
    static const char firmaJet[] = "Standard Jet DB";
    static const char firmaACE[] = "Standard ACE DB";
    if (nBytes < nBytesLeidos)
        return std::nullopt;
    if (pBytes[0] != 0 || pBytes[1] != 1 || pBytes[2] != 0 || pBytes[3] != 0)
        return std::nullopt;
    if (std::memcmp(pBytes + 4, firmaJet, sizeof firmaJet) != 0 &&
        std::memcmp(pBytes + 4, firmaACE, sizeof firmaACE) != 0)
        return std::nullopt;

    TEncabezadoJet encabezado;
    const unsigned char nVersionArchivo = pBytes[nPosVersion];
    if (nVersionArchivo > 6)
        return std::nullopt;
    const bool bJet3 = nVersionArchivo == 0;
    encabezado.nVersionArchivo = nVersionArchivo;
    encabezado.nVersion = bJet3 ? 3 : 4;
    encabezado.nTamanoPagina = bJet3 ? 2048 : 4096;

    std::vector<unsigned char> pagina(pBytes, pBytes + nBytesLeidos);
    // The definition page hides its fields under RC4 with a fixed key.
    Rc4(kClaveEncabezadoJet.data(), kClaveEncabezadoJet.size(), pagina.data() + nInicioCifrado,
        bJet3 ? 126 : 128);
    encabezado.bACE = nVersionArchivo >= 2;
    std::memcpy(&encabezado.nClaveBD, pagina.data() + nPosClaveBD, sizeof encabezado.nClaveBD);
    encabezado.sContrasena =
        bJet3 ? ContrasenaJet3(pagina.data() + nPosContrasena)
              : ContrasenaJet4(pagina.data() + nPosContrasena, pagina.data() + nPosFechaCreacion);
    return encabezado;
}

}  // namespace jet
