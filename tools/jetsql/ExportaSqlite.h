#pragma once

#include <ostream>
#include <string>

#include "platform/jet/TArchivoAccess.h"

// Copies every user table of an Access file into a new SQLite database,
// one transaction per table and a progress line per table on progreso.
// Types: Yes/No as INTEGER 0/1, Byte/Integer/Long as INTEGER, Single and
// Double as REAL (bit for bit), Currency as TEXT with its exact decimal
// value ("-12.5", never rounded through a double), Date/Time as TEXT
// "YYYY-MM-DD HH:MM:SS", Text and Memo as TEXT; values of other kinds keep
// their own kind in a column without declared type. A column the reader
// cannot read fails the export, or with bOmitirIlegibles is left out and
// named on progreso (ColumnasExportables). A failure is an EErrorJet and
// leaves no file behind.
void ExportaSqlite(const jet::TArchivoAccess& archivo, const std::string& sDestino,
                   bool bSobrescribir, std::ostream& progreso, bool bOmitirIlegibles = false);
