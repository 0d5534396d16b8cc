#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "questionnaire/Edicion.h"

// An edition is a folder of three files (docs/ediciones.md tells every field):
//   edicion.toml    its key, name, period and the PDF's name and information;
//   preguntas.toml  one [[pregunta]] per question, in number order;
//   reporte.json    the report template as the report engine reads it, where
//                   a paragraph {"preguntas_desde": N} stands for questions N
//                   onwards (up to the next such paragraph, or the last).
inline constexpr const char* kArchivoEdicion = "edicion.toml";
inline constexpr const char* kArchivoPreguntas = "preguntas.toml";
inline constexpr const char* kArchivoReporte = "reporte.json";
// No edition file is anywhere near this; a bigger one is a mistake.
inline constexpr std::size_t kMaxBytesArchivoEdicion = 4 * 1024 * 1024;

// Something wrong in an edition, where a person editing it finds it.
struct TProblemaEdicion {
    std::filesystem::path sArchivo;
    int nLinea = 0;  // 0: the file as a whole
    std::string sMensaje;
    // "archivo:línea: mensaje" ("archivo: mensaje" without a line).
    std::string Texto() const;
};

struct TLecturaEdicion {
    // None when anything is wrong: an edition is used whole or not at all.
    std::shared_ptr<const TEdicion> edicion;
    std::vector<TProblemaEdicion> problemas;
};

// Reads the folder and checks everything that needs no database: the files'
// form, every field and word, the numbering (no gaps or repeats), the period,
// that every question has its place in the report and every answer the report
// shows a question. Each problem found is listed, not just the first. Files
// are read through archivos::LeeArchivoRegular.
TLecturaEdicion LeeEdicion(const std::filesystem::path& sCarpeta);
