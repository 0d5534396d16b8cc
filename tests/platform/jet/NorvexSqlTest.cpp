// The statements the questionnaire composes, in their exact shape (doubled
// blanks, derived tables with and without alias, comma joins, UNION ALL with
// a TOP/GROUP BY/ORDER BY first branch), over a small Norvex-shaped file.
#include <gtest/gtest.h>

#include "NorvexFalso.h"

namespace {

using namespace norvex_falso;

// What the run reads: column Resultado of the first row.
std::string Respuesta(jet::TMotorJet& motor, const std::string& sSql) {
    const auto r = motor.Ejecuta(sSql);
    EXPECT_EQ(r.columnas, std::vector<std::string>{"Resultado"});
    if (r.filas.empty())
        return "(sin filas)";
    jet::TResultado primera{r.columnas, {r.filas[0]}};
    return Texto(primera);
}

TEST(NorvexSql, SourceDatabaseChecks) {
    auto motor = MotorSobre(Norvex());
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT COUNT(1) as TotalConectados FROM tCompUsr ")), "0");
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT ClaveEmp, Password FROM tEmps WHERE ClaveEmp = 'admin' "
                                   "and Nivel = 0")),
              "ADMIN,secreto");
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT ClaveEmp, Password FROM tEmps WHERE ClaveEmp = 'CAJA' "
                                   "and Nivel = 0")),
              "");
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT * FROM tEmpresa")), "CASA DEMO,1");
}

TEST(NorvexSql, PepDetection) {
    auto motor = MotorSobre(Norvex());
    const std::string sql =
        "SELECT DISTINCT tCliente.Nombre, tCliente.ApellidoPaterno,  tCliente.ApellidoMaterno, "
        "tCliente.ClaveCliente FROM tRelevan, tCliente WHERE tRelevan.TipoRelev = 'I' AND "
        "tRelevan.Fecha >= #01/01/2017# AND tRelevan.Fecha <= #12/31/2017# AND "
        "tRelevan.Observaciones LIKE '%PEP%' AND tRelevan.NumEmp = 1 AND tCliente.ClaveCliente = "
        "tRelevan.ClaveCliente";
    const auto r = motor->Ejecuta(sql);
    EXPECT_EQ(r.columnas, (std::vector<std::string>{"Nombre", "ApellidoPaterno", "ApellidoMaterno",
                                                    "ClaveCliente"}));
    EXPECT_EQ(Texto(r), "Juan,Pérez,NULL,A1");
}

TEST(NorvexSql, OperationsMergeLinesAcrossBothTables) {
    auto motor = MotorSobre(Norvex());
    Constructor c;
    const auto r = motor->Ejecuta(c.Operaciones() + " ORDER BY Folio");
    EXPECT_EQ(r.columnas, (std::vector<std::string>{"Tipo", "Folio", "Fecha", "NDiv", "Cot",
                                                    "AuxCant", "CvCAux"}));
    EXPECT_EQ(Texto(r),
              "C,1,2017-01-01 00:00:00,1,18.5,175,A1; C,2,2017-12-31 00:00:00,1,18.7,200,A2; "
              "C,3,2017-12-31 10:00:00,1,18.7,999,A1; V,4,2017-06-15 00:00:00,2,20,100,B1; "
              "C,5,2017-06-15 00:00:00,1,18,70,P1; V,6,2017-06-16 00:00:00,1,18,30,P1; "
              "C,10,2017-06-16 00:00:00,5,18,500,A1; C,11,2017-06-16 00:00:00,99,18,500,A1; "
              "V,12,2017-03-03 00:00:00,6,18.9,1000,A2; V,13,2017-03-04 00:00:00,7,21,100,X1; "
              "V,14,2017-03-05 00:00:00,6,18.9,10,A2");
}

TEST(NorvexSql, AnswersOfEveryBuilderShape) {
    auto motor = MotorSobre(Norvex());
    Constructor c;
    const std::string dolaresCompra = c.OpsDolares(false);
    // The period's last day counts whole: folio 3, at 10:00 on 31 December,
    // is one of the dollar purchases.
    struct {
        std::string sSql, sEsperada;
    } casos[] = {
        {c.Conteo(dolaresCompra), "4"},
        {c.Resultado(c.Monto(dolaresCompra), "0"), "1444"},
        {c.Resultado(c.Promedio(dolaresCompra), "0"), "361"},
        {c.Resultado(c.Monto(c.OpsOtrasDivisas(true)), "0"), "106"},
        {c.Conteo(c.OpsOtrasDivisas(false)), "0"},
        {c.Resultado(c.Monto(c.OpsOtrasDivisas(false)), "0"), "0"},
        {c.Resultado(c.Monto(c.OpsDocumentos(true)), "0"), "1121"},
        {c.Conteo(c.OpsPeriodo()), "11"},
        {c.Conteo(c.Usuarios(c.OpsClientes(dolaresCompra))), "3"},
        {c.Conteo(c.Categoria(c.Usuarios(c.OpsClientes(dolaresCompra)), 1, 0, false)), "2"},
        {c.Conteo(c.Categoria(c.Usuarios(c.OpsClientes(dolaresCompra)), 1, 2, false)), "1"},
        {c.Conteo(c.Categoria(c.Usuarios(c.OpsClientes(dolaresCompra)), 7, 0, false)), "0"},
        {c.Resultado(c.Monto(c.OpsClientes(dolaresCompra), 2, 0, true), "0"), "0"},
        {c.Resultado(c.ClienteFrec(c.OpsClientes(c.OpsOtrasDivisas(true)), 6), "NINGUNO"),
         "Banco Uno (** Total Ops.:  1 **) "},
        {c.Resultado(c.ClienteFrec(c.OpsClientes(dolaresCompra), 6), "NINGUNO"), "NINGUNO"},
        {c.Resultado(c.ActividadFrec(dolaresCompra), "NINGUNO"),
         "COMERCIO (** Total Ops.:  3 **) "},
        {c.Resultado(c.DivisaFrec(c.OpsDocumentos(true)), "NINGUNO"),
         "CHEQUE DOLARES (** Total Ops.:  2 **) "},
        {c.Existe(c.OpsDocumentos(true)), "SI"},
        {c.Existe(c.OpsDocumentos(false)), "NO"},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(Respuesta(*motor, caso.sSql), caso.sEsperada) << caso.sSql;

    // Clients are grouped by display name without letter case: "Juan Pérez"
    // and "JUAN PÉREZ" are one client with three operations.
    const std::string frec =
        Respuesta(*motor, c.Resultado(c.ClienteFrec(c.OpsClientes(dolaresCompra), 0), "NINGUNO"));
    EXPECT_TRUE(frec == "Juan Pérez (** Total Ops.:  3 **) " ||
                frec == "JUAN PÉREZ (** Total Ops.:  3 **) ")
        << frec;
}

TEST(NorvexSql, TickedPepsWithThousandsOfKeys) {
    auto motor = MotorSobre(Norvex());
    Constructor c;
    c.peps = {"A2"};
    const auto usuarios = [&] { return c.Usuarios(c.OpsClientes(c.OpsDolares(false))); };
    EXPECT_EQ(Respuesta(*motor, c.Conteo(c.Categoria(usuarios(), 7, 0, false))), "1");
    EXPECT_EQ(Respuesta(*motor, c.Conteo(c.Categoria(usuarios(), 1, 0, true))), "1");
    for (int i = 0; i < 1500; ++i) c.peps.push_back("K" + std::to_string(100000 + i));
    c.peps.push_back("P1");
    const std::string sql = c.Conteo(c.Categoria(usuarios(), 7, 0, false));
    EXPECT_GT(sql.size(), 64u * 1024u);
    EXPECT_EQ(Respuesta(*motor, sql), "2");
}

}  // namespace
