#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace jet::sql {

// Jet's text comparison: letter case ignored, accents kept apart, accented
// letters sorted next to their base letter (an ICU collator at secondary
// strength). Registered on SQLite as the collation JET. Also the Unicode
// case mapping that UCASE, LCASE, LIKE and INSTR use.
class JetCollation {
public:
    static void Registra(sqlite3* db);
    static int Compara(std::string_view a, std::string_view b);
    static std::string Mayusculas(const std::string& s);
    static std::string Minusculas(const std::string& s);
    // Code points, each case-folded (simple folding keeps one per one).
    static std::u32string Pliega(const std::string& s);
    static std::u32string PuntosCodigo(const std::string& s);
    static std::string Utf8(const std::u32string& s);
};

}  // namespace jet::sql
