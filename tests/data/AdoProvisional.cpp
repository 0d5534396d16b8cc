// Stand-in for the platform query object while the SQL engine is not in the
// tree: every statement fails, as it does on an absent connection. The tests
// that link it rely on nothing more, so they hold unchanged over the engine.
#include "platform/ado/TADOQuery.h"
#include "platform/jet/EErrorJet.h"

namespace ado {

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
