#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/jet/MotorJet.h"
#include "questionnaire/CalculoRespuesta.h"

// The rows behind one computed answer, taken by the engine from the answer's
// own statement, with the columns a person needs to find each operation in
// Norvex.
struct TEvidenciaPregunta {
    int nPregunta = 0;
    TCalculoRespuesta nCalculo = crConteo;
    // The column summed, averaged or ranked, as named in the rows; empty
    // when the answer only counts rows.
    std::string sColumna;
    jet::TResultado filas;
};

// The columns the evidence carries when its rows have them, in this order.
const std::vector<jet::sql::TColumnaEvidencia>& ColumnasEvidencia();

// The evidence of question nPregunta, whose statement is sConsulta and whose
// calculation is nCalculo. A statement whose aggregate does not do what
// nCalculo says is refused (jet::EErrorJet), as are the engine's failures.
TEvidenciaPregunta DameEvidencia(jet::TMotorJet& motor, int nPregunta, TCalculoRespuesta nCalculo,
                                 const std::string& sConsulta);

// The calculation in words: "Suma de Cantidad en dólares de 1,234
// operaciones".
std::string DescribeCalculo(const TEvidenciaPregunta& e);

// The rows as CSV (UTF-8, RFC 4180 with CR LF): a header, then one line per
// row; numbers with "." and no grouping, in the fewest digits that read back
// to the same value; dates as YYYY-MM-DD HH:MM:SS; null as an empty field.
void EscribeCsvEvidencia(const jet::TResultado& filas, std::ostream& salida);
