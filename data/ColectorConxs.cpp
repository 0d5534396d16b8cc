#include "data/ColectorConxs.h"

#include "data/Conectores.h"
#include "data/Conexion.h"

std::shared_ptr<IColectorConxs> ColectorGlobal;

TColectorConxs::~TColectorConxs() {
    // Each descriptor that nobody else holds closes its connection as it goes.
    F_GpoConexiones.clear();
}

// The open attempt comes before the name test: a taken name still opens,
// then drops, the new connection.
bool TColectorConxs::NuevaConexion(const std::string& sNomConect, const std::string& sStrConexion,
                                   TTipoMotorBD TipoMotor, bool bConectado) {
    auto conexion = std::make_shared<TConexion>(TipoMotor);
    conexion->SetStrConexion(sStrConexion);
    conexion->SetConecta(bConectado);
    return Registra(sNomConect, std::move(conexion));
}

bool TColectorConxs::NuevaConexion(const std::string& sNomConect, const std::string& sUsuario,
                                   const std::string& sPassw, const std::string& sBDNombre,
                                   const std::string& sUbicacion, const std::string& sInstancia,
                                   const std::string& sPuerto, TTipoMotorBD TipoMotor,
                                   bool bConectado) {
    auto conexion = std::make_shared<TConexion>(TipoMotor);
    conexion->SetUsuario(sUsuario);
    conexion->SetPassw(sPassw);
    conexion->SetBDNombre(sBDNombre);
    conexion->SetUbicacion(sUbicacion);
    conexion->SetInstancia(sInstancia);
    conexion->SetPuerto(sPuerto);
    conexion->SetConecta(bConectado);
    return Registra(sNomConect, std::move(conexion));
}

bool TColectorConxs::Conecta(const std::string& sNomConect) {
    auto conexion = Busca(sNomConect);
    if (!conexion)
        return false;
    if (!conexion->GetConecta())
        conexion->SetConecta(true);
    return conexion->GetConecta();
}

void TColectorConxs::Desconecta(const std::string& sNomConect) {
    if (auto conexion = Busca(sNomConect))
        conexion->SetConecta(false);
}

bool TColectorConxs::Conectado(const std::string& sNomConect) {
    auto conexion = Busca(sNomConect);
    return conexion && conexion->GetConecta();
}

void TColectorConxs::EliminaConex(const std::string& sNomConect) {
    auto it = F_GpoConexiones.find(sNomConect);
    if (it == F_GpoConexiones.end())
        return;
    it->second->SetConecta(false);
    F_GpoConexiones.erase(it);
}

void TColectorConxs::EliminaConexiones(const std::string& sNomExcepto) {
    for (auto it = F_GpoConexiones.begin(); it != F_GpoConexiones.end();) {
        if (it->first == sNomExcepto) {
            ++it;
            continue;
        }
        it->second->SetConecta(false);
        it = F_GpoConexiones.erase(it);
    }
}

bool TColectorConxs::DameSQLConex(const std::string& sNomConect, ado::TADOConnection*& Conector) {
    return DameConex(sNomConect, tmSQLServer, Conector);
}

bool TColectorConxs::DameAccessConex(const std::string& sNomConect,
                                     ado::TADOConnection*& Conector) {
    return DameConex(sNomConect, tmAccess, Conector);
}

void TColectorConxs::CreaBDPrinc(const std::string& sUbicacionBD, const std::string& sPuerto,
                                 bool bConectado) {
    if (F_GpoConexiones.count("BDPrincipal"))
        return;
    // "quilon" is the database password of every Norvex file.
    NuevaConexion("BDPrincipal", "", "quilon", "", sUbicacionBD, "", sPuerto, tmAccess, bConectado);
}

bool TColectorConxs::Registra(const std::string& sNomConect, std::shared_ptr<IConexion> conexion) {
    return F_GpoConexiones.emplace(sNomConect, std::move(conexion)).second;
}

std::shared_ptr<IConexion> TColectorConxs::Busca(const std::string& sNomConect) const {
    auto it = F_GpoConexiones.find(sNomConect);
    return it == F_GpoConexiones.end() ? nullptr : it->second;
}

bool TColectorConxs::DameConex(const std::string& sNomConect, TTipoMotorBD TipoMotor,
                               ado::TADOConnection*& Conector) {
    auto conexion = Busca(sNomConect);
    if (!conexion || conexion->GetTipoMotorBD() != TipoMotor)
        return false;
    auto* conector = dynamic_cast<TConectorADO*>(conexion->DameObjConector().get());
    if (!conector)
        return false;
    Conector = conector->DameConector();
    return true;
}
