#pragma once

#include <ostream>
#include <string>

#include "platform/jet/TArchivoAccess.h"

// Writes every user table of an Access file as TABLE.csv (as jetsql writes
// a result: header, CRLF, exact values) into a new folder, with a progress
// line per table on progreso. Characters a file name cannot hold become
// '_'. A column the reader cannot read fails the export, or with
// bOmitirIlegibles is left out and named on progreso (ColumnasExportables).
// A failure is an EErrorJet and leaves no folder behind.
void ExportaCsv(const jet::TArchivoAccess& archivo, const std::string& sCarpeta, bool bSobrescribir,
                std::ostream& progreso, bool bOmitirIlegibles = false);
