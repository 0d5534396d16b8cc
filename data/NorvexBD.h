#pragma once

#include <string>

#include "data/ConsultasSQL.h"
#include "data/IINorvexBD.h"

// The query service specialised for the Norvex database: connected users,
// administrator credentials and the company's data.
class TNorvexBD : public TConsultasSQL, public INorvexBD {
public:
    // On a connection somebody else obtained (the program's own way).
    explicit TNorvexBD(ado::TADOConnection* Conector);
    // On a connection of its own to the Access file, registered as "Norvex"
    // followed by sIDNomBD; without one when the file cannot be opened or the
    // name is taken (Conectado is then false).
    explicit TNorvexBD(const std::string& sRutaNorvex, const std::string& sIDNomBD = "");
    ~TNorvexBD() override;

    bool GetConectado() const override { return F_bConectado; }
    TEmpresa GetEmpresa() override;
    bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                      bool bSoloAdmins) override;
    bool UsuariosConectados() override;
    std::vector<std::string> TablasFaltantes() override;
    bool EmpresaRegistrada(int nNumEmp) override;

    bool Conectado() const { return F_bConectado; }
    TEmpresa Empresa() { return GetEmpresa(); }

protected:
    bool F_bConectado = false;
    std::string F_sIDNomBD;

private:
    struct TConexionPropia {
        ado::TADOConnection* Conector = nullptr;
        bool bRegistrada = false;
    };
    static TConexionPropia RegistraConexion(const std::string& sNombre,
                                            const std::string& sRutaNorvex);
    TNorvexBD(TConexionPropia propia, const std::string& sIDNomBD);

    // Only an entry this object registered is removed at the end: a name
    // another object holds stays that object's.
    bool F_bRegistroPropio = false;
};
