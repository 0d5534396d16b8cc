#include "data/NorvexBD.h"

#include "data/ColectorConxs.h"
#include "data/TablasNorvex.h"

TNorvexBD::TNorvexBD(ado::TADOConnection* Conector)
    : TConsultasSQL(Conector), F_bConectado(Conector && Conector->Connected()) {}

TNorvexBD::TNorvexBD(const std::string& sRutaNorvex, const std::string& sIDNomBD)
    : TNorvexBD(RegistraConexion("Norvex" + sIDNomBD, sRutaNorvex), sIDNomBD) {}

TNorvexBD::TNorvexBD(TConexionPropia propia, const std::string& sIDNomBD)
    : TConsultasSQL(propia.Conector),
      F_bConectado(propia.Conector != nullptr),
      F_sIDNomBD(sIDNomBD),
      F_bRegistroPropio(propia.bRegistrada) {}

TNorvexBD::TConexionPropia TNorvexBD::RegistraConexion(const std::string& sNombre,
                                                       const std::string& sRutaNorvex) {
    TConexionPropia propia;
    if (!ColectorGlobal)
        return propia;
    propia.bRegistrada = ColectorGlobal->NuevaConexion(sNombre, "", "quilon", "", sRutaNorvex, "",
                                                       "", tmAccess, true);
    ado::TADOConnection* Conector = nullptr;
    if (propia.bRegistrada && ColectorGlobal->Conectado(sNombre) &&
        ColectorGlobal->DameAccessConex(sNombre, Conector))
        propia.Conector = Conector;
    return propia;
}

TNorvexBD::~TNorvexBD() {
    // The query lets go of the connection before the registry frees it.
    F_qConsultaGen->Close();
    F_qConsultaGen->SetConnection(nullptr);
    if (F_bRegistroPropio && ColectorGlobal)
        ColectorGlobal->EliminaConex("Norvex" + F_sIDNomBD);
}

bool TNorvexBD::UsuariosConectados() {
    bool bResultado = true;
    if (PideConsulta("SELECT COUNT(1) as TotalConectados FROM tCompUsr ", *F_qConsultaGen)) {
        if (!F_qConsultaGen->IsEmpty() &&
            F_qConsultaGen->FieldByName("TotalConectados").AsInteger() == 0)
            bResultado = false;
        F_qConsultaGen->Close();
    }
    return bResultado;
}

std::vector<std::string> TNorvexBD::TablasFaltantes() {
    std::vector<std::string> faltan;
    for (const jet::TTabla& t : TablasNorvex())
        if (!F_Conector || !F_Conector->Connected() || !F_Conector->Archivo().BuscaTabla(t.sNombre))
            faltan.push_back(t.sNombre);
    return faltan;
}

bool TNorvexBD::EmpresaRegistrada(int nNumEmp) {
    if (!PideConsulta(
            "SELECT COUNT(1) AS Total FROM tEmpresa WHERE NumEmp = " + std::to_string(nNumEmp),
            *F_qConsultaGen))
        return false;
    const bool bRegistrada =
        !F_qConsultaGen->IsEmpty() && F_qConsultaGen->FieldByName("Total").AsInteger() > 0;
    F_qConsultaGen->Close();
    return bRegistrada;
}

bool TNorvexBD::ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                             bool bSoloAdmins) {
    std::string sConsulta =
        "SELECT ClaveEmp, Password FROM tEmps WHERE ClaveEmp = '" + DameLiteralSQL(sUsuario) + "' ";
    if (bSoloAdmins)
        sConsulta += "and Nivel = 0";
    if (!PideConsulta(sConsulta, *F_qConsultaGen))
        return false;
    bool bResultado = false;
    if (!F_qConsultaGen->IsEmpty()) {
        F_qConsultaGen->First();
        const ado::TCampo password = F_qConsultaGen->FieldByName("Password");
        // A user without a stored password gets in with any password.
        bResultado = password.IsNull() || password.AsString() == sPassw;
    }
    F_qConsultaGen->Close();
    return bResultado;
}

TEmpresa TNorvexBD::GetEmpresa() {
    TEmpresa empresa;
    if (!PideConsulta("SELECT * FROM tEmpresa", *F_qConsultaGen))
        return empresa;
    if (!F_qConsultaGen->IsEmpty()) {
        F_qConsultaGen->First();
        auto lee = [this](const char* sColumna, std::string& sDestino) {
            const ado::TCampo campo = F_qConsultaGen->FieldByName(sColumna);
            if (!campo.IsNull())
                sDestino = campo.AsString();
        };
        lee("Empresa", empresa.sRazonSocial);
        lee("RFC", empresa.sRFC);
        lee("RegistroCC", empresa.sRegistroKOVA);
        lee("NumEmp", empresa.sNumEmpresa);
        lee("NomComercial", empresa.sNomComercial);
    }
    F_qConsultaGen->Close();
    return empresa;
}
