#pragma once

#include <filesystem>
#include <ostream>

// --ediciones: one line per known edition that can be used, its fields
// separated by a tab: key, name, period (first/last day, ISO dates), the
// folder it was read from. An edition that cannot be used is not listed; its
// problems go to err. Exit code 0.
int ListaEdicionesLotes(std::ostream& out, std::ostream& err);

// --validar-edicion CARPETA: every check an edition must pass. Exit code 0
// and the one-line summary on out, or 2 and every problem on err, one per
// line, as "archivo:línea: mensaje".
int ValidaEdicionLotes(const std::filesystem::path& sCarpeta, std::ostream& out, std::ostream& err);
