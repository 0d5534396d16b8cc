#pragma once

#include <string>

#include "platform/jet/TValorJet.h"

// How jetsql writes each kind of value outside CSV. One small function per
// kind, so a new kind of value is one more function in each place.

template <class... Ts>
struct TSobrecarga : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
TSobrecarga(Ts...) -> TSobrecarga<Ts...>;

// Currency exactly, from its ten-thousandths: "-12.5", "0.0001", "3".
std::string TextoMonedaExacto(const jet::TMoneda& moneda);
// A JSON value: null, true/false, numbers (currency exact), dates and text
// as strings.
std::string ValorJson(const jet::TValor& valor);
std::string CadenaJson(const std::string& s);
// Numbers are right-aligned in a table.
bool EsNumerico(const jet::TValor& valor);
