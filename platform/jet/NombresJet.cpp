#include "platform/jet/NombresJet.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace jet {

namespace {

char MinusculaAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Ascii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

}  // namespace

bool MismoNombreSqlite(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return MinusculaAscii(x) == MinusculaAscii(y);
           });
}

bool MismoNombreJet(std::string_view a, std::string_view b) {
    // Most names are ASCII: folding them needs no conversion.
    if (Ascii(a) && Ascii(b))
        return MismoNombreSqlite(a, b);
    const auto u = [](std::string_view s) {
        return icu::UnicodeString::fromUTF8(
            icu::StringPiece(s.data(), static_cast<int32_t>(s.size())));
    };
    return u(a).caseCompare(u(b), U_FOLD_CASE_DEFAULT) == 0;
}

}  // namespace jet
