// Scripts: cut into statements where the engine's tokenizer sees a ';', run
// in order, stopped (or not) by a failing statement.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include <fstream>

#include "TDirTemporal.h"
#include "tests/tools/JetsqlPrograma.h"
#include "tools/jetsql/DivisorGuion.h"

namespace {

using TPieza = TDivisorGuion::TPieza;

TEST(JetsqlGuion, CortaDondeElTokenizadorVeUnPuntoYComa) {
    const TPieza::TTipo I = TPieza::tpInstruccion, P = TPieza::tpPunto;
    struct TEsperada {
        TPieza::TTipo eTipo;
        std::string sTexto;
        int nLinea;
        bool bTerminada;
    };
    struct {
        std::string sGuion;
        std::vector<TEsperada> piezas;
    } casos[] = {
        {"SELECT 1; SELECT 2;", {{I, "SELECT 1", 1, true}, {I, "SELECT 2", 1, true}}},
        // Texts in both quotes, doubled quotes and bracketed names keep their ';'.
        {"SELECT 'a;b' AS x, \"c;\"\"d\" FROM [t;1];\nSELECT 2",
         {{I, "SELECT 'a;b' AS x, \"c;\"\"d\" FROM [t;1]", 1, true}, {I, "SELECT 2", 2, false}}},
        // Blank and empty statements are skipped; lines count from the first
        // character; a dot command is its own line.
        {"\n\n  SELECT 1\n  ;;\n.modo json  \n  .encabezados off\nSELECT\n 2;\n",
         {{I, "SELECT 1", 3, true},
          {P, ".modo json", 5, true},
          {P, ".encabezados off", 6, true},
          {I, "SELECT\n 2", 7, true}}},
        // A '.' after a statement on the same line is no dot command.
        {"SELECT 1; .tables", {{I, "SELECT 1", 1, true}, {I, ".tables", 1, false}}},
        // A text still open when the script ends: one unfinished statement.
        {"SELECT 'abierto;\nsigue", {{I, "SELECT 'abierto;\nsigue", 1, false}}},
        // A character the tokenizer refuses breaks only its own statement.
        {"SELECT a ? b; SELECT 'x;y';",
         {{I, "SELECT a ? b", 1, true}, {I, "SELECT 'x;y'", 1, true}}},
        {"SELECT 'p;q';\nSELECT a ? b;\nSELECT 'x;y';\n",
         {{I, "SELECT 'p;q'", 1, true},
          {I, "SELECT a ? b", 2, true},
          {I, "SELECT 'x;y'", 3, true}}},
        // A dot command's words need not tokenize, nor spoil what follows.
        {".leer 'mi guion.sql\nSELECT 'x;y';",
         {{P, ".leer 'mi guion.sql", 1, true}, {I, "SELECT 'x;y'", 2, true}}},
        {"  \n ;\n", {}},
    };
    for (const auto& c : casos) {
        TDivisorGuion divisor(c.sGuion);
        std::vector<TPieza> piezas;
        while (auto p = divisor.Siguiente()) piezas.push_back(*p);
        ASSERT_EQ(piezas.size(), c.piezas.size()) << c.sGuion;
        for (size_t i = 0; i < piezas.size(); ++i) {
            EXPECT_EQ(piezas[i].eTipo, c.piezas[i].eTipo) << c.sGuion << " #" << i;
            EXPECT_EQ(piezas[i].sTexto, c.piezas[i].sTexto) << c.sGuion << " #" << i;
            EXPECT_EQ(piezas[i].nLinea, c.piezas[i].nLinea) << c.sGuion << " #" << i;
            EXPECT_EQ(piezas[i].bTerminada, c.piezas[i].bTerminada) << c.sGuion << " #" << i;
        }
    }
}

TEST(JetsqlGuion, EjecutaLasInstruccionesEnOrdenYParaEnLaPrimeraQueFalla) {
    const std::string sArchivo = FixtureMdb("jet4-no-password.mdb");
    const std::string sFalla =
        "EParametroSinValor - No se ha especificado un valor para el parámetro 'nope': no hay "
        "ninguna columna con ese nombre.\n  en la instrucción 2, línea 3\n";
    struct {
        std::vector<std::string> args;
        std::string sEntrada;
        int nSalida;
        std::string sSalida, sErrores;
    } casos[] = {
        {{sArchivo},
         "SELECT COUNT(*) AS n FROM Table1;\nSELECT Data FROM Table1 WHERE ID = 2;\n",
         0,
         "n\r\n3\r\nData\r\nTwo\r\n",
         ""},
        {{sArchivo},
         "SELECT 'a;b' AS x;\n\nSELECT nope\n FROM Table1;\nSELECT 2 AS y;",
         1,
         "x\r\na;b\r\n",
         sFalla},
        {{"--continuar", sArchivo},
         "SELECT 'a;b' AS x;\n\nSELECT nope\n FROM Table1;\nSELECT 2 AS y;",
         1,
         "x\r\na;b\r\ny\r\n2\r\n",
         sFalla},
        {{sArchivo}, "", 0, "", ""},
        // A script saved on Windows: byte order mark and CR LF line ends.
        {{sArchivo},
         "\xEF\xBB\xBFSELECT 1 AS a;\r\n.encabezados off\r\nSELECT 2 AS b;\r\n",
         0,
         "a\r\n1\r\n2\r\n",
         ""},
        // Dot commands in a script change how the next results are written.
        {{sArchivo},
         ".encabezados off\nSELECT ID FROM Table1 WHERE ID < 3;\n.modo json\n.encabezados on\n"
         "SELECT Data FROM Table1 WHERE ID = 3;",
         0,
         "1\r\n2\r\n[{\"Data\":\"Three\"}]\n",
         ""},
        {{sArchivo},
         ".tablas\n.nada\nSELECT 1 AS a;",
         1,
         "Tabla,Filas\r\nTable1,3\r\n",
         "EOrdenDesconocida - No existe la orden '.nada'; .ayuda muestra las que hay.\n  en la "
         "instrucción 2, línea 2\n"},
        {{"-f", "/no/existe.sql", sArchivo},
         "SELECT 1;",
         1,
         "",
         "EArchivoInexistente - No se puede leer el guion '/no/existe.sql'.\n"},
    };
    for (const auto& c : casos) {
        const auto r = EjecutaJetsqlCon(c.args, c.sEntrada);
        EXPECT_EQ(r.nSalida, c.nSalida) << c.sEntrada;
        EXPECT_EQ(r.sSalida, c.sSalida) << c.sEntrada;
        EXPECT_EQ(r.sErrores, c.sErrores) << c.sEntrada;
    }
}

TEST(JetsqlGuion, LeeElGuionDeUnArchivoYLosQueEsteLee) {
    TDirTemporal tmp;
    const auto interno = tmp / "interno.sql";
    std::ofstream(interno) << "SELECT 2 AS b;\nSELECT mal FROM Table1;\n";
    std::ofstream(tmp / "guion.sql")
        << "SELECT 1 AS a;\n.leer '" << interno.string() << "'\nSELECT 3 AS c;\n";
    const auto r = EjecutaJetsqlCon(
        {"-f", (tmp / "guion.sql").string(), FixtureMdb("jet4-no-password.mdb")}, "SELECT 9;");
    EXPECT_EQ(r.nSalida, 1);
    EXPECT_EQ(r.sSalida, "a\r\n1\r\nb\r\n2\r\n");
    EXPECT_EQ(r.sErrores,
              "EParametroSinValor - No se ha especificado un valor para el parámetro 'mal': no "
              "hay ninguna columna con ese nombre.\n  en la instrucción 2, línea 2 de " +
                  interno.string() + "\n  en la instrucción 2, línea 2\n");
}

// The database, the script and the scripts it reads must be regular files:
// a folder, a FIFO (never waited on) or a device (never read to its end) is
// refused at once and named; before anything is opened, exit 2.
TEST(JetsqlGuion, EntradasQueNoSonArchivosComunes) {
    TDirTemporal tmp;
    const std::string sCarpeta = (tmp / "carpeta").string();
    const std::string sTubo = (tmp / "tubo").string();
    std::filesystem::create_directory(sCarpeta);
    ASSERT_EQ(mkfifo(sTubo.c_str(), 0600), 0);
    const std::string sMdb = FixtureMdb("jet4-no-password.mdb");
    const std::string sNoComun =
        " no es un archivo común (es un dispositivo, una tubería o un socket).";
    const struct {
        std::vector<std::string> args;
        std::string sEntrada;
        int nSalida;
        std::string sErrores;
    } casos[] = {
        {{sCarpeta}, "SELECT 1;", 2, sCarpeta + " es una carpeta, no un archivo.\n"},
        {{sTubo}, "SELECT 1;", 2, sTubo + sNoComun + "\n"},
        {{"/dev/zero"}, "SELECT 1;", 2, "/dev/zero" + sNoComun + "\n"},
        {{"-f", sCarpeta, sMdb}, "", 2, sCarpeta + " es una carpeta, no un archivo.\n"},
        {{"-f", "/dev/urandom", sMdb}, "", 2, "/dev/urandom" + sNoComun + "\n"},
        {{sMdb},
         ".leer '" + sTubo + "'\nSELECT 1 AS a;",
         1,
         "EArchivoInexistente - " + sTubo + sNoComun + "\n  en la instrucción 1, línea 1\n"},
    };
    for (const auto& c : casos) {
        const auto r = EjecutaJetsqlCon(c.args, c.sEntrada);
        EXPECT_EQ(r.nSalida, c.nSalida) << c.args[0];
        EXPECT_EQ(r.sSalida, "") << c.args[0];
        EXPECT_EQ(r.sErrores, c.sErrores) << c.args[0];
    }
}

// Well past the system's limit on one argument: only standard input takes it.
TEST(JetsqlGuion, UnaInstruccionDeUnMegabytePorLaEntrada) {
    std::string sTexto;
    for (int i = 0; i < 512 * 1024; ++i) sTexto += "x;";
    const auto r = EjecutaJetsqlCon({FixtureMdb("jet4-no-password.mdb")},
                                    "SELECT '" + sTexto +
                                        "' AS t FROM Table1 WHERE ID = 1;\n"
                                        "SELECT LEN('" +
                                        sTexto + "') AS n;");
    EXPECT_EQ(r.nSalida, 0) << r.sErrores;
    EXPECT_TRUE(r.sSalida == "t\r\n" + sTexto + "\r\nn\r\n1048576\r\n") << r.sSalida.substr(0, 200);
}

}  // namespace
