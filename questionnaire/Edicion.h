#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "questionnaire/CalculoNorvex.h"
#include "questionnaire/CalculoRespuesta.h"
#include "questionnaire/TipoRespuestaCC.h"

// One edition of the regulator's questionnaire, as its folder describes it
// (LeeEdicion): which questions exist, how each is answered, the period they
// ask about and the report that prints them. Everything a new year changes
// lives here; how to count over Norvex's tables is code (TRepCuestKOVABasic).

// How a question gets its answer.
enum TFormaPregunta {
    fpCalculo,   // a calculation of the Norvex vocabulary
    fpConsulta,  // an Access SQL statement of the edition's own
    fpCentro     // the centre answers it by hand
};

// What the centre's answer to a question must look like.
struct TRespuestaCentro {
    TTipoRespuestaCC tipo = trTexto;
    std::string sMoneda;                // trMonto: "pesos", "dólares"
    std::vector<std::string> opciones;  // trOpcion: upper case, no accents
};

struct TPreguntaEdicion {
    int nNumero = 0;
    std::string sTexto;  // as the report prints it after the number
    int nLinea = 0;      // of its [[pregunta]] in preguntas.toml
    TFormaPregunta eForma = fpCentro;
    TCalculoPregunta calculo;  // fpCalculo
    // fpConsulta: the statement with its placeholders ({empresa},
    // {tipo_cambio}, {periodo(COLUMNA)}, {pep(COLUMNA)}), the line where it
    // starts, and what its aggregate does (none: no evidence).
    std::string sConsulta;
    int nLineaConsulta = 0;
    std::optional<TCalculoRespuesta> evidencia;
    TRespuestaCentro centro;  // fpCentro
};

// The PDF's proposed file name and document information.
struct TPdfEdicion {
    std::string sArchivo, sTitulo, sAutor, sAsunto;
};

struct TEdicion {
    std::string sClave;   // "2018"; a file name's letters, digits, ".", "_", "-"
    std::string sNombre;  // "Encuesta ANDU 2018": the report's document name
    // The operations asked about: from the first day's start to the end of
    // the last day, both whole.
    std::chrono::year_month_day inicio, fin;
    std::filesystem::path sCarpeta;           // where it was read from
    std::vector<TPreguntaEdicion> preguntas;  // question n at n - 1
    TPdfEdicion pdf;
    // The report template as the report engine reads it: the edition's
    // reporte.json with each run of questions written out.
    std::string sPlantilla;
    int nPaginas = 0;

    int DameTotalPreguntas() const { return static_cast<int>(preguntas.size()); }
    // None for a number outside 1 to the total.
    const TPreguntaEdicion* DamePregunta(int nNumero) const;
    // How the answer of a question is worked out from its rows, for its
    // evidence; none for the centre's questions, statements without one and
    // unknown numbers.
    std::optional<TCalculoRespuesta> DameCalculo(int nNumero) const;

    // The bounds as Access date literals take them (month/day/year, between
    // "#"): the first day, the last day, and the day after the last, which
    // the statements compare with "<" so that the last day counts whole.
    std::string DameFIniSQL() const;
    std::string DameFFinSQL() const;
    std::string DameFDespuesSQL() const;
    // The period as a reader sees it: "01/01/2017 al 31/12/2017".
    std::string DamePeriodo() const;
};

// "mm/dd/yyyy" of a day, the form of Access's date literals.
std::string FechaSQL(std::chrono::year_month_day dia);
// "dd/mm/yyyy", the form the user reads.
std::string FechaLegible(std::chrono::year_month_day dia);
// "yyyy-mm-dd".
std::string FechaIso(std::chrono::year_month_day dia);
// The day after a month/day/year text, in the same form ("12/31/2017" gives
// "01/01/2018"); the text itself when it is no such date.
std::string DiaSiguienteSQL(const std::string& sFechaSQL);
