#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "questionnaire/Edicion.h"
#include "questionnaire/LeeEdicion.h"

// The edition's report template written out for the report engine: every
// paragraph {"preguntas_desde": N} becomes, for each question of its run
// (N up to the question before the next such paragraph, or the last one),
// the question's paragraph (its number in bold, two blanks, its text) and
// its answer's ("[preg_N]" in bold). Fills edicion.sPlantilla and
// edicion.nPaginas, and adds to problemas, with their lines: a file that is
// no JSON, runs out of order or of unknown questions, "[preg_N]" written in
// a text for a question the edition lacks, and questions shown nowhere
// (neither in a run nor by their "[preg_N]").
void ExpandePlantilla(const std::string& sJson, const std::filesystem::path& sArchivo,
                      TEdicion& edicion, std::vector<TProblemaEdicion>& problemas);
