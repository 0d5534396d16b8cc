// Stand-in for the platform data objects while the SQL engine is not in the
// tree: connections never open and every statement fails, as they do on an
// absent connection. The tests that link it rely on nothing more, so they hold
// unchanged over the real engine.
#include "platform/ado/TADOConnection.h"
#include "platform/ado/TADOQuery.h"
#include "platform/jet/EErrorJet.h"

namespace ado {

struct TADOConnection::TDatos {
    std::string sConexion;
    bool bLoginPrompt = true;
    TModoConexion eModo = TModoConexion::cmUnknown;
};

TADOConnection::TADOConnection() : d_(std::make_unique<TDatos>()) {}
TADOConnection::~TADOConnection() = default;
void TADOConnection::SetConnectionString(const std::string& s) {
    d_->sConexion = s;
}
const std::string& TADOConnection::ConnectionString() const {
    return d_->sConexion;
}
void TADOConnection::SetLoginPrompt(bool b) {
    d_->bLoginPrompt = b;
}
bool TADOConnection::LoginPrompt() const {
    return d_->bLoginPrompt;
}
void TADOConnection::SetMode(TModoConexion e) {
    d_->eModo = e;
}
TModoConexion TADOConnection::Mode() const {
    return d_->eModo;
}
void TADOConnection::SetConnected(bool bAbierta) {
    if (bAbierta)
        throw jet::EErrorJet("EErrorJet", "Sin motor de SQL");
}
bool TADOConnection::Connected() const {
    return false;
}

struct TADOQuery::TDatos {
    TADOConnection* conexion = nullptr;
    std::string sSQL;
};

TADOQuery::TADOQuery(TADOConnection* conexion) : d_(std::make_unique<TDatos>()) {
    d_->conexion = conexion;
}
TADOQuery::~TADOQuery() = default;
void TADOQuery::SetConnection(TADOConnection* conexion) {
    d_->conexion = conexion;
}
TADOConnection* TADOQuery::Connection() const {
    return d_->conexion;
}
void TADOQuery::SQLClear() {
    d_->sSQL.clear();
}
void TADOQuery::SQLAdd(const std::string& s) {
    d_->sSQL += s;
}
const std::string& TADOQuery::SQLText() const {
    return d_->sSQL;
}
void TADOQuery::Open() {
    throw jet::EErrorJet("EErrorJet", "Sin motor de SQL");
}
void TADOQuery::ExecSQL() {
    throw jet::EErrorJet("EErrorJet", "Sin motor de SQL");
}
void TADOQuery::Close() {}
bool TADOQuery::Active() const {
    return false;
}
bool TADOQuery::IsEmpty() const {
    return true;
}
void TADOQuery::First() {}
void TADOQuery::Next() {}
bool TADOQuery::Eof() const {
    return true;
}
int TADOQuery::FieldCount() const {
    return 0;
}
std::string TADOQuery::FieldName(int) const {
    return {};
}
TCampo TADOQuery::Field(int) const {
    throw jet::EErrorJet("EErrorJet", "Sin filas");
}
TCampo TADOQuery::FieldByName(const std::string&) const {
    throw jet::EErrorJet("EErrorJet", "Sin filas");
}

std::string TCampo::AsString() const {
    return {};
}
int64_t TCampo::AsInteger() const {
    return 0;
}
double TCampo::AsFloat() const {
    return 0;
}
bool TCampo::AsBoolean() const {
    return false;
}
double TCampo::AsDateTime() const {
    return 0;
}

}  // namespace ado
