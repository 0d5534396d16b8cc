#include "questionnaire/ManejadorRespuestasCC.h"

#include <charconv>

#include "questionnaire/IIRepCuestionarioKOVA.h"

namespace {

const char* const kCategoria = "Cuestionario";
const std::string kPrefijo = "preg_";

// The question number of a "preg_N" variable, 0 for any other.
int NumeroDe(const std::string& sVariable) {
    if (!sVariable.starts_with(kPrefijo))
        return 0;
    int n = 0;
    const char* pFin = sVariable.data() + sVariable.size();
    const auto [p, ec] = std::from_chars(sVariable.data() + kPrefijo.size(), pFin, n);
    return ec == std::errc() && p == pFin ? n : 0;
}

}  // namespace

TManejadorRespuestasCC::TManejadorRespuestasCC(std::shared_ptr<IManejadorReportes> Interno,
                                               TDameRespuestas DameRespuestas)
    : F_Interno(std::move(Interno)), F_DameRespuestas(std::move(DameRespuestas)) {}

std::string TManejadorRespuestasCC::TextoPara(int nPregunta) const {
    const QString s = F_Respuestas ? F_Respuestas->Dame(nPregunta) : QString();
    if (s.isEmpty())
        return sTxCCResponde;
    return sTxRespuesta + s.toStdString();
}

void TManejadorRespuestasCC::AgregaDatoReporte(const std::string& sCategoria,
                                               const std::string& sVariable,
                                               const std::string& sDato) {
    if (sCategoria == kCategoria && sVariable == "NombreCC") {
        F_sNombreCC = sDato;
        F_Respuestas = F_DameRespuestas ? F_DameRespuestas(sDato) : nullptr;
    }
    const int n = sCategoria == kCategoria ? NumeroDe(sVariable) : 0;
    if (n > 0 && sDato == sTxCCResponde) {
        F_DelCentro.insert(n);
        F_Interno->AgregaDatoReporte(sCategoria, sVariable, TextoPara(n));
        return;
    }
    if (n > 0)
        F_DelCentro.erase(n);
    F_Interno->AgregaDatoReporte(sCategoria, sVariable, sDato);
}

void TManejadorRespuestasCC::MuestraReporte() {
    F_Interno->MuestraReporte();
}

void TManejadorRespuestasCC::CambiaRespuestas(std::shared_ptr<const TRespuestasCC> Respuestas) {
    F_Respuestas = std::move(Respuestas);
    for (int n : F_DelCentro)
        F_Interno->AgregaDatoReporte(kCategoria, "preg_" + std::to_string(n), TextoPara(n));
}
