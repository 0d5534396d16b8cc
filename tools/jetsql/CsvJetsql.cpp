#include "tools/jetsql/CsvJetsql.h"

#include <cstdio>

#include "platform/jet/Comillas.h"
#include "platform/jet/FormatoNumero.h"
#include "platform/jet/sql/FechaJet.h"

namespace {

std::string Texto(const std::string& s) {
    if (s.empty())
        return "\"\"";
    if (s.find_first_of(",\"\r\n") == std::string::npos)
        return s;
    return jet::Entrecomilla(s, '"');
}

std::string Campo(const jet::TValor& valor) {
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return "";
            else if constexpr (std::is_same_v<T, bool>)
                return v ? "True" : "False";
            else if constexpr (std::is_same_v<T, int64_t>)
                return std::to_string(v);
            else if constexpr (std::is_same_v<T, double>)
                return jet::TextoNumero(v);
            else if constexpr (std::is_same_v<T, jet::TMoneda>)
                return jet::TextoNumero(static_cast<double>(v.nDiezMilesimos) / 10000.0);
            else if constexpr (std::is_same_v<T, jet::TFecha>) {
                const auto p = jet::sql::PartesDeSerial(v.dSerial);
                char buf[100];
                std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02d:%02d:%02d",
                              static_cast<long long>(p.anio), static_cast<long long>(p.mes),
                              static_cast<long long>(p.dia), p.hora, p.minuto, p.segundo);
                return buf;
            } else
                return Texto(v);
        },
        valor);
}

}  // namespace

void EscribeCsv(const jet::TResultado& resultado, std::ostream& salida) {
    for (size_t i = 0; i < resultado.columnas.size(); ++i)
        salida << (i ? "," : "") << Texto(resultado.columnas[i]);
    salida << "\r\n";
    for (const auto& fila : resultado.filas) {
        for (size_t i = 0; i < fila.size(); ++i) salida << (i ? "," : "") << Campo(fila[i]);
        salida << "\r\n";
    }
}
