// The building blocks and the question set, compared with statements put
// together here from the fixed fragments of each builder.
#include <gtest/gtest.h>

#include <array>
#include <locale>
#include <map>
#include <set>

#include "CuestPrueba.h"

namespace {

const std::string sFIni = "01/01/2017", sFFin = "12/31/2017";

std::string Reemplaza(std::string s, const std::string& sDe, const std::string& sA) {
    for (std::size_t p = s.find(sDe); p != std::string::npos; p = s.find(sDe, p + sA.size()))
        s.replace(p, sDe.size(), sA);
    return s;
}

// Expected texts, for company 1, the 2017 window and the rate 18.91.
namespace esp {

const std::string Ops =
    "SELECT Tipo, Folio, Fecha, NDiv, Cot, SUM(XCant) AS AuxCant, CvCAux FROM (  SELECT Tipo, "
    "Folio, Fecha, NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS "
    "CvCAux FROM tMovtos WHERE NumEmp = 1 and Cancelado = 0 UNION ALL SELECT Tipo, Folio, Fecha, "
    "NumeroDivisa AS NDiv, Cotizacion AS Cot, Cantidad AS XCant, ClaveCliente AS CvCAux FROM "
    "tProces WHERE NumEmp = 1 and Cancelado = 0 ) WHERE (Tipo = 'C' or Tipo = 'V') GROUP BY "
    "Tipo, Folio, Fecha, NDiv, Cot, CvCAux ";
const std::string DivUSD =
    "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo = 'USD' AND "
    "Pagare  = 0";
const std::string DivOtras =
    "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo <> 'USD' AND "
    "Simbolo <> '' AND Simbolo <> 'M.N.' AND Simbolo NOT LIKE '%MX%'  AND Pagare  = 0";
const std::string DivDocs =
    "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo <> 'M.N.' AND "
    "Simbolo NOT LIKE '%MX%'  AND Simbolo <> '' AND Pagare  = -1";

std::string Dolares(char cTipo) {
    return "SELECT tOps.*, AuxCant AS Cantidad, tXDivisas.Simbolo FROM (" + Ops + " ) AS tOps, (" +
           DivUSD +
           " ) AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= #01/01/2017# and "
           "tOps.Fecha <= #12/31/2017# and tOps.Tipo = '" +
           cTipo + "'";
}
std::string Otras(char cTipo, const std::string& sTC = "18.91") {
    return "SELECT tOps.*, (AuxCant*Cot)/" + sTC + " AS Cantidad,  tXDivisas.Simbolo FROM (" + Ops +
           ") AS tOps, (" + DivOtras +
           ") AS tXDivisas WHERE tOps.NDiv = tXDivisas.NDivx and tOps.Fecha >= #01/01/2017# AND "
           "tOps.Fecha <= #12/31/2017# AND tOps.Tipo = '" +
           cTipo + "'";
}
std::string Docs(char cTipo) {
    return "SELECT tOps.*, IIF( Simbolo = 'USD', AuxCant,  (AuxCant*Cot)/18.91) AS Cantidad, "
           "Simbolo, Divisa FROM (" +
           Ops + ") AS tOps, (" + DivDocs +
           ") AS tXDiv WHERE tOps.NDiv = tXDiv.NDivx AND tOps.Fecha >= #01/01/2017# AND "
           "tOps.Fecha <= #12/31/2017# AND tOps.Tipo = '" +
           cTipo + "' ";
}
const std::string Periodo = "SELECT tOps.* FROM (" + Ops +
                            ") AS tOps WHERE tOps.Fecha >= #01/01/2017# AND tOps.Fecha <= "
                            "#12/31/2017#";
std::string Clientes(const std::string& sPEP = ", 0 AS EsPEP ") {
    return "SELECT  tXClientes.*, tSector.Sector AS Actividad, IIF((ClaveActividad = '9503005' or "
           "ClaveActividad = '6999992' ), -1, 0) AS EsCC, IIF( (ClaveActividad = '8123094' or "
           "ClaveActividad = '9911018'), -1, 0) AS EsEF, IIF(ClaveActividad = '8219025', -1, 0) AS "
           "EsCB, IIF(ClaveActividad = '8100000', -1, 0) AS EsB FROM (SELECT  ClaveCliente AS "
           "AuxCvC, IIF(PersonaMoral <> 0, Nombre, Nombre + IIF(ISNULL(ApellidoPaterno), '', ' '+ "
           "ApellidoPaterno) + IIF(ISNULL(ApellidoMaterno), '', ' ' + ApellidoMaterno)) AS "
           "Cliente, IIF(PersonaMoral <> 0, 0, -1) AS EsPF, PersonaMoral AS EsPM, IIF(Nombre LIKE "
           "'%PUBLICO%', -1, 0) AS EsPubGen, Extranjero AS EsExtrj, ClaveSector " +
           sPEP +
           "FROM tCliente WHERE NumEmp = 1) AS tXClientes, tSector WHERE tXClientes.ClaveSector = "
           "tSector.ClaveSector";
}
std::string OpsCte(const std::string& s, const std::string& sPEP = ", 0 AS EsPEP ") {
    return "SELECT * FROM (" + s + ") AS tXOps, (" + Clientes(sPEP) +
           ") AS tXCte WHERE tXOps.CvCAux = tXCte.AuxCvC ";
}
std::string Usuarios(const std::string& s) {
    return "SELECT 0 AS Aux, EsPF, EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM (" +
           s +
           ") AS tXCSinPG WHERE EsPubGen = 0 GROUP BY tXCSinPG.CvCAux, EsPF, EsPM, EsPubGen, "
           "EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP UNION ALL SELECT tXCPG.CvCAux AS Aux, EsPF, "
           "EsPM, EsPubGen, EsExtrj, EsCC, EsEF, EsCB, EsB, EsPEP FROM (" +
           s + ") AS tXCPG WHERE EsPubGen <> 0 ";
}
std::string Resultado(const std::string& s, const std::string& sDefault) {
    return "SELECT IIF( XResul = 'ZZZSINRESULT' or ISNULL( XResul ), '" + sDefault +
           "', XResul) AS Resultado FROM (" + s +
           " UNION ALL SELECT 'ZZZSINRESULT' AS XResul FROM tEmpresa) ";
}
std::string Conteo(const std::string& s) {
    return Resultado("SELECT COUNT(1) AS XResul FROM (" + s + " )", "0");
}
std::string Existe(const std::string& s) {
    return "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (SELECT COUNT(1) AS XResul "
           "FROM (" +
           s + " ))";
}
std::string Monto(const std::string& sFiltrada) {
    return "SELECT ROUND(SUM(Cantidad)) AS XResul FROM (" + sFiltrada + ") ";
}
std::string Promedio(const std::string& s) {
    return "SELECT ROUND( SUM(Cantidad)/IIF( COUNT(1) = 0, 1, COUNT(1)) ) AS XResul FROM (" + s +
           ") ";
}
std::string ClienteFrec(const std::string& s, const std::string& sWhere) {
    return "SELECT TOP 1 Cliente + ' (** Total Ops.: ' + STR( COUNT(Cliente)) +  ' **) ' AS "
           "XResul FROM (" +
           s + ") " + sWhere + "GROUP BY Cliente ORDER BY COUNT(Cliente) DESC";
}
std::string DivisaFrec(const std::string& s) {
    return "SELECT TOP 1 UCASE(Divisa) + ' (** Total Ops.: ' + STR( COUNT(Divisa)) +  ' **) ' AS "
           "XResul FROM (" +
           s + ") GROUP BY Divisa ORDER BY COUNT(Divisa) DESC";
}
std::string ActividadFrec(const std::string& s, const std::string& sPEP) {
    return "SELECT TOP 1 UCASE(Actividad) + ' (** Total Ops.: ' + STR( COUNT(Actividad)) +  ' **) "
           "' AS XResul FROM (" +
           OpsCte(s, sPEP) +
           ") WHERE Actividad <> 'NO APLICA' GROUP BY Actividad ORDER BY COUNT(Actividad) DESC";
}

}  // namespace esp

TEST(ExprPEPTest, ListsTheTickedKeysOnly) {
    struct Caso {
        std::vector<std::pair<std::string, bool>> filas;
        std::string sEsperado;
    };
    const std::vector<Caso> casos = {
        {{}, ", 0 AS EsPEP "},
        {{{"A1", false}, {"B2", false}}, ", 0 AS EsPEP "},
        {{{"A1", true}, {"X9", false}, {"B2", true}},
         ", IIF( ( ClaveCliente = 'A1' or ClaveCliente = 'B2' ), -1, 0 ) AS EsPEP "},
        {{{"A1", true}, {"A1", true}},
         ", IIF( ( ClaveCliente = 'A1' or ClaveCliente = 'A1' ), -1, 0 ) AS EsPEP "},
        // A quote in a key stays data: doubled inside the literal.
        {{{"O'NEIL", true}}, ", IIF( ( ClaveCliente = 'O''NEIL' ), -1, 0 ) AS EsPEP "},
    };
    for (const Caso& c : casos) {
        TTablaPEPs peps;
        int n = 0;
        for (const auto& [sClave, bEsPEP] : c.filas) peps.Agrega(++n, sClave, "N", bEsPEP);
        TCuestPrueba q;
        q.AdjuntaPEPs(peps);
        EXPECT_EQ(q.DameExprPEP(), c.sEsperado);
    }
    TCuestPrueba sinTabla;  // before any run attaches a table
    EXPECT_EQ(sinTabla.DameExprPEP(), ", 0 AS EsPEP ");
}

TEST(CategoriaTest, EachCategoryAddsItsCondition) {
    TCuestPrueba q;
    const std::string s = "S";
    const std::vector<std::pair<TCategoria, std::string>> casos = {
        {caPersonaFisica, "WHERE EsPF <> 0 AND EsPubGen = 0 "},
        {caPersonaMoral, "WHERE EsPM <> 0 AND EsCC = 0 AND EsEF = 0 AND EsCB = 0 AND EsB = 0 "},
        {caCentroCambiario, "WHERE EsCC <> 0 "},
        {caEntidadFinanciera, "WHERE (EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) "},
        {caCasaCambio, "WHERE EsCB <> 0 "},
        {caInstCredito, "WHERE EsB <> 0 "},
        {caPEP, "WHERE EsPEP <> 0 "},
        {caCCyEF, "WHERE (EsCC <> 0 OR EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) "},
    };
    for (const auto& [nCat, sCond] : casos) {
        EXPECT_EQ(q.DameConsCategoria(s, nCat, naTodas, false), "SELECT * FROM (S) " + sCond);
        EXPECT_EQ(q.DameConsCategoria(s, nCat, naNacional, true),
                  "SELECT * FROM (S) " + sCond + "AND EsExtrj = 0 AND EsPEP = 0 ");
    }
    EXPECT_EQ(q.DameConsCategoria(s, caPersonaMoral, naExtranjera, true),
              "SELECT * FROM (S) WHERE EsPM <> 0 AND EsCC = 0 AND EsEF = 0 AND EsCB = 0 AND EsB "
              "= 0 AND EsExtrj <> 0 AND EsPEP = 0 ");
    // No filter means no condition at all, whatever else is asked.
    for (TNacionalidad n : {naTodas, naNacional, naExtranjera})
        for (bool b : {false, true}) EXPECT_EQ(q.DameConsCategoria(s, caSinFiltro, n, b), s);
}

TEST(DivisasTest, TheThreeSelectionsInUse) {
    TCuestPrueba q;
    EXPECT_EQ(q.DameConsDivisas("USD", true, false), esp::DivUSD);
    EXPECT_EQ(q.DameConsDivisas("USD", false, false), esp::DivOtras);
    EXPECT_EQ(q.DameConsDivisas("TODAS", true, true), esp::DivDocs);
    // "TODAS" is matched exactly; another spelling is just a symbol.
    EXPECT_EQ(q.DameConsDivisas("todas", true, true),
              "SELECT NumeroDivisa AS NDivx, Simbolo, Divisa FROM tDivisas WHERE Simbolo = "
              "'todas' AND Pagare  = -1");
}

// A locale whose decimal separator is the comma, as a Mexican or Spanish
// desktop may be set; the C++ global locale is what streams would pick up.
struct TComa : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(TipoCambioTest, DecimalLiteralWithPointWhateverTheLocale) {
    const std::locale anterior =
        std::locale::global(std::locale(std::locale::classic(), new TComa));
    const std::vector<std::pair<double, std::string>> casos = {
        {19, "19"}, {18.91, "18.91"}, {0.1 + 0.2, "0.3"}, {1234567.5, "1234567.5"}, {20.5, "20.5"}};
    for (const auto& [d, s] : casos) EXPECT_EQ(TCuestPrueba(d).DameTextoTipoCambio(), s) << d;
    std::locale::global(anterior);
    EXPECT_EQ(TCuestPrueba(19).DameConsOpsOtrasDivisas(false, sFIni, sFFin,
                                                       TCuestPrueba(19).DameTextoTipoCambio()),
              esp::Otras('C', "19"));
    EXPECT_NE(TCuestPrueba(18.91).Consulta(81).find("(AuxCant*Cot)/18.91 AS Cantidad"),
              std::string::npos);
    EXPECT_NE(TCuestPrueba(19).Consulta(170).find("(AuxCant*Cot)/19) AS Cantidad"),
              std::string::npos);
}

TEST(ConstructoresTest, SourcesOfOperations) {
    TCuestPrueba q(18.91, 1);
    EXPECT_EQ(q.DameConsOperaciones(false), esp::Ops);
    EXPECT_EQ(q.DameConsOpsDolares(true, sFIni, sFFin), esp::Dolares('V'));
    EXPECT_EQ(q.DameConsOpsOtrasDivisas(false, sFIni, sFFin, "18.91"), esp::Otras('C'));
    EXPECT_EQ(q.DameConsOpsDocumentos(false, sFIni, sFFin, "18.91"), esp::Docs('C'));
    EXPECT_EQ(q.DameConsOpsPeriodo(sFIni, sFFin), esp::Periodo);
    // The company number goes in unquoted, in both tables.
    EXPECT_EQ(TCuestPrueba(18.91, 27).DameConsOperaciones(true),
              Reemplaza(Reemplaza(esp::Ops, "NumEmp = 1", "NumEmp = 27"), "Cancelado = 0",
                        "Cancelado = -1"));
}

TEST(ConstructoresTest, AggregatesAndFinalForms) {
    TCuestPrueba q;
    EXPECT_EQ(q.DameConsUsuarios("U"), esp::Usuarios("U"));
    EXPECT_EQ(q.DameConsOpsClientes("O"), esp::OpsCte("O"));
    EXPECT_EQ(q.DameConsMonto("O", caCentroCambiario, naTodas, true),
              esp::Monto("SELECT * FROM (O) WHERE EsCC <> 0 AND EsPEP = 0 "));
    EXPECT_EQ(q.DameConsPromedio("O"), esp::Promedio("O"));
    EXPECT_EQ(q.DameConsClienteFrec("O", caSinFiltro), esp::ClienteFrec("O", ""));
    EXPECT_EQ(q.DameConsClienteFrec("O", caInstCredito),
              esp::ClienteFrec("O", "WHERE EsB <> 0 and EsExtrj = 0 "));
    EXPECT_EQ(q.DameConsClienteFrec("O", caCasaCambio), esp::ClienteFrec("O", ""));
    EXPECT_EQ(q.DameConsDivisaFrec("O"), esp::DivisaFrec("O"));
    EXPECT_EQ(q.DameConsActividadFrec("O"), esp::ActividadFrec("O", ", 0 AS EsPEP "));
    EXPECT_EQ(q.DameConsResultado("X", "NINGUNO"), esp::Resultado("X", "NINGUNO"));
    EXPECT_EQ(q.DameConsConteo("X"), esp::Conteo("X"));
    EXPECT_EQ(q.DameConsExiste("X"), esp::Existe("X"));
    std::string s = "C";
    q.AplicaSiNo(s);
    EXPECT_EQ(s, "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (C)");
}

// One whole statement per kind of computation.
TEST(PreguntasTest, WholeStatements) {
    TTablaPEPs peps;
    peps.Agrega(1, "A1", "N", true);
    const std::string sPEP = ", IIF( ( ClaveCliente = 'A1' ), -1, 0 ) AS EsPEP ";
    TCuestPrueba q;
    q.AdjuntaPEPs(peps);
    using namespace esp;
    const std::vector<std::pair<int, std::string>> casos = {
        {2, Resultado(ActividadFrec(Periodo, sPEP), "NINGUNO")},
        {33, Existe(Dolares('C'))},
        {35,
         Conteo("SELECT * FROM (" + Usuarios(OpsCte(Dolares('C'), sPEP)) + ") WHERE EsPEP <> 0 ")},
        {52, Resultado(Monto(OpsCte(Dolares('C'), sPEP)), "0")},
        {72, Conteo("SELECT * FROM (" + OpsCte(Otras('C'), sPEP) +
                    ") WHERE (EsCC <> 0 OR EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) AND EsPEP = 0 ")},
        {124, Conteo("SELECT * FROM (" + Usuarios(OpsCte(Otras('V'), sPEP)) +
                     ") WHERE EsPF <> 0 AND EsPubGen = 0 AND EsExtrj <> 0 AND EsPEP = 0 ")},
        {130, Conteo(OpsCte(Otras('V'), sPEP))},
        {148, Resultado(Promedio(OpsCte(Otras('V'), sPEP)), "0")},
        {149, Existe(Docs('C'))},
        {150, Resultado(DivisaFrec(Docs('C')), "NINGUNO")},
        {151, Resultado(ClienteFrec(OpsCte(Docs('C'), sPEP), ""), "NINGUNO")},
        {171, Resultado(Monto("SELECT * FROM (" + OpsCte(Docs('C'), sPEP) +
                              ") WHERE EsPF <> 0 AND EsPubGen = 0 AND EsExtrj = 0 AND EsPEP = 0 "),
                        "0")},
        {180, Existe(Docs('V'))},
        {181, Resultado(DivisaFrec(Docs('V')), "NINGUNO")},
        {182, Resultado(ClienteFrec(OpsCte(Docs('V'), sPEP), "WHERE EsB <> 0 and EsExtrj = 0 "),
                        "NINGUNO")},
        {183, Conteo(OpsCte(Docs('V'), sPEP))},
        {185,
         Conteo("SELECT * FROM (" + OpsCte(Docs('V'), sPEP) + ") WHERE EsCB <> 0 AND EsPEP = 0 ")},
        {187, Resultado(Monto(OpsCte(Docs('V'), sPEP)), "0")},
        {190, Resultado(Monto("SELECT * FROM (" + OpsCte(Docs('V'), sPEP) +
                              ") WHERE EsB <> 0 AND EsExtrj <> 0 AND EsPEP = 0 "),
                        "0")},
        {191, Resultado(Promedio(OpsCte(Docs('V'), sPEP)), "0")},
    };
    for (const auto& [n, sEsperado] : casos) EXPECT_EQ(q.Consulta(n), sEsperado) << n;
}

// Every question of the main table and of the document sales, from the
// questionnaire's own table of rows and columns.
TEST(PreguntasTest, EveryTableQuestion) {
    struct Fila {
        char cCalculo;
        TCategoria c;
        TNacionalidad n;
        bool p;
        std::array<int, 5> aPreg;  // USD purchase, other purchase, USD sale, other sale, docs
    };
    const std::vector<Fila> tabla = {
        {'E', caSinFiltro, naTodas, false, {33, 62, 91, 120, 149}},
        {'U', caCCyEF, naTodas, true, {34, 63, 92, 121, 152}},
        {'U', caPersonaFisica, naNacional, true, {36, 64, 93, 122, 153}},
        {'U', caPersonaMoral, naNacional, true, {37, 65, 94, 123, 154}},
        {'U', caPersonaFisica, naExtranjera, true, {38, 66, 95, 124, 155}},
        {'U', caPersonaMoral, naExtranjera, true, {39, 67, 96, 125, 156}},
        {'U', caCentroCambiario, naTodas, true, {40, 68, 97, 126, 157}},
        {'U', caEntidadFinanciera, naNacional, true, {41, 69, 98, 127, 158}},
        {'U', caEntidadFinanciera, naExtranjera, true, {42, 70, 99, 128, 159}},
        {'U', caPEP, naTodas, false, {35, 71, 100, 129, 160}},
        {'O', caCCyEF, naTodas, true, {43, 72, 101, 130, 161}},
        {'O', caPersonaFisica, naNacional, true, {44, 73, 102, 131, 162}},
        {'O', caPersonaMoral, naNacional, true, {45, 74, 103, 132, 163}},
        {'O', caPersonaFisica, naExtranjera, true, {46, 75, 104, 133, 164}},
        {'O', caPersonaMoral, naExtranjera, true, {47, 76, 105, 134, 165}},
        {'O', caCentroCambiario, naTodas, true, {48, 77, 106, 135, 166}},
        {'O', caEntidadFinanciera, naNacional, true, {49, 78, 107, 136, 167}},
        {'O', caEntidadFinanciera, naExtranjera, true, {50, 79, 108, 137, 168}},
        {'O', caPEP, naTodas, false, {51, 80, 109, 138, 169}},
        {'M', caSinFiltro, naTodas, true, {52, 81, 110, 139, 170}},
        {'M', caPersonaFisica, naNacional, true, {53, 82, 111, 140, 171}},
        {'M', caPersonaMoral, naNacional, true, {54, 83, 112, 141, 172}},
        {'M', caPersonaFisica, naExtranjera, true, {55, 84, 113, 142, 173}},
        {'M', caPersonaMoral, naExtranjera, true, {56, 85, 114, 143, 174}},
        {'M', caCentroCambiario, naTodas, true, {57, 86, 115, 144, 175}},
        {'M', caEntidadFinanciera, naNacional, true, {58, 87, 116, 145, 176}},
        {'M', caEntidadFinanciera, naExtranjera, true, {59, 88, 117, 146, 177}},
        {'M', caPEP, naTodas, false, {60, 89, 118, 147, 178}},
        {'A', caSinFiltro, naTodas, false, {61, 90, 119, 148, 179}},
    };
    struct VentaDocs {
        int nPreg;
        char cCalculo;
        TCategoria c;
        TNacionalidad n;
        bool p;
    };
    const std::vector<VentaDocs> ventaDocs = {
        {180, 'E', caSinFiltro, naTodas, false}, {184, 'O', caInstCredito, naNacional, true},
        {185, 'O', caCasaCambio, naTodas, true}, {186, 'O', caInstCredito, naExtranjera, true},
        {187, 'M', caSinFiltro, naTodas, true},  {188, 'M', caInstCredito, naNacional, true},
        {189, 'M', caCasaCambio, naTodas, true}, {190, 'M', caInstCredito, naExtranjera, true},
        {191, 'A', caSinFiltro, naTodas, false},
    };
    const std::map<TCategoria, std::string> condicion = {
        {caPersonaFisica, "WHERE EsPF <> 0 AND EsPubGen = 0 "},
        {caPersonaMoral, "WHERE EsPM <> 0 AND EsCC = 0 AND EsEF = 0 AND EsCB = 0 AND EsB = 0 "},
        {caCentroCambiario, "WHERE EsCC <> 0 "},
        {caEntidadFinanciera, "WHERE (EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) "},
        {caCasaCambio, "WHERE EsCB <> 0 "},
        {caInstCredito, "WHERE EsB <> 0 "},
        {caPEP, "WHERE EsPEP <> 0 "},
        {caCCyEF, "WHERE (EsCC <> 0 OR EsEF <> 0 OR EsCB <> 0 OR EsB <> 0) "},
    };
    const std::string sPEP =
        ", IIF( ( ClaveCliente = 'P1' or ClaveCliente = 'P2' ), -1, 0 ) AS EsPEP ";
    auto filtra = [&](const std::string& s, TCategoria c, TNacionalidad n, bool p) {
        if (c == caSinFiltro)
            return s;
        return "SELECT * FROM (" + s + ") " + condicion.at(c) +
               (n == naNacional     ? "AND EsExtrj = 0 "
                : n == naExtranjera ? "AND EsExtrj <> 0 "
                                    : "") +
               (p ? "AND EsPEP = 0 " : "");
    };
    using namespace esp;
    auto esperado = [&](const std::string& base, char cCalculo, TCategoria c, TNacionalidad n,
                        bool p) {
        const std::string ops = OpsCte(base, sPEP);
        switch (cCalculo) {
            case 'E':
                return Existe(base);
            case 'U':
                return Conteo(filtra(Usuarios(ops), c, n, p));
            case 'O':
                return Conteo(filtra(ops, c, n, p));
            case 'M':
                return Resultado(Monto(filtra(ops, c, n, p)), "0");
        }
        return Resultado(Promedio(ops), "0");
    };
    const std::array<std::string, 5> bases = {Dolares('C'), Otras('C'), Dolares('V'), Otras('V'),
                                              Docs('C')};
    TTablaPEPs peps;
    peps.Agrega(1, "P1", "N", true);
    peps.Agrega(2, "P2", "N", true);
    TCuestPrueba q;
    q.AdjuntaPEPs(peps);
    std::set<int> vistas;
    for (const Fila& f : tabla)
        for (std::size_t k = 0; k < 5; ++k) {
            if (f.aPreg[k] == 130)
                continue;  // its own statement, below
            EXPECT_EQ(q.Consulta(f.aPreg[k]), esperado(bases[k], f.cCalculo, f.c, f.n, f.p))
                << f.aPreg[k];
            vistas.insert(f.aPreg[k]);
        }
    for (const VentaDocs& v : ventaDocs) {
        EXPECT_EQ(q.Consulta(v.nPreg), esperado(Docs('V'), v.cCalculo, v.c, v.n, v.p)) << v.nPreg;
        vistas.insert(v.nPreg);
    }
    EXPECT_EQ(q.Consulta(130), Conteo(OpsCte(Otras('V'), sPEP)));
    EXPECT_EQ(vistas.size(), 144u + 9u);
}

TEST(PreguntasTest, NumbersOutsideTheEditionAndHandAnswers) {
    TCuestPrueba q;
    for (int n : {0, -1, 196, 326}) EXPECT_EQ(q.Consulta(n), "** E R R O R **") << n;
    std::set<int> aMano;
    for (int n = 1; n <= 195; ++n) {
        const std::string s = q.Consulta(n);
        if (s == "(** El CC debe responder **)") {
            aMano.insert(n);
            continue;
        }
        EXPECT_EQ(s.rfind("SELECT ", 0), 0u) << n;
        EXPECT_NE(s.find("AS Resultado FROM ("), std::string::npos) << n;
    }
    std::set<int> esperadas = {1, 192, 193, 194, 195};
    for (int n = 3; n <= 32; ++n) esperadas.insert(n);
    EXPECT_EQ(aMano, esperadas);
}

// Purchase or sale is the only difference between the two columns of one kind
// of business, row by row; 72 and 130 are the one pair that differs more.
TEST(PreguntasTest, PurchaseAndSaleColumnsDifferOnlyInTheKind) {
    TCuestPrueba q;
    std::vector<std::pair<int, int>> pares = {{33, 91}, {34, 92}, {35, 100}};
    for (int k = 0; k < 7; ++k) pares.push_back({36 + k, 93 + k});
    for (int k = 0; k < 19; ++k) pares.push_back({43 + k, 101 + k});
    for (int k = 0; k < 29; ++k)
        if (62 + k != 72)
            pares.push_back({62 + k, 120 + k});
    for (const auto& [nCompra, nVenta] : pares) {
        const std::string sCompra = q.Consulta(nCompra);
        EXPECT_EQ(sCompra.find("tOps.Tipo = 'V'"), std::string::npos) << nCompra;
        EXPECT_EQ(Reemplaza(sCompra, "tOps.Tipo = 'C'", "tOps.Tipo = 'V'"), q.Consulta(nVenta))
            << nCompra << " / " << nVenta;
    }
    EXPECT_NE(Reemplaza(q.Consulta(72), "tOps.Tipo = 'C'", "tOps.Tipo = 'V'"), q.Consulta(130));
    EXPECT_NE(q.Consulta(72).find("WHERE (EsCC <> 0 OR EsEF"), std::string::npos);
    EXPECT_EQ(q.Consulta(130).find("WHERE (EsCC <> 0 OR EsEF"), std::string::npos);
}

TEST(PreguntasTest, SaleSelectorBoundaries) {
    TCuestPrueba q;
    const std::vector<std::pair<int, char>> casos = {{90, 'C'},  {91, 'V'},  {148, 'V'}, {149, 'C'},
                                                     {179, 'C'}, {180, 'V'}, {191, 'V'}, {33, 'C'}};
    for (const auto& [n, cTipo] : casos) {
        const std::string s = q.Consulta(n);
        const char cOtro = cTipo == 'C' ? 'V' : 'C';
        EXPECT_NE(s.find(std::string("tOps.Tipo = '") + cTipo + "'"), std::string::npos) << n;
        EXPECT_EQ(s.find(std::string("tOps.Tipo = '") + cOtro + "'"), std::string::npos) << n;
    }
}

// Statements stay within what the engine is expected to take: about 4,100
// characters at most with no PEP ticked; each ticked PEP grows the client
// sub-queries.
TEST(PreguntasTest, StatementLengths) {
    TCuestPrueba q;
    std::size_t nMax = 0;
    for (int n = 1; n <= 195; ++n) nMax = std::max(nMax, q.Consulta(n).size());
    EXPECT_GT(nMax, 3800u);
    EXPECT_LT(nMax, 4400u);
}

}  // namespace
