// The JET collation's shortcut for plain ASCII text orders every string as the
// ICU collator it stands for does (root, secondary strength): case ignored,
// punctuation, digits and letters in the collator's order, prefixes first.
#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/jet/sql/JetCollation.h"

namespace {

int Signo(int n) {
    return n < 0 ? -1 : n > 0 ? 1 : 0;
}

struct TCotejadorIcu {
    std::unique_ptr<UCollator, decltype(&ucol_close)> c{nullptr, &ucol_close};
    TCotejadorIcu() {
        UErrorCode st = U_ZERO_ERROR;
        c.reset(ucol_open("", &st));
        ucol_setStrength(c.get(), UCOL_SECONDARY);
    }
    int Compara(const std::string& a, const std::string& b) const {
        UErrorCode st = U_ZERO_ERROR;
        return Signo(ucol_strcollUTF8(c.get(), a.data(), static_cast<int32_t>(a.size()), b.data(),
                                      static_cast<int32_t>(b.size()), &st));
    }
};

TEST(ColacionJet, AsciiTextOrdersAsTheCollator) {
    const TCotejadorIcu icu;
    std::vector<std::string> textos = {""};
    // Every printable character alone and in pairs with a sample of each kind.
    const std::string muestra = " !'-.09AZaz_~";
    for (char c = 0x20; c < 0x7f; ++c) {
        textos.push_back(std::string(1, c));
        for (char d : muestra) textos.push_back(std::string{c, d});
    }
    // Longer keys with shared prefixes, as client keys and names have.
    std::mt19937 azar(20261210);
    std::uniform_int_distribution<int> letra(0x20, 0x7e), largo(0, 8);
    const std::vector<std::string> prefijos = {"", "C000", "c000", "PEREZ ", "Perez-"};
    for (int i = 0; i < 3000; ++i) {
        std::string s = prefijos[static_cast<size_t>(i) % prefijos.size()];
        for (int n = largo(azar); n > 0; --n) s += static_cast<char>(letra(azar));
        textos.push_back(s);
    }
    // Beside them, text the shortcut leaves to ICU: controls, accents.
    for (const char* s : {"a\tb", "a\x01", "\x7f", "\xc3\xa1", "a\xc3\xa1", "A\xcc\x81", "\t"})
        textos.push_back(s);
    int nFallos = 0;
    for (size_t i = 0; i < textos.size() && nFallos < 10; ++i)
        for (size_t j = i % 7; j < textos.size() && nFallos < 10; j += 7) {
            const int esperado = icu.Compara(textos[i], textos[j]);
            const int r = Signo(jet::sql::JetCollation::Compara(textos[i], textos[j]));
            if (r != esperado) {
                ++nFallos;
                ADD_FAILURE() << "'" << textos[i] << "' vs '" << textos[j] << "': " << r << ", ICU "
                              << esperado;
            }
        }
    EXPECT_EQ(jet::sql::JetCollation::Compara("ABC", "abc"), 0);
    EXPECT_LT(jet::sql::JetCollation::Compara("abc", "ábc"), 0);
}

}  // namespace
