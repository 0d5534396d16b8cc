// Editions as data: the program's editions read whole and valid, and a broken
// edition refused with every problem where a person editing it finds it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "TDirTemporal.h"
#include "data/TablasNorvex.h"
#include "questionnaire/CatalogoEdiciones.h"
#include "questionnaire/ConsultaPropia.h"
#include "questionnaire/LeeEdicion.h"
#include "questionnaire/ValidaEdicion.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace fs = std::filesystem;

namespace {

int Cuenta(const TEdicion& e, TFormaPregunta f) {
    return static_cast<int>(
        std::count_if(e.preguntas.begin(), e.preguntas.end(),
                      [f](const TPreguntaEdicion& p) { return p.eForma == f; }));
}

std::string Todos(const std::vector<TProblemaEdicion>& problemas) {
    std::string s;
    for (const TProblemaEdicion& p : problemas) s += p.Texto() + "\n";
    return s;
}

std::string LeeFijo(const char* sArchivo) {
    std::ifstream f(fs::path(KOVA_FIXTURES "/ediciones/prueba") / sArchivo, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
}

// The small edition of tests/fixtures/ediciones/prueba, one question of each
// form (a calculation of the vocabulary, a statement of its own with every
// placeholder, the centre's), written where a case may change it.
struct TEdicionPrueba {
    TDirTemporal dir;
    std::string sEdicion = LeeFijo(kArchivoEdicion), sPreguntas = LeeFijo(kArchivoPreguntas),
                sReporte = LeeFijo(kArchivoReporte);

    fs::path Escribe() const {
        std::ofstream(dir / kArchivoEdicion, std::ios::binary) << sEdicion;
        std::ofstream(dir / kArchivoPreguntas, std::ios::binary) << sPreguntas;
        std::ofstream(dir / kArchivoReporte, std::ios::binary) << sReporte;
        return dir.ruta();
    }
};

void Reemplaza(std::string& s, const std::string& sDe, const std::string& sA) {
    const auto p = s.find(sDe);
    ASSERT_NE(p, std::string::npos) << sDe;
    s.replace(p, sDe.size(), sA);
}

}  // namespace

TEST(Ediciones, La2018EsLaPredeterminadaYSeLeeEntera) {
    const auto e = EdicionPredeterminada();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->sClave, "2018");
    EXPECT_EQ(e->sNombre, "Encuesta ANDU 2018");
    EXPECT_EQ(e->DameFIniSQL(), "01/01/2017");
    EXPECT_EQ(e->DameFFinSQL(), "12/31/2017");
    EXPECT_EQ(e->DameFDespuesSQL(), "01/01/2018");
    EXPECT_EQ(e->DameTotalPreguntas(), 195);
    EXPECT_EQ(Cuenta(*e, fpCalculo), 160);
    EXPECT_EQ(Cuenta(*e, fpCentro), 35);
    EXPECT_EQ(e->nPaginas, 22);
    EXPECT_EQ(e->pdf.sArchivo, "CuestionarioKOVA");
    EXPECT_EQ(e->pdf.sTitulo, "Cuestionario KOVA");
}

// Every edition the program ships passes every check, statements included.
TEST(Ediciones, LasDelProgramaSonValidas) {
    const auto halladas = BuscaEdiciones({CarpetaEdicionesPrograma()});
    ASSERT_FALSE(halladas.empty());
    for (const TEdicionHallada& h : halladas) {
        ASSERT_TRUE(h.lectura.edicion) << Todos(h.lectura.problemas);
        EXPECT_EQ(Todos(ValidaEdicion(*h.lectura.edicion)), "") << h.sCarpeta;
    }
}

TEST(Ediciones, UnaEdicionPequenaPasaYSeResume) {
    TEdicionPrueba prueba;
    const TLecturaEdicion l = RevisaEdicion(prueba.Escribe());
    ASSERT_TRUE(l.edicion) << Todos(l.problemas);
    EXPECT_EQ(ResumenEdicion(*l.edicion),
              "Edición prueba «Encuesta de prueba», operaciones del 01/01/2018 al 31/12/2018: 3 "
              "preguntas (1 con cálculo del Norvex, 1 con consulta propia, 1 del centro), 1 "
              "páginas.");
}

// One fault each, and where the checker points: the file and line a person
// opens to mend it, and what to mend.
TEST(Ediciones, CadaFallaConSuArchivoYLinea) {
    struct Caso {
        const char* sQue;
        const char* sArchivo;
        const char* sDe;
        const char* sA;
        const char* sEsperado;  // after the folder: "archivo:línea: ..." (a beginning)
    } casos[] = {
        {"falta una pregunta", kArchivoPreguntas, "numero = 3", "numero = 4",
         "preguntas.toml:17: falta la pregunta 3 (antes de la 4)."},
        {"número repetido", kArchivoPreguntas, "numero = 3", "numero = 2",
         "preguntas.toml:17: la pregunta 2 está repetida: ya está en la línea 8."},
        {"sintaxis de la consulta", kArchivoPreguntas, "COUNT(1) AS Resultado FROM tRelevan",
         "COUNT(1) AS Resultado FROM tRelevan WHERE WHERE",
         "preguntas.toml:12: la consulta de la pregunta 2 no se puede ejecutar sobre las tablas "
         "del Norvex: ESintaxis"},
        {"columna que el Norvex no tiene", kArchivoPreguntas, "{periodo(Fecha)}",
         "{periodo(FechaAlerta)}",
         "preguntas.toml:13: la consulta de la pregunta 2 no se puede ejecutar sobre las tablas "
         "del Norvex: EParametroSinValor"},
        {"tabla que el Norvex no tiene", kArchivoPreguntas, "FROM tRelevan", "FROM tAlertas",
         "preguntas.toml:12: la consulta de la pregunta 2 no se puede ejecutar sobre las tablas "
         "del Norvex: ETablaNoEncontrada"},
        {"dato desconocido en la consulta", kArchivoPreguntas, "{empresa}", "{compania}",
         "preguntas.toml:13: en la consulta de la pregunta 2: {compania} no es un dato"},
        {"consulta sin Resultado", kArchivoPreguntas, "AS Resultado", "AS Total",
         "preguntas.toml:12: la consulta de la pregunta 2 no da una columna «Resultado»"},
        {"evidencia que no corresponde", kArchivoPreguntas, "evidencia = \"CONTEO\"",
         "evidencia = \"SUMA\"",
         "preguntas.toml:8: la evidencia de la pregunta 2 no corresponde a su consulta (SUMA)"},
        {"variable del reporte sin pregunta", kArchivoReporte, "{\"preguntas_desde\": 1}",
         "{\"preguntas_desde\": 1},\n{\"trozos\": [{\"texto\": \"[preg_9]\"}]}",
         "reporte.json:14: el reporte muestra [preg_9] y la edición no tiene la pregunta 9."},
        {"periodo al revés", kArchivoEdicion, "fin = 2018-12-31", "fin = 2017-12-31",
         "edicion.toml:6: el periodo termina (2017-12-31) antes de empezar (2018-01-01)."},
        {"fecha que no existe", kArchivoEdicion, "fin = 2018-12-31", "fin = 2018-02-30",
         "edicion.toml:6: no es TOML válido"},
        {"cálculo desconocido", kArchivoPreguntas, "calculo = \"EXISTE\"", "calculo = \"EXISTEN\"",
         "preguntas.toml:4: «calculo» no puede ser «EXISTEN»: es EXISTE, USUARIOS,"},
        {"campo mal escrito", kArchivoPreguntas, "operacion = \"COMPRA\"",
         "operacion = \"COMPRA\"\ncategria = \"PEP\"",
         "preguntas.toml:7: «categria» no es un campo de una pregunta."},
        {"parámetro que el cálculo no usa", kArchivoPreguntas, "operacion = \"COMPRA\"",
         "operacion = \"COMPRA\"\ncategoria = \"PEP\"",
         "preguntas.toml:7: «categoria» no aplica: EXISTE no distingue categorías de usuarios."},
        {"dos formas de responder", kArchivoPreguntas, "moneda = \"pesos\"",
         "moneda = \"pesos\"\ncalculo = \"EXISTE\"",
         "preguntas.toml:17: una pregunta se responde de una sola forma"},
        {"pregunta sin lugar en el reporte", kArchivoReporte, "{\"preguntas_desde\": 1}",
         "{\"preguntas_desde\": 2}",
         "preguntas.toml:1: la pregunta 1 no tiene lugar en el reporte"},
    };
    for (const Caso& c : casos) {
        TEdicionPrueba prueba;
        std::string& s = std::string(c.sArchivo) == kArchivoEdicion     ? prueba.sEdicion
                         : std::string(c.sArchivo) == kArchivoPreguntas ? prueba.sPreguntas
                                                                        : prueba.sReporte;
        Reemplaza(s, c.sDe, c.sA);
        const fs::path sCarpeta = prueba.Escribe();
        const TLecturaEdicion l = RevisaEdicion(sCarpeta);
        EXPECT_FALSE(l.edicion) << c.sQue;
        ASSERT_FALSE(l.problemas.empty()) << c.sQue;
        const std::string sEsperado = (sCarpeta / c.sEsperado).string();
        EXPECT_TRUE(l.problemas.front().Texto().starts_with(sEsperado))
            << c.sQue << "\n  esperado: " << sEsperado << "\n  obtenido: " << Todos(l.problemas);
    }
}

// The tables statements are checked against are those of a Norvex folder:
// the same tables, columns and types as the generated demo's.
TEST(Ediciones, LasTablasDelNorvexSonLasDeSuBaseDeDatos) {
    TDirTemporal dir;
    norvex::TGeneradorNorvex::Genera(dir.ruta(), {.nLineas = 10});
    const auto archivo = jet::TArchivoAccess::Abre((dir / "DataBase/Norvex.mdb").string(),
                                                   norvex::TGeneradorNorvex::kContrasena);
    std::vector<std::string> nombres;
    for (const jet::TTabla& t : TablasNorvex()) {
        nombres.push_back(t.sNombre);
        const jet::TTabla* real = archivo->BuscaTabla(t.sNombre);
        ASSERT_TRUE(real) << t.sNombre;
        ASSERT_EQ(real->columnas.size(), t.columnas.size()) << t.sNombre;
        for (std::size_t i = 0; i < t.columnas.size(); ++i) {
            EXPECT_EQ(real->columnas[i].sNombre, t.columnas[i].sNombre) << t.sNombre;
            EXPECT_EQ(real->columnas[i].eTipo, t.columnas[i].eTipo)
                << t.sNombre << "." << t.columnas[i].sNombre;
        }
    }
    auto reales = archivo->DameNombresTablas();
    std::sort(reales.begin(), reales.end());
    std::sort(nombres.begin(), nombres.end());
    EXPECT_EQ(nombres, reales);
}

// An edition's own statement gets the run's values through its placeholders;
// the period's last day counts whole, a ticked key stays data.
TEST(Ediciones, ConsultaPropiaConLosDatosDeLaCorrida) {
    TContextoConsulta c{"7", "18.91", "01/01/2018", "01/01/2019", {}};
    struct Caso {
        const char* sConsulta;
        std::vector<std::string> claves;
        const char* sEsperada;
    } casos[] = {
        {"NumEmp = {empresa} AND x/{tipo_cambio}", {}, "NumEmp = 7 AND x/18.91"},
        {"{periodo(t.Fecha)}", {}, "(t.Fecha >= #01/01/2018# AND t.Fecha < #01/01/2019#)"},
        {"{pep(ClaveCliente)}", {}, "(1 = 0)"},
        {"{pep(ClaveCliente)}", {"A1", "O'NEIL"}, "(ClaveCliente IN ('A1', 'O''NEIL'))"},
        {"'{{' & '}}'", {}, "'{' & '}'"},
    };
    for (const Caso& k : casos) {
        c.clavesPEP = k.claves;
        TFalloConsulta fallo;
        EXPECT_EQ(ExpandeConsulta(k.sConsulta, c, fallo).value_or("<" + fallo.sMensaje + ">"),
                  k.sEsperada);
    }
    for (const char* sMala :
         {"{empresa", "x}", "{pep}", "{empresa(x)}", "{periodo(a); DROP)}", "{Empresa}"}) {
        TFalloConsulta fallo;
        EXPECT_FALSE(ExpandeConsulta(sMala, c, fallo)) << sMala;
        EXPECT_FALSE(fallo.sMensaje.empty()) << sMala;
    }
}

// Next year's new question is one block at the end of one file: it is
// checked, numbered, given its place in the report after the last run and a
// statement like any other.
TEST(Ediciones, UnaPreguntaMasEsUnaSolaEdicion) {
    TDirTemporal dir;
    fs::copy(CarpetaEdicionesPrograma() / "prueba-2019", dir.ruta(), fs::copy_options::recursive);
    std::ofstream(dir / kArchivoPreguntas, std::ios::binary | std::ios::app)
        << "\n[[pregunta]]\nnumero = 77\n"
           "texto = \"¿Cuántos usuarios extranjeros le compraron dólares durante 2018?\"\n"
           "calculo = \"USUARIOS\"\nnegocio = \"DOLARES\"\noperacion = \"VENTA\"\n"
           "categoria = \"PERSONA_FISICA\"\nnacionalidad = \"EXTRANJERA\"\nsin_pep = true\n";
    const TLecturaEdicion l = RevisaEdicion(dir.ruta());
    ASSERT_TRUE(l.edicion) << Todos(l.problemas);
    EXPECT_EQ(l.edicion->DameTotalPreguntas(), 77);
    EXPECT_EQ(l.edicion->nPaginas, 10);
    EXPECT_NE(l.edicion->sPlantilla.find("[preg_77]"), std::string::npos);
    EXPECT_EQ(l.edicion->DameCalculo(77), crConteo);
}
