#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "questionnaire/LeeEdicion.h"

// Where editions come from. The program's own are installed with it under
// /usr/share/cuestionario-kova/ediciones and, run from a build, lie beside it
// (build/share/cuestionario-kova/ediciones): both are
// "../share/cuestionario-kova/ediciones" from the program's folder. A program
// copied into a Norvex folder takes them along in "ediciones" beside it, or
// finds the package's. A centre drops a new edition, without being root, into
// its data folder: ~/.local/share/CuestionarioKOVA/ediciones ($XDG_DATA_HOME
// when set). Each edition is a folder of its own there, whatever its name.

// The edition everything uses unless told otherwise.
inline constexpr const char* kClaveEdicionPredeterminada = "2018";

// The first of these that exists: "ediciones" beside the program,
// "../share/cuestionario-kova/ediciones" from it, the package's.
std::filesystem::path CarpetaEdicionesPrograma();
// Empty when the user has no home folder.
std::filesystem::path CarpetaEdicionesUsuario();

struct TEdicionHallada {
    std::filesystem::path sCarpeta;
    TLecturaEdicion lectura;
};

// Every folder directly inside each of raices, in that order and by folder
// name within each, read as an edition (one that is none says so). A second
// edition with a key already found is refused (its problem names the first),
// so a dropped folder never takes a shipped edition's place.
std::vector<TEdicionHallada> BuscaEdiciones(const std::vector<std::filesystem::path>& raices);

// The program's folder, then the user's.
std::vector<std::filesystem::path> CarpetasEdiciones();

// The default edition from the program's folder, read once. Throws
// std::runtime_error, in Spanish, when it cannot be read whole.
std::shared_ptr<const TEdicion> EdicionPredeterminada();
