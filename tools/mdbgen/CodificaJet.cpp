#include "tools/mdbgen/CodificaJet.h"

#include <charconv>
#include <cstring>
#include <utility>

#include "tools/mdbgen/EErrorMdb.h"

namespace mdb {

void PonDoble(uint8_t* p, double d) {
    uint64_t n;
    std::memcpy(&n, &d, 8);
    PonU32(p, uint32_t(n));
    PonU32(p + 4, uint32_t(n >> 32));
}

void AgregaU16(std::vector<uint8_t>& v, uint32_t n) {
    v.push_back(uint8_t(n));
    v.push_back(uint8_t(n >> 8));
}

void AgregaU32(std::vector<uint8_t>& v, uint32_t n) {
    AgregaU16(v, n & 0xffff);
    AgregaU16(v, n >> 16);
}

std::u16string Utf16DeUtf8(std::string_view s) {
    std::u16string r;
    r.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        uint8_t c = uint8_t(s[i]);
        uint32_t cp;
        int nSig;
        if (c < 0x80) {
            cp = c;
            nSig = 0;
        } else if ((c & 0xe0) == 0xc0) {
            cp = c & 0x1f;
            nSig = 1;
        } else if ((c & 0xf0) == 0xe0) {
            cp = c & 0x0f;
            nSig = 2;
        } else if ((c & 0xf8) == 0xf0) {
            cp = c & 0x07;
            nSig = 3;
        } else {
            throw EErrorMdb("texto con UTF-8 inválido");
        }
        if (i + nSig >= s.size() && nSig > 0)
            throw EErrorMdb("texto con UTF-8 inválido");
        for (int k = 1; k <= nSig; ++k) {
            uint8_t t = uint8_t(s[i + k]);
            if ((t & 0xc0) != 0x80)
                throw EErrorMdb("texto con UTF-8 inválido");
            cp = (cp << 6) | (t & 0x3f);
        }
        static const uint32_t kMinimo[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMinimo[nSig] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
            throw EErrorMdb("texto con UTF-8 inválido");
        if (cp >= 0x10000) {
            cp -= 0x10000;
            r.push_back(char16_t(0xd800 + (cp >> 10)));
            r.push_back(char16_t(0xdc00 + (cp & 0x3ff)));
        } else {
            r.push_back(char16_t(cp));
        }
        i += nSig + 1;
    }
    return r;
}

std::vector<uint8_t> Ucs2(const std::u16string& s) {
    std::vector<uint8_t> v;
    v.reserve(s.size() * 2);
    for (char16_t c : s) AgregaU16(v, c);
    return v;
}

std::vector<uint8_t> TextoJet(const std::u16string& s, bool bPermiteCompresion) {
    // Jet's compressed form toggles between one- and two-byte runs with a
    // 0x00 byte, so a character whose low or high byte is 0 cannot be in a
    // one-byte run; we only compress texts made entirely of 0x01-0xFF.
    bool bCompresible = bPermiteCompresion && s.size() > 2;
    for (char16_t c : s) {
        if (!bCompresible)
            break;
        if (c == 0 || c > 0xff)
            bCompresible = false;
    }
    if (!bCompresible)
        return Ucs2(s);
    std::vector<uint8_t> v;
    v.reserve(s.size() + 2);
    v.push_back(0xff);
    v.push_back(0xfe);
    for (char16_t c : s) v.push_back(uint8_t(c));
    return v;
}

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t DiasCiviles(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool LeeEntero(std::string_view s, size_t nPos, size_t nLargo, int& n) {
    if (nPos + nLargo > s.size())
        return false;
    for (size_t i = nPos; i < nPos + nLargo; ++i)
        if (s[i] < '0' || s[i] > '9')
            return false;
    std::from_chars(s.data() + nPos, s.data() + nPos + nLargo, n);
    return true;
}

}  // namespace

double SerialFecha(int nAnio, int nMes, int nDia, int nHora, int nMinuto, int nSegundo) {
    const int64_t nDias = DiasCiviles(nAnio, nMes, nDia) - DiasCiviles(1899, 12, 30);
    const double dHora = (nHora * 3600 + nMinuto * 60 + nSegundo) / 86400.0;
    return nDias >= 0 ? double(nDias) + dHora : double(nDias) - dHora;
}

bool LeeFecha(std::string_view s, double& dSerial) {
    int a, m, d, hh = 0, mi = 0, ss = 0;
    if (s.size() != 10 && s.size() != 19)
        return false;
    if (!LeeEntero(s, 0, 4, a) || s[4] != '-' || !LeeEntero(s, 5, 2, m) || s[7] != '-' ||
        !LeeEntero(s, 8, 2, d))
        return false;
    if (s.size() == 19 && (s[10] != ' ' || !LeeEntero(s, 11, 2, hh) || s[13] != ':' ||
                           !LeeEntero(s, 14, 2, mi) || s[16] != ':' || !LeeEntero(s, 17, 2, ss)))
        return false;
    static const int kDiasMes[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bBisiesto = (a % 4 == 0 && a % 100 != 0) || a % 400 == 0;
    if (a < 100 || m < 1 || m > 12 || d < 1)
        return false;
    if (d > kDiasMes[m - 1] + (m == 2 && bBisiesto ? 1 : 0))
        return false;
    if (hh > 23 || mi > 59 || ss > 59)
        return false;
    dSerial = SerialFecha(a, m, d, hh, mi, ss);
    return true;
}

bool LeeMoneda(std::string_view s, int64_t& nDiezMilesimos) {
    bool bNegativo = false;
    size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        bNegativo = s[i++] == '-';
    __int128 n = 0;
    int nEnteros = 0, nDecimales = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++nEnteros) {
        n = n * 10 + (s[i] - '0');
        if (n > (__int128(1) << 63))
            return false;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++nDecimales) {
            if (nDecimales == 4)
                return false;
            n = n * 10 + (s[i] - '0');
        }
    }
    if (i != s.size() || nEnteros + nDecimales == 0)
        return false;
    for (; nDecimales < 4; ++nDecimales) n *= 10;
    if (bNegativo)
        n = -n;
    if (n > INT64_MAX || n < INT64_MIN)
        return false;
    nDiezMilesimos = int64_t(n);
    return true;
}

}  // namespace mdb
