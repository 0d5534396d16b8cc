#include "platform/jet/TextoValor.h"

#include <cstdio>

#include "platform/jet/FormatoNumero.h"
#include "platform/jet/sql/FechaJet.h"

namespace jet {

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
            } else
                return v;
        },
        valor);
}

}  // namespace jet
