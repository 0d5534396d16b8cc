#pragma once

#include <memory>
#include <string>

#include "data/IIConector.h"

class TConector;

enum TTipoMotorBD { tmSQLServer = 0, tmAccess = 1 };

// A connection descriptor: what is needed to reach one database, and its
// connector. GetConecta is the descriptor's own record of being open.
class IConexion : public IConector {
public:
    virtual TTipoMotorBD GetTipoMotorBD() = 0;
    virtual std::shared_ptr<TConector> DameObjConector() = 0;
    virtual void SetUsuario(const std::string& sUsuario) = 0;
    virtual std::string GetUsuario() = 0;
    virtual void SetPassw(const std::string& sPassw) = 0;
    virtual std::string GetPassw() = 0;
    virtual void SetBDNombre(const std::string& sBDNombre) = 0;
    virtual std::string GetBDNombre() = 0;
    virtual void SetUbicacion(const std::string& sUbicacion) = 0;
    virtual std::string GetUbicacion() = 0;
    virtual void SetInstancia(const std::string& sInstancia) = 0;
    virtual std::string GetInstancia() = 0;
    virtual void SetPuerto(const std::string& sPuerto) = 0;
    virtual std::string GetPuerto() = 0;
};
