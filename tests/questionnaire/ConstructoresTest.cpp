// The question set's statements against the recorded texts, and the building
// blocks behind them: which block each question uses, and what changes with
// the company, the rate and the ticks.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
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

// The recorded statements (tests/fixtures/consultas/cuestionario.txt): the
// questionnaire of company 1 at the rate 18.91 with the table of TablaGrabada.
const std::map<int, std::string>& Grabadas() {
    static const std::map<int, std::string> grabadas = [] {
        std::map<int, std::string> m;
        std::ifstream f(KOVA_FIXTURES "/consultas/cuestionario.txt", std::ios::binary);
        std::string sLinea;
        while (std::getline(f, sLinea)) {
            if (sLinea.empty() || sLinea[0] == '#')
                continue;
            const std::size_t nTab = sLinea.find('\t');
            if (nTab == std::string::npos)
                continue;
            m[std::stoi(sLinea.substr(0, nTab))] = sLinea.substr(nTab + 1);
        }
        return m;
    }();
    return grabadas;
}

// P1 and P2 ticked, X9 listed but not ticked.
void LlenaTablaGrabada(TTablaPEPs& peps) {
    peps.Agrega(1, "P1", "N", true);
    peps.Agrega(2, "X9", "N", false);
    peps.Agrega(3, "P2", "N", true);
}

// The real builders under short names, over the recorded table of ticks.
struct Bloques {
    TTablaPEPs peps;
    TCuestPrueba q{18.91, 1};
    Bloques() {
        LlenaTablaGrabada(peps);
        q.AdjuntaPEPs(peps);
    }
    std::string Dolares(char c) { return q.DameConsOpsDolares(c == 'V', sFIni, sFFin); }
    std::string Otras(char c) { return q.DameConsOpsOtrasDivisas(c == 'V', sFIni, sFFin, "18.91"); }
    std::string Docs(char c) { return q.DameConsOpsDocumentos(c == 'V', sFIni, sFFin, "18.91"); }
    std::string Periodo() { return q.DameConsOpsPeriodo(sFIni, sFFin); }
    std::string OpsCte(const std::string& s) { return q.DameConsOpsClientes(s); }
    std::string Usuarios(const std::string& s) { return q.DameConsUsuarios(s); }
    std::string Filtra(const std::string& s, TCategoria c, TNacionalidad n, bool p) {
        return q.DameConsCategoria(s, c, n, p);
    }
    std::string Resultado(const std::string& s, const std::string& sDefault) {
        return q.DameConsResultado(s, sDefault);
    }
    std::string Conteo(const std::string& s) { return q.DameConsConteo(s); }
    std::string Existe(const std::string& s) { return q.DameConsExiste(s); }
    std::string Monto(const std::string& s) {
        return q.DameConsMonto(s, caSinFiltro, naTodas, false);
    }
    std::string Promedio(const std::string& s) { return q.DameConsPromedio(s); }
};

TEST(TextosGrabadosTest, EveryStatementAsRecorded) {
    ASSERT_EQ(Grabadas().size(), 195u);
    TTablaPEPs peps;
    LlenaTablaGrabada(peps);
    TCuestPrueba q(18.91, 1);
    q.AdjuntaPEPs(peps);
    for (int n = 1; n <= 195; ++n) {
        ASSERT_EQ(Grabadas().count(n), 1u) << n;
        EXPECT_EQ(q.Consulta(n), Grabadas().at(n)) << n;
    }
}

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
    // Dollars, other currencies and documents, each in a question that uses it.
    const std::vector<std::pair<std::string, int>> casos = {
        {q.DameConsDivisas("USD", true, false), 33},
        {q.DameConsDivisas("USD", false, false), 62},
        {q.DameConsDivisas("TODAS", true, true), 149}};
    for (const auto& [sDivisas, n] : casos)
        EXPECT_NE(Grabadas().at(n).find("(" + sDivisas), std::string::npos) << n;
    EXPECT_EQ(Grabadas().at(33).find(q.DameConsDivisas("USD", false, false)), std::string::npos);
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
              Reemplaza(TCuestPrueba(18.91).DameConsOpsOtrasDivisas(false, sFIni, sFFin, "18.91"),
                        "(AuxCant*Cot)/18.91 ", "(AuxCant*Cot)/19 "));
    EXPECT_NE(TCuestPrueba(18.91).Consulta(81).find("(AuxCant*Cot)/18.91 AS Cantidad"),
              std::string::npos);
    EXPECT_NE(TCuestPrueba(19).Consulta(170).find("(AuxCant*Cot)/19) AS Cantidad"),
              std::string::npos);
}

TEST(ConstructoresTest, SourcesOfOperations) {
    Bloques b;
    // Each source as a derived table of a question that reads it.
    const std::vector<std::pair<std::string, int>> casos = {{b.q.DameConsOperaciones(false), 33},
                                                            {b.Dolares('V'), 91},
                                                            {b.Otras('C'), 62},
                                                            {b.Docs('C'), 149},
                                                            {b.Periodo(), 2}};
    for (const auto& [sFuente, n] : casos)
        EXPECT_NE(Grabadas().at(n).find("(" + sFuente), std::string::npos) << n;
    // The company number goes in unquoted, in both tables.
    const std::string sOps = b.q.DameConsOperaciones(false);
    EXPECT_EQ(std::count(sOps.begin(), sOps.end(), '#'), 0);
    EXPECT_EQ(TCuestPrueba(18.91, 27).DameConsOperaciones(true),
              Reemplaza(Reemplaza(sOps, "NumEmp = 1 ", "NumEmp = 27 "), "Cancelado = 0 ",
                        "Cancelado = -1 "));
    EXPECT_NE(sOps.find("FROM tMovtos WHERE NumEmp = 1 and Cancelado = 0 "), std::string::npos);
    EXPECT_NE(sOps.find("FROM tProces WHERE NumEmp = 1 and Cancelado = 0 "), std::string::npos);
}

TEST(ConstructoresTest, AggregatesAndFinalForms) {
    TCuestPrueba q;
    // An amount by category is the amount over the category's rows.
    EXPECT_EQ(q.DameConsMonto("O", caCentroCambiario, naTodas, true),
              q.DameConsMonto("SELECT * FROM (O) WHERE EsCC <> 0 AND EsPEP = 0 ", caSinFiltro,
                              naNacional, true));
    // Only the credit institutions narrow the most frequent client, to
    // national ones.
    const std::string sFrec = q.DameConsClienteFrec("O", caSinFiltro);
    EXPECT_EQ(q.DameConsClienteFrec("O", caCasaCambio), sFrec);
    EXPECT_EQ(
        q.DameConsClienteFrec("O", caInstCredito),
        Reemplaza(sFrec, "FROM (O) GROUP BY", "FROM (O) WHERE EsB <> 0 and EsExtrj = 0 GROUP BY"));
    // The client sub-query follows the ticks of the attached table.
    EXPECT_NE(q.DameConsOpsClientes("O").find(", 0 AS EsPEP FROM tCliente WHERE NumEmp = 1)"),
              std::string::npos);
    EXPECT_NE(q.DameConsActividadFrec("O").find(q.DameConsOpsClientes("O")), std::string::npos);
    // A count answers "0" where there is nothing to count.
    EXPECT_EQ(q.DameConsConteo("X"),
              q.DameConsResultado("SELECT COUNT(1) AS XResul FROM (X )", "0"));
    std::string s = "C";
    q.AplicaSiNo(s);
    EXPECT_EQ(s, "SELECT IIF( XResul >= 1, 'SI', 'NO') AS Resultado FROM (C)");
}

// One whole statement per kind of computation, put together from the
// building blocks and compared with the recorded text.
TEST(PreguntasTest, WholeStatements) {
    Bloques b;
    auto& q = b.q;
    const std::vector<std::pair<int, std::string>> casos = {
        {2, b.Resultado(q.DameConsActividadFrec(b.Periodo()), "NINGUNO")},
        {33, b.Existe(b.Dolares('C'))},
        {35, b.Conteo(b.Filtra(b.Usuarios(b.OpsCte(b.Dolares('C'))), caPEP, naTodas, false))},
        {52, b.Resultado(b.Monto(b.OpsCte(b.Dolares('C'))), "0")},
        {72, b.Conteo(b.Filtra(b.OpsCte(b.Otras('C')), caCCyEF, naTodas, true))},
        {124, b.Conteo(b.Filtra(b.Usuarios(b.OpsCte(b.Otras('V'))), caPersonaFisica, naExtranjera,
                                true))},
        {130, b.Conteo(b.OpsCte(b.Otras('V')))},
        {148, b.Resultado(b.Promedio(b.OpsCte(b.Otras('V'))), "0")},
        {149, b.Existe(b.Docs('C'))},
        {150, b.Resultado(q.DameConsDivisaFrec(b.Docs('C')), "NINGUNO")},
        {151, b.Resultado(q.DameConsClienteFrec(b.OpsCte(b.Docs('C')), caSinFiltro), "NINGUNO")},
        {171,
         b.Resultado(b.Monto(b.Filtra(b.OpsCte(b.Docs('C')), caPersonaFisica, naNacional, true)),
                     "0")},
        {180, b.Existe(b.Docs('V'))},
        {181, b.Resultado(q.DameConsDivisaFrec(b.Docs('V')), "NINGUNO")},
        {182, b.Resultado(q.DameConsClienteFrec(b.OpsCte(b.Docs('V')), caInstCredito), "NINGUNO")},
        {183, b.Conteo(b.OpsCte(b.Docs('V')))},
        {185, b.Conteo(b.Filtra(b.OpsCte(b.Docs('V')), caCasaCambio, naTodas, true))},
        {187, b.Resultado(b.Monto(b.OpsCte(b.Docs('V'))), "0")},
        {190,
         b.Resultado(b.Monto(b.Filtra(b.OpsCte(b.Docs('V')), caInstCredito, naExtranjera, true)),
                     "0")},
        {191, b.Resultado(b.Promedio(b.OpsCte(b.Docs('V'))), "0")},
    };
    for (const auto& [n, sEsperado] : casos) EXPECT_EQ(Grabadas().at(n), sEsperado) << n;
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
    Bloques b;
    auto esperado = [&](const std::string& base, char cCalculo, TCategoria c, TNacionalidad n,
                        bool p) {
        const std::string ops = b.OpsCte(base);
        switch (cCalculo) {
            case 'E':
                return b.Existe(base);
            case 'U':
                return b.Conteo(b.Filtra(b.Usuarios(ops), c, n, p));
            case 'O':
                return b.Conteo(b.Filtra(ops, c, n, p));
            case 'M':
                return b.Resultado(b.Monto(b.Filtra(ops, c, n, p)), "0");
        }
        return b.Resultado(b.Promedio(ops), "0");
    };
    const std::array<std::string, 5> bases = {b.Dolares('C'), b.Otras('C'), b.Dolares('V'),
                                              b.Otras('V'), b.Docs('C')};
    std::set<int> vistas;
    for (const Fila& f : tabla)
        for (std::size_t k = 0; k < 5; ++k) {
            if (f.aPreg[k] == 130)
                continue;  // its own statement, below
            EXPECT_EQ(Grabadas().at(f.aPreg[k]), esperado(bases[k], f.cCalculo, f.c, f.n, f.p))
                << f.aPreg[k];
            vistas.insert(f.aPreg[k]);
        }
    for (const VentaDocs& v : ventaDocs) {
        EXPECT_EQ(Grabadas().at(v.nPreg), esperado(b.Docs('V'), v.cCalculo, v.c, v.n, v.p))
            << v.nPreg;
        vistas.insert(v.nPreg);
    }
    EXPECT_EQ(Grabadas().at(130), b.Conteo(b.OpsCte(b.Otras('V'))));
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
