#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A question of an edition may be answered by an Access SQL statement of its
// own, for what the Norvex vocabulary does not count. The run's values enter
// it through placeholders between braces:
//   {empresa}          the active company's number
//   {tipo_cambio}      the year's rate as typed, a decimal with "."
//   {periodo(COLUMNA)} (COLUMNA >= #first day# AND COLUMNA < #day after the
//                      last#): the period, its last day whole
//   {pep(COLUMNA)}     (COLUMNA IN ('A1', 'B2')) with the keys ticked as
//                      PEPs, or (1 = 0) when none is
// "{{" and "}}" write one brace.

struct TContextoConsulta {
    std::string sEmpresa;     // "1"
    std::string sTipoCambio;  // "18.91"
    std::string sFIni;        // "01/01/2017"
    std::string sFDespues;    // "01/01/2018"
    std::vector<std::string> clavesPEP;
};

// Where a statement's placeholders go wrong: the byte of the statement and
// why, in Spanish.
struct TFalloConsulta {
    std::size_t nPosicion = 0;
    std::string sMensaje;
};

// The statement with its placeholders replaced; none, and fallo, for an
// unknown placeholder, a brace left open or a column that is no column.
std::optional<std::string> ExpandeConsulta(const std::string& sConsulta,
                                           const TContextoConsulta& contexto,
                                           TFalloConsulta& fallo);
