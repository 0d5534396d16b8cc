// The batch program run as a user runs it, on Norvex folders written for each
// case: what it prints, its exit code, the files it leaves, and that it
// neither changes nor adds anything in the Norvex folder.
#include <gtest/gtest.h>

#include <unistd.h>
#include <clocale>
#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "TDirTemporal.h"
#include "platform/ado/TADOConnection.h"
#include "platform/ado/TADOQuery.h"
#include "report/TablaPEPs.h"
#include "tests/platform/report/HerramientasPDF.h"
#include "tests/questionnaire/BDNorvexPrueba.h"
#include "tests/questionnaire/CuestPrueba.h"
#include "tests/tools/ProgramaLotes.h"
#include "tools/mdbgen/EscritorMdb.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace fs = std::filesystem;

namespace {

TEjecucion Ejecuta(const std::vector<std::string>& args) {
    return EjecutaPrograma(KOVA_BINARY_DIR "/bin/cuestionario-kova", args);
}

void EscribeIni(const fs::path& dir, const std::string& sContenido) {
    std::ofstream(dir / "Norvex.INI", std::ios::binary) << sContenido;
}

// A Norvex folder from a hand-made database: two clients flagged as possible
// PEPs in 2017 (one name with a quote and a comma), three dollar purchases.
struct TCarpeta {
    TDirTemporal norvex, salida;
    TBDNorvex bd;

    TCarpeta() {
        bd.emps = {{"ADMIN", std::string("NORVEX"), 0}, {"CAJERO", std::string("CAJA"), 1}};
        bd.clientes = {
            {"N1", std::string("ANA"), std::string("LOPEZ"), std::monostate{}},
            {"N2", std::string("JUAN \"EL GÜERO\""), std::string("PEREZ, JR"), std::monostate{}}};
        bd.alertas = {{"I", Fecha(2017, 5, 2), "POSIBLE PEP", 1, "N1"},
                      {"I", Fecha(2017, 6, 9), "LISTA PEP", 1, "N2"}};
        const double d = Fecha(2017, 3, 1);
        bd.ops = {{"C", 1, d, 1, 18, 100, "N1"},
                  {"C", 2, d, 1, 18, 10, "N2"},
                  {"C", 3, d, 1, 18, 10, "N2"}};
    }
    // Writes the folder as Norvex leaves it.
    void Escribe(const std::string& sIni = "[Control]\r\nEmpresaActiva=1\r\n") {
        fs::create_directories(norvex / "DataBase");
        bd.Escribe((norvex / "DataBase" / "Norvex.mdb").string());
        EscribeIni(norvex.ruta(), sIni);
    }
    std::vector<std::string> Args(std::vector<std::string> extra) const {
        std::vector<std::string> a{"--carpeta", norvex.ruta().string(), "--usuario",
                                   "admin",     "--contrasena",         "norvex"};
        a.insert(a.end(), extra.begin(), extra.end());
        return a;
    }
    std::string Sal(const std::string& s) const { return (salida / s).string(); }
};

TEST(CuestionarioKova, ListaLosPosiblesPEPsComoCsv) {
    TCarpeta c;
    c.Escribe();
    const TEjecucion e = Ejecuta(c.Args({"--listar-peps"}));
    EXPECT_EQ(e.nSalida, 0) << e.sErrores;
    EXPECT_EQ(e.sErrores, "");
    ASSERT_TRUE(e.sSalida.starts_with("IdPEP,ClaveCliente,Nombre,Detalle\r\n")) << e.sSalida;
    // The database decides the order; the numbering follows it. The detail is
    // the list's tooltip: key, then each alert's day and observations.
    const auto filas = LeeCsv(e.sSalida);
    ASSERT_EQ(filas.size(), 3u);
    std::set<std::string> vistas;
    for (size_t i = 1; i < filas.size(); ++i) {
        EXPECT_EQ(filas[i][0], std::to_string(i));
        vistas.insert(filas[i][1] + "|" + filas[i][2] + "|" + filas[i][3]);
    }
    EXPECT_EQ(vistas, (std::set<std::string>{
                          "N1|ANA LOPEZ|Clave del cliente: N1\nAlerta del 02/05/2017: POSIBLE PEP",
                          "N2|JUAN \"EL GÜERO\" PEREZ, JR|Clave del cliente: N2\nAlerta del "
                          "09/06/2017: LISTA PEP"}));
    EXPECT_TRUE(fs::is_empty(c.salida.ruta()));
}

// The ticks decide which users and operations are PEPs'; the rest of the
// answers stay those of three dollar purchases (100 by N1, 10 + 10 by N2).
TEST(CuestionarioKova, RespuestasConYSinMarcas) {
    TCarpeta c;
    c.Escribe();
    const auto antes = Foto(c.norvex.ruta());
    struct TCaso {
        std::vector<std::string> marcas;
        std::map<int, std::string> cambios;
    };
    const std::map<int, std::string> comunes = {
        {2, R("COMERCIO AL POR MENOR (** Total Ops.:  3 **) ")},
        {33, R("SI")},
        {52, R("120")},
        {61, R("40")}};
    const TCaso casos[] = {
        {{}, {{36, R("2")}, {44, R("3")}, {53, R("120")}}},
        {{"--pep", "N1"},
         {{35, R("1")}, {36, R("1")}, {44, R("2")}, {51, R("1")}, {53, R("20")}, {60, R("100")}}},
        {{"--pep", "N1", "--pep", "N2"},
         {{35, R("2")}, {44, R("0")}, {51, R("3")}, {53, R("0")}, {60, R("120")}}},
    };
    for (const TCaso& caso : casos) {
        auto args = c.Args({"--respuestas", c.Sal("r.csv"), "--tipo-cambio", "20"});
        args.insert(args.end(), caso.marcas.begin(), caso.marcas.end());
        const TEjecucion e = Ejecuta(args);
        ASSERT_EQ(e.nSalida, 0) << e.sErrores;
        EXPECT_EQ(e.sErrores, "");  // no terminal: no progress either
        EXPECT_EQ(e.sSalida, "");
        auto esperadas = RespuestasVacias();
        for (const auto& m : {comunes, caso.cambios})
            for (const auto& [n, s] : m) esperadas[n] = s;
        const auto respuestas = PorPregunta(Lee(c.Sal("r.csv")), "respuesta");
        for (int n = 1; n <= 195; ++n)
            EXPECT_EQ(respuestas.at(n), esperadas.at(n))
                << "pregunta " << n << " marcas " << caso.marcas.size() / 2;
    }
    EXPECT_EQ(Foto(c.norvex.ruta()), antes);
    EXPECT_EQ(Foto(c.salida.ruta()).size(), 1u);  // r.csv and no temporary file
}

TEST(CuestionarioKova, ClaveQueNoEsCandidataNoEscribeNada) {
    TCarpeta c;
    c.Escribe();
    const TEjecucion e = Ejecuta(c.Args(
        {"--pep", "N1", "--pep", "N9", "--respuestas", c.Sal("r.csv"), "--pdf", c.Sal("c.pdf")}));
    EXPECT_EQ(e.nSalida, 2);
    EXPECT_EQ(e.sErrores, "La clave \"N9\" no es de ningún posible PEP detectado.\n");
    EXPECT_TRUE(fs::is_empty(c.salida.ruta()));
}

// Each closed gate: exit 2, the window's own text on standard error and
// nothing else, no output file. The field checks come first, as in the window.
TEST(CuestionarioKova, CompuertaCerrada) {
    const std::string sEmpresa = "No se pudo extraer el Número de la Empresa predeterminada.\n";
    const std::string sCredenciales =
        "La contraseña es incorrecta o, el usuario no  tiene permisos de administrador.\n";
    struct TCaso {
        const char* sNombre;
        std::function<void(TCarpeta&)> prepara;
        std::vector<std::string> cambios;  // option, value: replaces the default
        std::string sEsperado;
    };
    const auto ini = [](const char* s) { return [s](TCarpeta& c) { c.Escribe(s); }; };
    const auto normal = [](TCarpeta& c) { c.Escribe(); };
    const TCaso casos[] = {
        {"sin base",
         [](TCarpeta& c) { EscribeIni(c.norvex.ruta(), "[Control]\r\nEmpresaActiva=1\r\n"); },
         {},
         "Error: Este programa debe encontrarse en la carpeta del Norvex.\n"},
        {"sin INI",
         [](TCarpeta& c) {
             c.Escribe();
             fs::remove(c.norvex / "Norvex.INI");
         },
         {},
         sEmpresa},
        {"sin clave", ini("[Control]\r\nSucursal=MATRIZ\r\n"), {}, sEmpresa},
        {"clave en otra seccion", ini("[Otra]\r\nEmpresaActiva=1\r\n"), {}, sEmpresa},
        {"empresa 0", ini("[Control]\r\nEmpresaActiva=0\r\n"), {}, sEmpresa},
        {"empresa negativa", ini("[Control]\r\nEmpresaActiva=-1\r\n"), {}, sEmpresa},
        {"empresa no numerica", ini("[Control]\r\nEmpresaActiva=uno\r\n"), {}, sEmpresa},
        {"usuario conectado",
         [](TCarpeta& c) {
             c.bd.usuariosConectados = {"CAJERO"};
             c.Escribe();
         },
         {},
         "Hay un usuario conectado a la BD. Cierre Norvex antes de continuar.\n"},
        {"contrasena incorrecta", normal, {"--contrasena", "norvex2"}, sCredenciales},
        {"no administrador",
         normal,
         {"--usuario", "cajero", "--contrasena", "caja"},
         sCredenciales},
        {"usuario con blanco", normal, {"--usuario", " admin"}, sCredenciales},
        {"usuario vacio",
         normal,
         {"--usuario", " "},
         "Por favor, escriba su usuario (Administrador).\n"},
        {"tipo de cambio vacio",
         normal,
         {"--tipo-cambio", " "},
         "Por favor, escriba el tipo de cambio.\n"},
        {"tipo de cambio 0",
         normal,
         {"--tipo-cambio", "0"},
         "El tipo de cambio debe ser diferente a cero.\n"},
        {"tipo de cambio negativo",
         normal,
         {"--tipo-cambio", "-18.91"},
         "El tipo de cambio debe ser diferente a cero.\n"},
        {"tipo de cambio con coma",
         normal,
         {"--tipo-cambio", "18,91"},
         "El tipo de cambio debe ser diferente a cero.\n"},
        {"tipo de cambio con exponente",
         normal,
         {"--tipo-cambio", "1e3"},
         "El tipo de cambio debe ser diferente a cero.\n"},
    };
    for (const TCaso& caso : casos) {
        TCarpeta c;
        caso.prepara(c);
        auto args = c.Args({"--respuestas", c.Sal("r.csv")});
        for (size_t i = 0; i < caso.cambios.size(); i += 2) {
            auto it = std::find(args.begin(), args.end(), caso.cambios[i]);
            if (it == args.end())
                args.insert(args.end(), {caso.cambios[i], caso.cambios[i + 1]});
            else
                *(it + 1) = caso.cambios[i + 1];
        }
        const TEjecucion e = Ejecuta(args);
        EXPECT_EQ(e.nSalida, 2) << caso.sNombre;
        EXPECT_EQ(e.sErrores, caso.sEsperado) << caso.sNombre;
        EXPECT_TRUE(fs::is_empty(c.salida.ruta())) << caso.sNombre;
    }
}

// Mistakes in the command line stop the program before it opens anything.
TEST(CuestionarioKova, LineaDeOrdenes) {
    TCarpeta c;
    c.Escribe();
    const auto antes = Foto(c.norvex.ruta());
    const std::vector<std::vector<std::string>> casos = {
        {"--desconocida"},
        {"--respuestas"},
        {},                                                 // nothing to do
        {"--listar-peps", "--respuestas", c.Sal("r.csv")},  // listing stops there
        {"--respuestas", c.Sal("r.csv"), "--respuestas", c.Sal("s.csv")},
        {"--respuestas", c.Sal("r.csv"), "--consultas", c.Sal("r.csv")},
        {"--respuestas", c.Sal("no/r.csv")},
        {"--respuestas", (c.norvex / "r.csv").string()},  // never into the folder
        {"--pdf", (c.norvex / "DataBase" / "Norvex.mdb").string()},
        {"--pdf", c.Sal("c\xff.pdf")},  // a name Qt would write elsewhere
        {"--evidencia", c.Sal("no/ev")},
        {"--evidencia", (c.norvex / "ev").string()},
        {"--evidencia", c.norvex.ruta().string()},
        {"--evidencia", c.Sal("ev"), "--respuestas", c.Sal("ev")},
    };
    for (const auto& extra : casos) {
        const TEjecucion e = Ejecuta(c.Args(extra));
        EXPECT_EQ(e.nSalida, 2) << (extra.empty() ? "" : extra[0]);
        EXPECT_FALSE(e.sErrores.empty());
        EXPECT_EQ(e.sSalida, "");
    }
    EXPECT_EQ(Foto(c.norvex.ruta()), antes);
    EXPECT_TRUE(fs::is_empty(c.salida.ruta()));
}

// The evidence folder: one file per computed question and an index whose
// every line agrees with the answers file and with the file it names. Three
// dollar purchases (100 by N1, 10 + 10 by N2), N1 ticked as PEP.
TEST(CuestionarioKova, EvidenciaDeCadaRespuesta) {
    TCarpeta c;
    c.Escribe();
    const auto antes = Foto(c.norvex.ruta());
    const TEjecucion e = Ejecuta(c.Args({"--pep", "N1", "--tipo-cambio", "20", "--respuestas",
                                         c.Sal("r.csv"), "--evidencia", c.Sal("ev/")}));
    ASSERT_EQ(e.nSalida, 0) << e.sErrores;
    EXPECT_EQ(Foto(c.norvex.ruta()), antes);
    const auto respuestas = PorPregunta(Lee(c.Sal("r.csv")), "respuesta");
    const auto indice = LeeCsv(Lee(c.salida / "ev" / "indice.csv"));
    ASSERT_EQ(indice.size(), 161u);
    EXPECT_EQ(indice[0], (std::vector<std::string>{"pregunta", "respuesta", "calculo", "columna",
                                                   "filas", "archivo"}));
    std::map<int, std::vector<std::string>> porPregunta;
    for (std::size_t i = 1; i < indice.size(); ++i) {
        const auto& l = indice[i];
        ASSERT_EQ(l.size(), 6u);
        const int n = std::stoi(l[0]);
        EXPECT_EQ(l[1], respuestas.at(n));
        const auto filas = LeeCsv(Lee(c.salida / "ev" / l[5]));
        ASSERT_FALSE(filas.empty()) << l[5];
        EXPECT_EQ(std::to_string(filas.size() - 1), l[4]) << l[5];
        porPregunta[n] = l;
    }
    EXPECT_EQ(Foto(c.salida / "ev").size(), 161u);
    // Sum of the dollar purchases, users that are national natural persons
    // without PEPs (N2 alone: its two operations are one user), operations
    // with PEPs (N1's), the busiest activity.
    const std::map<int, std::vector<std::string>> esperadas = {
        {52, {"52", R("120"), "SUMA", "Cantidad", "3", "pregunta-052.csv"}},
        {36, {"36", R("1"), "CONTEO", "", "1", "pregunta-036.csv"}},
        {51, {"51", R("1"), "CONTEO", "", "1", "pregunta-051.csv"}},
        {2,
         {"2", R("COMERCIO AL POR MENOR (** Total Ops.:  3 **) "), "MAS_FRECUENTE", "Actividad",
          "3", "pregunta-002.csv"}},
        {91, {"91", R("NO"), "EXISTE", "", "0", "pregunta-091.csv"}},
    };
    for (const auto& [n, l] : esperadas) EXPECT_EQ(porPregunta.at(n), l) << n;
    const auto usuarios = LeeCsv(Lee(c.salida / "ev" / "pregunta-036.csv"));
    ASSERT_EQ(usuarios.size(), 2u);
    EXPECT_EQ(usuarios[0], (std::vector<std::string>{"ClaveCliente", "Cliente", "Actividad"}));
    EXPECT_EQ(usuarios[1][0], "N2");
    const auto pep = LeeCsv(Lee(c.salida / "ev" / "pregunta-051.csv"));
    ASSERT_EQ(pep.size(), 2u);
    const std::vector<std::string> cabecera{
        "Tipo",       "Folio",    "Fecha",        "NumeroDivisa", "Moneda",   "CantidadDivisa",
        "Cotizacion", "Cantidad", "ClaveCliente", "Cliente",      "Actividad"};
    EXPECT_EQ(pep[0], cabecera);
    EXPECT_EQ(pep[1],
              (std::vector<std::string>{"C", "1", "2017-03-01 00:00:00", "1", "USD", "100", "18",
                                        "100", "N1", "ANA LOPEZ", "Comercio al por menor"}));
}

// An evidence folder that cannot take the run's output: a clear message and
// nothing written, not even the other outputs of the run.
TEST(CuestionarioKova, EvidenciaEnCarpetaInservible) {
    TCarpeta c;
    c.Escribe();
    struct TCaso {
        const char* sNombre;
        // Lays out the case under the run's output folder; returns the
        // evidence folder to ask for.
        std::function<fs::path(const fs::path&)> prepara;
        int nSalida;
        std::string sMensaje;
    };
    const TCaso casos[] = {
        {"llena",
         [](const fs::path& d) {
             fs::create_directories(d / "ev");
             std::ofstream(d / "ev" / "x.txt") << "x";
             return d / "ev";
         },
         2, "La carpeta de evidencia ya existe y no está vacía: "},
        {"sin permiso de escritura",
         [](const fs::path& d) {
             fs::create_directories(d / "padre");
             fs::permissions(d / "padre", fs::perms::owner_read | fs::perms::owner_exec);
             return d / "padre" / "ev";
         },
         1, "No fue posible escribir la carpeta "},
        // Not even root writes there.
        {"sistema de archivos de solo lectura",
         [](const fs::path&) { return fs::path("/proc/kova-evidencia"); }, 1,
         "No fue posible escribir la carpeta "},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.sNombre);
        if (std::string(caso.sNombre) == "sin permiso de escritura" && geteuid() == 0)
            continue;  // root writes anywhere
        TDirTemporal salida;
        const fs::path sEvidencia = caso.prepara(salida.ruta());
        const auto antes = Foto(salida.ruta());
        const TEjecucion e = Ejecuta(c.Args(
            {"--respuestas", (salida / "r.csv").string(), "--evidencia", sEvidencia.string()}));
        if (fs::exists(salida / "padre"))
            fs::permissions(salida / "padre", fs::perms::owner_all);
        EXPECT_EQ(e.nSalida, caso.nSalida) << e.sErrores;
        EXPECT_TRUE(e.sErrores.starts_with(caso.sMensaje)) << e.sErrores;
        EXPECT_EQ(Foto(salida.ruta()), antes);
    }
    EXPECT_FALSE(fs::exists("/proc/kova-evidencia"));
}

// The centre's answers from a CSV file: the answers file carries them where
// the placeholder stood, the other questions keep theirs, and the PDF's text
// holds them.
TEST(CuestionarioKova, RespuestasDelCentroEnArchivoYPdf) {
    TCarpeta c;
    c.Escribe();
    const auto antes = Foto(c.norvex.ruta());
    std::ofstream(c.Sal("cc.csv"), std::ios::binary)
        << "pregunta,respuesta\r\n1,\"1,500,000\"\r\n12,15/03/2010\r\n"
           "193,\"TRASLADOS DEL NORTE SA\nVALORES SEGUROS SA\"\r\n5,si\r\n";
    const TEjecucion e = Ejecuta(c.Args({"--respuestas-cc", c.Sal("cc.csv"), "--respuestas",
                                         c.Sal("r.csv"), "--pdf", c.Sal("c.pdf")}));
    ASSERT_EQ(e.nSalida, 0) << e.sErrores;
    EXPECT_EQ(e.sErrores, "");
    EXPECT_EQ(Foto(c.norvex.ruta()), antes);

    auto esperadas = RespuestasVacias();
    esperadas[1] = R("1500000");
    esperadas[5] = R("SI");
    esperadas[12] = R("15/03/2010");
    esperadas[193] = R("TRASLADOS DEL NORTE SA\nVALORES SEGUROS SA");
    const auto respuestas = PorPregunta(Lee(c.Sal("r.csv")), "respuesta");
    for (int n : {1, 3, 5, 12, 32, 192, 193, 195})
        EXPECT_EQ(respuestas.at(n), esperadas.at(n)) << "pregunta " << n;
    EXPECT_EQ(respuestas.at(33), R("SI"));  // computed answers stay computed

    const auto texto =
        EjecutaHerramienta("pdftotext", {"-layout", QString::fromStdString(c.Sal("c.pdf")), "-"});
    if (!texto)
        GTEST_SKIP() << "poppler-utils no instalado";
    for (const char* s : {"Respuesta: 1500000", "Respuesta: 15/03/2010",
                          "Respuesta: TRASLADOS DEL NORTE SA", "VALORES SEGUROS SA"})
        EXPECT_TRUE(texto->contains(QString::fromUtf8(s))) << s;
}

// Every fault of the answers file stops the run before anything is opened:
// exit 2, the file and the line named, no output, the Norvex folder as it was.
TEST(CuestionarioKova, ArchivoDeRespuestasDelCentroMalo) {
    TCarpeta c;
    c.Escribe();
    const auto antes = Foto(c.norvex.ruta());
    const struct {
        const char* sCsv;
        const char* sMensaje;
    } casos[] = {
        {"pregunta,respuesta\n1,5\n40,7\n", "Línea 3: La pregunta 40 se responde con la base"},
        {"pregunta,respuesta\n2,COMERCIO\n", "Línea 2: La pregunta 2 se responde con la base"},
        {"pregunta,respuesta\n196,X\n", "Línea 2: No existe la pregunta 196"},
        {"pregunta,respuesta\n5,SI\n6,2\n5,NO\n", "Línea 4: la pregunta 5 ya se respondió"},
        {"pregunta,respuesta\n4,\"JALISCO\n", "Línea 2: unas comillas abren un campo"},
        {"pregunta;respuesta\n4;JALISCO\n", "Línea 1: el encabezado debe ser"},
        {"pregunta,respuesta\n1,1500000.50\n", "Línea 2: Pregunta 1: La cantidad va sin centavos"},
        {"pregunta,respuesta\n12,31/02/2017\n", "Línea 2: Pregunta 12: La fecha 31/02/2017"},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.sCsv);
        std::ofstream(c.Sal("cc.csv"), std::ios::binary | std::ios::trunc) << caso.sCsv;
        const TEjecucion e = Ejecuta(c.Args({"--respuestas-cc", c.Sal("cc.csv"), "--respuestas",
                                             c.Sal("r.csv"), "--pdf", c.Sal("c.pdf")}));
        EXPECT_EQ(e.nSalida, 2);
        EXPECT_TRUE(e.sErrores.starts_with(c.Sal("cc.csv") + ": " + caso.sMensaje)) << e.sErrores;
        EXPECT_EQ(Foto(c.salida.ruta()).size(), 1u);  // only cc.csv
    }
    // a file that is not there, and answers with nothing to put them in
    for (const auto& extra : std::vector<std::vector<std::string>>{
             {"--respuestas-cc", c.Sal("no-hay.csv"), "--respuestas", c.Sal("r.csv")},
             {"--respuestas-cc", c.Sal("cc.csv"), "--consultas", c.Sal("q.csv")}}) {
        const TEjecucion e = Ejecuta(c.Args(extra));
        EXPECT_EQ(e.nSalida, 2);
        EXPECT_FALSE(e.sErrores.empty());
        EXPECT_EQ(Foto(c.salida.ruta()).size(), 1u);
    }
    EXPECT_EQ(Foto(c.norvex.ruta()), antes);
}

// A question that cannot be answered (no company row and no operation: the
// first statement finds nothing) stops the run: exit 1, the question on standard error, and
// an answers file from an earlier run stays as it was.
TEST(CuestionarioKova, CuestionarioFallidoNoDejaSalidas) {
    TCarpeta c;
    c.bd.empresas.clear();
    c.bd.ops.clear();
    c.Escribe();
    const std::string sViejo = "pregunta,respuesta\r\n1,de antes\r\n";
    std::ofstream(c.Sal("r.csv"), std::ios::binary) << sViejo;
    const TEjecucion e = Ejecuta(c.Args(
        {"--respuestas", c.Sal("r.csv"), "--consultas", c.Sal("q.csv"), "--pdf", c.Sal("c.pdf")}));
    EXPECT_EQ(e.nSalida, 1);
    EXPECT_EQ(e.sErrores,
              "No fue posible responder la pregunta 2.\n"
              "No fue posible generar el reporte. Llame a Soporte Técnico.\n");
    EXPECT_EQ(Lee(c.Sal("r.csv")), sViejo);
    EXPECT_EQ(Foto(c.salida.ruta()).size(), 1u);
}

// A database that lets the administrator in but has no alerts table: the
// detection fails with the database's own message and nothing is written.
TEST(CuestionarioKova, DeteccionFallida) {
    TCarpeta c;
    fs::create_directories(c.norvex / "DataBase");
    {
        using mdb::TTipoMdb;
        mdb::TEscritorMdb e((c.norvex / "DataBase" / "Norvex.mdb").string(),
                            {.sContrasena = "quilon"});
        e.CreaTabla("tCompUsr", {{"ClaveEmp", TTipoMdb::tmTexto, 20}});
        e.CreaTabla("tEmps", {{"ClaveEmp", TTipoMdb::tmTexto, 20},
                              {"Password", TTipoMdb::tmTexto, 20},
                              {"Nivel", TTipoMdb::tmLargo}});
        e.AgregaFila({std::string("ADMIN"), std::string("NORVEX"), int64_t{0}});
        e.Cierra();
    }
    EscribeIni(c.norvex.ruta(), "[Control]\r\nEmpresaActiva=1\r\n");
    const TEjecucion e = Ejecuta(c.Args({"--respuestas", c.Sal("r.csv")}));
    EXPECT_EQ(e.nSalida, 1);
    // The box names the class the window would name for the same failure.
    EXPECT_TRUE(e.sErrores.starts_with("Error #BD-101.TRepCuestANDU2017:")) << e.sErrores;
    EXPECT_TRUE(e.sErrores.ends_with("\nNo fue posible detectar los PEPs.\n")) << e.sErrores;
    EXPECT_TRUE(fs::is_empty(c.salida.ruta()));
}

// The demo's kind of folder: every answer equals what the engine gives for the
// statement the question set composes with the same ticks and rate, the
// statements file holds exactly those statements, the PDF has the report's 22
// pages, and the Norvex folder is byte for byte what it was.
TEST(CuestionarioKova, CarpetaGeneradaRespuestasConsultasYPdf) {
    TDirTemporal norvex, salida;
    norvex::TGeneradorNorvex::Genera(norvex.ruta(), {1500, 3});
    const auto antes = Foto(norvex.ruta());
    const std::vector<std::string> base{"--carpeta", norvex.ruta().string(), "--usuario",
                                        "ADMIN",     "--contrasena",         "NORVEX"};

    auto args = base;
    args.push_back("--listar-peps");
    const TEjecucion lista = Ejecuta(args);
    ASSERT_EQ(lista.nSalida, 0) << lista.sErrores;
    const auto candidatos = LeeCsv(lista.sSalida);
    ASSERT_GE(candidatos.size(), 3u) << "la muestra trae posibles PEPs";

    // Tick the first candidate only.
    const std::string sMarcada = candidatos[1][1];
    args = base;
    args.insert(args.end(), {"--tipo-cambio", "19.5", "--pep", sMarcada, "--respuestas",
                             (salida / "r.csv").string(), "--consultas",
                             (salida / "q.csv").string(), "--pdf", (salida / "c.pdf").string()});
    const TEjecucion e = Ejecuta(args);
    ASSERT_EQ(e.nSalida, 0) << e.sErrores;
    EXPECT_EQ(e.sErrores, "");
    EXPECT_EQ(Foto(norvex.ruta()), antes);

    const auto respuestas = PorPregunta(Lee(salida / "r.csv"), "respuesta");
    const auto consultas = PorPregunta(Lee(salida / "q.csv"), "consulta");
    ado::TADOConnection conexion;
    conexion.SetConnectionString(CadenaNorvex((norvex / "DataBase/Norvex.mdb").string()));
    conexion.SetConnected(true);
    TTablaPEPs peps;
    for (size_t i = 1; i < candidatos.size(); ++i)
        peps.Agrega(std::stoi(candidatos[i][0]), candidatos[i][1], candidatos[i][2],
                    candidatos[i][1] == sMarcada);
    TCuestPrueba q(19.5, 1, &conexion);
    q.AdjuntaPEPs(peps);
    int nConsultas = 0;
    for (int n = 1; n <= 195; ++n) {
        const std::string sConsulta = q.Consulta(n);
        EXPECT_EQ(consultas.at(n), sConsulta) << "pregunta " << n;
        if (sConsulta == sMano) {
            EXPECT_EQ(respuestas.at(n), sMano) << "pregunta " << n;
            continue;
        }
        ++nConsultas;
        ado::TADOQuery consulta;
        consulta.SetConnection(&conexion);
        consulta.SQLAdd(sConsulta);
        consulta.Open();
        ASSERT_FALSE(consulta.IsEmpty()) << "pregunta " << n;
        EXPECT_EQ(respuestas.at(n), R(consulta.FieldByName("Resultado").AsString()))
            << "pregunta " << n;
    }
    EXPECT_EQ(nConsultas, 160);
    // The tick reached the statements: a PEP answer that counts it.
    EXPECT_NE(consultas.at(35).find("'" + sMarcada + "'"), std::string::npos);

    const auto info =
        EjecutaHerramienta("pdfinfo", {QString::fromStdString((salida / "c.pdf").string())});
    if (!info)
        GTEST_SKIP() << "poppler-utils no instalado";
    EXPECT_EQ(CampoPdfinfo(*info, "Pages"), "22");
    EXPECT_EQ(CampoPdfinfo(*info, "Title"), "Cuestionario KOVA");
    EXPECT_EQ(Foto(salida.ruta()).size(), 3u);
}

}  // namespace

namespace {

// A centre split into branches answers what the whole centre answers, and
// every branch folder is left as it was.
TEST(CuestionarioKova, SucursalesRespondenComoElCentroEntero) {
    TDirTemporal norvex, salida;
    norvex::TGeneradorNorvex::Genera(norvex / "entero", {1500, 3});
    norvex::TGeneradorNorvex::Genera(norvex / "partido",
                                     {.nLineas = 1500, .nSemilla = 3, .nSucursales = 2});
    const auto antes = Foto(norvex.ruta());
    const auto corre = [&](std::vector<std::string> carpetas, const std::string& sSalida) {
        std::vector<std::string> args;
        for (const auto& s : carpetas) args.insert(args.end(), {"--carpeta", s});
        args.insert(args.end(), {"--usuario", "ADMIN", "--contrasena", "NORVEX", "--respuestas",
                                 (salida / sSalida).string()});
        return Ejecuta(args);
    };
    const TEjecucion entero = corre({(norvex / "entero").string()}, "entero.csv");
    ASSERT_EQ(entero.nSalida, 0) << entero.sErrores;
    const TEjecucion partido =
        corre({norvex::TGeneradorNorvex::CarpetaSucursal(norvex / "partido", 1).string(),
               norvex::TGeneradorNorvex::CarpetaSucursal(norvex / "partido", 2).string()},
              "partido.csv");
    ASSERT_EQ(partido.nSalida, 0) << partido.sErrores;
    EXPECT_EQ(partido.sErrores, "");
    EXPECT_EQ(Lee(salida / "partido.csv"), Lee(salida / "entero.csv"));

    // The candidates of every branch, once each, with the branches whose
    // alerts name them.
    const std::string sMatriz =
        norvex::TGeneradorNorvex::CarpetaSucursal(norvex / "partido", 1).string();
    const std::string sSucursal =
        norvex::TGeneradorNorvex::CarpetaSucursal(norvex / "partido", 2).string();
    const auto lista = [&](std::vector<std::string> carpetas) {
        std::vector<std::string> args;
        for (const auto& s : carpetas) args.insert(args.end(), {"--carpeta", s});
        args.insert(args.end(), {"--usuario", "ADMIN", "--contrasena", "NORVEX", "--listar-peps"});
        const TEjecucion e = Ejecuta(args);
        EXPECT_EQ(e.nSalida, 0) << e.sErrores;
        return LeeCsv(e.sSalida);
    };
    const auto enteros = lista({(norvex / "entero").string()});
    const auto unidos = lista({sMatriz, sSucursal});
    ASSERT_EQ(unidos.size(), enteros.size());
    EXPECT_EQ(unidos[0], (std::vector<std::string>{"IdPEP", "ClaveCliente", "Nombre", "Detalle",
                                                   "Sucursales"}));
    std::set<std::string> vistas;
    for (size_t i = 1; i < unidos.size(); ++i) {
        EXPECT_EQ(std::vector<std::string>(unidos[i].begin(), unidos[i].begin() + 4), enteros[i]);
        vistas.insert(unidos[i][4]);
    }
    // Named as each branch's Norvex names it, never by its folder.
    EXPECT_TRUE(vistas.count("MATRIZ") || vistas.count("MATRIZ; SUCURSAL 2"))
        << ::testing::PrintToString(vistas);
    EXPECT_TRUE(vistas.count("SUCURSAL 2") || vistas.count("MATRIZ; SUCURSAL 2"))
        << ::testing::PrintToString(vistas);

    // The head office's company heads the report, and the title page names
    // the branches; a single folder's has no such line.
    for (const bool bSucursales : {true, false}) {
        std::vector<std::string> args{"--carpeta", sMatriz};
        if (bSucursales)
            args.insert(args.end(), {"--carpeta", sSucursal});
        const std::string sPdf = (salida / (bSucursales ? "u.pdf" : "m.pdf")).string();
        args.insert(args.end(), {"--usuario", "ADMIN", "--contrasena", "NORVEX", "--pdf", sPdf});
        const TEjecucion e = Ejecuta(args);
        ASSERT_EQ(e.nSalida, 0) << e.sErrores;
        const auto texto = EjecutaHerramienta("pdftotext", {QString::fromStdString(sPdf), "-"});
        if (!texto)
            GTEST_SKIP() << "poppler-utils no instalado";
        EXPECT_TRUE(texto->contains(QString::fromUtf8("CAMBIARIA LOS ÁLAMOS SA DE CV")));
        EXPECT_EQ(texto->contains("Sucursales consolidadas: MATRIZ; SUCURSAL 2"), bSucursales)
            << texto->left(400).toStdString();
        EXPECT_FALSE(texto->contains(QString::fromStdString(sMatriz)));
    }
    EXPECT_EQ(Foto(norvex.ruta()), antes);
}

// The answers are the same under every locale the program may be started
// in; under es_ES numbers in the SQL read with a comma would turn the rate
// 18.91 into 18.
TEST(CuestionarioKova, LasRespuestasNoDependenDelLocal) {
    TDirTemporal norvex, salida;
    norvex::TGeneradorNorvex::Genera(norvex.ruta(), {.nLineas = 1000, .nSemilla = 7});
    const char* const anterior = std::getenv("LC_ALL");
    const std::string sAnterior = anterior ? anterior : "";
    std::map<std::string, std::string> respuestas;
    for (const char* sLocal : {"C.UTF-8", "es_ES.UTF-8", "es_MX.UTF-8"}) {
        if (!std::setlocale(LC_ALL, sLocal)) {
            std::setlocale(LC_ALL, "C");
            GTEST_SKIP() << "falta el local " << sLocal << " (scripts/install-deps.sh)";
        }
        std::setlocale(LC_ALL, "C");
        setenv("LC_ALL", sLocal, 1);
        const std::string sArchivo = (salida / (std::string(sLocal) + ".csv")).string();
        const TEjecucion e =
            Ejecuta({"--carpeta", norvex.ruta().string(), "--usuario", "ADMIN", "--contrasena",
                     "NORVEX", "--tipo-cambio", "18.91", "--respuestas", sArchivo});
        EXPECT_EQ(e.nSalida, 0) << sLocal << ": " << e.sErrores;
        respuestas[sLocal] = Lee(sArchivo);
    }
    if (anterior)
        setenv("LC_ALL", sAnterior.c_str(), 1);
    else
        unsetenv("LC_ALL");
    EXPECT_EQ(respuestas["es_ES.UTF-8"], respuestas["C.UTF-8"]);
    EXPECT_EQ(respuestas["es_MX.UTF-8"], respuestas["C.UTF-8"]);
}

// A branch is checked like the only folder would be, before anything runs,
// and the message says which branch it was.
TEST(CuestionarioKova, SucursalQueNoPasaDetieneTodo) {
    TCarpeta matriz, sucursal;
    matriz.Escribe();
    sucursal.bd.usuariosConectados = {"CAJERO"};
    sucursal.Escribe();
    const TEjecucion e = Ejecuta(matriz.Args(
        {"--carpeta", sucursal.norvex.ruta().string(), "--respuestas", matriz.Sal("r.csv")}));
    EXPECT_EQ(e.nSalida, 2);
    EXPECT_EQ(e.sErrores,
              "Hay un usuario conectado a la BD. Cierre Norvex antes de continuar.\n"
              "La sucursal de la carpeta " +
                  sucursal.norvex.ruta().string() + " no pasó la revisión de acceso.\n");
    EXPECT_TRUE(fs::is_empty(matriz.salida.ruta()));

    // The same folder twice, however it is written, would count it twice.
    const TEjecucion dos =
        Ejecuta(matriz.Args({"--carpeta", (matriz.norvex / "DataBase" / "..").string(),
                             "--respuestas", matriz.Sal("r.csv")}));
    EXPECT_EQ(dos.nSalida, 2);
    EXPECT_NE(dos.sErrores.find("está dos veces"), std::string::npos) << dos.sErrores;
    EXPECT_TRUE(fs::is_empty(matriz.salida.ruta()));
}

// A database libmdb complains about: the batch says what is wrong in its own
// words; the library's English only with --depurar.
TEST(CuestionarioKova, LosAvisosDeLibmdbSoloSeVenConDepurar) {
    TCarpeta c;
    c.Escribe();
    const fs::path bd = c.norvex / "DataBase" / "Norvex.mdb";
    std::string sBytes = Lee(bd);
    // The first user table's definition page (after the system tables')
    // no longer says what it is.
    size_t nPagina = 6;
    while (nPagina * 4096 < sBytes.size() && sBytes[nPagina * 4096] != '\x02') ++nPagina;
    ASSERT_LT(nPagina * 4096, sBytes.size());
    sBytes[nPagina * 4096] = '\x03';
    std::ofstream(bd, std::ios::binary | std::ios::trunc) << sBytes;

    const TEjecucion normal = Ejecuta(c.Args({"--respuestas", c.Sal("r.csv")}));
    EXPECT_NE(normal.nSalida, 0);
    EXPECT_EQ(normal.sErrores.find("mdb_"), std::string::npos) << normal.sErrores;
    EXPECT_NE(normal.sErrores.find("dañad"), std::string::npos) << normal.sErrores;

    const TEjecucion depurada = Ejecuta(c.Args({"--respuestas", c.Sal("r.csv"), "--depurar"}));
    EXPECT_EQ(depurada.nSalida, normal.nSalida);
    EXPECT_TRUE(depurada.sErrores.starts_with("libmdb: mdb_read_table: ")) << depurada.sErrores;
    EXPECT_TRUE(depurada.sErrores.ends_with(normal.sErrores)) << depurada.sErrores;
    EXPECT_TRUE(fs::is_empty(c.salida.ruta()));
}

}  // namespace
