#pragma once

#include <string>

#include <optional>

#include "questionnaire/CalculoRespuesta.h"
#include "questionnaire/EvidenciaPregunta.h"
#include "questionnaire/RepCuestKOVABasic.h"

// The 2018 edition of the questionnaire (operations of 2017): for each of the
// 195 questions, the statement that answers it or the mark that the centre
// answers it by hand.
class TRepCuestANDU2017 : public TRepCuestKOVABasic {
public:
    using TRepCuestKOVABasic::TRepCuestKOVABasic;

    // How the answer of a computed question is worked out from its rows;
    // none for the questions the centre answers and for unknown numbers.
    static std::optional<TCalculoRespuesta> DameCalculo(int nPregunta);
    // The rows behind the answer of a computed question, with the PEP ticks
    // of the last run; failures (an uncomputed question, no connection, the
    // engine's) are jet::EErrorJet.
    TEvidenciaPregunta DameEvidenciaPregunta(int nPregunta);

protected:
    void DameConsulta(int nPregunta, std::string& sConsulta) override;

private:
    // The three kinds of business, each with one source of operations in the
    // window and two derived ones (joined with clients, one row per user).
    enum TNegocio { neDolares, neOtrasDivisas, neDocumentos };

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

    std::string DameBase(TNegocio nNegocio, bool bVenta) const;
    std::string DameOps(TNegocio nNegocio, bool bVenta) const;
    std::string DameUsuarios(TNegocio nNegocio, bool bVenta) const;
};
