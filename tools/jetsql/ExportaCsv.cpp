#include "tools/jetsql/ExportaCsv.h"

#include <cctype>
#include <fstream>
#include <set>

#include "platform/jet/ErroresJet.h"
#include "tools/jetsql/ColumnasExportables.h"
#include "tools/jetsql/CsvJetsql.h"
#include "tools/jetsql/DestinoExportacion.h"

namespace {

// Table names may hold '/', and two names may differ only in letter case,
// which some file systems do not tell apart.
std::string NombreArchivo(const std::string& sTabla, std::set<std::string>& usados) {
    std::string s;
    for (const char c : sTabla) s += (c == '/' || c == '\\' || c == '\0') ? '_' : c;
    if (s.empty() || s[0] == '.')
        s = "_" + s;
    std::string sCandidato = s;
    auto clave = [](std::string t) {
        for (auto& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return t;
    };
    for (int n = 2; usados.count(clave(sCandidato)); ++n) sCandidato = s + "-" + std::to_string(n);
    usados.insert(clave(sCandidato));
    return sCandidato + ".csv";
}

}  // namespace

void ExportaCsv(const jet::TArchivoAccess& archivo, const std::string& sCarpeta, bool bSobrescribir,
                std::ostream& progreso, bool bOmitirIlegibles) {
    RevisaColumnasExportables(archivo, bOmitirIlegibles);
    TDestinoExportacion destino(sCarpeta, archivo.Ruta(), bSobrescribir, true);
    std::set<std::string> usados;
    for (const auto& sNombre : archivo.DameNombresTablas()) {
        destino.Comprueba();
        const jet::TTabla* tabla = archivo.BuscaTabla(sNombre);
        const auto ruta = destino.Temporal() / NombreArchivo(sNombre, usados);
        std::ofstream f(ruta, std::ios::binary);
        const std::vector<size_t> exportables =
            ColumnasExportables(*tabla, bOmitirIlegibles, progreso);
        std::vector<std::string> columnas;
        for (size_t c : exportables) columnas.push_back(tabla->columnas[c].sNombre);
        EscribeCabeceraCsv(columnas, f);
        int64_t nFilas = 0;
        std::vector<jet::TValor> valores;
        archivo.LeeFilas(sNombre, [&](const std::vector<jet::TValor>& fila) {
            destino.Comprueba();
            valores.clear();
            for (size_t c : exportables) valores.push_back(fila[c]);
            EscribeFilaCsv(valores, f);
            ++nFilas;
        });
        f.close();
        if (!f)
            throw jet::ErrorJet(jet::TErrorJet::Exportacion,
                                {"No se pudo escribir '" + ruta.string() + "'."});
        progreso << sNombre << ": " << nFilas << (nFilas == 1 ? " fila\n" : " filas\n");
        progreso.flush();
    }
    destino.Confirma();
}
