#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "questionnaire/CatalogoEdiciones.h"

// Choosing the edition a run uses, the same way in the batch program and the
// window. The program's own editions are checked when the program is built
// and packaged, so they are only read here; any other edition (the user's
// folder, a folder given by hand) is checked whole (RevisaEdicion) before it
// is offered or used: a broken edition is never either.

// Every known edition (CarpetasEdiciones()), read; those outside the
// program's folder checked whole when bRevisaAjenas.
std::vector<TEdicionHallada> EdicionesConocidas(bool bRevisaAjenas = true);

// Whether sCarpeta is one of the program's own editions.
bool EsEdicionDelPrograma(const std::filesystem::path& sCarpeta);

// The edition named by sClaveOCarpeta: the key of a known edition, or else
// the folder of one. An edition of the program's folder is read, any other
// checked whole, and its key must be no other known edition's. None, and
// every problem (or one saying what there is), when it cannot be used.
TLecturaEdicion EligeEdicion(const std::string& sClaveOCarpeta);

// The folder checked whole (RevisaEdicion), and its key no other known
// edition's (two editions with one key would mix up the answers kept for
// them): what an edition given by its folder must pass to be used.
TLecturaEdicion RevisaCarpetaEdicion(const std::filesystem::path& sCarpeta);
