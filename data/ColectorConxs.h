#pragma once

#include <map>
#include <memory>
#include <string>

#include "data/IIColectorConxs.h"

// The connection registry: descriptors by exact name (letter case matters,
// nothing trimmed).
class TColectorConxs : public IColectorConxs {
public:
    TColectorConxs() = default;
    ~TColectorConxs() override;
    TColectorConxs(const TColectorConxs&) = delete;
    TColectorConxs& operator=(const TColectorConxs&) = delete;

    bool NuevaConexion(const std::string& sNomConect, const std::string& sStrConexion,
                       TTipoMotorBD TipoMotor, bool bConectado) override;
    bool NuevaConexion(const std::string& sNomConect, const std::string& sUsuario,
                       const std::string& sPassw, const std::string& sBDNombre,
                       const std::string& sUbicacion, const std::string& sInstancia,
                       const std::string& sPuerto, TTipoMotorBD TipoMotor,
                       bool bConectado) override;
    bool Conecta(const std::string& sNomConect) override;
    void Desconecta(const std::string& sNomConect) override;
    bool Conectado(const std::string& sNomConect) override;
    void EliminaConex(const std::string& sNomConect) override;
    void EliminaConexiones(const std::string& sNomExcepto) override;
    bool DameSQLConex(const std::string& sNomConect, ado::TADOConnection*& Conector) override;
    bool DameAccessConex(const std::string& sNomConect, ado::TADOConnection*& Conector) override;
    void CreaBDPrinc(const std::string& sUbicacionBD, const std::string& sPuerto,
                     bool bConectado) override;

private:
    bool Registra(const std::string& sNomConect, std::shared_ptr<IConexion> conexion);
    std::shared_ptr<IConexion> Busca(const std::string& sNomConect) const;
    bool DameConex(const std::string& sNomConect, TTipoMotorBD TipoMotor,
                   ado::TADOConnection*& Conector);

    std::map<std::string, std::shared_ptr<IConexion>> F_GpoConexiones;
};

// The one registry of the program: set at start-up before any window, cleared
// at the end (which closes every connection still registered).
extern std::shared_ptr<IColectorConxs> ColectorGlobal;
