#pragma once

#include <memory>
#include <string>

#include "data/IIConexion.h"

// A connection descriptor. The connection string is composed from the
// parameters at the first open that finds it empty, and never again.
class TConexion : public IConexion {
public:
    explicit TConexion(TTipoMotorBD TipoMotorBD);

    void SetStrConexion(const std::string& sStrConexion) override;
    std::string GetStrConexion() override;
    void SetConecta(bool bConecta) override;
    bool GetConecta() override;

    TTipoMotorBD GetTipoMotorBD() override;
    std::shared_ptr<TConector> DameObjConector() override;
    void SetUsuario(const std::string& sUsuario) override;
    std::string GetUsuario() override;
    void SetPassw(const std::string& sPassw) override;
    std::string GetPassw() override;
    void SetBDNombre(const std::string& sBDNombre) override;
    std::string GetBDNombre() override;
    void SetUbicacion(const std::string& sUbicacion) override;
    std::string GetUbicacion() override;
    void SetInstancia(const std::string& sInstancia) override;
    std::string GetInstancia() override;
    void SetPuerto(const std::string& sPuerto) override;
    std::string GetPuerto() override;

private:
    bool Abre();
    std::string ComponeStrConexion() const;

    TTipoMotorBD F_TipoMotorBD;
    std::string F_sSrtConexion;
    std::string F_sUsuario;
    std::string F_sPassw;
    std::string F_sBDNombre;
    std::string F_sUbicacion;
    std::string F_sInstancia;
    std::string F_sPuerto;
    bool F_bConectado = false;
    std::shared_ptr<TConector> F_Conector;
};
