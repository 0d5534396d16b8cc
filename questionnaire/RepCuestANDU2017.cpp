#include "questionnaire/RepCuestANDU2017.h"

#include "platform/ado/TADOConnection.h"
#include "platform/jet/ErroresJet.h"
#include "questionnaire/ConsultaPropia.h"

std::string TRepCuestANDU2017::DameOpsDolares(bool bVenta, const std::string& sFIni,
                                              const std::string& sFFin) const {
    return DameConsOpsDolares(bVenta, sFIni, sFFin);
}

std::string TRepCuestANDU2017::DameOpsCteDolares(bool bVenta) const {
    return DameConsOpsClientes(DameOpsDolares(bVenta, F_sFIni, F_sFFin));
}

std::string TRepCuestANDU2017::DameUsuariosDolares(bool bVenta) const {
    return DameConsUsuarios(DameOpsCteDolares(bVenta));
}

std::string TRepCuestANDU2017::DameOpsOtrasDivisas(bool bVenta, const std::string& sFIni,
                                                   const std::string& sFFin) const {
    return DameConsOpsOtrasDivisas(bVenta, sFIni, sFFin, DameTextoTipoCambio());
}

std::string TRepCuestANDU2017::DameOpsCteOtrasDivisas(bool bVenta) const {
    return DameConsOpsClientes(DameOpsOtrasDivisas(bVenta, F_sFIni, F_sFFin));
}

std::string TRepCuestANDU2017::DameUsuariosOtrasDivisas(bool bVenta) const {
    return DameConsUsuarios(DameOpsCteOtrasDivisas(bVenta));
}

std::string TRepCuestANDU2017::DameOpsDocumentos(bool bVenta, const std::string& sFIni,
                                                 const std::string& sFFin) const {
    return DameConsOpsDocumentos(bVenta, sFIni, sFFin, DameTextoTipoCambio());
}

std::string TRepCuestANDU2017::DameOpsDocsPeriodo(bool bVenta) const {
    return DameOpsDocumentos(bVenta, F_sFIni, F_sFFin);
}

std::string TRepCuestANDU2017::DameOpsCteDocumentos(bool bVenta) const {
    return DameConsOpsClientes(DameOpsDocsPeriodo(bVenta));
}

std::string TRepCuestANDU2017::DameUsuariosDocumentos(bool bVenta) const {
    return DameConsUsuarios(DameOpsCteDocumentos(bVenta));
}

std::string TRepCuestANDU2017::DameBase(TNegocio nNegocio, bool bVenta) const {
    switch (nNegocio) {
        case neDolares:
            return DameOpsDolares(bVenta, F_sFIni, F_sFFin);
        case neOtrasDivisas:
            return DameOpsOtrasDivisas(bVenta, F_sFIni, F_sFFin);
        case neDocumentos:
            return DameOpsDocumentos(bVenta, F_sFIni, F_sFFin);
        case neTodas:
            break;
    }
    return DameConsOpsPeriodo(F_sFIni, F_sFFin);
}

std::string TRepCuestANDU2017::DameOps(TNegocio nNegocio, bool bVenta) const {
    switch (nNegocio) {
        case neDolares:
            return DameOpsCteDolares(bVenta);
        case neOtrasDivisas:
            return DameOpsCteOtrasDivisas(bVenta);
        case neDocumentos:
            return DameOpsCteDocumentos(bVenta);
        case neTodas:
            break;
    }
    return DameConsOpsClientes(DameBase(neTodas, bVenta));
}

std::string TRepCuestANDU2017::DameUsuarios(TNegocio nNegocio, bool bVenta) const {
    switch (nNegocio) {
        case neDolares:
            return DameUsuariosDolares(bVenta);
        case neOtrasDivisas:
            return DameUsuariosOtrasDivisas(bVenta);
        case neDocumentos:
            return DameUsuariosDocumentos(bVenta);
        case neTodas:
            break;
    }
    return DameConsUsuarios(DameOps(neTodas, bVenta));
}

std::string TRepCuestANDU2017::DameConsCalculo(const TCalculoPregunta& c) const {
    const TNegocio n = c.nNegocio;
    const bool b = c.bVenta;
    switch (c.nCalculo) {
        case cnExiste:
            return DameConsExiste(DameBase(n, b));
        case cnUsuarios:
            return DameConsConteo(
                DameConsCategoria(DameUsuarios(n, b), c.nCategoria, c.nNacionalidad, c.bSinPEP));
        case cnOperaciones:
            return DameConsConteo(
                DameConsCategoria(DameOps(n, b), c.nCategoria, c.nNacionalidad, c.bSinPEP));
        case cnMonto:
            return DameConsResultado(
                DameConsMonto(DameOps(n, b), c.nCategoria, c.nNacionalidad, c.bSinPEP), "0");
        case cnPromedio:
            return DameConsResultado(DameConsPromedio(DameOps(n, b)), "0");
        case cnClienteFrecuente:
            return DameConsResultado(DameConsClienteFrec(DameOps(n, b), c.nCategoria), "NINGUNO");
        case cnDivisaFrecuente:
            return DameConsResultado(DameConsDivisaFrec(DameBase(n, b)), "NINGUNO");
        case cnActividadFrecuente:
            break;
    }
    // The activity query joins the clients itself.
    return DameConsResultado(DameConsActividadFrec(DameBase(n, b)), "NINGUNO");
}

std::string TRepCuestANDU2017::DameConsPropia(const TPreguntaEdicion& p) const {
    const TContextoConsulta contexto{F_sNumEmp, DameTextoTipoCambio(), F_sFIni,
                                     DiaSiguienteSQL(F_sFFin), DameClavesPEP()};
    TFalloConsulta fallo;
    return ExpandeConsulta(p.sConsulta, contexto, fallo).value_or(sTxError);
}

void TRepCuestANDU2017::DameConsulta(int nPregunta, std::string& sConsulta) {
    const TPreguntaEdicion* p = F_Edicion->DamePregunta(nPregunta);
    if (!p) {
        sConsulta = sTxError;
        return;
    }
    switch (p->eForma) {
        case fpCentro:
            sConsulta = sTxCCResponde;
            return;
        case fpConsulta:
            sConsulta = DameConsPropia(*p);
            return;
        case fpCalculo:
            break;
    }
    sConsulta = DameConsCalculo(p->calculo);
}

TEvidenciaPregunta TRepCuestANDU2017::DameEvidenciaPregunta(int nPregunta) {
    const auto nCalculo = DameCalculo(nPregunta);
    if (!nCalculo)
        throw jet::ErrorJet(jet::TErrorJet::EvidenciaNoCalculada, {std::to_string(nPregunta)});
    if (!F_Conector || !F_Conector->Connected())
        throw jet::ErrorJet(jet::TErrorJet::EvidenciaSinConexion);
    std::string sConsulta;
    DameConsulta(nPregunta, sConsulta);
    return DameEvidencia(F_Conector->Motor(), nPregunta, *nCalculo, sConsulta);
}
