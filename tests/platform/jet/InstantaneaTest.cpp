// The snapshot: values copied exactly, tables read on first use and once,
// everything read again when the file changes on disk.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "ArchivoFalso.h"
#include "platform/jet/Latido.h"

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
                         std::string("dólar \"x\"\r\n"), true,
                         jet::TBytes{std::string("bi\0nario", 8)}});
    filas.push_back({std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{},
                     std::monostate{}, std::monostate{}});
    a->Tabla("t",
             {{"D", TTipoColumna::tcDoble, 8},
              {"M", TTipoColumna::tcMoneda, 8},
              {"F", TTipoColumna::tcFechaHora, 8},
              {"S", TTipoColumna::tcMemo, 0},
              {"B", TTipoColumna::tcBooleano, 1},
              {"O", TTipoColumna::tcBinario, 16}},
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
        EXPECT_EQ(std::get<jet::TBytes>(f[5]).bytes, std::string("bi\0nario", 8));
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

// A derived table kept from an earlier statement answers as the statement
// computing it would: value kinds (dates, currency, Booleans), the JET
// collation of its text (DISTINCT), its column affinity (a number against
// text), its row order (TOP over an ordered derived table), and failures.
TEST(Instantanea, KeptDerivedTablesAnswerAsComputedOnes) {
    auto a = std::make_shared<TArchivoFalso>();
    std::vector<TArchivoFalso::Fila> filas;
    const char* textos[] = {"abc", "ABC", "ábc", "b"};
    for (int i = 0; i < 4; ++i)
        filas.push_back({int64_t{i}, 0.5 + i, jet::TMoneda{12345 * i}, Fecha(2017, 1 + i, 2, 3, 0),
                         i % 2 == 0, std::string(textos[i])});
    a->Tabla("t",
             {{"N", TTipoColumna::tcEnteroLargo, 4},
              {"D", TTipoColumna::tcDoble, 8},
              {"M", TTipoColumna::tcMoneda, 8},
              {"F", TTipoColumna::tcFechaHora, 8},
              {"B", TTipoColumna::tcBooleano, 1},
              {"S", TTipoColumna::tcTexto, 20}},
             filas);
    const char* consultas[] = {
        "SELECT d.* FROM (SELECT N, F, M, B, S AS T, D * 2 AS X, MID(S, 1, 1) AS Y FROM t) AS d",
        "SELECT DISTINCT d.T FROM (SELECT S AS T FROM t) AS d",
        "SELECT DISTINCT d.U FROM (SELECT S & '' AS U FROM t) AS d",
        "SELECT COUNT(*) FROM (SELECT N FROM t) AS d WHERE d.N = '2'",
        "SELECT TOP 2 d.N FROM (SELECT N FROM t ORDER BY D DESC) AS d",
        "SELECT k.N, k.S FROM (SELECT N, S FROM t WHERE B) AS k, (SELECT N FROM t) AS j "
        "WHERE k.N = j.N ORDER BY k.N",
        "SELECT MAX(g.F), SUM(g.M) FROM (SELECT F, M FROM t WHERE N > 0) AS g",
    };
    auto conReuso = MotorSobre(a);
    auto sinReuso = MotorSobre(a);
    sinReuso->PonOptimizacion(false);
    for (int nVuelta = 0; nVuelta < 2; ++nVuelta) {  // the second one reads kept tables
        for (const char* sql : consultas) {
            const auto esperado = sinReuso->Ejecuta(sql);
            const auto r = conReuso->Ejecuta(sql);
            EXPECT_EQ(r.columnas, esperado.columnas) << sql;
            EXPECT_EQ(r.filas, esperado.filas) << sql;
        }
    }
    EXPECT_EQ(conReuso->Ejecuta(consultas[1]).filas.size(), 3u);  // abc = ABC, not ábc
    // A failure inside a derived table is the statement's, every time, also
    // when it comes after rows were already copied (none of them is kept).
    for (const char* sql : {"SELECT * FROM (SELECT CLNG(S) AS Z FROM t) AS d",
                            "SELECT * FROM (SELECT CLNG(IIF(N = 0, '7', S)) AS Z FROM t) AS d"})
        for (int i = 0; i < 2; ++i) EXPECT_THROW(conReuso->Ejecuta(sql), jet::EErrorJet) << sql;
    EXPECT_EQ(conReuso->Ejecuta("SELECT COUNT(*) FROM (SELECT N FROM t WHERE N < 2) AS d").filas,
              sinReuso->Ejecuta("SELECT COUNT(*) FROM (SELECT N FROM t WHERE N < 2) AS d").filas);
}

// The heartbeat comes while a table is copied and while a long statement
// runs, not more often than asked, and what it throws never reaches SQLite.
// It belongs to the engine it was handed to: another engine never calls it.
TEST(Instantanea, HeartbeatDuringCopyAndLongStatements) {
    auto a = std::make_shared<TArchivoFalso>();
    std::vector<TArchivoFalso::Fila> filas;
    for (int i = 0; i < 1000; ++i) filas.push_back({int64_t{i}});
    a->Tabla("t", {{"N", TTipoColumna::tcEnteroLargo, 4}}, filas);
    int nLatidos = 0;
    auto motor = MotorSobre(a);
    motor->PonLatido(
        std::make_shared<jet::TLatido>([&] { ++nLatidos; }, std::chrono::milliseconds(0)));
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT COUNT(*) FROM t")), "1000");
    EXPECT_GE(nLatidos, 1000);  // one per copied row
    nLatidos = 0;
    const std::string sLarga = "SELECT COUNT(*) FROM t AS a, t AS b WHERE a.N <> b.N";
    EXPECT_EQ(Texto(motor->Ejecuta(sLarga)), "999000");
    EXPECT_GT(nLatidos, 100);

    nLatidos = 0;
    EXPECT_EQ(Texto(MotorSobre(a)->Ejecuta(sLarga)), "999000");
    EXPECT_EQ(nLatidos, 0);

    motor->PonLatido(std::make_shared<jet::TLatido>(
        [&] {
            ++nLatidos;
            throw std::runtime_error("falla del aviso");
        },
        std::chrono::milliseconds(0)));
    nLatidos = 0;
    EXPECT_EQ(Texto(motor->Ejecuta(sLarga)), "999000");
    EXPECT_GT(nLatidos, 100);

    motor->PonLatido(std::make_shared<jet::TLatido>([&] { ++nLatidos; }, std::chrono::hours(1)));
    nLatidos = 0;
    EXPECT_EQ(Texto(motor->Ejecuta(sLarga)), "999000");
    EXPECT_EQ(nLatidos, 0);

    motor->PonLatido(nullptr);
    EXPECT_EQ(Texto(motor->Ejecuta(sLarga)), "999000");
}

// Work stopped on request (a console's Ctrl-C) fails with EInterrumpida
// wherever it stood: copying a table, filling a kept derived table, running
// the statement. Nothing half done stays: once let go, the same statements
// answer over whole tables.
TEST(Instantanea, AnInterruptionStopsTheWorkAndLeavesNothingHalfDone) {
    auto a = std::make_shared<TArchivoFalso>();
    std::vector<TArchivoFalso::Fila> filas;
    for (int i = 0; i < 1000; ++i) filas.push_back({int64_t{i}});
    a->Tabla("t", {{"N", TTipoColumna::tcEnteroLargo, 4}}, filas);
    const struct {
        const char* sql;
        const char* esperado;
    } casos[] = {
        {"SELECT COUNT(*) FROM t", "1000"},  // stopped while t is copied
        {"SELECT COUNT(*) FROM (SELECT a.N FROM t AS a, t AS b WHERE a.N <> b.N) AS d", "999000"},
        {"SELECT COUNT(*) FROM t AS a, t AS b WHERE a.N <> b.N", "999000"},
    };
    auto motor = MotorSobre(a);
    int nLatidos = 0;
    std::shared_ptr<jet::TLatido> latido;
    latido = std::make_shared<jet::TLatido>(
        [&] {
            if (++nLatidos == 300)
                latido->Interrumpe();
        },
        std::chrono::milliseconds(0));
    motor->PonLatido(latido);
    for (const auto& c : casos) {
        nLatidos = 0;
        try {
            motor->Ejecuta(c.sql);
            ADD_FAILURE() << "not stopped: " << c.sql;
        } catch (const jet::EErrorJet& e) {
            EXPECT_EQ(e.Clase(), "EInterrumpida") << c.sql;
        }
        EXPECT_LT(nLatidos, 310) << c.sql;  // soon after the request, not at the end
        latido->Reanuda();
        nLatidos = -1000000000;
        EXPECT_EQ(Texto(motor->Ejecuta(c.sql)), c.esperado) << c.sql;
    }
}

}  // namespace
