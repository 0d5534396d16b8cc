#include "platform/jet/TextoValor.h"

#include <cstdio>

#include "platform/jet/Decimal.h"
#include "platform/jet/FormatoNumero.h"
#include "platform/jet/sql/FechaJet.h"

namespace jet {

std::string TextoBytes(const TBytes& b) {
    static const char digitos[] = "0123456789ABCDEF";
    std::string s = "0x";
    s.reserve(2 + 2 * b.bytes.size());
    for (unsigned char c : b.bytes) {
        s += digitos[c >> 4];
        s += digitos[c & 0xf];
    }
    return s;
}

std::string TextoAdjuntos(const TAdjuntos& a) {
    std::string s;
    for (const auto& archivo : a.archivos)
        s += (s.empty() ? "" : "; ") + archivo.sNombre + " (" +
             std::to_string(archivo.bytes.size()) + " bytes)";
    return s;
}

std::string TextoValor(const TValor& valor, char cSeparador) {
    return std::visit(
        [cSeparador](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return "";
            else if constexpr (std::is_same_v<T, bool>)
                return v ? "True" : "False";
            else if constexpr (std::is_same_v<T, int64_t>)
                return std::to_string(v);
            else if constexpr (std::is_same_v<T, double>)
                return TextoNumero(v, cSeparador);
            else if constexpr (std::is_same_v<T, TMoneda>)
                return TextoNumero(static_cast<double>(v.nDiezMilesimos) / 10000.0, cSeparador);
            else if constexpr (std::is_same_v<T, TFecha>) {
                const auto p = sql::PartesDeSerial(v.dSerial);
                char buf[100];
                std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02d:%02d:%02d",
                              static_cast<long long>(p.anio), static_cast<long long>(p.mes),
                              static_cast<long long>(p.dia), p.hora, p.minuto, p.segundo);
                return buf;
            } else if constexpr (std::is_same_v<T, TSimple>)
                return TextoSimple(v.fValor, cSeparador);
            else if constexpr (std::is_same_v<T, TDecimal>)
                return TextoDecimal(v, cSeparador);
            else if constexpr (std::is_same_v<T, TBytes>)
                return TextoBytes(v);
            else if constexpr (std::is_same_v<T, TAdjuntos>)
                return TextoAdjuntos(v);
            else
                return v;
        },
        valor);
}

}  // namespace jet
