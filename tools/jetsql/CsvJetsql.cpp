#include "tools/jetsql/CsvJetsql.h"

#include "platform/jet/Csv.h"
#include "platform/jet/TextoValor.h"

namespace {

std::string Texto(const std::string& s) {
    if (s.empty())
        return "\"\"";
    return jet::CampoCsv(s);
}

// Numbers always with "." here: a comma is the field separator.
std::string Campo(const jet::TValor& valor) {
    const auto* sTexto = std::get_if<std::string>(&valor);
    // Attached files' names are free text too.
    if (std::holds_alternative<jet::TAdjuntos>(valor))
        return Texto(jet::TextoValor(valor));
    return sTexto ? Texto(*sTexto) : jet::TextoValor(valor);
}

}  // namespace

void EscribeCabeceraCsv(const std::vector<std::string>& columnas, std::ostream& salida) {
    for (size_t i = 0; i < columnas.size(); ++i) salida << (i ? "," : "") << Texto(columnas[i]);
    salida << "\r\n";
}

void EscribeFilaCsv(const std::vector<jet::TValor>& fila, std::ostream& salida) {
    for (size_t i = 0; i < fila.size(); ++i) salida << (i ? "," : "") << Campo(fila[i]);
    salida << "\r\n";
}

void EscribeCsv(const jet::TResultado& resultado, std::ostream& salida, bool bEncabezado) {
    if (bEncabezado)
        EscribeCabeceraCsv(resultado.columnas, salida);
    for (const auto& fila : resultado.filas) EscribeFilaCsv(fila, salida);
}
