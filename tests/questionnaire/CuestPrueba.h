#pragma once

#include <memory>
#include <string>

#include "Grabadores.h"
#include "questionnaire/RepCuestANDU2017.h"
#include "report/TablaPEPs.h"

// The 2018 edition with its building blocks opened up for the tests.
class TCuestPrueba : public TRepCuestANDU2017 {
public:
    explicit TCuestPrueba(
        double dTCambio = 18.91, int nNumEmp = 1, ado::TADOConnection* Conector = nullptr,
        std::shared_ptr<TMensajeroGrabador> m = std::make_shared<TMensajeroGrabador>(),
        std::shared_ptr<TReportesGrabador> r = std::make_shared<TReportesGrabador>())
        : TRepCuestANDU2017(
              Conector,
              [r](const std::string& sNomRep) {
                  r->sNomRep = sNomRep;
                  return r;
              },
              m, dTCambio, nNumEmp),
          mensajero(m),
          reportes(r) {}

    std::shared_ptr<TMensajeroGrabador> mensajero;
    std::shared_ptr<TReportesGrabador> reportes;

    std::string Consulta(int nPregunta) {
        std::string s;
        DameConsulta(nPregunta, s);
        return s;
    }
    void AdjuntaPEPs(TTablaPEPs& vtPEPs) { F_vtPEPS = &vtPEPs; }
    std::string UltimaSQL() const { return F_qConsultaGen->SQLText(); }

    using TRepCuestKOVABasic::AplicaSiNo;
    using TRepCuestKOVABasic::DameConsActividadFrec;
    using TRepCuestKOVABasic::DameConsCategoria;
    using TRepCuestKOVABasic::DameConsClienteFrec;
    using TRepCuestKOVABasic::DameConsClientes;
    using TRepCuestKOVABasic::DameConsConteo;
    using TRepCuestKOVABasic::DameConsDivisaFrec;
    using TRepCuestKOVABasic::DameConsDivisas;
    using TRepCuestKOVABasic::DameConsExiste;
    using TRepCuestKOVABasic::DameConsMonto;
    using TRepCuestKOVABasic::DameConsOperaciones;
    using TRepCuestKOVABasic::DameConsOpsClientes;
    using TRepCuestKOVABasic::DameConsOpsDocumentos;
    using TRepCuestKOVABasic::DameConsOpsDolares;
    using TRepCuestKOVABasic::DameConsOpsOtrasDivisas;
    using TRepCuestKOVABasic::DameConsOpsPeriodo;
    using TRepCuestKOVABasic::DameConsPromedio;
    using TRepCuestKOVABasic::DameConsResultado;
    using TRepCuestKOVABasic::DameConsUsuarios;
    using TRepCuestKOVABasic::DameExprPEP;
    using TRepCuestKOVABasic::DameTextoTipoCambio;
};
