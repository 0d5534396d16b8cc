#include "tools/cuestionario-kova/EvidenciaLotes.h"

#include <cstdio>
#include <fstream>

#include "platform/jet/EErrorJet.h"
#include "tools/cuestionario-kova/CsvLotes.h"
#include "tools/cuestionario-kova/RepCuestLotes.h"

bool EscribeEvidencias(TRepCuestLotes& Cuestionario, TTablaPEPs& vtPEPs,
                       const std::map<int, std::string>& respuestas,
                       const std::filesystem::path& sCarpeta, std::string& sError) {
    std::string sIndice =
        FilaCsv({"pregunta", "respuesta", "calculo", "columna", "filas", "archivo"});
    for (int n = 1; n <= Cuestionario.DameTotalPreguntas(); ++n) {
        if (!Cuestionario.DameCalculo(n))
            continue;
        char sArchivo[32];
        std::snprintf(sArchivo, sizeof sArchivo, "pregunta-%03d.csv", n);
        try {
            const TEvidenciaPregunta e = Cuestionario.DameEvidenciaPregunta(n, vtPEPs);
            std::ofstream archivo(sCarpeta / sArchivo, std::ios::binary | std::ios::trunc);
            EscribeCsvEvidencia(e.filas, archivo);
            archivo.close();
            if (!archivo.good()) {
                sError = "No fue posible escribir " + std::string(sArchivo) + " de la evidencia.";
                return false;
            }
            const auto it = respuestas.find(n);
            sIndice += FilaCsv({std::to_string(n), it == respuestas.end() ? "" : it->second,
                                NombreCalculo(e.nCalculo), e.sColumna,
                                std::to_string(e.filas.filas.size()), sArchivo});
        } catch (const jet::EErrorJet& e) {
            sError = "No fue posible obtener la evidencia de la pregunta " + std::to_string(n) +
                     ": " + e.Mensaje();
            return false;
        }
    }
    std::ofstream indice(sCarpeta / "indice.csv", std::ios::binary | std::ios::trunc);
    indice << sIndice;
    indice.close();
    if (!indice.good()) {
        sError = "No fue posible escribir el índice de la evidencia.";
        return false;
    }
    return true;
}
