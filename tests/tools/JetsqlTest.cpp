#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "TDirTemporal.h"
#include "tests/tools/JetsqlPrograma.h"
#include "tools/jetsql/Jetsql.h"

namespace {

std::string Fixture(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

TEST(Jetsql, LeeLaLineaDeOrdenes) {
    struct {
        std::vector<std::string> args;
        bool bValida;
        std::string sArchivo, sContrasena;
    } casos[] = {
        {{"a.mdb", "--tables"}, true, "a.mdb", ""},
        {{"--password", "p w", "a.mdb", "--tables"}, true, "a.mdb", "p w"},
        {{"--tables", "a.mdb", "--password", ""}, true, "a.mdb", ""},
        {{"--tables"}, false, "", ""},
        {{"a.mdb", "--tables", "--password"}, false, "", ""},
        {{"a.mdb", "b.mdb", "--tables"}, false, "", ""},
        {{"a.mdb", "--tablas"}, false, "", ""},
    };
    for (const auto& c : casos) {
        std::string sError;
        const auto opciones = LeeOpcionesJetsql(c.args, sError);
        ASSERT_EQ(opciones.has_value(), c.bValida) << testing::PrintToString(c.args);
        if (!opciones) {
            EXPECT_FALSE(sError.empty());
            continue;
        }
        EXPECT_EQ(opciones->sArchivo, c.sArchivo);
        EXPECT_EQ(opciones->sContrasena, c.sContrasena);
        EXPECT_EQ(opciones->eAccion, TOpcionesJetsql::taTablas);
    }
}

TEST(Jetsql, ListaLasTablasOExplicaPorQueNo) {
    struct {
        std::string sArchivo, sContrasena;
        int nEstado;
        std::string sSalida, sErrores;
    } casos[] = {
        {Fixture("jet4-password.mdb"), "password", 0, "Table1\t3\n", ""},
        {Fixture("jet3-types.mdb"), "", 0, "Table1\t2\nTable2\t0\nTable3\t0\nTable4\t0\n", ""},
        {Fixture("jet4-password.mdb"), "quilon", 1, "",
         "EContrasenaInvalida - No es una contraseña válida.\n"},
        {"/no/existe.mdb", "", 1, "",
         "EArchivoInexistente - No se encontró el archivo '/no/existe.mdb'.\n"},
    };
    for (const auto& c : casos) {
        std::ostringstream salida, errores;
        const TOpcionesJetsql opciones{c.sArchivo, c.sContrasena, TOpcionesJetsql::taTablas};
        EXPECT_EQ(EjecutaJetsql(opciones, salida, errores), c.nEstado) << c.sArchivo;
        EXPECT_EQ(salida.str(), c.sSalida);
        EXPECT_EQ(errores.str(), c.sErrores);
    }
}

// The program as the README runs it: output and exit status.
TEST(Jetsql, ElProgramaSaleConUnoAnteUnaContrasenaMala) {
    auto ejecuta = [](const std::string& sContrasena, std::string& sSalida) {
        const std::string sOrden = std::string("'") + KOVA_BINARY_DIR + "/bin/jetsql' --password " +
                                   sContrasena + " '" + Fixture("jet4-password.mdb") +
                                   "' --tables 2>&1";
        FILE* tubo = popen(sOrden.c_str(), "r");
        if (!tubo)
            return -1;
        char buf[256];
        while (fgets(buf, sizeof buf, tubo)) sSalida += buf;
        const int nEstado = pclose(tubo);
        return WIFEXITED(nEstado) ? WEXITSTATUS(nEstado) : -1;
    };
    std::string sBien, sMal;
    EXPECT_EQ(ejecuta("password", sBien), 0);
    EXPECT_EQ(sBien, "Table1\t3\n");
    EXPECT_EQ(ejecuta("quilon", sMal), 1);
    EXPECT_EQ(sMal, "EContrasenaInvalida - No es una contraseña válida.\n");
}

// libmdb's own English warnings never stand before the program's message;
// --depurar shows them, marked as the library's.
TEST(Jetsql, LosAvisosDeLibmdbSoloSeVenConDepurar) {
    TDirTemporal dir;
    std::ifstream f(FixtureMdb("jet4-types.mdb"), std::ios::binary);
    std::string sBytes{std::istreambuf_iterator<char>(f), {}};
    sBytes[24 * 4096] = '\x03';  // Table1's definition page no longer says what it is
    const std::string sRuta = (dir / "d.mdb").string();
    std::ofstream(sRuta, std::ios::binary) << sBytes;

    const TEjecucion normal = EjecutaJetsqlCon({sRuta, "--tables"}, "");
    EXPECT_EQ(normal.nSalida, 1);
    EXPECT_TRUE(normal.sErrores.starts_with("ETablaDanada - ")) << normal.sErrores;
    EXPECT_EQ(std::count(normal.sErrores.begin(), normal.sErrores.end(), '\n'), 1)
        << normal.sErrores;

    const TEjecucion depurada = EjecutaJetsqlCon({sRuta, "--tables", "--depurar"}, "");
    EXPECT_EQ(depurada.nSalida, 1);
    EXPECT_TRUE(depurada.sErrores.starts_with("libmdb: mdb_read_table: ")) << depurada.sErrores;
    EXPECT_TRUE(depurada.sErrores.ends_with(normal.sErrores)) << depurada.sErrores;
}

}  // namespace
