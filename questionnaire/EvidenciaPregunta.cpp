#include "questionnaire/EvidenciaPregunta.h"

#include <charconv>
#include <cmath>

#include "platform/jet/Csv.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/TextoValor.h"

std::string NombreCalculo(TCalculoRespuesta nCalculo) {
    switch (nCalculo) {
        case crExiste:
            return "EXISTE";
        case crConteo:
            return "CONTEO";
        case crSuma:
            return "SUMA";
        case crPromedio:
            return "PROMEDIO";
        case crMasFrecuente:
            break;
    }
    return "MAS_FRECUENTE";
}

const std::vector<jet::sql::TColumnaEvidencia>& ColumnasEvidencia() {
    // The operation's own fields as Norvex shows them, then the dollar amount
    // the questions add up, then the client. A client's name and activity do
    // not change between its operations, so a count of users can show them.
    static const std::vector<jet::sql::TColumnaEvidencia> columnas{
        {"Tipo", "Tipo"},
        {"Folio", "Folio"},
        {"Fecha", "Fecha"},
        {"NDiv", "NumeroDivisa"},
        {"Simbolo", "Moneda"},
        {"Divisa", "Divisa"},
        {"AuxCant", "CantidadDivisa"},
        {"Cot", "Cotizacion"},
        {"Cantidad", "Cantidad"},
        {"CvCAux", "ClaveCliente"},
        {"Cliente", "Cliente", true},
        {"Actividad", "Actividad", true},
    };
    return columnas;
}

namespace {

// Whether the statement's aggregate does what the question's calculation
// says: a table entry that disagrees with its statement is a fault, never
// evidence.
bool Concuerda(TCalculoRespuesta nCalculo, const jet::sql::TFormaAgregado& f) {
    switch (nCalculo) {
        case crExiste:
        case crConteo:
            return f.bCuenta && !f.bSuma && !f.bAgrupa;
        case crSuma:
            return f.bSuma && !f.bCuenta && !f.bAgrupa && !f.sColumna.empty();
        case crPromedio:
            return f.bSuma && f.bCuenta && !f.bAgrupa && !f.sColumna.empty();
        case crMasFrecuente:
            break;
    }
    return f.bAgrupa && !f.sColumna.empty();
}

std::string ConMiles(std::size_t n) {
    std::string s = std::to_string(n);
    for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(i, ",");
    return s;
}

std::string TextoCsv(const jet::TValor& v) {
    if (const double* d = std::get_if<double>(&v); d && std::isfinite(*d)) {
        // The shortest text that reads back to the same double: sums of the
        // file recompute the answer exactly.
        char s[400];
        const auto fin = std::to_chars(s, s + sizeof s, *d, std::chars_format::fixed);
        return std::string(s, fin.ptr);
    }
    if (const std::string* s = std::get_if<std::string>(&v); s && s->empty())
        return "\"\"";  // empty text, unlike null
    return jet::CampoCsv(jet::TextoValor(v, '.'));
}

}  // namespace

TEvidenciaPregunta DameEvidencia(jet::TMotorJet& motor, int nPregunta, TCalculoRespuesta nCalculo,
                                 const std::string& sConsulta) {
    jet::TEvidenciaJet ev = motor.Evidencia(sConsulta, ColumnasEvidencia());
    if (!Concuerda(nCalculo, ev.forma))
        throw jet::ErrorJet(jet::TErrorJet::EvidenciaOtroCalculo,
                            {std::to_string(nPregunta), NombreCalculo(nCalculo)});
    TEvidenciaPregunta e;
    e.nPregunta = nPregunta;
    e.nCalculo = nCalculo;
    if (nCalculo != crExiste && nCalculo != crConteo)
        e.sColumna = ev.forma.sColumna;
    e.filas = std::move(ev.filas);
    return e;
}

std::string DescribeCalculo(const TEvidenciaPregunta& e) {
    // Rows with a folio are operations; the user counts have one row per
    // client instead.
    bool bOperaciones = false;
    for (const std::string& s : e.filas.columnas) bOperaciones |= s == "Folio";
    const std::size_t n = e.filas.filas.size();
    const std::string sFilas =
        ConMiles(n) + (bOperaciones ? (n == 1 ? " operación" : " operaciones")
                                    : (n == 1 ? " usuario" : " usuarios"));
    const std::string sColumna = e.sColumna == "Cantidad" ? "Cantidad en dólares" : e.sColumna;
    switch (e.nCalculo) {
        case crExiste:
            return std::string(n ? "Hay " : "No hay ") +
                   (bOperaciones ? "operaciones" : "usuarios") + " (" + sFilas + ")";
        case crConteo:
            return "Conteo de " + sFilas;
        case crSuma:
            return "Suma de " + sColumna + " de " + sFilas;
        case crPromedio:
            return "Promedio de " + sColumna + " de " + sFilas;
        case crMasFrecuente:
            break;
    }
    return sColumna + " más frecuente en " + sFilas;
}

void EscribeCsvEvidencia(const jet::TResultado& filas, std::ostream& salida) {
    std::string sLinea;
    for (std::size_t i = 0; i < filas.columnas.size(); ++i)
        sLinea += (i ? "," : "") + jet::CampoCsv(filas.columnas[i]);
    salida << sLinea << "\r\n";
    for (const auto& fila : filas.filas) {
        sLinea.clear();
        for (std::size_t i = 0; i < fila.size(); ++i) sLinea += (i ? "," : "") + TextoCsv(fila[i]);
        salida << sLinea << "\r\n";
    }
}
