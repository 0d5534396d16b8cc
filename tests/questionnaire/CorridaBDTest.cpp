// Whole runs over small Norvex databases, one concern each, with the answers
// worked out by hand. Rate 20 unless said otherwise, so conversions are exact.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "BDNorvexPrueba.h"
#include "CuestPrueba.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "platform/jet/MotorJet.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

using TRespuestas = std::map<int, std::string>;

TRespuestas Con(TRespuestas r, const TRespuestas& cambios) {
    for (const auto& [n, s] : cambios) r[n] = s;
    return r;
}

struct TCorrida {
    bool bExito = false;
    TRespuestas respuestas;
    std::string sNombreCC;
    std::vector<std::string> estados;
    std::vector<std::string> cajas;
    int nVistas = 0;
};

class CorridaBDTest : public ::testing::Test {
protected:
    TCorrida Corre(const TBDNorvex& bd, TTablaPEPs& peps, double dTCambio = 20) {
        const std::string sRuta = (dir_ / "Norvex.mdb").string();
        bd.Escribe(sRuta);
        ado::TADOConnection conexion;
        conexion.SetConnectionString(CadenaNorvex(sRuta));
        conexion.SetConnected(true);
        TGrabaCajas cajas;
        TCuestPrueba q(dTCambio, 1, &conexion);
        TCorrida c;
        c.bExito = q.GeneraReporte(peps);
        for (const auto& [sVar, sValor] : q.reportes->variables) {
            if (sVar == "Cuestionario.NombreCC")
                c.sNombreCC = sValor;
            else
                c.respuestas[std::stoi(sVar.substr(std::string("Cuestionario.preg_").size()))] =
                    sValor;
        }
        c.estados = q.mensajero->textos;
        c.cajas = cajas.textos();
        c.nVistas = q.reportes->nVistas;
        return c;
    }

    TDirTemporal dir_;
};

TBDNorvex::TCliente Fisica(const std::string& sClave, const std::string& sNombre,
                           jet::TValor vPaterno, bool bExtranjero = false, int64_t nSector = 2) {
    return {sClave, sNombre, std::move(vPaterno), std::monostate{}, false, bExtranjero, nSector};
}

TBDNorvex::TCliente Moral(const std::string& sClave, const std::string& sNombre,
                          bool bExtranjero = false, int64_t nSector = 2) {
    return {sClave, sNombre, std::monostate{}, std::monostate{}, true, bExtranjero, nSector};
}

// Every answer of the round, compared as a whole so that a stray count
// anywhere shows up.
void EsperaRespuestas(const TCorrida& c, const TRespuestas& esperadas) {
    EXPECT_TRUE(c.bExito);
    EXPECT_EQ(c.nVistas, 1);
    EXPECT_TRUE(c.cajas.empty());
    ASSERT_EQ(c.respuestas.size(), 195u);
    for (const auto& [n, s] : esperadas) EXPECT_EQ(c.respuestas.at(n), s) << "pregunta " << n;
}

TEST_F(CorridaBDTest, NoOperations) {
    TBDNorvex bd;
    bd.clientes = {Fisica("C1", "ANA", std::string("LOPEZ"))};
    TTablaPEPs peps;
    const TCorrida c = Corre(bd, peps);
    EsperaRespuestas(c, RespuestasVacias());
    EXPECT_EQ(c.sNombreCC, "CAMBIOS DEL NORTE SA DE CV");
    ASSERT_EQ(c.estados.size(), 197u);  // start, one per question, preparing
    EXPECT_EQ(c.estados.front(), "E:Iniciando...");
    EXPECT_EQ(c.estados[195], "E:Por favor espere... 100%");
    EXPECT_EQ(c.estados.back(), "E:Preparando reporte...");
}

// Lines of one operation across both tables merge; cancelled lines, other
// kinds and other companies count nowhere; another quote is another operation.
TEST_F(CorridaBDTest, LinesOfOperations) {
    TBDNorvex bd;
    bd.clientes = {Fisica("C1", "ANA", std::string("LOPEZ"))};
    const double d = Fecha(2017, 3, 1);
    bd.ops = {{"C", 1, d, 1, 18.5, 100, "C1"}, {"C", 1, d, 1, 18.5, 50, "C1", 1, false, true},
              {"C", 1, d, 1, 18.7, 25, "C1"},  {"C", 5, d, 1, 18.5, 10, "C1"},
              {"C", 5, d, 1, 18.5, 10, "C1"},  {"C", 2, d, 1, 18.5, 70, "C1", 1, true},
              {"X", 3, d, 1, 18.5, 80, "C1"},  {"C", 4, d, 1, 18.5, 90, "C1", 2}};
    TTablaPEPs peps;
    EsperaRespuestas(Corre(bd, peps), Con(RespuestasVacias(),
                                          {{2, R("COMERCIO AL POR MENOR (** Total Ops.:  3 **) ")},
                                           {33, R("SI")},
                                           {36, R("1")},
                                           {44, R("3")},
                                           {52, R("195")},
                                           {53, R("195")},
                                           {61, R("65")}}));
}

// Dollars by symbol whatever its letter case; other currencies without the
// peso and symbol-less rows, converted through pesos; documents keep dollars
// and convert the rest. Sums and averages round half to even.
TEST_F(CorridaBDTest, CurrenciesAndConversion) {
    TBDNorvex bd;
    bd.divisas.push_back({int64_t{6}, std::string(""), std::string("Sin simbolo"), false});
    bd.divisas.push_back({int64_t{7}, std::string("usd"), std::string("Dolar minusculas"), false});
    bd.divisas.push_back({int64_t{8}, std::string("MXN"), std::string("Peso MXN"), false});
    bd.clientes = {Fisica("C1", "ANA", std::string("LOPEZ"))};
    const double d = Fecha(2017, 6, 15);
    bd.ops = {{"C", 1, d, 1, 18, 100, "C1"},   {"C", 2, d, 2, 22, 50, "C1"},
              {"C", 3, d, 3, 1, 1000, "C1"},   {"C", 4, d, 6, 10, 30, "C1"},
              {"C", 5, d, 7, 18, 41, "C1"},    {"C", 6, d, 8, 1, 500, "C1"},
              {"C", 7, d, 4, 18.5, 200, "C1"}, {"C", 8, d, 5, 21, 10, "C1"},
              {"C", 9, d, 4, 18.5, 100, "C1"}};
    TTablaPEPs peps;
    EsperaRespuestas(
        Corre(bd, peps),
        Con(RespuestasVacias(), {{2, R("COMERCIO AL POR MENOR (** Total Ops.:  9 **) ")},
                                 // dollars: 100 + 41, average 70.5
                                 {33, R("SI")},
                                 {36, R("1")},
                                 {44, R("2")},
                                 {52, R("141")},
                                 {53, R("141")},
                                 {61, R("70")},
                                 // euros: 50 x 22 / 20
                                 {62, R("SI")},
                                 {64, R("1")},
                                 {73, R("1")},
                                 {81, R("55")},
                                 {82, R("55")},
                                 {90, R("55")},
                                 // documents: 200 + 10 x 21 / 20 + 100 = 310.5, average 103.5
                                 {149, R("SI")},
                                 {150, R("CHEQUE EN DOLARES (** Total Ops.:  2 **) ")},
                                 {151, R("ANA LOPEZ (** Total Ops.:  3 **) ")},
                                 {153, R("1")},
                                 {162, R("3")},
                                 {170, R("310")},
                                 {171, R("310")},
                                 {179, R("104")}}));
}

// Users by category; a general-public client is one user per operation; PEPs
// by the ticks; clients missing from the table or without a sector drop out.
TEST_F(CorridaBDTest, UsersCategoriesAndPEPs) {
    TBDNorvex bd;
    bd.clientes = {Fisica("P1", "PUBLICO EN GENERAL", std::monostate{}, false, 1),
                   Fisica("N1", "ANA", std::string("LOPEZ")),
                   Fisica("E1", "JOHN", std::string("SMITH"), true),
                   Moral("M1", "ACME SA"),
                   Moral("F1", "GLOBEX INC", true),
                   Moral("CC1", "CAMBIOS AMIGOS", false, 3),
                   Moral("B1", "BANCO UNO", false, 4),
                   Moral("H1", "CASA EXT", true, 5),
                   Moral("FE1", "FINANCIERA", false, 6),
                   Fisica("S1", "SIN SECTOR", std::monostate{}, false, 99)};
    const double d = Fecha(2017, 8, 1);
    int64_t nFolio = 0;
    for (const char* s : {"P1", "P1", "P1", "N1", "N1", "E1", "M1", "M1", "F1", "CC1", "B1", "H1",
                          "FE1", "X1", "S1"})
        bd.ops.push_back({"C", ++nFolio, d, 1, 18, 10, s});
    TTablaPEPs peps;
    peps.Agrega(1, "P1", "PUBLICO EN GENERAL", true);
    peps.Agrega(2, "E1", "JOHN SMITH", false);
    peps.Agrega(3, "N1", "ANA LOPEZ", true);
    peps.Agrega(4, "O'X", "CON APOSTROFO", true);  // a quote in a key is only data
    EsperaRespuestas(Corre(bd, peps), Con(RespuestasVacias(),
                                          {{2, R("COMERCIO AL POR MENOR (** Total Ops.:  6 **) ")},
                                           {33, R("SI")},
                                           {34, R("4")},
                                           {35, R("4")},
                                           {36, R("0")},
                                           {37, R("1")},
                                           {38, R("1")},
                                           {39, R("1")},
                                           {40, R("1")},
                                           {41, R("2")},
                                           {42, R("1")},
                                           {43, R("4")},
                                           {44, R("0")},
                                           {45, R("2")},
                                           {46, R("1")},
                                           {47, R("1")},
                                           {48, R("1")},
                                           {49, R("2")},
                                           {50, R("1")},
                                           {51, R("5")},
                                           {52, R("130")},
                                           {53, R("0")},
                                           {54, R("20")},
                                           {55, R("10")},
                                           {56, R("10")},
                                           {57, R("10")},
                                           {58, R("20")},
                                           {59, R("10")},
                                           {60, R("50")},
                                           {61, R("10")}}));
}

// The period: from 1 Jan at midnight to the end of 31 Dec, the last day whole
// (10:00 and 23:59:59 count); the last second of the year before and 1 Jan
// of the next at midnight are out. A client of another company is not a
// client of this one.
TEST_F(CorridaBDTest, WindowEdgesAndCompany) {
    TBDNorvex bd;
    bd.clientes = {Fisica("N1", "ANA", std::string("LOPEZ"))};
    TBDNorvex::TCliente otra = Fisica("K2", "OTRA EMPRESA", std::monostate{});
    otra.nEmp = 2;
    bd.clientes.push_back(otra);
    bd.ops = {{"C", 1, Fecha(2017, 1, 1), 1, 18, 10, "N1"},
              {"C", 2, Fecha(2017, 12, 31), 1, 18, 10, "N1"},
              {"C", 3, Fecha(2017, 12, 31, 10), 1, 18, 10, "N1"},
              {"C", 7, Fecha(2017, 12, 31, 23, 59, 59), 1, 18, 10, "N1"},
              {"C", 4, Fecha(2016, 12, 31, 23, 59, 59), 1, 18, 10, "N1"},
              {"C", 5, Fecha(2018, 1, 1), 1, 18, 10, "N1"},
              {"C", 6, Fecha(2017, 7, 1), 1, 18, 10, "K2"}};
    TTablaPEPs peps;
    EsperaRespuestas(Corre(bd, peps), Con(RespuestasVacias(),
                                          {{2, R("COMERCIO AL POR MENOR (** Total Ops.:  4 **) ")},
                                           {33, R("SI")},
                                           {36, R("1")},
                                           {44, R("4")},
                                           {52, R("40")},
                                           {53, R("40")},
                                           {61, R("10")}}));
}

// Sales of other currencies (130 counts every one with a known client) and of
// documents, with the busiest document and national bank.
TEST_F(CorridaBDTest, SalesOfCurrenciesAndDocuments) {
    TBDNorvex bd;
    bd.clientes = {Fisica("N1", "ANA", std::string("LOPEZ")), Moral("B1", "BANCO UNO", false, 4),
                   Moral("H1", "CASA EXT", true, 5), Moral("B2", "BANK EXT", true, 4)};
    const double d = Fecha(2017, 10, 2);
    bd.ops = {{"V", 1, d, 2, 21, 100, "N1"}, {"V", 2, d, 2, 20, 50, "X1"},
              {"V", 3, d, 4, 18, 100, "B1"}, {"V", 4, d, 4, 18, 100, "B1"},
              {"V", 5, d, 5, 21, 10, "H1"},  {"V", 6, d, 4, 18, 100, "B2"}};
    TTablaPEPs peps;
    EsperaRespuestas(Corre(bd, peps),
                     Con(RespuestasVacias(), {{2, R("BANCA MULTIPLE (** Total Ops.:  3 **) ")},
                                              {120, R("SI")},
                                              {122, R("1")},
                                              {130, R("1")},
                                              {131, R("1")},
                                              {139, R("105")},
                                              {140, R("105")},
                                              {148, R("105")},
                                              {180, R("SI")},
                                              {181, R("CHEQUE EN DOLARES (** Total Ops.:  3 **) ")},
                                              {182, R("BANCO UNO (** Total Ops.:  2 **) ")},
                                              {183, R("4")},
                                              {184, R("2")},
                                              {185, R("1")},
                                              {186, R("1")},
                                              {187, R("310")},
                                              {188, R("200")},
                                              {189, R("10")},
                                              {190, R("100")},
                                              {191, R("78")}}));
}

// Without a row in tEmpresa the sentinel rows are missing: the first query
// with nothing to answer finds no row and the run stops there, with no box.
TEST_F(CorridaBDTest, CompanyTableEmpty) {
    TBDNorvex bd;
    bd.empresas.clear();
    TTablaPEPs peps;
    const TCorrida c = Corre(bd, peps);
    EXPECT_FALSE(c.bExito);
    EXPECT_EQ(c.sNombreCC, "");
    EXPECT_EQ(c.respuestas.at(2), "** E R R O R **");
    EXPECT_EQ(c.respuestas.size(), 2u);
    EXPECT_EQ(c.estados.back(), "E:Error...");
    EXPECT_TRUE(c.cajas.empty());
    EXPECT_EQ(c.nVistas, 0);
}

// The demo Norvex folder, as the README's run command lays it out: the
// detection finds candidates, and with all of them ticked every question is
// answered and the report shown.
TEST_F(CorridaBDTest, DemoDatabase) {
    norvex::TGeneradorNorvex::Genera(dir_.ruta(), {});
    ado::TADOConnection conexion;
    conexion.SetConnectionString(CadenaNorvex((dir_ / "DataBase/Norvex.mdb").string()));
    conexion.SetConnected(true);
    TGrabaCajas cajas;
    TTablaPEPs peps;
    {
        TCuestPrueba deteccion(18.91, 1, &conexion);
        ASSERT_TRUE(deteccion.DetectaPEPs(peps));
    }
    ASSERT_FALSE(peps.EstaVacia());
    for (std::size_t i = 0; i < peps.Cuenta(); ++i) peps.MarcaPEP(i, true);
    TCuestPrueba q(18.91, 1, &conexion);
    ASSERT_TRUE(q.GeneraReporte(peps));
    EXPECT_TRUE(cajas.textos().empty());
    EXPECT_EQ(q.reportes->nVistas, 1);
    int nConsultas = 0;
    for (int n = 1; n <= 195; ++n) {
        const std::string s = q.reportes->variables.at("Cuestionario.preg_" + std::to_string(n));
        if (s != sMano) {
            ++nConsultas;
            EXPECT_EQ(s.rfind("Respuesta: ", 0), 0u) << n << ": " << s;
        }
    }
    EXPECT_EQ(nConsultas, 160);
    EXPECT_EQ(q.reportes->variables.at("Cuestionario.preg_33"), "Respuesta: SI");
}

// Keeping derived tables per snapshot must not change a single answer: the
// whole run over a generated database (PEPs ticked, so the long OR chain is
// in play) with the engine's reuse on and off, for two data sets.
TEST_F(CorridaBDTest, ReuseOfDerivedTablesKeepsEveryAnswer) {
    for (uint64_t nSemilla : {1u, 7u}) {
        const auto dir = dir_ / std::to_string(nSemilla);
        norvex::TGeneradorNorvex::Genera(dir, {3000, nSemilla});
        std::map<bool, std::map<std::string, std::string>> variables;
        for (bool bOptimiza : {true, false}) {
            ado::TADOConnection conexion;
            conexion.SetConnectionString(CadenaNorvex((dir / "DataBase/Norvex.mdb").string()));
            conexion.SetConnected(true);
            conexion.Motor().PonOptimizacion(bOptimiza);
            TGrabaCajas cajas;
            TTablaPEPs peps;
            TCuestPrueba deteccion(18.91, 1, &conexion);
            ASSERT_TRUE(deteccion.DetectaPEPs(peps));
            for (std::size_t i = 0; i < peps.Cuenta(); i += 2) peps.MarcaPEP(i, true);
            TCuestPrueba q(18.91, 1, &conexion);
            ASSERT_TRUE(q.GeneraReporte(peps));
            EXPECT_TRUE(cajas.textos().empty());
            variables[bOptimiza] = q.reportes->variables;
        }
        EXPECT_EQ(variables[true].size(), 196u);
        EXPECT_EQ(variables[true], variables[false]) << "seed " << nSemilla;
    }
}

}  // namespace
