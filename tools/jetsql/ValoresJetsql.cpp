#include "tools/jetsql/ValoresJetsql.h"

#include <cmath>
#include <cstdio>

#include "platform/jet/FormatoNumero.h"
#include "platform/jet/TextoValor.h"

std::string TextoMonedaExacto(const jet::TMoneda& moneda) {
    // Unsigned, so the smallest amount has a magnitude too.
    const bool bNegativo = moneda.nDiezMilesimos < 0;
    const uint64_t n = bNegativo ? 0 - static_cast<uint64_t>(moneda.nDiezMilesimos)
                                 : static_cast<uint64_t>(moneda.nDiezMilesimos);
    std::string s = (bNegativo ? "-" : "") + std::to_string(n / 10000);
    std::string sFraccion = std::to_string(10000 + n % 10000).substr(1);
    while (!sFraccion.empty() && sFraccion.back() == '0') sFraccion.pop_back();
    return sFraccion.empty() ? s : s + "." + sFraccion;
}

std::string CadenaJson(const std::string& s) {
    std::string r = "\"";
    for (const char c : s) {
        switch (c) {
            case '"':
                r += "\\\"";
                break;
            case '\\':
                r += "\\\\";
                break;
            case '\n':
                r += "\\n";
                break;
            case '\r':
                r += "\\r";
                break;
            case '\t':
                r += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    r += buf;
                } else {
                    r += c;
                }
        }
    }
    return r + "\"";
}

std::string ValorJson(const jet::TValor& valor) {
    return std::visit(
        TSobrecarga{
            [](std::monostate) -> std::string { return "null"; },
            [](bool b) -> std::string { return b ? "true" : "false"; },
            [](int64_t n) { return std::to_string(n); },
            // JSON has no NaN nor infinities.
            [](double d) -> std::string { return std::isfinite(d) ? jet::TextoNumero(d) : "null"; },
            [](const jet::TMoneda& m) { return TextoMonedaExacto(m); },
            [](const jet::TFecha& f) { return CadenaJson(jet::TextoValor(f)); },
            [](const std::string& s) { return CadenaJson(s); },
            [](const jet::TSimple& f) -> std::string {
                return std::isfinite(f.fValor) ? jet::TextoValor(f) : "null";
            },
            [](const jet::TDecimal& d) { return jet::TextoValor(d); },
            [](const jet::TBytes& b) { return CadenaJson(jet::TextoBytes(b)); },
            [](const jet::TAdjuntos& a) { return CadenaJson(jet::TextoAdjuntos(a)); },
        },
        valor);
}

bool EsNumerico(const jet::TValor& valor) {
    return std::visit(TSobrecarga{
                          [](std::monostate) { return false; },
                          [](bool) { return false; },
                          [](int64_t) { return true; },
                          [](double) { return true; },
                          [](const jet::TMoneda&) { return true; },
                          [](const jet::TFecha&) { return false; },
                          [](const std::string&) { return false; },
                          [](const jet::TSimple&) { return true; },
                          [](const jet::TDecimal&) { return true; },
                          [](const jet::TBytes&) { return false; },
                          [](const jet::TAdjuntos&) { return false; },
                      },
                      valor);
}
