#pragma once

#include <optional>
#include <string>

#include "questionnaire/CalculoRespuesta.h"
#include "questionnaire/EvidenciaPregunta.h"
#include "questionnaire/RepCuestKOVABasic.h"

// The question set of an edition (the 2018 edition, operations of 2017, unless
// another is given): for each question, the statement that answers it, from
// the Norvex vocabulary or the edition's own, or the mark that the centre
// answers it by hand. The questions are the edition's data (TEdicion).
class TRepCuestANDU2017 : public TRepCuestKOVABasic {
public:
    using TRepCuestKOVABasic::TRepCuestKOVABasic;

    // How the answer of a computed question is worked out from its rows;
    // none for the questions the centre answers, statements of the edition
    // that name none, and unknown numbers.
    std::optional<TCalculoRespuesta> DameCalculo(int nPregunta) const {
        return F_Edicion->DameCalculo(nPregunta);
    }
    // The rows behind the answer of a computed question, with the PEP ticks
    // of the last run; failures (an uncomputed question, no connection, the
    // engine's) are jet::EErrorJet.
    TEvidenciaPregunta DameEvidenciaPregunta(int nPregunta);

protected:
    void DameConsulta(int nPregunta, std::string& sConsulta) override;

private:
    std::string DameOpsDolares(bool bVenta, const std::string& sFIni,
                               const std::string& sFFin) const;
    std::string DameOpsCteDolares(bool bVenta) const;
    std::string DameUsuariosDolares(bool bVenta) const;
    std::string DameOpsOtrasDivisas(bool bVenta, const std::string& sFIni,
                                    const std::string& sFFin) const;
    std::string DameOpsCteOtrasDivisas(bool bVenta) const;
    std::string DameUsuariosOtrasDivisas(bool bVenta) const;
    std::string DameOpsDocumentos(bool bVenta, const std::string& sFIni,
                                  const std::string& sFFin) const;
    std::string DameOpsDocsPeriodo(bool bVenta) const;
    std::string DameOpsCteDocumentos(bool bVenta) const;
    std::string DameUsuariosDocumentos(bool bVenta) const;

    // The three sources of each kind of business in the period: its
    // operations, those joined with their clients, one row per user.
    std::string DameBase(TNegocio nNegocio, bool bVenta) const;
    std::string DameOps(TNegocio nNegocio, bool bVenta) const;
    std::string DameUsuarios(TNegocio nNegocio, bool bVenta) const;

    // The statement of a calculation of the vocabulary.
    std::string DameConsCalculo(const TCalculoPregunta& c) const;
    // The edition's own statement with this run's values; the error mark
    // when its placeholders are wrong (a checked edition has none such).
    std::string DameConsPropia(const TPreguntaEdicion& p) const;
};
