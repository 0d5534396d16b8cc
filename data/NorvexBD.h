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
    ~TNorvexBD() override;

    bool GetConectado() const override { return F_bConectado; }
    TEmpresa GetEmpresa() override;
    bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                      bool bSoloAdmins) override;
    bool UsuariosConectados() override;

    bool Conectado() const { return F_bConectado; }
    TEmpresa Empresa() { return GetEmpresa(); }

protected:
    bool F_bConectado = false;
    std::string F_sIDNomBD;
};
