#pragma once

struct sqlite3;

namespace jet::sql {

// jet_lista(a, b, ...) packs values (and other lists) into one list, and
// jet_cadena('ops', list or values...) folds them left to right with Jet's
// operators, one character each ('+', '-', '*', '/', '\', 'M' for MOD, '^',
// '&'). The printer writes a chain of thousands of operands this way: as
// nested calls it would exhaust SQLite's parser stack after a few dozen.
void RegistraCadena(sqlite3* db);

}  // namespace jet::sql
