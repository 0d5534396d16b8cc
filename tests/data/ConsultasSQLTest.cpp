// The query service: every database failure becomes one BD-101 box naming
// the most derived class, and a false result; backups go where they should.
#include "data/ConsultasSQL.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>

#include "platform/ado/TADOConnection.h"
#include "platform/jet/Latido.h"
#include "platform/jet/MotorJet.h"

#include "TCajaGrabadora.h"
#include "TDirTemporal.h"

namespace {

std::string Fixture(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

// A derived service, as the Norvex and questionnaire classes are.
class TServicioPrueba : public TConsultasSQL {
public:
    using TConsultasSQL::TConsultasSQL;
    ado::TADOQuery& General() { return *F_qConsultaGen; }
};

struct Servicio {
    ado::TADOConnection conexion;
    std::shared_ptr<TServicioPrueba> servicio;
    explicit Servicio(bool bAbierta = true) {
        conexion.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                                     Fixture("jet4-no-password.mdb"));
        if (bAbierta)
            conexion.SetConnected(true);
        servicio = std::make_shared<TServicioPrueba>(&conexion);
    }
};

const std::string kCaja = "Error #BD-101.TServicioPrueba: Llame a Soporte Técnico. ";

TEST(ConsultasSQL, PideConsultaLeavesTheQueryOpenOnItsFirstRow) {
    TGrabaCajas cajas;
    Servicio s;
    auto& q = s.servicio->General();
    EXPECT_FALSE(q.Active());
    EXPECT_TRUE(q.SQLText().empty());
    ASSERT_TRUE(s.servicio->PideConsulta("SELECT ID, Data FROM Table1 ORDER BY ID DESC", q));
    EXPECT_EQ(q.FieldByName("data").AsString(), "Three");
    // The next call closes the first result before setting its own text.
    ASSERT_TRUE(s.servicio->PideConsulta("SELECT ID FROM Table1 WHERE ID > 5", q));
    EXPECT_EQ(q.SQLText(), "SELECT ID FROM Table1 WHERE ID > 5");
    EXPECT_TRUE(q.Active());
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(cajas.textos().empty());
}

TEST(ConsultasSQL, EveryFailureIsOneBoxAndFalse) {
    struct {
        const char* sSql;
        std::string sCaja;
    } casos[] = {
        {"SELECT ID FROM Table1 WHERE", kCaja +
                                            "ESintaxis - Error de sintaxis en la instrucción SQL "
                                            "cerca de 'fin de la instrucción'."},
        {"SELECT * FROM tMovto", kCaja + "ETablaNoEncontrada - No se encuentra la tabla o consulta "
                                         "'tMovto'."},
        {"SELECT Importe FROM Table1", kCaja +
                                           "EParametroSinValor - No se ha especificado un valor "
                                           "para el parámetro 'Importe': no hay ninguna columna "
                                           "con ese nombre."},
    };
    for (const auto& c : casos) {
        TGrabaCajas cajas;
        Servicio s;
        auto& q = s.servicio->General();
        ASSERT_TRUE(s.servicio->PideConsulta("SELECT ID FROM Table1", q));
        EXPECT_FALSE(s.servicio->PideConsulta(c.sSql, q));
        EXPECT_FALSE(q.Active());
        ASSERT_EQ(cajas.textos().size(), 1u) << c.sSql;
        EXPECT_EQ(cajas.textos()[0], c.sCaja);
    }
}

// A failure that is no engine failure still shows as one row of the table of
// kinds: a lack of memory as one, never a C++ type's name.
TEST(ConsultasSQL, ALackOfMemoryIsSaidAsOne) {
    TGrabaCajas cajas;
    Servicio s;
    s.conexion.Motor().PonLatido(std::make_shared<jet::TLatido>([] { throw std::bad_alloc(); },
                                                                std::chrono::milliseconds(0)));
    EXPECT_FALSE(s.servicio->PideConsulta("SELECT ID FROM Table1", s.servicio->General()));
    ASSERT_EQ(cajas.textos().size(), 1u);
    EXPECT_EQ(cajas.textos()[0],
              kCaja + "EMemoria - No hay memoria suficiente para ejecutar la instrucción.");
}

TEST(ConsultasSQL, AClosedConnectionIsOneBoxAndFalse) {
    TGrabaCajas cajas;
    Servicio s(false);
    EXPECT_FALSE(s.servicio->PideConsulta("SELECT ID FROM Table1", s.servicio->General()));
    EXPECT_FALSE(s.servicio->EjecutaConsulta("SELECT ID FROM Table1", s.servicio->General()));
    ASSERT_EQ(cajas.textos().size(), 2u);
    EXPECT_EQ(cajas.textos()[0], kCaja + "EConexionCerrada - La conexión no está abierta.");
}

TEST(ConsultasSQL, EjecutaConsultaClosesTheQuery) {
    TGrabaCajas cajas;
    Servicio s;
    auto& q = s.servicio->General();
    EXPECT_TRUE(s.servicio->EjecutaConsulta("SELECT ID FROM Table1", q));
    EXPECT_FALSE(q.Active());
    EXPECT_TRUE(cajas.textos().empty());
}

// The database is read-only: emptying a table ends in the BD-101 box and
// the rows stay.
TEST(ConsultasSQL, LimpiaTablaAndInicializaTablaFailAndLoseNothing) {
    struct {
        std::string sTabla, sCondicion, sSql, sClase;
    } casos[] = {
        {"Table1", "", "DELETE FROM Table1", "ESoloLectura"},
        {"Table1", "  ", "DELETE FROM Table1 WHERE   ", "ESoloLectura"},
        {"Table1", "ID = 1", "DELETE FROM Table1 WHERE ID = 1", "ESoloLectura"},
    };
    for (const auto& c : casos) {
        TGrabaCajas cajas;
        Servicio s;
        s.servicio->LimpiaTabla(c.sTabla, c.sCondicion);
        EXPECT_EQ(s.servicio->General().SQLText(), c.sSql);
        ASSERT_EQ(cajas.textos().size(), 1u);
        EXPECT_EQ(cajas.textos()[0].rfind(kCaja + c.sClase + " - ", 0), 0u) << cajas.textos()[0];
    }
    TGrabaCajas cajas;
    Servicio s;
    s.servicio->InicializaTabla("Table1");
    EXPECT_EQ(s.servicio->General().SQLText(), "TRUNCATE TABLE Table1");
    ASSERT_EQ(cajas.textos().size(), 1u);
    EXPECT_EQ(cajas.textos()[0].rfind(kCaja + "ESintaxis - ", 0), 0u);
    ASSERT_TRUE(
        s.servicio->PideConsulta("SELECT COUNT(1) AS N FROM Table1", s.servicio->General()));
    EXPECT_EQ(s.servicio->General().FieldByName("N").AsInteger(), 3);
}

TEST(ConsultasSQL, RespaldaBDBuildsTheDatedNameWhenNoTargetIsGiven) {
    TDirTemporal dir;
    const auto origen = dir / "DataBase" / "Norvex.mdb";
    std::filesystem::create_directory(dir / "DataBase");
    std::filesystem::copy_file(Fixture("jet4-no-password.mdb"), origen);
    Servicio s;
    s.servicio->RespaldaBD(origen.string(), "   ");
    s.servicio->RespaldaBD(origen.string(), "   ");  // within the minute: overwrites
    std::vector<std::string> nombres;
    for (const auto& e : std::filesystem::directory_iterator(dir / "DataBase" / "Respaldos"))
        nombres.push_back(e.path().filename().string());
    ASSERT_GE(nombres.size(), 1u);
    ASSERT_LE(nombres.size(), 2u);  // two only if the minute turned between the calls
    for (const auto& n : nombres) {
        // RESP_yyyy_mm_dd_hh_mm_Norvex.mdb
        EXPECT_EQ(n.size(), std::string("RESP_2018_05_24_14_07_Norvex.mdb").size()) << n;
        EXPECT_EQ(n.rfind("RESP_20", 0), 0u) << n;
        EXPECT_TRUE(n.ends_with("_Norvex.mdb")) << n;
        EXPECT_EQ(std::filesystem::file_size(dir / "DataBase" / "Respaldos" / n),
                  std::filesystem::file_size(origen));
    }
}

TEST(ConsultasSQL, RespaldaBDCopiesToAGivenTargetAndCreatesNoFolder) {
    TDirTemporal dir;
    const auto origen = dir / "Norvex.mdb";
    std::filesystem::copy_file(Fixture("jet4-no-password.mdb"), origen);
    Servicio s;
    s.servicio->RespaldaBD(origen.string(), (dir / "copia.mdb").string());
    EXPECT_EQ(std::filesystem::file_size(dir / "copia.mdb"), std::filesystem::file_size(origen));
    EXPECT_FALSE(std::filesystem::exists(dir / "Respaldos"));
    // A copy that cannot be made reports nothing.
    TGrabaCajas cajas;
    s.servicio->RespaldaBD((dir / "no-existe.mdb").string(), (dir / "x.mdb").string());
    EXPECT_TRUE(cajas.textos().empty());
}

}  // namespace
