#pragma once

// A small Norvex-shaped file and the questionnaire's statement builders,
// fragment by fragment, for engine tests and benchmarks.
#include <memory>
#include <string>
#include <vector>

#include "ArchivoFalso.h"

namespace norvex_falso {

using jet::TTipoColumna;

inline const jet::TValor N = std::monostate{};
inline jet::TValor T(const char* s) {
    return std::string(s);
}
inline jet::TValor L(int64_t n) {
    return n;
}

inline std::shared_ptr<TArchivoFalso> Norvex() {
    auto a = std::make_shared<TArchivoFalso>();
    a->Tabla("tEmpresa",
             {{"Empresa", TTipoColumna::tcTexto, 100}, {"NumEmp", TTipoColumna::tcEnteroLargo, 4}},
             {{T("CASA DEMO"), L(1)}});
    a->Tabla("tCompUsr", {{"Usuario", TTipoColumna::tcTexto, 20}}, {});
    a->Tabla("tEmps",
             {{"ClaveEmp", TTipoColumna::tcTexto, 10},
              {"Password", TTipoColumna::tcTexto, 10},
              {"Nivel", TTipoColumna::tcEntero, 2}},
             {{T("ADMIN"), T("secreto"), L(0)}, {T("CAJA"), T("c"), L(2)}});
    a->Tabla("tDivisas",
             {{"NumeroDivisa", TTipoColumna::tcEnteroLargo, 4},
              {"Simbolo", TTipoColumna::tcTexto, 5},
              {"Divisa", TTipoColumna::tcTexto, 30},
              {"Pagare", TTipoColumna::tcBooleano, 1}},
             {{L(1), T("USD"), T("DOLAR AMERICANO"), false},
              {L(2), T("EUR"), T("EURO"), false},
              {L(3), T("M.N."), T("PESO"), false},
              {L(4), T("MXP"), T("PESO MX"), false},
              {L(5), T(""), T("SIN SIMBOLO"), false},
              {L(6), T("USD"), T("CHEQUE DOLARES"), true},
              {L(7), T("EUR"), T("CHEQUE EUROS"), true}});
    a->Tabla("tSector",
             {{"ClaveSector", TTipoColumna::tcTexto, 5},
              {"Sector", TTipoColumna::tcTexto, 50},
              {"ClaveActividad", TTipoColumna::tcTexto, 7}},
             {{T("S1"), T("Comercio"), T("1111111")},
              {T("S2"), T("NO APLICA"), T("0000000")},
              {T("S4"), T("BANCA"), T("8100000")}});
    a->Tabla("tCliente",
             {{"ClaveCliente", TTipoColumna::tcTexto, 20},
              {"Nombre", TTipoColumna::tcTexto, 100},
              {"ApellidoPaterno", TTipoColumna::tcTexto, 50},
              {"ApellidoMaterno", TTipoColumna::tcTexto, 50},
              {"PersonaMoral", TTipoColumna::tcBooleano, 1},
              {"Extranjero", TTipoColumna::tcBooleano, 1},
              {"ClaveSector", TTipoColumna::tcTexto, 5},
              {"NumEmp", TTipoColumna::tcEnteroLargo, 4}},
             {{T("A1"), T("Juan"), T("Pérez"), N, false, false, T("S1"), L(1)},
              {T("A2"), T("JUAN"), T("PÉREZ"), N, false, true, T("S1"), L(1)},
              {T("B1"), T("Banco Uno"), N, N, true, false, T("S4"), L(1)},
              {T("P1"), T("PUBLICO EN GENERAL"), N, N, false, false, T("S2"), L(1)},
              {T("X1"), T("Sin Sector"), N, N, false, false, T("S9"), L(1)},
              {T("O1"), T("Otra Empresa"), N, N, false, false, T("S1"), L(2)}});
    const std::vector<jet::TColumna> ops = {{"Tipo", TTipoColumna::tcTexto, 1},
                                            {"Folio", TTipoColumna::tcEnteroLargo, 4},
                                            {"Fecha", TTipoColumna::tcFechaHora, 8},
                                            {"NumeroDivisa", TTipoColumna::tcEnteroLargo, 4},
                                            {"Cotizacion", TTipoColumna::tcDoble, 8},
                                            {"Cantidad", TTipoColumna::tcDoble, 8},
                                            {"ClaveCliente", TTipoColumna::tcTexto, 20},
                                            {"NumEmp", TTipoColumna::tcEnteroLargo, 4},
                                            {"Cancelado", TTipoColumna::tcBooleano, 1}};
    a->Tabla("tMovtos", ops,
             {{T("C"), L(1), Fecha(2017, 1, 1), L(1), 18.5, 100.0, T("A1"), L(1), false},
              {T("C"), L(1), Fecha(2017, 1, 1), L(1), 18.5, 50.0, T("A1"), L(1), false},
              {T("C"), L(2), Fecha(2017, 12, 31), L(1), 18.7, 200.0, T("A2"), L(1), false},
              {T("C"), L(3), Fecha(2017, 12, 31, 10, 0), L(1), 18.7, 999.0, T("A1"), L(1), false},
              {T("V"), L(4), Fecha(2017, 6, 15), L(2), 20.0, 100.0, T("B1"), L(1), false},
              {T("C"), L(5), Fecha(2017, 6, 15), L(1), 18.0, 70.0, T("P1"), L(1), false},
              {T("V"), L(6), Fecha(2017, 6, 16), L(1), 18.0, 30.0, T("P1"), L(1), false},
              {T("C"), L(7), Fecha(2017, 6, 16), L(1), 18.0, 500.0, T("A1"), L(1), true},
              {T("X"), L(8), Fecha(2017, 6, 16), L(1), 18.0, 500.0, T("A1"), L(1), false},
              {T("C"), L(9), Fecha(2017, 6, 16), L(1), 18.0, 500.0, T("O1"), L(2), false},
              {T("C"), L(10), Fecha(2017, 6, 16), L(5), 18.0, 500.0, T("A1"), L(1), false},
              {T("C"), L(11), Fecha(2017, 6, 16), L(99), 18.0, 500.0, T("A1"), L(1), false}});
    a->Tabla("tProces", ops,
             {{T("C"), L(1), Fecha(2017, 1, 1), L(1), 18.5, 25.0, T("A1"), L(1), false},
              {T("V"), L(12), Fecha(2017, 3, 3), L(6), 18.9, 1000.0, T("A2"), L(1), false},
              {T("V"), L(13), Fecha(2017, 3, 4), L(7), 21.0, 100.0, T("X1"), L(1), false},
              {T("V"), L(14), Fecha(2017, 3, 5), L(6), 18.9, 10.0, T("A2"), L(1), false}});
    a->Tabla("tRelevan",
             {{"TipoRelev", TTipoColumna::tcTexto, 1},
              {"Fecha", TTipoColumna::tcFechaHora, 8},
              {"Observaciones", TTipoColumna::tcMemo, 0},
              {"NumEmp", TTipoColumna::tcEnteroLargo, 4},
              {"ClaveCliente", TTipoColumna::tcTexto, 20}},
             {{T("I"), Fecha(2017, 1, 1), T("Posible PEP"), L(1), T("A1")},
              {T("I"), Fecha(2017, 12, 31), T("otro pep"), L(1), T("A1")},
              {T("I"), Fecha(2017, 12, 31, 10, 0), T("PEP"), L(1), T("B1")},
              {T("R"), Fecha(2017, 5, 5), T("PEP"), L(1), T("A2")},
              {T("I"), Fecha(2017, 5, 5), T("nada"), L(1), T("A2")},
              {T("I"), Fecha(2017, 5, 5), T("PEP"), L(2), T("O1")}});
    return a;
}

// The builders' text, fragment by fragment, for company 1 and 2017.
struct Constructor {
    std::string sNumEmp = "1", sFIni = "01/01/2017", sFFin = "12/31/2017", sTipoCambio = "18.91";
    std::vector<std::string> peps;  // ticked keys

    static std::string Bool(bool b) { return b ? "-1" : "0"; }
    static std::string TipoOp(bool bVenta) { return bVenta ? "V" : "C"; }
    std::string Operaciones() const {
        return "SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT "
               "Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, "
               "ClaveCliente AS CvCAux FROM tMovtos WHERE NumEmp = " +
               sNumEmp + " and Cancelado = " + Bool(false) +
               " UNION ALL SELECT Tipo, Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, "
               "Cantidad AS XCant, ClaveCliente AS CvCAux FROM tProces WHERE NumEmp = " +
               sNumEmp + " and Cancelado = " + Bool(false) +
               " ) WHERE (Tipo = 'C' or Tipo = 'V') GROUP BY Tipo, Folio, Fecha, NDiv, Cot, "
               "CvCAux ";
    }
    static std::string Divisas(const std::string& sSimbolo, bool bIgual, bool bPagare) {
        std::string s = "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE ";
        if (sSimbolo == "TODAS")
            s += "Simbolo <> 'M.N.' AND Simbolo NOT LIKE '%MX%'  AND Simbolo <> '' AND ";
        else if (bIgual)
            s += "Simbolo = '" + sSimbolo + "' AND ";
        else
            s += "Simbolo <> '" + sSimbolo +
                 "' AND Simbolo <> '' AND Simbolo <> 'M.N.' AND Simbolo NOT LIKE '%MX%'  AND ";
        return s + "Pagare  = " + Bool(bPagare);
    }
    std::string OpsDolares(bool bVenta) const {
        return "SELECT tOps.*, AuxCant AS Cantidad, tXDivisas.Simbolo FROM (" + Operaciones() +
               " ) AS tOps, (" + Divisas("USD", true, false) +
               " ) AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= #" + sFIni +
               "# and tOps.Fecha <= #" + sFFin + "# and tOps.Tipo = '" + TipoOp(bVenta) + "'";
    }
    std::string OpsOtrasDivisas(bool bVenta) const {
        return "SELECT tOps.*, (AuxCant*Cot)/" + sTipoCambio +
               " AS Cantidad,  tXDivisas.Simbolo FROM (" + Operaciones() + ") AS tOps, (" +
               Divisas("USD", false, false) +
               ") AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= #" + sFIni +
               "# AND tOps.Fecha <= #" + sFFin + "# AND tOps.Tipo = '" + TipoOp(bVenta) + "'";
    }
    std::string OpsDocumentos(bool bVenta) const {
        return "SELECT tOps.*, IIF( Simbolo = 'USD', AuxCant,  (AuxCant*Cot)/" + sTipoCambio +
               ") AS Cantidad, Simbolo, Divisa FROM (" + Operaciones() + ") AS tOps, (" +
               Divisas("TODAS", true, true) +
               ") AS tXDiv WHERE tOps.NDiv = tXDiv.NDivx AND tOps.Fecha >= #" + sFIni +
               "# AND tOps.Fecha <= #" + sFFin + "# AND tOps.Tipo = '" + TipoOp(bVenta) + "' ";
    }
    std::string OpsPeriodo() const {
        return "SELECT tOps.* FROM (" + Operaciones() + ") AS tOps WHERE tOps.Fecha >= #" + sFIni +
               "# AND tOps.Fecha <= #" + sFFin + "#";
    }
    std::string ExprPEP() const {
        if (peps.empty())
            return ", 0 AS EsPEP ";
        std::string s = ", IIF( ( ";
        for (size_t i = 0; i < peps.size(); ++i)
            s += (i ? "or " : "") + std::string("ClaveCliente = '") + peps[i] + "' ";
        return s + "), -1, 0 ) AS EsPEP ";
    }
    std::string Clientes() const {
        const std::string interna =
            "SELECT  ClaveCliente AS AuxCvC, IIF(PersonaMoral <> 0, Nombre, Nombre + "
            "IIF(ISNULL(ApellidoPaterno), '', ' '+ ApellidoPaterno) + IIF(ISNULL(ApellidoMaterno), "
            "'', ' ' + ApellidoMaterno)) AS Cliente, IIF(PersonaMoral <> 0, 0, -1) AS EsPF, "
            "PersonaMoral AS EsPM, IIF(Nombre LIKE '%PUBLICO%', -1, 0) AS EsPubGen, Extranjero AS "
            "EsExtrj, ClaveSector " +
            ExprPEP() + "FROM tCliente WHERE NumEmp = " + sNumEmp;
        return "SELECT  tXClientes.*, tSector.Sector AS Actividad, IIF((ClaveActividad = '9503005' "
               "or ClaveActividad = '6999992' ), -1, 0) AS EsCC, IIF( (ClaveActividad = '8123094' "
               "or "
               "ClaveActividad = '9911018'), -1, 0) AS EsEF, IIF(ClaveActividad = '8219025', -1, "
               "0) "
               "AS EsCB, IIF(ClaveActividad = '8100000', -1, 0) AS EsB FROM (" +
               interna +
               ") AS tXClientes, tSector WHERE tXClientes.ClaveSector = tSector.ClaveSector";
    }
    std::string OpsClientes(const std::string& s) const {
        return "SELECT * FROM (" + s + ") AS tXOps, (" + Clientes() +
               ") AS tXCte WHERE tXOps.CvCAux = tXCte.AuxCvC ";
    }
    static std::string Usuarios(const std::string& s) {
        return "SELECT 0 AS Aux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM "
               "(" +
               s +
               ") AS tXCSinPG WHERE EsPubGen = 0 GROUP BY tXCSinPG.CvCAux, EsPF, EsPM, EsPubGen, "
               "EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP UNION ALL SELECT tXCPG.CvCAux AS Aux, EsPF, "
               "EsPM, "
               "EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM (" +
               s + ") AS tXCPG WHERE EsPubGen <> 0 ";
    }
    static std::string Categoria(const std::string& s, int nCat, int nNac, bool bSinPEP) {
        if (nCat == 0)
            return s;
        static const char* conds[] = {
            "",
            "WHERE EsPF <> 0 AND EsPubGen = 0 ",
            "WHERE EsPM <> 0 AND EsCC = 0 AND EsEF = 0 AND EsCB = 0 AND EsB = 0 ",
            "WHERE EsCC <> 0 ",
            "WHERE (EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) ",
            "WHERE EsCB <> 0 ",
            "WHERE EsB <> 0 ",
            "WHERE EsPEP <> 0 ",
            "WHERE (EsCC <> 0 OR EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) "};
        std::string r = "SELECT * FROM (" + s + ") " + conds[nCat];
        if (nNac == 1)
            r += "AND EsExtrj = 0 ";
        if (nNac == 2)
            r += "AND EsExtrj <> 0 ";
        if (bSinPEP)
            r += "AND EsPEP = 0 ";
        return r;
    }
    static std::string Monto(const std::string& s, int nCat = 0, int nNac = 0,
                             bool bSinPEP = false) {
        return "SELECT ROUND(SUM(Cantidad)) AS XResul FROM (" + Categoria(s, nCat, nNac, bSinPEP) +
               ") ";
    }
    static std::string Promedio(const std::string& s) {
        return "SELECT ROUND( SUM(Cantidad)/IIF( COUNT(1) = 0, 1, COUNT(1)) ) AS XResul FROM (" +
               s + ") ";
    }
    static std::string ClienteFrec(const std::string& s, int nCat) {
        return "SELECT TOP 1 Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS "
               "XResul FROM (" +
               s + ") " + (nCat == 6 ? "WHERE EsB <> 0 and EsExtrj = 0 " : "") +
               "GROUP BY Cliente ORDER BY COUNT(Cliente) DESC";
    }
    static std::string DivisaFrec(const std::string& s) {
        return "SELECT TOP 1 UCASE(Divisa) + ' (** Total Ops.: ' + STR( COUNT(Divisa)) +  ' **) ' "
               "AS XResul FROM (" +
               s + ") GROUP BY Divisa ORDER BY COUNT(Divisa) DESC";
    }
    std::string ActividadFrec(const std::string& s) const {
        return "SELECT TOP 1 UCASE(Actividad) + ' (** Total Ops.: ' + STR( COUNT(Actividad)) +  ' "
               "**) ' AS "
               "XResul FROM (" +
               OpsClientes(s) +
               ") WHERE Actividad <> 'NO APLICA' GROUP BY Actividad ORDER BY COUNT(Actividad) DESC";
    }
    static std::string Resultado(const std::string& s, const std::string& sDefault) {
        return "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '" + sDefault +
               "', XResul) AS Resultado FROM (" + s +
               " UNION ALL SELECT 'ZZZSINRESULT' AS XResul FROM tEmpresa) ";
    }
    static std::string Conteo(const std::string& s) {
        return Resultado("SELECT COUNT(1) AS XResul FROM (" + s + " )", "0");
    }
    static std::string Existe(const std::string& s) {
        return "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (SELECT COUNT(1) AS XResul "
               "FROM (" +
               s + " ))";
    }
};

}  // namespace norvex_falso
