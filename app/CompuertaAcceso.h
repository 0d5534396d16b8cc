#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/IIAvisosCompuerta.h"
#include "questionnaire/IIRepCuestionarioKOVA.h"

class IColectorConxs;
namespace ado {
class TADOConnection;
}

// The access gate every job passes before it touches the data: the Norvex
// database file and its connection, the active company of "Norvex.INI", the
// job's question-set object, nobody working in Norvex, an administrator's
// credentials. It holds no widgets, so the window and the batch program run
// the same sequence with the same texts; each says through IAvisosCompuerta
// how the texts reach its user.
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

    // Where the gate closed; ciAbierta when the job may go on.
    enum TCierre {
        ciAbierta,
        ciSinBD,
        ciSinConexion,
        ciSinEmpresa,
        ciSinCuestionario,
        ciUsuarioConectado,
        ciCredenciales
    };

    // The job's question-set object on the gate's connection.
    using TCreaCuestionario = std::function<std::shared_ptr<IRepCuestionarioKOVA>(
        ado::TADOConnection* Conector, int nNumEmp, double dTCambio)>;

    // What an open gate hands its job.
    struct TPuerta {
        std::shared_ptr<IRepCuestionarioKOVA> Cuestionario;
        ado::TADOConnection* Conector = nullptr;  // owned by the registry
        int nNumEmp = 0;
        double dTCambio = 0;
    };

    // sDirProg is the Norvex folder; the registry keeps the connection under
    // "BDPrincipal" for later runs.
    TCompuertaAcceso(std::filesystem::path sDirProg, IColectorConxs& Colector,
                     std::shared_ptr<IAvisosCompuerta> Avisos);

    // Runs the gate with the typed values as they are (the caller has checked
    // them); Puerta is filled as far as the gate got.
    TCierre Pasa(const std::string& sUsuario, const std::string& sPassw, double dTCambio,
                 const TCreaCuestionario& CreaCuestionario, TPuerta& Puerta);

    // The database file below the folder, whatever its letter case.
    static std::optional<std::filesystem::path> DameRutaBD(const std::filesystem::path& sDir);
    // The active company of "Norvex.INI"; true when it is greater than 0.
    static bool DameEmpresaActiva(const std::filesystem::path& sDir, int& nNumEmp);

private:
    bool ConectaBDPrinc(const std::filesystem::path& sRutaBD, ado::TADOConnection*& Conector);

    std::filesystem::path F_sDirProg;
    IColectorConxs& F_Colector;
    std::shared_ptr<IAvisosCompuerta> F_Avisos;
};
