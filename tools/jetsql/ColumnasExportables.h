#pragma once

#include <ostream>
#include <vector>

#include "platform/jet/TArchivoAccess.h"

// The columns of a table an export writes. A column of a type the reader
// cannot read has no values to write: an export never puts a placeholder
// (Null, an internal key) in its place. Without bOmitir such a column fails
// the export (ETipoNoSoportado, naming table, column and type) before
// anything is written; with it the column is left out and named on avisos.
std::vector<size_t> ColumnasExportables(const jet::TTabla& tabla, bool bOmitir,
                                        std::ostream& avisos);

// Fails the same way on the first such column of any table of the file,
// when not omitting: checked before the export writes anything.
void RevisaColumnasExportables(const jet::TArchivoAccess& archivo, bool bOmitir);
