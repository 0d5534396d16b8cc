#pragma once

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "questionnaire/RespuestasCC.h"
#include "report/IIManejadorReportes.h"

// A report handler in front of another that prints the centre's own answers:
// where the run leaves a question to the centre ("(** El CC debe responder
// **)") and the centre has answered it, the report gets "Respuesta: " and the
// answer, like a computed one; unanswered questions keep the placeholder.
// Everything else passes through unchanged. The answers are asked for when
// the run names the company ("NombreCC", the first variable it sets), so they
// can be the ones kept for that company.
class TManejadorRespuestasCC : public IManejadorReportes {
public:
    using TDameRespuestas =
        std::function<std::shared_ptr<const TRespuestasCC>(const std::string& sNombreCC)>;

    TManejadorRespuestasCC(std::shared_ptr<IManejadorReportes> Interno,
                           TDameRespuestas DameRespuestas);

    void AgregaDatoReporte(const std::string& sCategoria, const std::string& sVariable,
                           const std::string& sDato) override;
    void MuestraReporte() override;

    // New answers (after the form saved them): the questions the run left to
    // the centre are set again from them. The caller prepares the pages anew.
    void CambiaRespuestas(std::shared_ptr<const TRespuestasCC> Respuestas);
    const std::shared_ptr<const TRespuestasCC>& DameRespuestas() const { return F_Respuestas; }
    const std::string& DameNombreCC() const { return F_sNombreCC; }

    // What the report shows for question nPregunta when the run left it to
    // the centre.
    std::string TextoPara(int nPregunta) const;

private:
    std::shared_ptr<IManejadorReportes> F_Interno;
    TDameRespuestas F_DameRespuestas;
    std::shared_ptr<const TRespuestasCC> F_Respuestas;
    std::string F_sNombreCC;
    std::set<int> F_DelCentro;  // the questions the run left to the centre
};
