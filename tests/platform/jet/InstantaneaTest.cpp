// The snapshot: values copied exactly, tables read on first use and once,
// everything read again when the file changes on disk.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "ArchivoFalso.h"

using jet::TTipoColumna;

namespace {

bool MismosBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(Instantanea, CopiesEveryValueExactly) {
    auto a = std::make_shared<TArchivoFalso>();
    const double dobles[] = {0.1, 444.555, 1.0 / 3.0, 1e308, 5e-324, -0.0, 3.0};
    std::vector<TArchivoFalso::Fila> filas;
    for (double d : dobles)
        filas.push_back({d, jet::TMoneda{-9007199254740}, Fecha(1899, 12, 29, 6, 0),
                         std::string("dólar \"x\"\r\n"), true, std::string("binario")});
    filas.push_back({std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{},
                     std::monostate{}, std::monostate{}});
    a->Tabla("t",
             {{"D", TTipoColumna::tcDoble, 8},
              {"M", TTipoColumna::tcMoneda, 8},
              {"F", TTipoColumna::tcFechaHora, 8},
              {"S", TTipoColumna::tcMemo, 0},
              {"B", TTipoColumna::tcBooleano, 1},
              {"O", TTipoColumna::tcOtro, 16}},
             filas);
    auto motor = MotorSobre(a);
    const auto r = motor->Ejecuta("SELECT * FROM t");
    ASSERT_EQ(r.filas.size(), std::size(dobles) + 1);
    for (size_t i = 0; i < std::size(dobles); ++i) {
        const auto& f = r.filas[i];
        EXPECT_TRUE(MismosBits(std::get<double>(f[0]), dobles[i]) || dobles[i] == 0) << dobles[i];
        EXPECT_EQ(std::get<jet::TMoneda>(f[1]).nDiezMilesimos, -9007199254740);
        // Before the epoch the day counts back and the time forward: -1.25.
        EXPECT_EQ(std::get<jet::TFecha>(f[2]).dSerial, -1.25);
        EXPECT_EQ(std::get<std::string>(f[3]), "dólar \"x\"\r\n");
        EXPECT_EQ(std::get<bool>(f[4]), true);
        EXPECT_TRUE(jet::EsNulo(f[5]));
    }
    for (const auto& v : r.filas.back()) EXPECT_TRUE(jet::EsNulo(v));
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT B + 0, YEAR(F), DAY(F) FROM t WHERE D = 3")),
              "-1,1899,29");
}

TEST(Instantanea, ReadsOnlyTheTablesAStatementNamesAndEachOnce) {
    auto a = std::make_shared<TArchivoFalso>();
    a->Tabla("tA", {{"X", TTipoColumna::tcEnteroLargo, 4}}, {{int64_t{1}}});
    a->Tabla("tB", {{"X", TTipoColumna::tcEnteroLargo, 4}}, {{int64_t{2}}});
    auto motor = MotorSobre(a);
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT X FROM ta")), "1");
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT COUNT(1) FROM TA, (SELECT * FROM tA) AS z")), "1");
    EXPECT_EQ((*a->lecturas)["tA"], 1);
    EXPECT_EQ(a->lecturas->count("tB"), 0u);
}

TEST(Instantanea, ReloadsWhenTheFileSignatureChanges) {
    // The "disk" holds one of two versions of the file.
    auto v1 = std::make_shared<TArchivoFalso>();
    v1->Tabla("tCompUsr", {{"Usuario", TTipoColumna::tcTexto, 20}}, {});
    v1->firma_ = {100, 1};
    auto v2 = std::make_shared<TArchivoFalso>();
    v2->Tabla("tCompUsr", {{"Usuario", TTipoColumna::tcTexto, 20}}, {{std::string("CAJA1")}});
    v2->firma_ = {100, 2};  // same size, later modification time
    auto enDisco = v1;
    int nAperturas = 0;
    jet::TMotorJet motor(
        [&] {
            ++nAperturas;
            return std::unique_ptr<jet::TArchivoAccess>(std::make_unique<TArchivoFalso>(*enDisco));
        },
        [&](const std::string&) { return enDisco->firma_; });
    const std::string sql = "SELECT COUNT(1) as TotalConectados FROM tCompUsr ";
    EXPECT_EQ(Texto(motor.Ejecuta(sql)), "0");
    EXPECT_EQ(Texto(motor.Ejecuta(sql)), "0");
    EXPECT_EQ(nAperturas, 1);
    enDisco = v2;
    EXPECT_EQ(Texto(motor.Ejecuta(sql)), "1");
    EXPECT_EQ(nAperturas, 2);
    EXPECT_EQ(Texto(motor.Ejecuta(sql)), "1");
    EXPECT_EQ(nAperturas, 2);
}

TEST(Instantanea, AFailedReadIsReportedAndTriedAgain) {
    auto a = std::make_shared<TArchivoFalso>();
    a->Tabla("tA", {{"X", TTipoColumna::tcEnteroLargo, 4}}, {{int64_t{1}}, {int64_t{2}}});
    *a->bFallaLectura = true;
    auto motor = MotorSobre(a);
    try {
        motor->Ejecuta("SELECT X FROM tA");
        FAIL();
    } catch (const jet::EErrorJet& e) {
        EXPECT_EQ(e.Clase(), "EArchivoIlegible");
    }
    *a->bFallaLectura = false;
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT SUM(X) FROM tA")), "3");
}

}  // namespace
