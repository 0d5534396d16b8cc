#include "tools/jetsql/ColumnasExportables.h"

#include <sstream>

#include "platform/jet/ErroresLector.h"

std::vector<size_t> ColumnasExportables(const jet::TTabla& tabla, bool bOmitir,
                                        std::ostream& avisos) {
    std::vector<size_t> columnas;
    for (size_t c = 0; c < tabla.columnas.size(); ++c) {
        const jet::TColumna& col = tabla.columnas[c];
        if (col.eTipo != jet::TTipoColumna::tcOtro) {
            columnas.push_back(c);
            continue;
        }
        const std::string sTipo = jet::NombreTipoNoLegible(col.nCodigoTipo);
        if (!bOmitir)
            throw jet::ErrorTipoNoLegible(tabla.sNombre, col.sNombre, sTipo);
        avisos << "Aviso: se omite la columna '" << col.sNombre << "' de la tabla '"
               << tabla.sNombre << "': es de tipo " << sTipo << ", que este programa no lee.\n";
    }
    return columnas;
}

void RevisaColumnasExportables(const jet::TArchivoAccess& archivo, bool bOmitir) {
    std::ostringstream nada;
    for (const auto& sTabla : archivo.DameNombresTablas())
        ColumnasExportables(*archivo.BuscaTabla(sTabla), bOmitir, nada);
}
