#pragma once

#include <memory>
#include <string>

// The Norvex checks of the access gate, asked of the job's question-set object.
class IVerificaNorvex {
public:
    virtual ~IVerificaNorvex() = default;
    virtual bool UsuariosConectados() = 0;
    virtual bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                              bool bSoloAdmins) = 0;
};

// What the main window needs of the data side, in one place so that the
// window can be driven in tests without a database.
class IDatosVentana {
public:
    virtual ~IDatosVentana() = default;
    // Registers the Access file at sRutaBD under "BDPrincipal" (once), connects
    // it and hands the connection out; true when that connection is open.
    virtual bool ConectaBDPrinc(const std::string& sRutaBD) = 0;
    // A fresh question-set object on the connection handed out last.
    virtual std::shared_ptr<IVerificaNorvex> CreaCuestionario(int nNumEmp, double dTCambio) = 0;
};
