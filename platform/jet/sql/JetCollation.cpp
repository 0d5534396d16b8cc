#include "platform/jet/sql/JetCollation.h"

#include <sqlite3.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

namespace jet::sql {

namespace {

UCollator* Cotejador() {
    static std::unique_ptr<UCollator, decltype(&ucol_close)> cotejador = [] {
        UErrorCode st = U_ZERO_ERROR;
        UCollator* c = ucol_open("", &st);
        if (U_FAILURE(st))
            throw std::runtime_error("ICU: no se pudo abrir el cotejador");
        ucol_setStrength(c, UCOL_SECONDARY);
        return std::unique_ptr<UCollator, decltype(&ucol_close)>(c, &ucol_close);
    }();
    return cotejador.get();
}

// The collator's order of each printable ASCII character (space to '~'),
// from 1 up; characters it tells apart only by case share a rank. 0 marks a
// byte whose text goes through ICU: controls (the collator ignores most of
// them), bytes of multi-byte characters, and any character it ignores.
// Within printable ASCII the collator has no contractions or expansions and
// every secondary weight is the common one, so two such strings compare as
// their sequences of ranks do.
const std::array<uint8_t, 256>& RangosAscii() {
    static const std::array<uint8_t, 256> rangos = [] {
        auto compara = [](char x, char y) {
            UErrorCode st = U_ZERO_ERROR;
            return ucol_strcollUTF8(Cotejador(), &x, x ? 1 : 0, &y, y ? 1 : 0, &st);
        };
        std::vector<char> letras;
        for (char c = 0x20; c < 0x7f; ++c)
            if (compara(c, '\0') != 0)  // not ignored
                letras.push_back(c);
        std::stable_sort(letras.begin(), letras.end(),
                         [&](char x, char y) { return compara(x, y) < 0; });
        std::array<uint8_t, 256> r{};
        uint8_t nRango = 0;
        for (size_t i = 0; i < letras.size(); ++i) {
            if (i == 0 || compara(letras[i - 1], letras[i]) != 0)
                ++nRango;
            r[static_cast<unsigned char>(letras[i])] = nRango;
        }
        return r;
    }();
    return rangos;
}

int CompareSqlite(void*, int na, const void* a, int nb, const void* b) {
    return JetCollation::Compara(std::string_view(static_cast<const char*>(a), na),
                                 std::string_view(static_cast<const char*>(b), nb));
}

std::u16string Utf16(const std::string& s) {
    std::u16string r(s.size() + 1, u'\0');
    int32_t n = 0;
    UErrorCode st = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(r.data()), static_cast<int32_t>(r.size()), &n,
                         s.data(), static_cast<int32_t>(s.size()), 0xFFFD, nullptr, &st);
    r.resize(n);
    return r;
}

std::string Utf8De16(const std::u16string& s) {
    std::string r(s.size() * 3 + 1, '\0');
    int32_t n = 0;
    UErrorCode st = U_ZERO_ERROR;
    u_strToUTF8WithSub(r.data(), static_cast<int32_t>(r.size()), &n,
                       reinterpret_cast<const UChar*>(s.data()), static_cast<int32_t>(s.size()),
                       0xFFFD, nullptr, &st);
    r.resize(n);
    return r;
}

template <typename F>
std::string CambiaCaja(const std::string& s, F funcion) {
    const std::u16string u = Utf16(s);
    std::u16string r(u.size() * 3 + 4, u'\0');
    UErrorCode st = U_ZERO_ERROR;
    int32_t n =
        funcion(reinterpret_cast<UChar*>(r.data()), static_cast<int32_t>(r.size()),
                reinterpret_cast<const UChar*>(u.data()), static_cast<int32_t>(u.size()), "", &st);
    if (U_FAILURE(st))
        return s;
    r.resize(n);
    return Utf8De16(r);
}

}  // namespace

void JetCollation::Registra(sqlite3* db) {
    Cotejador();
    sqlite3_create_collation(db, "JET", SQLITE_UTF8, nullptr, &CompareSqlite);
}

int JetCollation::Compara(std::string_view a, std::string_view b) {
    // Most text compared (client keys, kinds of operation, names) is plain
    // printable ASCII: there the collator orders by each character's rank,
    // which is read from a table instead of going through ICU.
    const auto& rango = RangosAscii();
    auto ascii = [&](std::string_view s) {
        for (char c : s)
            if (rango[static_cast<unsigned char>(c)] == 0)
                return false;
        return true;
    };
    // One walk: the first rank that differs decides, provided that the rest
    // of both strings is printable ASCII too.
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    int r = 0;
    for (; i < n; ++i) {
        const int x = rango[static_cast<unsigned char>(a[i])];
        const int y = rango[static_cast<unsigned char>(b[i])];
        if (x == 0 || y == 0)
            break;
        if (x != y) {
            r = x < y ? -1 : 1;
            ++i;
            break;
        }
    }
    if (r != 0 || i == n) {
        if (r == 0)
            r = a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
        if (ascii(a.substr(i)) && ascii(b.substr(i)))
            return r;
    }
    UErrorCode st = U_ZERO_ERROR;
    return ucol_strcollUTF8(Cotejador(), a.data(), static_cast<int32_t>(a.size()), b.data(),
                            static_cast<int32_t>(b.size()), &st);
}

std::string JetCollation::Mayusculas(const std::string& s) {
    return CambiaCaja(s, u_strToUpper);
}
std::string JetCollation::Minusculas(const std::string& s) {
    return CambiaCaja(s, u_strToLower);
}

std::u32string JetCollation::PuntosCodigo(const std::string& s) {
    std::u32string r;
    int32_t i = 0;
    const int32_t n = static_cast<int32_t>(s.size());
    while (i < n) {
        UChar32 c;
        U8_NEXT(s.data(), i, n, c);
        r.push_back(c < 0 ? 0xFFFD : static_cast<char32_t>(c));
    }
    return r;
}

std::u32string JetCollation::Pliega(const std::string& s) {
    std::u32string r = PuntosCodigo(s);
    for (char32_t& c : r)
        c = static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
    return r;
}

std::string JetCollation::Utf8(const std::u32string& s) {
    std::string r;
    for (char32_t c : s) {
        char buf[4];
        int32_t i = 0;
        UBool error = false;
        U8_APPEND(buf, i, 4, static_cast<UChar32>(c), error);
        if (!error)
            r.append(buf, i);
    }
    return r;
}

}  // namespace jet::sql
