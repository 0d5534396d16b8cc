#include "platform/ado/TADOQuery.h"

#include <strings.h>

#include <clocale>
#include <cmath>
#include <cstdlib>

#include "platform/ado/TADOConnection.h"
#include "platform/jet/Decimal.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/MotorJet.h"
#include "platform/jet/NombresJet.h"
#include "platform/jet/TextoValor.h"

namespace ado {

namespace {

char SeparadorDecimal() {
    const std::lconv* lc = std::localeconv();
    return lc && lc->decimal_point && lc->decimal_point[0] ? lc->decimal_point[0] : '.';
}

jet::EErrorJet ErrorConversion(const std::string& sTexto, const char* sTipo) {
    return jet::ErrorJet(jet::TErrorJet::Conversion, {sTexto, sTipo});
}

}  // namespace

std::string TCampo::AsString() const {
    return jet::TextoValor(valor_, SeparadorDecimal());
}

int64_t TCampo::AsInteger() const {
    return std::visit(
        [](const auto& v) -> int64_t {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return 0;
            else if constexpr (std::is_same_v<T, bool>)
                return v ? 1 : 0;
            else if constexpr (std::is_same_v<T, int64_t>)
                return v;
            else if constexpr (std::is_same_v<T, double>)
                return static_cast<int64_t>(std::nearbyint(v));
            else if constexpr (std::is_same_v<T, jet::TMoneda>)
                return static_cast<int64_t>(
                    std::nearbyint(static_cast<double>(v.nDiezMilesimos) / 10000.0));
            else if constexpr (std::is_same_v<T, jet::TFecha>)
                return static_cast<int64_t>(std::trunc(v.dSerial));
            else if constexpr (std::is_same_v<T, jet::TSimple>)
                return static_cast<int64_t>(std::nearbyint(v.fValor));
            else if constexpr (std::is_same_v<T, jet::TDecimal>)
                return static_cast<int64_t>(std::nearbyint(jet::DobleDeDecimal(v)));
            else if constexpr (!std::is_same_v<T, std::string>)
                throw ErrorConversion(jet::TextoValor(v), "entero");
            else {
                char* fin = nullptr;
                errno = 0;
                const long long n = std::strtoll(v.c_str(), &fin, 10);
                if (v.empty() || *fin != '\0' || errno != 0)
                    throw ErrorConversion(v, "entero");
                return n;
            }
        },
        valor_);
}

double TCampo::AsFloat() const {
    return std::visit(
        [](const auto& v) -> double {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return 0;
            else if constexpr (std::is_same_v<T, bool>)
                return v ? 1 : 0;
            else if constexpr (std::is_same_v<T, int64_t>)
                return static_cast<double>(v);
            else if constexpr (std::is_same_v<T, double>)
                return v;
            else if constexpr (std::is_same_v<T, jet::TMoneda>)
                return static_cast<double>(v.nDiezMilesimos) / 10000.0;
            else if constexpr (std::is_same_v<T, jet::TFecha>)
                return v.dSerial;
            else if constexpr (std::is_same_v<T, jet::TSimple>)
                return v.fValor;
            else if constexpr (std::is_same_v<T, jet::TDecimal>)
                return jet::DobleDeDecimal(v);
            else if constexpr (!std::is_same_v<T, std::string>)
                throw ErrorConversion(jet::TextoValor(v), "numérico");
            else {
                std::string s = v;
                for (char& c : s)
                    if (c == SeparadorDecimal())
                        c = '.';
                char* fin = nullptr;
                const double d = std::strtod(s.c_str(), &fin);
                if (s.empty() || *fin != '\0')
                    throw ErrorConversion(v, "numérico");
                return d;
            }
        },
        valor_);
}

bool TCampo::AsBoolean() const {
    if (const auto* s = std::get_if<std::string>(&valor_)) {
        if (strcasecmp(s->c_str(), "True") == 0)
            return true;
        if (strcasecmp(s->c_str(), "False") == 0)
            return false;
        throw ErrorConversion(*s, "booleano");
    }
    if (const auto* b = std::get_if<bool>(&valor_))
        return *b;
    return AsFloat() != 0;
}

std::string TCampo::AsBytes() const {
    if (const auto* b = std::get_if<jet::TBytes>(&valor_))
        return b->bytes;
    if (const auto* s = std::get_if<std::string>(&valor_))
        return *s;
    if (IsNull())
        return "";
    throw ErrorConversion(AsString(), "binario");
}

std::vector<jet::TAdjunto> TCampo::AsAdjuntos() const {
    if (const auto* a = std::get_if<jet::TAdjuntos>(&valor_))
        return a->archivos;
    if (IsNull())
        return {};
    throw ErrorConversion(AsString(), "de archivos adjuntos");
}

double TCampo::AsDateTime() const {
    if (const auto* s = std::get_if<std::string>(&valor_))
        throw ErrorConversion(*s, "de fecha");
    return AsFloat();
}

struct TADOQuery::TDatos {
    TADOConnection* conexion = nullptr;
    std::string sSql;
    bool bActiva = false;
    jet::TResultado resultado;
    size_t nFila = 0;

    void ExigeActiva() const {
        if (!bActiva)
            throw jet::ErrorJet(jet::TErrorJet::ConsultaCerrada);
    }
    jet::TMotorJet& Motor() const {
        if (!conexion)
            throw jet::ErrorJet(jet::TErrorJet::ConsultaSinConexion);
        return conexion->Motor();
    }
};

TADOQuery::TADOQuery(TADOConnection* conexion) : d_(std::make_unique<TDatos>()) {
    d_->conexion = conexion;
}
TADOQuery::~TADOQuery() = default;

void TADOQuery::SetConnection(TADOConnection* conexion) {
    Close();
    d_->conexion = conexion;
}
TADOConnection* TADOQuery::Connection() const {
    return d_->conexion;
}

void TADOQuery::SQLClear() {
    d_->sSql.clear();
}
void TADOQuery::SQLAdd(const std::string& sTexto) {
    if (!d_->sSql.empty())
        d_->sSql += "\n";
    d_->sSql += sTexto;
}
const std::string& TADOQuery::SQLText() const {
    return d_->sSql;
}

void TADOQuery::Open() {
    Close();
    d_->resultado = d_->Motor().Ejecuta(d_->sSql);
    d_->nFila = 0;
    d_->bActiva = true;
}

void TADOQuery::ExecSQL() {
    Close();
    d_->Motor().Ejecuta(d_->sSql);
}

void TADOQuery::Close() {
    d_->bActiva = false;
    d_->resultado = {};
    d_->nFila = 0;
}
bool TADOQuery::Active() const {
    return d_->bActiva;
}

bool TADOQuery::IsEmpty() const {
    return !d_->bActiva || d_->resultado.filas.empty();
}
void TADOQuery::First() {
    d_->ExigeActiva();
    d_->nFila = 0;
}
void TADOQuery::Next() {
    d_->ExigeActiva();
    if (d_->nFila < d_->resultado.filas.size())
        ++d_->nFila;
}
bool TADOQuery::Eof() const {
    return !d_->bActiva || d_->nFila >= d_->resultado.filas.size();
}

int TADOQuery::FieldCount() const {
    return d_->bActiva ? static_cast<int>(d_->resultado.columnas.size()) : 0;
}
std::string TADOQuery::FieldName(int nIndice) const {
    d_->ExigeActiva();
    return d_->resultado.columnas.at(static_cast<size_t>(nIndice));
}
TCampo TADOQuery::Field(int nIndice) const {
    d_->ExigeActiva();
    const auto i = static_cast<size_t>(nIndice);
    if (i >= d_->resultado.columnas.size())
        throw jet::ErrorJet(jet::TErrorJet::CampoNumeroInexistente, {std::to_string(nIndice)});
    // Past the last row every field reads as Null.
    if (d_->nFila >= d_->resultado.filas.size())
        return TCampo(std::monostate{});
    return TCampo(d_->resultado.filas[d_->nFila][i]);
}
TCampo TADOQuery::FieldByName(const std::string& sNombre) const {
    d_->ExigeActiva();
    const auto& columnas = d_->resultado.columnas;
    for (size_t i = 0; i < columnas.size(); ++i)
        if (jet::MismoNombreJet(columnas[i], sNombre))
            return Field(static_cast<int>(i));
    throw jet::ErrorJet(jet::TErrorJet::CampoNoEncontrado, {sNombre});
}

}  // namespace ado
