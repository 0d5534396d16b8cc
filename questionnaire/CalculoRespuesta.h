#pragma once

#include <string>

// How an answer is computed from the rows it reads.
enum TCalculoRespuesta {
    crExiste,       // "SI" when there is at least one row
    crConteo,       // the number of rows
    crSuma,         // the rounded sum of a column
    crPromedio,     // the rounded sum divided by the number of rows
    crMasFrecuente  // the value of a column on most rows, with that count
};

// The word the evidence index uses: EXISTE, CONTEO, SUMA, PROMEDIO,
// MAS_FRECUENTE.
std::string NombreCalculo(TCalculoRespuesta nCalculo);
