#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How values become Jet 4 bytes: little-endian numbers, UCS-2 text (with
// Jet's one-byte compression when it pays), day serials, the header cipher.
// The writer codes these on its own, not with the reader's helpers: the tests
// read written files back with our reader and with an independent one, which
// only proves something while the two sides do not share their code. RC4 is
// the exception (platform/jet/Rc4.h): a cipher, not a reading of the format,
// proven by the real files with a password that the reader opens.
namespace mdb {

constexpr int kPagina = 4096;

inline void PonU16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void PonU32(uint8_t* p, uint32_t v) {
    PonU16(p, v & 0xffff);
    PonU16(p + 2, v >> 16);
}
void PonDoble(uint8_t* p, double d);
void AgregaU16(std::vector<uint8_t>& v, uint32_t n);
void AgregaU32(std::vector<uint8_t>& v, uint32_t n);

// UTF-8 to UTF-16 code units; throws EErrorMdb on malformed UTF-8.
std::u16string Utf16DeUtf8(std::string_view s);
// Plain UCS-2 little-endian bytes.
std::vector<uint8_t> Ucs2(const std::u16string& s);
// Text as Jet stores it in a row or memo: compressed (FF FE + one byte per
// character) when every character fits in a byte and that is shorter.
std::vector<uint8_t> TextoJet(const std::u16string& s, bool bPermiteCompresion);

// Day serial of Access: days since 1899-12-30; before that day the time of
// day is added away from zero (-1.5 is 1899-12-29 12:00).
double SerialFecha(int nAnio, int nMes, int nDia, int nHora, int nMinuto, int nSegundo);
// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS", years 100 to 9999; false if not.
bool LeeFecha(std::string_view s, double& dSerial);
// A decimal with at most four decimals ("-12.5", "3.1416") as ten-thousandths.
bool LeeMoneda(std::string_view s, int64_t& nDiezMilesimos);

}  // namespace mdb
