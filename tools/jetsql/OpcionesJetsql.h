#pragma once

#include <optional>
#include <string>
#include <vector>

// What jetsql was asked to do.
struct TOpcionesJetsql {
    enum TAccion { taNinguna, taTablas, taConsulta, taAdjuntos };

    std::string sArchivo;
    std::string sContrasena;
    TAccion eAccion = taNinguna;
    std::string sConsulta = "";  // the statement to run, for taConsulta
    // taAdjuntos: the files of an Attachment column, written into a folder.
    std::string sTabla = "", sColumna = "", sCarpeta = "";
};

inline constexpr const char* sUsoJetsql =
    "Uso: jetsql [--password CONTRASEÑA] ARCHIVO (--tables | \"INSTRUCCIÓN SQL\" | "
    "--adjuntos TABLA COLUMNA CARPETA)";

// The options of a command line (without the program name); nullopt with
// sError set when it does not make sense.
std::optional<TOpcionesJetsql> LeeOpcionesJetsql(const std::vector<std::string>& args,
                                                 std::string& sError);
