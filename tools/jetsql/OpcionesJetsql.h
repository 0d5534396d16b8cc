#pragma once

#include <optional>
#include <string>
#include <vector>

// What jetsql was asked to do.
struct TOpcionesJetsql {
    enum TAccion {
        taNinguna,
        taTablas,
        taConsulta,
        taGuion,  // statements from standard input or from sGuion
        taAyuda,
        taVersion,
        taExportaSqlite,
        taExportaCsv,
        taAdjuntos  // the files of an Attachment column, written into a folder
    };

    std::string sArchivo;
    std::string sContrasena;
    TAccion eAccion = taNinguna;
    std::string sConsulta = "";     // the statement to run, for taConsulta
    std::string sGuion = "";        // -f SCRIPT; empty reads standard input
    bool bContinuar = false;        // a failing statement does not stop the script
    std::string sModo = "";         // output mode; empty chooses by the output
    std::string sDestino = "";      // the export's file or folder
    bool bSobrescribir = false;     // an existing export output may be replaced
    bool bOmitirIlegibles = false;  // an export leaves out unreadable columns (else fails)
    bool bDepurar = false;          // libmdb's own warnings shown on standard error
    std::string sTabla = "", sColumna = "", sCarpeta = "";  // taAdjuntos
    // Optional passes of the engine left out, for diagnosis (--sin-paso).
    std::vector<std::string> pasosFuera = {};
    bool bTraduce = false;  // taConsulta writes the statement's SQLite text, not its rows
};

// One row of the option table: the names it answers to, the names of its
// values (one word each, empty when it takes none), what it means, and what
// it does.
struct TOpcionJetsql {
    std::vector<std::string> nombres;
    std::string sValor;
    std::string sAyuda;
    // Applies the option; returns an error text, empty when it was fine.
    std::string (*aplica)(TOpcionesJetsql& opciones, const std::vector<std::string>& valores);
};

const std::vector<TOpcionJetsql>& DameOpcionesJetsql();

inline constexpr const char* sUsoJetsql = "Uso: jetsql [OPCIONES] ARCHIVO [\"INSTRUCCIÓN SQL\"]";

// The usage with every option, for --ayuda.
std::string DameAyudaJetsql();
std::string DameVersionJetsql();

// The options of a command line (without the program name); nullopt with
// sError set when it does not make sense.
std::optional<TOpcionesJetsql> LeeOpcionesJetsql(const std::vector<std::string>& args,
                                                 std::string& sError);
