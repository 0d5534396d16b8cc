#pragma once

#include <string>

#include "data/IIConexion.h"

namespace ado {
class TADOConnection;
}

// The registry of named connections. An unregistered name is never an error:
// Boolean operations answer false and the others do nothing.
class IColectorConxs {
public:
    virtual ~IColectorConxs() = default;
    virtual bool NuevaConexion(const std::string& sNomConect, const std::string& sStrConexion,
                               TTipoMotorBD TipoMotor, bool bConectado) = 0;
    virtual bool NuevaConexion(const std::string& sNomConect, const std::string& sUsuario,
                               const std::string& sPassw, const std::string& sBDNombre,
                               const std::string& sUbicacion, const std::string& sInstancia,
                               const std::string& sPuerto, TTipoMotorBD TipoMotor,
                               bool bConectado) = 0;
    virtual bool Conecta(const std::string& sNomConect) = 0;
    virtual void Desconecta(const std::string& sNomConect) = 0;
    virtual bool Conectado(const std::string& sNomConect) = 0;
    virtual void EliminaConex(const std::string& sNomConect) = 0;
    virtual void EliminaConexiones(const std::string& sNomExcepto) = 0;
    // The platform connection of a named connection of that engine, handed
    // out without ownership and not opened; Conector is untouched on false.
    virtual bool DameSQLConex(const std::string& sNomConect, ado::TADOConnection*& Conector) = 0;
    virtual bool DameAccessConex(const std::string& sNomConect, ado::TADOConnection*& Conector) = 0;
    virtual void CreaBDPrinc(const std::string& sUbicacionBD, const std::string& sPuerto,
                             bool bConectado) = 0;
};
