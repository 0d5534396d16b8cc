#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/IIMensajero.h"
#include "data/NorvexBD.h"
#include "questionnaire/IIRepCuestionarioKOVA.h"
#include "report/IIManejadorReportes.h"

// Builds the report handler over the questionnaire report for a document name.
// The caller binds it to its report object, so the run never depends on how
// the report is drawn.
using TCreaManejadorReportes =
    std::function<std::shared_ptr<IManejadorReportes>(const std::string& sNomRep)>;

// The questionnaire run of any edition: asks the edition for each question's
// text, turns it into the answer, fills the report and shows it. Also finds
// the PEP candidates among Norvex's alerts.
class TRepCuestionarioKOVA : public TNorvexBD, public IRepCuestionarioKOVA {
public:
    TRepCuestionarioKOVA(ado::TADOConnection* Conector, const TCreaManejadorReportes& elReporte,
                         const std::string& sNomRep, std::shared_ptr<IMensajero> Mensajero,
                         int nTotalPreg, int nNumEmp, const std::string& sFIni,
                         const std::string& sFFin);

    bool DetectaPEPs(TTablaPEPs& vtPEPS) override;
    bool GeneraReporte(TTablaPEPs& vtPEPS) override;
    bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                      bool bSoloAdmins) override {
        return TNorvexBD::ValidaAcceso(sUsuario, sPassw, bSoloAdmins);
    }
    bool UsuariosConectados() override { return TNorvexBD::UsuariosConectados(); }
    std::vector<std::string> TablasFaltantes() override { return TNorvexBD::TablasFaltantes(); }
    bool EmpresaRegistrada(int nNumEmp) override { return TNorvexBD::EmpresaRegistrada(nNumEmp); }

protected:
    // The edition's text for one question: an Access SQL statement whose first
    // row's "Resultado" is the answer, sTxCCResponde, or sTxError.
    virtual void DameConsulta(int nPregunta, std::string& sConsulta) = 0;

    std::shared_ptr<IMensajero> F_Mensajero;
    std::shared_ptr<IManejadorReportes> F_mjReportes;
    int F_nTotalPreguntas;
    std::string F_sFIni;
    std::string F_sFFin;
    std::string F_sNumEmp;
    TTablaPEPs* F_vtPEPS = nullptr;  // not owned; attached by GeneraReporte

private:
    // Attaches to each candidate the alerts that listed it.
    void AgregaAlertasPEP(TTablaPEPs& vtPEPS);
    bool ObtenRespuesta(const std::string& sConsulta, std::string& sRespuesta);
    bool F_bResultadoNulo = false;  // why the last ObtenRespuesta failed
};
