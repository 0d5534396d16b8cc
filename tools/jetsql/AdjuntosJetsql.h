#pragma once

#include <ostream>
#include <string>

namespace ado {
class TADOConnection;
}

// Writes the files of the Attachment column sColumna of sTabla into
// sCarpeta (created if missing), as the recordset gives them: each row's
// files in a folder named by the row's position in the table (1, 2, ...),
// since two rows may attach files of the same name. Lists each file written
// as "ROW/NAME<TAB>BYTES" on salida. Never overwrites a file: one already
// there fails the run. Failures are jet::EErrorJet.
void EscribeAdjuntos(ado::TADOConnection& conexion, const std::string& sTabla,
                     const std::string& sColumna, const std::string& sCarpeta,
                     std::ostream& salida);
