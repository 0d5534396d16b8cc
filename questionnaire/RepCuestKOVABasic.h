#pragma once

#include <string>

#include "questionnaire/RepCuestionarioKOVA.h"

// Which users or operations a count or amount keeps. The values are fixed:
// the question set is written in terms of them.
enum TCategoria {
    caSinFiltro = 0,  // everything; no nationality or PEP condition either
    caPersonaFisica = 1,
    caPersonaMoral = 2,
    caCentroCambiario = 3,
    caEntidadFinanciera = 4,
    caCasaCambio = 5,
    caInstCredito = 6,
    caPEP = 7,
    caCCyEF = 8
};

enum TNacionalidad { naTodas = 0, naNacional = 1, naExtranjera = 2 };

// The 2018 edition's constants and the Access SQL building blocks of its
// questions. Every builder is plain text composition; only DameExprPEP reads
// something (the PEP ticks of the attached table).
class TRepCuestKOVABasic : public TRepCuestionarioKOVA {
public:
    TRepCuestKOVABasic(ado::TADOConnection* Conector, const TCreaManejadorReportes& elReporte,
                       std::shared_ptr<IMensajero> Mensajero, double dTCambio, int nNumEmp);

protected:
    // The rate as a decimal literal the engine reads: 15 significant digits, no
    // trailing zeros and always "." (a comma locale must not leak into SQL).
    std::string DameTextoTipoCambio() const;

    std::string DameBoolSQL(bool b) const;
    std::string DameTipoOp(bool bVenta) const;
    std::string DameConsOperaciones(bool bCancelado) const;
    std::string DameConsDivisas(const std::string& sSimbolo, bool bIgual, bool bPagare) const;
    std::string DameConsOpsDolares(bool bVenta, const std::string& sFIni,
                                   const std::string& sFFin) const;
    std::string DameConsOpsOtrasDivisas(bool bVenta, const std::string& sFIni,
                                        const std::string& sFFin,
                                        const std::string& sTipoCambio) const;
    std::string DameConsOpsDocumentos(bool bVenta, const std::string& sFIni,
                                      const std::string& sFFin,
                                      const std::string& sTipoCambio) const;
    std::string DameConsOpsPeriodo(const std::string& sFIni, const std::string& sFFin) const;
    std::string DameExprPEP() const;
    std::string DameConsClientes() const;
    std::string DameConsOpsClientes(const std::string& sConsulta) const;
    std::string DameConsUsuarios(const std::string& sConsulta) const;
    std::string DameConsCategoria(const std::string& sConsulta, TCategoria nCategoria,
                                  TNacionalidad nNacionalidad, bool bSinPEP) const;
    std::string DameConsMonto(const std::string& sConsulta, TCategoria nCategoria,
                              TNacionalidad nNacionalidad, bool bSinPEP) const;
    std::string DameConsPromedio(const std::string& sConsulta) const;
    std::string DameConsClienteFrec(const std::string& sConsulta, TCategoria nCategoria) const;
    std::string DameConsDivisaFrec(const std::string& sConsulta) const;
    std::string DameConsActividadFrec(const std::string& sConsulta) const;
    std::string DameConsResultado(const std::string& sConsulta, const std::string& sDefault) const;
    std::string DameConsConteo(const std::string& sConsulta) const;
    void AplicaSiNo(std::string& sConsulta) const;
    std::string DameConsExiste(const std::string& sConsulta) const;

    double F_dTipoCambio;
};
