#include "questionnaire/RepCuestKOVABasic.h"

#include <charconv>

#include "questionnaire/CatalogoEdiciones.h"
#include "report/TablaPEPs.h"

namespace {

std::shared_ptr<const TEdicion> Elige(const std::shared_ptr<const TEdicion>& edicion) {
    return edicion ? edicion : EdicionPredeterminada();
}

}  // namespace

TRepCuestKOVABasic::TRepCuestKOVABasic(ado::TADOConnection* Conector,
                                       const TCreaManejadorReportes& elReporte,
                                       std::shared_ptr<IMensajero> Mensajero, double dTCambio,
                                       int nNumEmp, std::shared_ptr<const TEdicion> edicion)
    : TRepCuestionarioKOVA(Conector, elReporte, Elige(edicion)->sNombre, std::move(Mensajero),
                           Elige(edicion)->DameTotalPreguntas(), nNumEmp,
                           Elige(edicion)->DameFIniSQL(), Elige(edicion)->DameFFinSQL()),
      F_dTipoCambio(dTCambio),
      F_Edicion(Elige(edicion)) {}

std::vector<std::string> TRepCuestKOVABasic::DameClavesPEP() const {
    std::vector<std::string> claves;
    if (F_vtPEPS)
        for (const TFilaPEP& fila : F_vtPEPS->Filas())
            if (fila.bEsPEP)
                claves.push_back(fila.sClaveCliente);
    return claves;
}

std::string TRepCuestKOVABasic::DameTextoTipoCambio() const {
    // to_chars ignores every locale; "general" with 15 digits drops the
    // trailing zeros as the platform's general format does.
    char sTexto[64];
    const auto fin = std::to_chars(sTexto, sTexto + sizeof sTexto, F_dTipoCambio,
                                   std::chars_format::general, 15);
    return std::string(sTexto, fin.ptr);
}

std::string TRepCuestKOVABasic::DameBoolSQL(bool b) const {
    return b ? "-1" : "0";
}

std::string TRepCuestKOVABasic::DameTipoOp(bool bVenta) const {
    return bVenta ? "V" : "C";
}

// Lines of one operation (same kind, folio, date, currency, quote and client)
// may lie in either table or both; they merge into one row with the summed
// amount.
std::string TRepCuestKOVABasic::DameConsOperaciones(bool bCancelado) const {
    return std::string(
               "SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  "
               "SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS "
               "XCant, ClaveCliente AS CvCAux FROM tMovtos WHERE NumEmp = ") +
           F_sNumEmp + " and " + "Cancelado = " + DameBoolSQL(bCancelado) + " " + "UNION ALL " +
           "SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad " +
           "AS XCant, ClaveCliente AS CvCAux " + "FROM tProces " + "WHERE NumEmp = " + F_sNumEmp +
           " and " + "Cancelado = " + DameBoolSQL(bCancelado) + " " + ") " +
           "WHERE (Tipo = 'C' or Tipo = 'V') " + "GROUP BY Tipo, Folio, Fecha, NDiv, Cot, CvCAux ";
}

std::string TRepCuestKOVABasic::DameConsDivisas(const std::string& sSimbolo, bool bIgual,
                                                bool bPagare) const {
    std::string sConsulta = "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE ";
    if (sSimbolo == "TODAS")
        sConsulta += std::string("Simbolo <> 'M.N.' AND ") + "Simbolo NOT LIKE '%MX%'  AND " +
                     "Simbolo <> '' AND ";
    else if (bIgual)
        sConsulta += "Simbolo = '" + sSimbolo + "' AND ";
    else
        sConsulta += "Simbolo <> '" + sSimbolo + "' AND " + "Simbolo <> '' AND " +
                     "Simbolo <> 'M.N.' AND " + "Simbolo NOT LIKE '%MX%'  AND ";
    return sConsulta + "Pagare  = " + DameBoolSQL(bPagare);
}

std::string TRepCuestKOVABasic::DameConsOpsDolares(bool bVenta, const std::string& sFIni,
                                                   const std::string& sFFin) const {
    // Already in dollars: the amount needs no conversion.
    return "SELECT tOps.*, AuxCant AS Cantidad, tXDivisas.Simbolo FROM (" +
           DameConsOperaciones(false) + " ) AS tOps, " + "(" + DameConsDivisas("USD", true, false) +
           " ) AS tXDivisas " + "WHERE tOps.NDiv = tXDivisas.NDivx and " + "tOps.Fecha >= #" +
           sFIni + "# and " + "tOps.Fecha < #" + DiaSiguienteSQL(sFFin) + "# and " +
           "tOps.Tipo = '" + DameTipoOp(bVenta) + "'";
}

std::string TRepCuestKOVABasic::DameConsOpsOtrasDivisas(bool bVenta, const std::string& sFIni,
                                                        const std::string& sFFin,
                                                        const std::string& sTipoCambio) const {
    // Currency units times the quote in pesos, over the year's pesos per dollar.
    return "SELECT tOps.*, (AuxCant*Cot)/" + sTipoCambio + " AS Cantidad, " +
           " tXDivisas.Simbolo " + "FROM (" + DameConsOperaciones(false) + ") AS tOps, " + "(" +
           DameConsDivisas("USD", false, false) + ") AS tXDivisas " +
           "WHERE tOps.NDiv = tXDivisas.NDivx and " + "tOps.Fecha >= #" + sFIni + "# AND " +
           "tOps.Fecha < #" + DiaSiguienteSQL(sFFin) + "# AND " + "tOps.Tipo = '" +
           DameTipoOp(bVenta) + "'";
}

std::string TRepCuestKOVABasic::DameConsOpsDocumentos(bool bVenta, const std::string& sFIni,
                                                      const std::string& sFFin,
                                                      const std::string& sTipoCambio) const {
    // Dollar documents keep their amount; the others convert as cash does.
    return "SELECT tOps.*, IIF( Simbolo = 'USD', AuxCant,  (AuxCant*Cot)/" + sTipoCambio +
           ") AS Cantidad, Simbolo, Divisa " + "FROM (" + DameConsOperaciones(false) +
           ") AS tOps, " + "(" + DameConsDivisas("TODAS", true, true) + ") AS tXDiv " +
           "WHERE tOps.NDiv = tXDiv.NDivx AND " + "tOps.Fecha >= #" + sFIni + "# AND " +
           "tOps.Fecha < #" + DiaSiguienteSQL(sFFin) + "# AND " + "tOps.Tipo = '" +
           DameTipoOp(bVenta) + "' ";
}

std::string TRepCuestKOVABasic::DameConsOpsPeriodo(const std::string& sFIni,
                                                   const std::string& sFFin) const {
    return "SELECT tOps.* FROM (" + DameConsOperaciones(false) + ") AS tOps " + "WHERE " +
           "tOps.Fecha >= #" + sFIni + "# AND " + "tOps.Fecha < #" + DiaSiguienteSQL(sFFin) + "#";
}

std::string TRepCuestKOVABasic::DameExprPEP() const {
    std::string sExpr = ", IIF( ( ";
    int nCuenta = 0;
    if (F_vtPEPS) {
        for (const TFilaPEP& fila : F_vtPEPS->Filas()) {
            if (!fila.bEsPEP)
                continue;
            if (nCuenta >= 1)
                sExpr += "or ";
            ++nCuenta;
            sExpr += "ClaveCliente = '" + DameLiteralSQL(fila.sClaveCliente) + "' ";
        }
    }
    if (nCuenta == 0)
        return ", 0 AS EsPEP ";
    return sExpr + "), -1, 0 ) AS EsPEP ";
}

std::string TRepCuestKOVABasic::DameConsClientes() const {
    const std::string sInterna =
        "SELECT  ClaveCliente AS AuxCvC, IIF(PersonaMoral <> 0, Nombre, Nombre + "
        "IIF(ISNULL(ApellidoPaterno), '', ' '+ ApellidoPaterno) + IIF(ISNULL(ApellidoMaterno), "
        "'', ' ' + ApellidoMaterno)) AS Cliente, IIF(PersonaMoral <> 0, 0, -1) AS EsPF, "
        "PersonaMoral AS EsPM, IIF(Nombre LIKE '%PUBLICO%', -1, 0) AS EsPubGen, Extranjero AS "
        "EsExtrj, ClaveSector " +
        DameExprPEP() + "FROM tCliente " + "WHERE NumEmp = " + F_sNumEmp;
    return "SELECT  tXClientes.*, tSector.Sector AS Actividad, IIF((ClaveActividad = '9503005' "
           "or ClaveActividad = '6999992' ), -1, 0) AS EsCC, IIF( (ClaveActividad = '8123094' or "
           "ClaveActividad = '9911018'), -1, 0) AS EsEF, IIF(ClaveActividad = '8219025', -1, 0) "
           "AS EsCB, IIF(ClaveActividad = '8100000', -1, 0) AS EsB FROM (" +
           sInterna + ") AS tXClientes, tSector " +
           "WHERE tXClientes.ClaveSector = tSector.ClaveSector";
}

std::string TRepCuestKOVABasic::DameConsOpsClientes(const std::string& sConsulta) const {
    return "SELECT * FROM (" + sConsulta + ") AS tXOps, " + "(" + DameConsClientes() +
           ") AS tXCte " + "WHERE tXOps.CvCAux = tXCte.AuxCvC ";
}

// A registered client is one user however many operations it made; each
// operation of the general public is a user of its own.
std::string TRepCuestKOVABasic::DameConsUsuarios(const std::string& sConsulta) const {
    return "SELECT 0 AS Aux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM (" +
           sConsulta + ") AS tXCSinPG " + "WHERE EsPubGen = 0 " +
           "GROUP BY tXCSinPG.CvCAux, EsPF, EsPM, EsPubGen, " +
           "EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP " + "UNION ALL " +
           "SELECT tXCPG.CvCAux AS Aux, EsPF, EsPM," + " EsPubGen, " +
           "EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP " + "FROM (" + sConsulta + ") AS tXCPG " +
           "WHERE EsPubGen <> 0 ";
}

std::string TRepCuestKOVABasic::DameConsCategoria(const std::string& sConsulta,
                                                  TCategoria nCategoria,
                                                  TNacionalidad nNacionalidad, bool bSinPEP) const {
    if (nCategoria == caSinFiltro)
        return sConsulta;
    std::string sFiltrada = "SELECT * FROM (" + sConsulta + ") ";
    switch (nCategoria) {
        case caSinFiltro:
            break;
        case caPersonaFisica:
            sFiltrada += "WHERE EsPF <> 0 AND EsPubGen = 0 ";
            break;
        case caPersonaMoral:
            sFiltrada += std::string("WHERE EsPM <> 0 AND EsCC = 0 AND EsEF = 0 ") +
                         "AND EsCB = 0 AND EsB = 0 ";
            break;
        case caCentroCambiario:
            sFiltrada += "WHERE EsCC <> 0 ";
            break;
        case caEntidadFinanciera:
            sFiltrada += "WHERE (EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) ";
            break;
        case caCasaCambio:
            sFiltrada += "WHERE EsCB <> 0 ";
            break;
        case caInstCredito:
            sFiltrada += "WHERE EsB <> 0 ";
            break;
        case caPEP:
            sFiltrada += "WHERE EsPEP <> 0 ";
            break;
        case caCCyEF:
            sFiltrada += "WHERE (EsCC <> 0 OR EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) ";
            break;
    }
    if (nNacionalidad == naNacional)
        sFiltrada += "AND EsExtrj = 0 ";
    if (nNacionalidad == naExtranjera)
        sFiltrada += "AND EsExtrj <> 0 ";
    if (bSinPEP)
        sFiltrada += "AND EsPEP = 0 ";
    return sFiltrada;
}

// Amounts are whole dollars: the questionnaire wants no cents.
std::string TRepCuestKOVABasic::DameConsMonto(const std::string& sConsulta, TCategoria nCategoria,
                                              TNacionalidad nNacionalidad, bool bSinPEP) const {
    return "SELECT ROUND(SUM(Cantidad)) AS XResul FROM (" +
           DameConsCategoria(sConsulta, nCategoria, nNacionalidad, bSinPEP) + ") ";
}

std::string TRepCuestKOVABasic::DameConsPromedio(const std::string& sConsulta) const {
    return "SELECT ROUND( SUM(Cantidad)/IIF( COUNT(1) = 0, 1, COUNT(1)) ) AS XResul FROM (" +
           sConsulta + ") ";
}

// Grouped by display name, not by key; only the credit-institution ranking
// narrows to national banks.
std::string TRepCuestKOVABasic::DameConsClienteFrec(const std::string& sConsulta,
                                                    TCategoria nCategoria) const {
    return "SELECT TOP 1 Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS "
           "XResul FROM (" +
           sConsulta + ") " +
           (nCategoria == caInstCredito ? "WHERE EsB <> 0 and EsExtrj = 0 " : "") +
           "GROUP BY Cliente " + "ORDER BY COUNT(Cliente) DESC";
}

std::string TRepCuestKOVABasic::DameConsDivisaFrec(const std::string& sConsulta) const {
    return "SELECT TOP 1 UCASE(Divisa) + ' (** Total Ops.: ' + STR( COUNT(Divisa)) +  ' **) ' AS "
           "XResul FROM (" +
           sConsulta + ") " + "GROUP BY Divisa " + "ORDER BY COUNT(Divisa) DESC";
}

std::string TRepCuestKOVABasic::DameConsActividadFrec(const std::string& sConsulta) const {
    return "SELECT TOP 1 UCASE(Actividad) + ' (** Total Ops.: ' + STR( COUNT(Actividad)) +  ' "
           "**) ' AS XResul FROM (" +
           DameConsOpsClientes(sConsulta) + ") " + "WHERE Actividad <> 'NO APLICA' " +
           "GROUP BY Actividad " + "ORDER BY COUNT(Actividad) DESC";
}

// The sentinel rows (one per row of tEmpresa) follow the real ones, so a query
// with no row, or a null, still answers with the default.
std::string TRepCuestKOVABasic::DameConsResultado(const std::string& sConsulta,
                                                  const std::string& sDefault) const {
    return "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '" + sDefault +
           "', XResul) AS Resultado FROM " + "(" + sConsulta + " UNION ALL " +
           "SELECT 'ZZZSINRESULT' AS XResul " + "FROM tEmpresa) ";
}

std::string TRepCuestKOVABasic::DameConsConteo(const std::string& sConsulta) const {
    return DameConsResultado("SELECT COUNT(1) AS XResul FROM (" + sConsulta + " )", "0");
}

void TRepCuestKOVABasic::AplicaSiNo(std::string& sConsulta) const {
    sConsulta = "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM " + std::string("(") +
                sConsulta + ")";
}

std::string TRepCuestKOVABasic::DameConsExiste(const std::string& sConsulta) const {
    std::string sConteo = "SELECT COUNT(1) AS XResul FROM (" + sConsulta + " )";
    AplicaSiNo(sConteo);
    return sConteo;
}
