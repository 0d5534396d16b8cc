// The batch program and editions: which it knows, how it checks one, how a
// bad one stops a run before anything is read or written, and a run with an
// edition other than the default, whose answers, PDF, evidence and centre's
// answers all follow it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "TDirTemporal.h"
#include "tests/platform/report/HerramientasPDF.h"
#include "tests/questionnaire/BDNorvexPrueba.h"
#include "tests/tools/ProgramaLotes.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace fs = std::filesystem;

namespace {

TEjecucion Ejecuta(const std::vector<std::string>& args) {
    return EjecutaPrograma(KOVA_BINARY_DIR "/bin/cuestionario-kova", args);
}

const fs::path kPrueba = KOVA_FIXTURES "/ediciones/prueba";

// The user's data folder of the programs the test runs: a temporary one, so
// that no test reads the real user's editions or leaves any there.
class TDatosUsuario {
public:
    TDatosUsuario() {
        if (const char* s = std::getenv("XDG_DATA_HOME"))
            F_sAntes = s;
        setenv("XDG_DATA_HOME", F_dir.ruta().c_str(), 1);
    }
    ~TDatosUsuario() {
        if (F_sAntes)
            setenv("XDG_DATA_HOME", F_sAntes->c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }
    // A copy of the small edition of the fixtures, where a centre drops one,
    // with one text replaced in one of its files.
    fs::path Deja(const std::string& sNombre, const std::string& sArchivo = "",
                  const std::string& sDe = "", const std::string& sA = "") {
        const fs::path sCarpeta = F_dir / "CuestionarioKOVA" / "ediciones" / sNombre;
        fs::create_directories(sCarpeta);
        fs::copy(kPrueba, sCarpeta, fs::copy_options::recursive);
        if (!sArchivo.empty()) {
            std::string s = Lee(sCarpeta / sArchivo);
            s.replace(s.find(sDe), sDe.size(), sA);
            std::ofstream(sCarpeta / sArchivo, std::ios::binary) << s;
        }
        return sCarpeta;
    }

private:
    TDirTemporal F_dir;
    std::optional<std::string> F_sAntes;
};

// A Norvex folder whose dollar purchases straddle two years: one in 2017,
// two in 2018 (the second at 23:59:59 on 31 December), one on 1 January
// 2019; the client of 2018's was flagged as a possible PEP that year.
struct TCarpeta {
    TDirTemporal norvex, salida;
    void Escribe() const {
        TBDNorvex bd;
        bd.emps = {{"ADMIN", std::string("NORVEX"), 0}};
        bd.clientes = {{"N1", std::string("ANA"), std::string("LOPEZ"), std::monostate{}},
                       {"N2", std::string("LUIS"), std::string("MORA"), std::monostate{}}};
        bd.alertas = {{"I", Fecha(2018, 5, 2), "POSIBLE PEP", 1, "N2"},
                      {"I", Fecha(2018, 12, 31, 23, 59, 59), "PEP AL CIERRE", 1, "N2"},
                      {"I", Fecha(2017, 5, 2), "POSIBLE PEP", 1, "N1"}};
        bd.ops = {{"C", 1, Fecha(2017, 3, 1), 1, 18, 100, "N1"},
                  {"C", 2, Fecha(2018, 3, 1), 1, 18, 10, "N2"},
                  {"C", 3, Fecha(2018, 12, 31, 23, 59, 59), 1, 18, 10, "N2"},
                  {"C", 4, Fecha(2019, 1, 1), 1, 18, 10, "N2"}};
        fs::create_directories(norvex / "DataBase");
        bd.Escribe((norvex / "DataBase" / "Norvex.mdb").string());
        std::ofstream(norvex / "Norvex.INI", std::ios::binary)
            << "[Control]\r\nEmpresaActiva=1\r\n";
    }
    std::vector<std::string> Args(std::vector<std::string> extra) const {
        std::vector<std::string> a{"--carpeta", norvex.ruta().string(), "--usuario",
                                   "admin",     "--contrasena",         "norvex"};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    std::string Sal(const std::string& s) const { return (salida / s).string(); }
};

}  // namespace

// The program's editions and the user's, one line each; a broken or
// duplicated one is not offered, and says why.
TEST(EdicionesLotes, ListaLasConocidasYValidaUnaCarpeta) {
    TDatosUsuario usuario;
    const fs::path sPrueba = usuario.Deja("prueba");
    const fs::path sRota = usuario.Deja("rota", "preguntas.toml", "numero = 3", "numero = 4");
    usuario.Deja("otra", "edicion.toml", "clave = \"prueba\"", "clave = \"2018\"");
    const fs::path sVacia = sPrueba.parent_path() / "vacia";  // a folder without its files
    fs::create_directory(sVacia);

    const TEjecucion lista = Ejecuta({"--ediciones"});
    EXPECT_EQ(lista.nSalida, 0) << lista.sErrores;
    const fs::path sPrograma = fs::path(KOVA_BINARY_DIR) / "share/cuestionario-kova/ediciones";
    EXPECT_TRUE(lista.sSalida.starts_with("2018\tEncuesta ANDU 2018\t2017-01-01/2017-12-31\t" +
                                          (sPrograma / "2018").string() + "\n"))
        << lista.sSalida;
    EXPECT_NE(lista.sSalida.find("\nprueba-2019\tEncuesta de prueba 2019\t2018-01-01/2018-12-31\t" +
                                 (sPrograma / "prueba-2019").string() + "\n"),
              std::string::npos)
        << lista.sSalida;
    EXPECT_TRUE(lista.sSalida.ends_with("prueba\tEncuesta de prueba\t2018-01-01/2018-12-31\t" +
                                        sPrueba.string() + "\n"))
        << lista.sSalida;
    EXPECT_NE(lista.sErrores.find((sRota / "preguntas.toml").string() +
                                  ":17: falta la pregunta 3 (antes de la 4)."),
              std::string::npos)
        << lista.sErrores;
    EXPECT_NE(lista.sErrores.find("No existe el archivo " + (sVacia / "edicion.toml").string()),
              std::string::npos)
        << lista.sErrores;
    EXPECT_NE(lista.sErrores.find("la clave «2018» ya es de la edición de " +
                                  (sPrograma / "2018").string()),
              std::string::npos)
        << lista.sErrores;

    const TEjecucion buena = Ejecuta({"--validar-edicion", kPrueba.string()});
    EXPECT_EQ(buena.nSalida, 0) << buena.sErrores;
    EXPECT_EQ(buena.sSalida,
              "Edición prueba «Encuesta de prueba», operaciones del 01/01/2018 al 31/12/2018: 3 "
              "preguntas (1 con cálculo del Norvex, 1 con consulta propia, 1 del centro), 1 "
              "páginas.\n");
    const TEjecucion mala = Ejecuta({"--validar-edicion", sRota.string()});
    EXPECT_EQ(mala.nSalida, 2);
    EXPECT_EQ(mala.sSalida, "");
    EXPECT_EQ(mala.sErrores,
              (sRota / "preguntas.toml").string() + ":17: falta la pregunta 3 (antes de la 4).\n");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--ediciones", "--carpeta", "x"},
          {"--validar-edicion", kPrueba.string(), "--ediciones"},
          {"--validar-edicion"}}) {
        const TEjecucion e = Ejecuta(args);
        EXPECT_EQ(e.nSalida, 2) << args[0];
        EXPECT_FALSE(e.sErrores.empty());
    }
}

// A bad --edicion stops the run before the Norvex folder is even looked at
// (here it has no database at all) and before any output is written.
TEST(EdicionesLotes, EdicionMalaAntesDeLeerOEscribir) {
    TDatosUsuario usuario;
    const fs::path sRota =
        usuario.Deja("rota", "edicion.toml", "fin = 2018-12-31", "fin = 2017-12-31");
    TCarpeta c;  // not written: no Norvex.mdb
    const struct {
        std::string sEdicion, sEsperado;
    } casos[] = {
        {"2019",
         "La edición 2019 no se puede usar:\n2019: no es la clave de ninguna edición "
         "conocida ni una carpeta de edición (ediciones conocidas: 2018"},
        {"rota", "La edición rota no se puede usar:\n" + (sRota / "edicion.toml").string() +
                     ":6: el periodo termina (2017-12-31) antes de empezar (2018-01-01)."},
        {sRota.string(), "La edición " + sRota.string() + " no se puede usar:\n" +
                             (sRota / "edicion.toml").string() + ":6: el periodo termina"},
    };
    for (const auto& caso : casos) {
        const TEjecucion e = Ejecuta(c.Args(
            {"--edicion", caso.sEdicion, "--respuestas", c.Sal("r.csv"), "--pdf", c.Sal("c.pdf")}));
        EXPECT_EQ(e.nSalida, 2);
        EXPECT_TRUE(e.sErrores.starts_with(caso.sEsperado)) << e.sErrores;
        EXPECT_TRUE(fs::is_empty(c.salida.ruta()));
        EXPECT_TRUE(fs::is_empty(c.norvex.ruta()));
    }
}

// The small edition, dropped in the user's folder and named by its key: its
// three answers over 2018's operations only, its PDF and evidence, the
// centre's answer checked against its questions.
TEST(EdicionesLotes, OtraEdicionEnTodasLasSalidas) {
    TDatosUsuario usuario;
    usuario.Deja("prueba");
    TCarpeta c;
    c.Escribe();
    const auto antes = Foto(c.norvex.ruta());

    const TEjecucion peps = Ejecuta(c.Args({"--edicion", "prueba", "--listar-peps"}));
    ASSERT_EQ(peps.nSalida, 0) << peps.sErrores;
    const auto candidatos = LeeCsv(peps.sSalida);
    ASSERT_EQ(candidatos.size(), 2u) << peps.sSalida;  // N2 alone: N1's alert is of 2017
    EXPECT_EQ(candidatos[1][1], "N2");
    EXPECT_EQ(candidatos[1][3],
              "Clave del cliente: N2\nAlerta del 02/05/2018: POSIBLE PEP\nAlerta del 31/12/2018: "
              "PEP AL CIERRE");

    std::ofstream(c.Sal("cc.csv"), std::ios::binary) << "pregunta,respuesta\r\n3,\"1,500,000\"\r\n";
    const TEjecucion e = Ejecuta(c.Args({"--edicion", "prueba", "--pep", "N2", "--respuestas-cc",
                                         c.Sal("cc.csv"), "--respuestas", c.Sal("r.csv"), "--pdf",
                                         c.Sal("c.pdf"), "--evidencia", c.Sal("ev")}));
    ASSERT_EQ(e.nSalida, 0) << e.sErrores;
    EXPECT_EQ(Foto(c.norvex.ruta()), antes);
    EXPECT_EQ(LeeCsv(Lee(c.Sal("r.csv"))),
              (std::vector<std::vector<std::string>>{
                  {"pregunta", "respuesta"}, {"1", R("SI")}, {"2", R("2")}, {"3", R("1500000")}}));
    const auto indice = LeeCsv(Lee(c.salida / "ev" / "indice.csv"));
    ASSERT_EQ(indice.size(), 3u);
    EXPECT_EQ(indice[1],
              (std::vector<std::string>{"1", R("SI"), "EXISTE", "", "2", "pregunta-001.csv"}));
    EXPECT_EQ(indice[2],
              (std::vector<std::string>{"2", R("2"), "CONTEO", "", "2", "pregunta-002.csv"}));

    // Question 1 is computed in this edition; the centre cannot answer it.
    std::ofstream(c.Sal("cc.csv"), std::ios::binary) << "pregunta,respuesta\r\n1,SI\r\n";
    const TEjecucion mala = Ejecuta(c.Args({"--edicion", "prueba", "--respuestas-cc",
                                            c.Sal("cc.csv"), "--respuestas", c.Sal("s.csv")}));
    EXPECT_EQ(mala.nSalida, 2);
    EXPECT_NE(mala.sErrores.find("La pregunta 1 se responde con la base de datos del Norvex"),
              std::string::npos)
        << mala.sErrores;

    const auto info = EjecutaHerramienta("pdfinfo", {QString::fromStdString(c.Sal("c.pdf"))});
    if (!info)
        GTEST_SKIP() << "poppler-utils no instalado";
    EXPECT_EQ(CampoPdfinfo(*info, "Title"), "Cuestionario de prueba");
    EXPECT_EQ(CampoPdfinfo(*info, "Pages"), "1");
    const auto texto =
        EjecutaHerramienta("pdftotext", {"-layout", QString::fromStdString(c.Sal("c.pdf")), "-"});
    ASSERT_TRUE(texto);
    for (const char* s :
         {"¿Cuál es el capital social? (en pesos, sin centavos)", "Respuesta: 1500000"})
        EXPECT_TRUE(texto->contains(QString::fromUtf8(s))) << s << "\n" << texto->toStdString();
}

// The second edition the program ships, written only as data, end to end on
// a generated centre whose operations span 2015 to 2018: each edition counts
// its own year only, the centre's answers take the new choices, the PDF has
// its own pages and title, and a centre split into branches answers as the
// whole one.
TEST(EdicionesLotes, LaSegundaEdicionDeExtremoAExtremo) {
    TDatosUsuario usuario;  // nothing of the user's
    TDirTemporal norvex, salida;
    norvex::TGeneradorNorvex::Genera(norvex / "entero", {1500, 3});
    norvex::TGeneradorNorvex::Genera(norvex / "partido",
                                     {.nLineas = 1500, .nSemilla = 3, .nSucursales = 2});
    const auto antes = Foto(norvex.ruta());
    const auto corre = [&](const std::string& sEdicion, std::vector<std::string> carpetas,
                           std::vector<std::string> extra) {
        std::vector<std::string> args{"--edicion", sEdicion};
        for (const auto& s : carpetas) args.insert(args.end(), {"--carpeta", s});
        args.insert(args.end(), {"--usuario", "ADMIN", "--contrasena", "NORVEX"});
        args.insert(args.end(), extra.begin(), extra.end());
        const TEjecucion e = Ejecuta(args);
        EXPECT_EQ(e.nSalida, 0) << e.sErrores;
        return e;
    };
    const std::string sEntero = (norvex / "entero").string();
    std::ofstream(salida / "cc.csv", std::ios::binary)
        << "pregunta,respuesta\r\n9,medio\r\n13,Nómina\r\n";
    corre("prueba-2019", {sEntero},
          {"--respuestas-cc", (salida / "cc.csv").string(), "--respuestas",
           (salida / "r19.csv").string(), "--pdf", (salida / "c19.pdf").string(), "--evidencia",
           (salida / "ev19").string()});
    corre("2018", {sEntero}, {"--evidencia", (salida / "ev18").string()});

    const auto respuestas = LeeCsv(Lee(salida / "r19.csv"));
    ASSERT_EQ(respuestas.size(), 77u);
    EXPECT_EQ(respuestas[9], (std::vector<std::string>{"9", R("MEDIO")}));
    EXPECT_EQ(respuestas[13], (std::vector<std::string>{"13", R("NOMINA")}));

    // Whether there were dollar purchases: the rows behind the answer are
    // the year's operations, and each edition's own year alone.
    for (const auto& [sEvidencia, sArchivo, sAnio] :
         {std::tuple{"ev19", "pregunta-014.csv", "2018-"}, {"ev18", "pregunta-033.csv", "2017-"}}) {
        const auto filas = LeeCsv(Lee(salida / sEvidencia / sArchivo));
        ASSERT_GT(filas.size(), 10u) << sEvidencia;
        const auto nFecha = std::find(filas[0].begin(), filas[0].end(), "Fecha") - filas[0].begin();
        for (std::size_t i = 1; i < filas.size(); ++i)
            ASSERT_TRUE(filas[i].at(nFecha).starts_with(sAnio))
                << sEvidencia << ": " << filas[i][2];
    }
    std::map<std::string, std::vector<std::string>> indice;
    for (const auto& l : LeeCsv(Lee(salida / "ev19" / "indice.csv"))) indice[l[0]] = l;
    EXPECT_EQ(indice.size(), 63u);  // the header and the 62 computed questions
    EXPECT_EQ(indice["43"][1], respuestas[43][1]);
    EXPECT_EQ(indice["43"][2], "MAS_FRECUENTE");
    EXPECT_EQ(indice["43"][3], "Cliente");
    EXPECT_EQ(indice["73"][2], "CONTEO");  // the edition's own statements
    EXPECT_EQ(indice["73"][1], R(indice["73"][4]));

    // Branches: the same answers as the whole centre.
    corre("prueba-2019",
          {norvex::TGeneradorNorvex::CarpetaSucursal(norvex / "partido", 1).string(),
           norvex::TGeneradorNorvex::CarpetaSucursal(norvex / "partido", 2).string()},
          {"--respuestas", (salida / "partido.csv").string()});
    corre("prueba-2019", {sEntero}, {"--respuestas", (salida / "entero.csv").string()});
    EXPECT_EQ(Lee(salida / "partido.csv"), Lee(salida / "entero.csv"));
    EXPECT_EQ(Foto(norvex.ruta()), antes);

    const auto info =
        EjecutaHerramienta("pdfinfo", {QString::fromStdString((salida / "c19.pdf").string())});
    if (!info)
        GTEST_SKIP() << "poppler-utils no instalado";
    EXPECT_EQ(CampoPdfinfo(*info, "Title"), "Cuestionario KOVA de prueba 2019");
    EXPECT_EQ(CampoPdfinfo(*info, "Pages"), "10");
}
