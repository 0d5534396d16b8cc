#include "platform/ado/TADOConnection.h"

#include <strings.h>

#include "platform/ado/TCadenaConexion.h"
#include "platform/jet/ArchivoUnion.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/MotorJet.h"

namespace ado {

struct TADOConnection::TDatos {
    std::string sConexion;
    bool bPideLogin = true;  // ADO's default; the connectors switch it off
    TModoConexion eModo = TModoConexion::cmUnknown;
    std::unique_ptr<jet::TArchivoAccess> archivo;
    std::string sRuta;
    std::string sContrasena;
    std::unique_ptr<jet::TMotorJet> motor;
};

TADOConnection::TADOConnection() : d_(std::make_unique<TDatos>()) {}
TADOConnection::~TADOConnection() = default;

void TADOConnection::SetConnectionString(const std::string& sConexion) {
    // Takes effect at the next open, as with ADO; an open file stays open.
    d_->sConexion = sConexion;
}
const std::string& TADOConnection::ConnectionString() const {
    return d_->sConexion;
}
void TADOConnection::SetLoginPrompt(bool bPide) {
    d_->bPideLogin = bPide;
}
bool TADOConnection::LoginPrompt() const {
    return d_->bPideLogin;
}
// The mode is kept for whoever asks; the file is read-only in every mode, so
// nothing here can lock other users out of it.
void TADOConnection::SetMode(TModoConexion eModo) {
    d_->eModo = eModo;
}
TModoConexion TADOConnection::Mode() const {
    return d_->eModo;
}

void TADOConnection::SetConnected(bool bAbierta) {
    if (!bAbierta) {
        d_->motor.reset();
        d_->archivo.reset();
        d_->sRuta.clear();
        d_->sContrasena.clear();
        return;
    }
    if (d_->archivo)
        return;
    const TCadenaConexion cadena(d_->sConexion);
    // Without a provider ADO falls back on the ODBC one, which we lack too.
    std::string sProveedor = cadena.Tiene("Provider") ? cadena.Valor("Provider") : "MSDASQL";
    const auto nInicio = sProveedor.find_first_not_of(' ');
    const auto nFin = sProveedor.find_last_not_of(' ');
    const std::string sNombre =
        nInicio == std::string::npos ? "" : sProveedor.substr(nInicio, nFin - nInicio + 1);
    if (strcasecmp(sNombre.c_str(), sProveedorJet) != 0)
        throw jet::ErrorJet(jet::TErrorJet::ProveedorNoDisponible, {sProveedor});
    const std::string sRuta = cadena.Valor("Data Source");
    const std::string sContrasena = cadena.Valor("Jet OLEDB:Database Password");
    d_->archivo = jet::TArchivoAccess::Abre(sRuta, sContrasena);
    d_->sRuta = sRuta;
    d_->sContrasena = sContrasena;
    // The engine reads its own copy of the file, and opens it again when the
    // file changes on disk.
    d_->motor = std::make_unique<jet::TMotorJet>(
        [sRuta, sContrasena] { return jet::TArchivoAccess::Abre(sRuta, sContrasena); },
        &jet::TArchivoAccess::FirmaEnDisco);
}

void TADOConnection::UneArchivos(const std::vector<std::pair<std::string, std::string>>& otros,
                                 std::shared_ptr<jet::IReglasUnion> reglas) {
    if (!d_->archivo)
        throw jet::ErrorJet(jet::TErrorJet::ConexionCerrada);
    // The new engine keeps the heartbeat its creator gave the old one: a
    // window that joins its branches must stay painted while they answer.
    const auto latido = d_->motor ? d_->motor->Latido() : nullptr;
    if (otros.empty() && !reglas) {
        // Back to the file alone, as it was opened.
        const std::string sRuta = d_->sRuta, sContrasena = d_->sContrasena;
        d_->motor = std::make_unique<jet::TMotorJet>(
            [sRuta, sContrasena] { return jet::TArchivoAccess::Abre(sRuta, sContrasena); },
            &jet::TArchivoAccess::FirmaEnDisco);
        d_->motor->PonLatido(latido);
        return;
    }
    std::vector<std::pair<std::string, std::string>> todos{{d_->sRuta, d_->sContrasena}};
    todos.insert(todos.end(), otros.begin(), otros.end());
    // A file that changes opens again alone; the union tells the engine
    // which parts' rows to read again.
    auto abreParte = [todos](size_t n) {
        return jet::TArchivoAccess::Abre(todos.at(n).first, todos.at(n).second);
    };
    auto abre = [todos, reglas, abreParte]() -> std::unique_ptr<jet::TArchivoAccess> {
        std::vector<std::unique_ptr<jet::TArchivoAccess>> partes;
        for (size_t n = 0; n < todos.size(); ++n) partes.push_back(abreParte(n));
        return std::make_unique<jet::TArchivoUnion>(std::move(partes), reglas, abreParte);
    };
    // Every file opens now, so that a bad one fails here and not at the first
    // statement.
    abre();
    d_->motor = std::make_unique<jet::TMotorJet>(abre, &jet::TArchivoUnion::FirmaEnDisco);
    d_->motor->PonLatido(latido);
}

bool TADOConnection::Connected() const {
    return d_->archivo != nullptr;
}

jet::TArchivoAccess& TADOConnection::Archivo() {
    if (!d_->archivo)
        throw jet::ErrorJet(jet::TErrorJet::ConexionCerrada);
    return *d_->archivo;
}
const std::string& TADOConnection::RutaArchivo() const {
    return d_->sRuta;
}
const std::string& TADOConnection::ContrasenaArchivo() const {
    return d_->sContrasena;
}
jet::TMotorJet& TADOConnection::Motor() {
    if (!d_->motor)
        throw jet::ErrorJet(jet::TErrorJet::ConexionCerrada);
    return *d_->motor;
}

}  // namespace ado
