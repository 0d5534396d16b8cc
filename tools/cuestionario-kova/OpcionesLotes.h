#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "questionnaire/Edicion.h"
#include "questionnaire/RespuestasCC.h"

// The command line of cuestionario-kova.
struct TOpcionesLotes {
    std::filesystem::path sCarpeta;  // the head office's, or the only one
    // The other branches' folders (--carpeta given again), in order: the run
    // answers for the union of every branch's database.
    std::vector<std::filesystem::path> sucursales;
    std::string sUsuario;     // upper case, as the window's field keeps it
    std::string sPassw;       // likewise
    std::string sTipoCambio;  // as typed; "18.91" when not given
    double dTCambio = 0;      // set by ValidaOpcionesLotes
    bool bListarPEPs = false;
    std::vector<std::string> clavesPEP;
    std::optional<std::filesystem::path> sRespuestas;
    std::optional<std::filesystem::path> sPdf;
    std::optional<std::filesystem::path> sConsultas;
    // The centre's own answers for this run, "pregunta,respuesta" CSV; read
    // and checked by ValidaOpcionesLotes into respuestasCC.
    std::optional<std::filesystem::path> sRespuestasCC;
    std::shared_ptr<const TRespuestasCC> respuestasCC;
    std::optional<std::filesystem::path> sEvidencia;  // a folder
    // The edition (--edicion, a key or a folder; the default edition when
    // not given), chosen and checked by ValidaOpcionesLotes into edicion.
    std::optional<std::string> sEdicion;
    std::shared_ptr<const TEdicion> edicion;
    bool bAyuda = false;
    // Actions of their own, without a Norvex folder: list the known
    // editions, check one edition's folder.
    bool bListarEdiciones = false;
    std::optional<std::filesystem::path> sValidarEdicion;
    bool bDepurar = false;  // libmdb's own warnings shown on standard error
};

extern const char* const sUsoLotes;

// The options as written, or none with the reason in sError.
std::optional<TOpcionesLotes> LeeOpcionesLotes(const std::vector<std::string>& args,
                                               std::string& sError);

// The values checked before anything is opened: the edition first (a bad one
// stops the run with every problem, file and line), then output files in
// existing folders other than the Norvex folder, then the user and the rate
// as the window checks its fields (same order, same texts), then the
// centre's answers file for the edition's questions, whose every fault is
// named by its line. Sets edicion, dTCambio and respuestasCC.
bool ValidaOpcionesLotes(TOpcionesLotes& op, std::string& sError);
