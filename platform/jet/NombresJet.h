#pragma once

#include <string_view>

namespace jet {

// Jet tells the names of tables, columns and aliases apart without regard to
// letter case, any letter's (Unicode simple case folding: "AÑO" is "año"),
// and by nothing else (accents count: "Año" is not "Ano"). The one way the
// program compares such names.
bool MismoNombreJet(std::string_view a, std::string_view b);

// How SQLite compares them: ASCII letters without regard to case, every other
// byte as it is. A name Jet matches and SQLite would not must be written as
// its table spells it.
bool MismoNombreSqlite(std::string_view a, std::string_view b);

}  // namespace jet
