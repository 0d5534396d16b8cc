#pragma once

#include "questionnaire/RepCuestANDU2017.h"

// The 2018 edition as the batch program uses it: besides the run, the text
// of each question with the current ticks, for the auditor's file.
class TRepCuestLotes : public TRepCuestANDU2017 {
public:
    using TRepCuestANDU2017::TRepCuestANDU2017;

    // Its error boxes name the class the window uses for the same job, so a
    // message reads the same from either program.
    std::string DameNombreClase() const override { return "TRepCuestANDU2017"; }

    int DameTotalPreguntas() const { return F_nTotalPreguntas; }
    // The statement sent to the engine for nPregunta with the ticks of vtPEPs
    // (or the hand-answer text).
    std::string DameTextoPregunta(int nPregunta, TTablaPEPs& vtPEPs) {
        F_vtPEPS = &vtPEPs;
        std::string sConsulta;
        DameConsulta(nPregunta, sConsulta);
        return sConsulta;
    }
    // The rows behind the answer of a computed question with the ticks of
    // vtPEPs (nPregunta must have a calculation).
    TEvidenciaPregunta DameEvidenciaPregunta(int nPregunta, TTablaPEPs& vtPEPs) {
        F_vtPEPS = &vtPEPs;
        return TRepCuestANDU2017::DameEvidenciaPregunta(nPregunta);
    }
};
