#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/IIAvisosCompuerta.h"
#include "app/IIDatosVentana.h"
#include "app/IIMensajero.h"
#include "questionnaire/IIRepCuestionarioKOVA.h"

// The access gate every job passes before it touches the data: the Norvex
// database file and its connection, the active company of "Norvex.INI", the
// job's question-set object, Norvex's tables in the file, the active company
// among the database's, nobody working in Norvex, an administrator's
// credentials. It holds no widgets, so the window and the batch program run
// the same sequence with the same texts; each says through IAvisosCompuerta
// how the texts reach its user, and through IDatosVentana which question set
// its job runs.
class TCompuertaAcceso {
public:
    static constexpr const char* sTxSinBD =
        "Error: Este programa debe encontrarse en la carpeta del Norvex.";
    static constexpr const char* sTxConectando = "Conectando con la BD...";
    static constexpr const char* sTxSinEmpresa =
        "No se pudo extraer el Número de la Empresa predeterminada.";
    static constexpr const char* sTxUsuarioConectado =
        "Hay un usuario conectado a la BD. Cierre Norvex antes de continuar.";
    // The box has two blanks between "no" and "tiene"; the status line has one.
    static constexpr const char* sTxCredencialesCaja =
        "La contraseña es incorrecta o, el usuario no  tiene permisos de administrador.";
    static constexpr const char* sTxCredencialesEstado =
        "La contraseña es incorrecta o, el usuario no tiene permisos de administrador.";

    // An Access file that lacks Norvex's tables (another program's database
    // put in its place), naming what it lacks.
    static std::string TxNoEsNorvex(const std::filesystem::path& sRutaBD,
                                    const std::vector<std::string>& faltan);

    // The active company of "Norvex.INI" is none of the database's: its
    // questionnaire would be one of zeros.
    static std::string TxEmpresaInexistente(int nNumEmp);

    // Where the gate closed; ciAbierta when the job may go on.
    enum TCierre {
        ciAbierta,
        ciSinBD,
        ciSinConexion,
        ciSinEmpresa,
        ciSinCuestionario,
        ciNoEsNorvex,
        ciEmpresaInexistente,
        ciUsuarioConectado,
        ciCredenciales
    };

    // What an open gate hands its job.
    struct TPuerta {
        std::shared_ptr<IRepCuestionarioKOVA> Cuestionario;
        int nNumEmp = 0;
        double dTCambio = 0;
    };

    // sDirProg is the Norvex folder; Datos connects its database file (kept
    // registered for later runs) and creates the job's question set.
    TCompuertaAcceso(std::filesystem::path sDirProg, std::shared_ptr<IDatosVentana> Datos,
                     std::shared_ptr<IAvisosCompuerta> Avisos);

    // Runs the gate with the typed values as they are (the caller has checked
    // them); the question set reports its progress through Mensajero. Puerta
    // is filled as far as the gate got.
    TCierre Pasa(const std::string& sUsuario, const std::string& sPassw, double dTCambio,
                 std::shared_ptr<IMensajero> Mensajero, TPuerta& Puerta);

    // The database file below the folder, whatever its letter case.
    static std::optional<std::filesystem::path> DameRutaBD(const std::filesystem::path& sDir);
    // The active company of "Norvex.INI"; true when it is greater than 0.
    static bool DameEmpresaActiva(const std::filesystem::path& sDir, int& nNumEmp);

private:
    std::filesystem::path F_sDirProg;
    std::shared_ptr<IDatosVentana> F_Datos;
    std::shared_ptr<IAvisosCompuerta> F_Avisos;
};
