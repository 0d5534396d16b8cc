#include "platform/jet/TextoJet.h"

#include <cstdint>

namespace jet {

namespace {

void AgregaUtf8(std::string& s, uint32_t c) {
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xc0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xe0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        s += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        s += static_cast<char>(0xf0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        s += static_cast<char>(0x80 | (c & 0x3f));
    }
}

// UTF-16 units to UTF-8; a surrogate without its partner becomes U+FFFD
// rather than invalid UTF-8.
class TUtf16 {
public:
    explicit TUtf16(std::string& s) : s_(s) {}
    ~TUtf16() {
        if (nAlto_)
            AgregaUtf8(s_, 0xfffd);
    }
    void Agrega(uint16_t u) {
        if (nAlto_) {
            if (u >= 0xdc00 && u <= 0xdfff) {
                AgregaUtf8(s_, 0x10000 + ((nAlto_ - 0xd800) << 10) + (u - 0xdc00));
                nAlto_ = 0;
                return;
            }
            AgregaUtf8(s_, 0xfffd);
            nAlto_ = 0;
        }
        if (u >= 0xd800 && u <= 0xdbff)
            nAlto_ = u;
        else if (u >= 0xdc00 && u <= 0xdfff)
            AgregaUtf8(s_, 0xfffd);
        else
            AgregaUtf8(s_, u);
    }

private:
    std::string& s_;
    uint32_t nAlto_ = 0;
};

}  // namespace

std::string TextoJet4AUtf8(const unsigned char* p, size_t n) {
    if (n < 2 || p[0] != 0xff || p[1] != 0xfe)
        return Ucs2AUtf8(p, n);
    std::string s;
    s.reserve(n);
    {
        TUtf16 utf16(s);
        bool bComprimido = true;
        for (size_t i = 2; i < n;) {
            if (p[i] == 0) {
                bComprimido = !bComprimido;
                ++i;
            } else if (bComprimido) {
                utf16.Agrega(p[i++]);
            } else if (i + 1 < n) {
                utf16.Agrega(static_cast<uint16_t>(p[i] | (p[i + 1] << 8)));
                i += 2;
            } else {
                break;
            }
        }
    }
    return s;
}

std::string Ucs2AUtf8(const unsigned char* p, size_t n) {
    std::string s;
    s.reserve(n);
    {
        TUtf16 utf16(s);
        for (size_t i = 0; i + 1 < n; i += 2)
            utf16.Agrega(static_cast<uint16_t>(p[i] | (p[i + 1] << 8)));
    }
    return s;
}

std::string TextoJet3AUtf8(const unsigned char* p, size_t n) {
    // 0x80-0x9F of code page 1252; the rest is Latin-1. Unassigned bytes keep
    // their Latin-1 control character, as Windows does.
    static const uint16_t cp1252[32] = {
        0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
        0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178};
    std::string s;
    s.reserve(n);
    for (size_t i = 0; i < n; ++i)
        AgregaUtf8(s, p[i] >= 0x80 && p[i] < 0xa0 ? cp1252[p[i] - 0x80] : p[i]);
    return s;
}

}  // namespace jet
