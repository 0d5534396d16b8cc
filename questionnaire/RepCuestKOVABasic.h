#pragma once

#include <memory>
#include <string>
#include <vector>

#include "questionnaire/CalculoNorvex.h"
#include "questionnaire/Edicion.h"
#include "questionnaire/RepCuestionarioKOVA.h"

// The edition's constants (its name, number of questions and period) and the
// Access SQL building blocks of the Norvex vocabulary. Every builder is plain
// text composition; only DameExprPEP reads something (the PEP ticks of the
// attached table). The period's bounds are the first day from midnight (>=)
// and the day after the last one (<): the dates Norvex stores carry the time
// of day, and an operation at any hour of the last day is the period's.
class TRepCuestKOVABasic : public TRepCuestionarioKOVA {
public:
    // edicion none: the default edition (EdicionPredeterminada).
    TRepCuestKOVABasic(ado::TADOConnection* Conector, const TCreaManejadorReportes& elReporte,
                       std::shared_ptr<IMensajero> Mensajero, double dTCambio, int nNumEmp,
                       std::shared_ptr<const TEdicion> edicion = nullptr);

    const TEdicion& DameEdicion() const { return *F_Edicion; }

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

    // The keys of the rows the user ticked, in the table's order.
    std::vector<std::string> DameClavesPEP() const;

    double F_dTipoCambio;
    std::shared_ptr<const TEdicion> F_Edicion;
};
