#include "data/Conexion.h"

#include "data/Conectores.h"

namespace {

// Blank as the descriptor understands it: nothing left after removing
// spaces and control characters from both ends.
bool EsBlanco(const std::string& s) {
    for (unsigned char c : s)
        if (c > ' ')
            return false;
    return true;
}

}  // namespace

TConexion::TConexion(TTipoMotorBD TipoMotorBD) : F_TipoMotorBD(TipoMotorBD) {
    if (TipoMotorBD == tmSQLServer)
        F_Conector = std::make_shared<TConectSQLServer>();
    else
        F_Conector = std::make_shared<TConectAccess>();
}

void TConexion::SetStrConexion(const std::string& sStrConexion) {
    F_sSrtConexion = sStrConexion;
}
std::string TConexion::GetStrConexion() {
    return F_sSrtConexion;
}

void TConexion::SetConecta(bool bConecta) {
    if (bConecta) {
        F_bConectado = Abre();
    } else {
        F_Conector->SetConecta(false);
        F_bConectado = false;
    }
}

bool TConexion::GetConecta() {
    return F_bConectado;
}

bool TConexion::Abre() {
    if (F_sSrtConexion.empty()) {
        if (EsBlanco(F_sUsuario) && EsBlanco(F_sPassw) && EsBlanco(F_sBDNombre) &&
            EsBlanco(F_sUbicacion) && EsBlanco(F_sInstancia) && EsBlanco(F_sPuerto))
            return false;
        F_sSrtConexion = ComponeStrConexion();
    }
    F_Conector->SetStrConexion(F_sSrtConexion);
    F_Conector->SetConecta(true);
    return F_Conector->GetConecta();
}

// Values go in as they are: nothing is quoted or escaped.
std::string TConexion::ComponeStrConexion() const {
    std::string s;
    if (F_TipoMotorBD == tmSQLServer) {
        s = "Provider=SQLOLEDB.1;Password=" + F_sPassw + ";Persist Security Info=True;" +
            "User ID=" + F_sUsuario + ";Initial Catalog=" + F_sBDNombre +
            ";Data Source=" + F_sUbicacion;
        if (!EsBlanco(F_sInstancia))
            s += "\\" + F_sInstancia;
        if (!F_sPuerto.empty())
            s += "," + F_sPuerto;  // a port of blanks still counts
    } else {
        s = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + F_sUbicacion +
            ";Persist Security Info=True" + ";Mode=Share Deny None";
        if (!EsBlanco(F_sPassw))
            s += ";Jet OLEDB:Database Password=" + F_sPassw;
    }
    return s;
}

TTipoMotorBD TConexion::GetTipoMotorBD() {
    return F_TipoMotorBD;
}
std::shared_ptr<TConector> TConexion::DameObjConector() {
    return F_Conector;
}
void TConexion::SetUsuario(const std::string& sUsuario) {
    F_sUsuario = sUsuario;
}
std::string TConexion::GetUsuario() {
    return F_sUsuario;
}
void TConexion::SetPassw(const std::string& sPassw) {
    F_sPassw = sPassw;
}
std::string TConexion::GetPassw() {
    return F_sPassw;
}
void TConexion::SetBDNombre(const std::string& sBDNombre) {
    F_sBDNombre = sBDNombre;
}
std::string TConexion::GetBDNombre() {
    return F_sBDNombre;
}
void TConexion::SetUbicacion(const std::string& sUbicacion) {
    F_sUbicacion = sUbicacion;
}
std::string TConexion::GetUbicacion() {
    return F_sUbicacion;
}
void TConexion::SetInstancia(const std::string& sInstancia) {
    F_sInstancia = sInstancia;
}
std::string TConexion::GetInstancia() {
    return F_sInstancia;
}
void TConexion::SetPuerto(const std::string& sPuerto) {
    F_sPuerto = sPuerto;
}
std::string TConexion::GetPuerto() {
    return F_sPuerto;
}
