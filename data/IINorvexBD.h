#pragma once

#include <string>
#include <vector>

// The company record of the Norvex database.
struct TEmpresa {
    std::string sRazonSocial;
    std::string sRFC;
    std::string sRegistroKOVA;
    std::string sNumEmpresa;
    std::string sNomComercial;
};

// What the program asks of the Norvex database.
class INorvexBD {
public:
    virtual ~INorvexBD() = default;
    virtual bool GetConectado() const = 0;
    virtual TEmpresa GetEmpresa() = 0;
    virtual bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                              bool bSoloAdmins) = 0;
    virtual bool UsuariosConectados() = 0;
    // The tables the program reads that the database lacks, in the
    // program's order: any at all and it is no Norvex database.
    virtual std::vector<std::string> TablasFaltantes() = 0;
    // True when tEmpresa holds the company of that number.
    virtual bool EmpresaRegistrada(int nNumEmp) = 0;
};
