// What a user types (names, passwords, ticked PEP keys, the exchange rate)
// reaches the engine only as data: over a real Access file, hostile texts
// find exactly their own rows, never change a statement's shape and never
// turn into a syntax error box.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>

#include "BDNorvexPrueba.h"
#include "CuestPrueba.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "platform/ado/TADOQuery.h"

namespace {

// Each fits a 20-character Norvex text field.
const std::vector<std::string> kHostiles = {
    "O'Neil", "''",         "\"Jefe\"",    "[ADMIN]", "a]b[c",        "50%",
    "%",      "_",          "a--b",        "--",      "' OR ''='",    "x' OR 'x'='x",
    "\\'",    "#1/1/2017#", "ÑANDÚ ñandú", "用户名",  "Ωμέγα Кирилл", "😀",
    "a;b",    "*",          "|'|",         " ",
};

class EntradaHostilTest : public ::testing::Test {
protected:
    ado::TADOConnection& Abre(const TBDNorvex& bd) {
        const std::string sRuta = (dir_ / "Norvex.mdb").string();
        bd.Escribe(sRuta);
        conexion_.SetConnectionString(CadenaNorvex(sRuta));
        conexion_.SetConnected(true);
        return conexion_;
    }

    // The rows of a statement, through the program's query object.
    std::vector<std::vector<ado::TCampo>> Filas(const std::string& sSql) {
        ado::TADOQuery q(&conexion_);
        q.SQLAdd(sSql);
        q.Open();
        std::vector<std::vector<ado::TCampo>> filas;
        for (q.First(); !q.Eof(); q.Next()) {
            filas.emplace_back();
            for (int i = 0; i < q.FieldCount(); ++i) filas.back().push_back(q.Field(i));
        }
        return filas;
    }

    TDirTemporal dir_;
    ado::TADOConnection conexion_;
};

TEST_F(EntradaHostilTest, UserNamesAndPasswordsAreData) {
    TGrabaCajas cajas;
    TBDNorvex datos;
    datos.emps.push_back({"ADMIN", std::string("Secreto"), 0});
    for (const std::string& s : kHostiles) datos.emps.push_back({s, std::string(s), 0});
    TNorvexBD bd(&Abre(datos));
    for (const std::string& s : kHostiles) {
        EXPECT_TRUE(bd.ValidaAcceso(s, s, true)) << s;
        EXPECT_FALSE(bd.ValidaAcceso(s, s + "x", true)) << s;
        // Typed as a password, nothing opens the administrator's account.
        EXPECT_FALSE(bd.ValidaAcceso("ADMIN", s, true)) << s;
    }
    const std::string s64k(64 * 1024, 'A');
    const std::string sMezcla64k = [] {
        std::string s;
        while (s.size() < 64 * 1024) s += "' OR ''=' [x] \"y\" 100% -- ñ用 ";
        return s;
    }();
    for (const std::string& s : {s64k, sMezcla64k}) {
        EXPECT_FALSE(bd.ValidaAcceso(s, "Secreto", true));
        EXPECT_FALSE(bd.ValidaAcceso("ADMIN", s, true));
        EXPECT_FALSE(bd.ValidaAcceso("ADMIN' --", s, false));
    }
    EXPECT_TRUE(bd.ValidaAcceso("ADMIN", "Secreto", true));
    EXPECT_TRUE(cajas.textos().empty());
}

// The ticked keys go into the client statement as literals: every ticked
// client, and only those, comes out as a PEP, whatever its key holds.
TEST_F(EntradaHostilTest, TickedPEPKeysAreData) {
    TGrabaCajas cajas;
    TBDNorvex datos;
    TTablaPEPs peps;
    int n = 0;
    for (const std::string& s : kHostiles) {
        datos.clientes.push_back({s, std::string("CLIENTE"), std::monostate{}, std::monostate{}});
        ++n;
        peps.Agrega(n, s, "CLIENTE", n % 3 != 0);  // one in three left unticked
    }
    datos.clientes.push_back({"OTRO", std::string("OTRO"), std::monostate{}, std::monostate{}});
    Abre(datos);
    TCuestPrueba q(18.91, 1, &conexion_);
    q.AdjuntaPEPs(peps);
    std::set<std::string> esperados, hallados;
    for (const TFilaPEP& f : peps.Filas())
        if (f.bEsPEP)
            esperados.insert(f.sClaveCliente);
    const auto filas =
        Filas("SELECT AuxCvC, EsPEP FROM (" + q.DameConsClientes() + ") AS t ORDER BY AuxCvC");
    ASSERT_EQ(filas.size(), kHostiles.size() + 1);
    for (const auto& f : filas) {
        ASSERT_FALSE(f[1].IsNull());
        if (f[1].AsInteger() == -1)
            hallados.insert(f[0].AsString());
    }
    EXPECT_EQ(hallados, esperados);
    EXPECT_TRUE(cajas.textos().empty());
}

// 500 ticked PEPs make a condition of 500 comparisons: it still runs, and
// the detection's own key width is honoured.
TEST_F(EntradaHostilTest, FiveHundredTickedPEPs) {
    TGrabaCajas cajas;
    TBDNorvex datos;
    TTablaPEPs peps;
    for (int i = 1; i <= 600; ++i) {
        const std::string sClave = "P" + std::to_string(10000 + i);
        datos.clientes.push_back({sClave, std::string("N"), std::monostate{}, std::monostate{}});
        if (i <= 500)
            peps.Agrega(i, sClave, "N", true);
    }
    Abre(datos);
    TCuestPrueba q(18.91, 1, &conexion_);
    q.AdjuntaPEPs(peps);
    const auto filas =
        Filas("SELECT COUNT(*) AS N FROM (" + q.DameConsClientes() + ") AS t WHERE EsPEP = -1");
    ASSERT_EQ(filas.size(), 1u);
    EXPECT_EQ(filas[0][0].AsInteger(), 500);
    // And a whole run with them ticked answers every question.
    ASSERT_TRUE(q.GeneraReporte(peps));
    for (const auto& [sVar, sValor] : q.reportes->variables) EXPECT_NE(sValor, sTxError) << sVar;
    EXPECT_TRUE(cajas.textos().empty());
}

// The rate is written into statements as a literal: extreme rates must
// come back as the same number, never as a syntax error or another number.
TEST_F(EntradaHostilTest, ExtremeRatesReachTheEngineAsNumbers) {
    TGrabaCajas cajas;
    TBDNorvex datos;
    const double d = Fecha(2017, 3, 1);
    datos.clientes.push_back({"C1", std::string("ANA"), std::monostate{}, std::monostate{}});
    datos.ops = {{"C", 1, d, 2, 21.5, 100, "C1"}, {"V", 2, d, 1, 18.5, 50, "C1"}};
    Abre(datos);
    for (const double dTCambio : {1e300, 0.0000001, 12345678901234567890.0, 18.91, 5e-324}) {
        TCuestPrueba q(dTCambio, 1, &conexion_);
        const std::string sLiteral = q.DameTextoTipoCambio();
        const auto filas = Filas("SELECT " + sLiteral + " AS R FROM tEmpresa");
        ASSERT_EQ(filas.size(), 1u) << sLiteral;
        const double dLeido = filas[0][0].AsFloat();
        EXPECT_LE(std::fabs(dLeido - dTCambio), std::fabs(dTCambio) * 1e-14) << sLiteral;
        TTablaPEPs peps;
        if (dTCambio < 1e-300) {
            // Amounts divided by the smallest Double overflow it: Jet stops with
            // its overflow failure in one box, never answers an infinity.
            EXPECT_FALSE(q.GeneraReporte(peps)) << sLiteral;
            ASSERT_EQ(cajas.textos().size(), 1u);
            EXPECT_NE(cajas.textos().front().find("EDesbordamiento"), std::string::npos);
            cajas.caja().textos.clear();
            continue;
        }
        EXPECT_TRUE(q.GeneraReporte(peps)) << sLiteral;
        EXPECT_EQ(q.reportes->variables.size(), 196u) << sLiteral;
    }
    // Twenty digits written in a statement read as the nearest double.
    const auto filas = Filas(
        "SELECT 12345678901234567890 AS R, -99999999999999999999 AS S, "
        "0.00000000000000000001 AS T FROM tEmpresa");
    ASSERT_EQ(filas.size(), 1u);
    EXPECT_EQ(filas[0][0].AsFloat(), 12345678901234567890.0);
    EXPECT_EQ(filas[0][1].AsFloat(), -99999999999999999999.0);
    EXPECT_EQ(filas[0][2].AsFloat(), 0.00000000000000000001);
    EXPECT_TRUE(cajas.textos().empty()) << cajas.textos().front();
}

}  // namespace
