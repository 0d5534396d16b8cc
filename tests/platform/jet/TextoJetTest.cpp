#include "platform/jet/TextoJet.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Convierte(const std::string& sBytes, bool bJet4) {
    const auto* p = reinterpret_cast<const unsigned char*>(sBytes.data());
    return bJet4 ? jet::TextoJet4AUtf8(p, sBytes.size()) : jet::TextoJet3AUtf8(p, sBytes.size());
}

TEST(TextoJet, DecodificaLasFormasDeTextoDeJet) {
    struct {
        const char* sCaso;
        std::string sBytes;
        bool bJet4;
        std::string sEsperado;
    } casos[] = {
        {"UCS-2 plano", std::string("A\0\xf1\0", 4), true, "A\xc3\xb1"},
        {"comprimido",
         std::string("\xff\xfe"
                     "Hola",
                     6),
         true, "Hola"},
        {"comprimido con un tramo de dos bytes",
         std::string("\xff\xfe"
                     "a\0\xac\x20\0b",
                     8),
         true,
         "a\xe2\x82\xac"
         "b"},
        {"par suplente", std::string("\x3d\xd8\x00\xde", 4), true, "\xf0\x9f\x98\x80"},
        {"suplente huerfano",
         std::string("\x3d\xd8"
                     "A\0",
                     4),
         true,
         "\xef\xbf\xbd"
         "A"},
        {"suplente huerfano al final", std::string("\x3d\xd8", 2), true, "\xef\xbf\xbd"},
        {"vacio", "", true, ""},
        {"cp1252",
         "Pe\xf1"
         "a \x80",
         false,
         "Pe\xc3\xb1"
         "a \xe2\x82\xac"},
    };
    for (const auto& c : casos) EXPECT_EQ(Convierte(c.sBytes, c.bJet4), c.sEsperado) << c.sCaso;
}

}  // namespace
