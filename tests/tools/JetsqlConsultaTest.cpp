// jetsql FILE "STATEMENT": the rows as CSV, or "KIND - message" and exit 1.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/tools/JetsqlPrograma.h"
#include "tools/jetsql/Jetsql.h"

namespace {

std::string Fixture(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

TEST(JetsqlConsulta, ReadsTheStatementAfterTheFile) {
    std::string sError;
    auto o = LeeOpcionesJetsql({"--password", "p", "a.mdb", "SELECT 1"}, sError);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->eAccion, TOpcionesJetsql::taConsulta);
    EXPECT_EQ(o->sConsulta, "SELECT 1");
    EXPECT_EQ(o->sContrasena, "p");
    EXPECT_FALSE(LeeOpcionesJetsql({"a.mdb", "SELECT 1", "--tables"}, sError));
    EXPECT_FALSE(LeeOpcionesJetsql({"a.mdb", "SELECT 1", "SELECT 2"}, sError));
}

TEST(JetsqlConsulta, PrintsRowsAsCsv) {
    struct {
        std::string sArchivo, sConsulta, sSalida;
    } casos[] = {
        {"jet4-types.mdb",
         "SELECT TOP 1 UCASE(B) + ' (** Total Ops.: ' + STR(COUNT(1)) + ' **) ' AS XResul FROM "
         "Table1 GROUP BY B ORDER BY COUNT(1) DESC",
         "XResul\r\nB (** Total Ops.:  1 **) \r\nHIJKLMNOP (** Total Ops.:  1 **) \r\n"},
        {"jet4-types.mdb", "SELECT I, H, F, E / 4, G, C FROM Table1 ORDER BY C DESC",
         "I,H,F,Expr1000,G,C\r\nTrue,3.5,444.555,83333333.25,1974-09-21 00:00:00,2\r\n"
         "False,0,0,0,1981-12-12 00:00:00,0\r\n"},
        {"jet4-dates.mdb",
         "SELECT IDCol, LongTextCol, '' AS Vacio, NULL AS Nada, 'a,b' AS [Co,ma], 'di \"x\"' AS "
         "Comillas, DateCol FROM DateTest WHERE IDCol IN (4, 6) ORDER BY IDCol",
         "IDCol,LongTextCol,Vacio,Nada,\"Co,ma\",Comillas,DateCol\r\n"
         "4,Pre-1000 years,\"\",,\"a,b\",\"di \"\"x\"\"\",0633-01-01 00:00:00\r\n"
         "6,\"New line\r\nin field\",\"\",,\"a,b\",\"di \"\"x\"\"\",2021-12-02 00:00:00\r\n"},
        {"jet4-no-password.mdb", "SELECT ID FROM Table1 WHERE ID > 9", "ID\r\n"},
    };
    for (const auto& c : casos) {
        std::ostringstream salida, errores;
        TOpcionesJetsql o{Fixture(c.sArchivo), "", TOpcionesJetsql::taConsulta, c.sConsulta};
        EXPECT_EQ(EjecutaJetsql(o, salida, errores), 0) << errores.str();
        EXPECT_EQ(salida.str(), c.sSalida);
    }
}

TEST(JetsqlConsulta, AFailedStatementIsKindAndMessageAndExitOne) {
    std::ostringstream salida, errores;
    TOpcionesJetsql o{Fixture("jet4-types.mdb"), "", TOpcionesJetsql::taConsulta,
                      "DELETE FROM Table1"};
    EXPECT_EQ(EjecutaJetsql(o, salida, errores), 1);
    EXPECT_EQ(salida.str(), "");
    EXPECT_EQ(errores.str(),
              "ESoloLectura - La base de datos Norvex está abierta en modo de solo lectura: no se "
              "permite la instrucción DELETE.\n");
}

// A result bigger than the memory the program may have (a cross join of ten
// copies of a small table, kept whole to size the table's columns) is Jet's
// lack of memory, and the script goes on; never an abort.
TEST(JetsqlConsulta, AResultBeyondMemoryIsEMemoriaAndTheNextStatementRuns) {
    std::string sCruce = "SELECT * FROM DateTest AS t0";
    for (int i = 1; i < 10; ++i) sCruce += ", DateTest AS t" + std::to_string(i);
    const auto r =
        EjecutaJetsqlCon({"--modo", "tabla", "--continuar", FixtureMdb("jet4-dates.mdb")},
                         sCruce + ";\nSELECT COUNT(*) FROM DateTest;\n", 512ull << 20);
    EXPECT_EQ(r.nSalida, 1) << r.sErrores;
    EXPECT_EQ(r.sErrores,
              "EMemoria - No hay memoria suficiente para ejecutar la instrucción.\n"
              "  en la instrucción 1, línea 1\n");
    EXPECT_NE(r.sSalida.find("(1 fila)"), std::string::npos) << r.sSalida;
}

// For diagnosis: the SQLite text a statement becomes, with or without an
// optional pass; a pass the road cannot do without is refused by name.
TEST(JetsqlConsulta, TranslatesWithOrWithoutAnOptionalPass) {
    auto traduce = [](std::vector<std::string> args) {
        std::string sError;
        args.insert(args.begin(), {"--traduce", Fixture("jet4-types.mdb")});
        args.push_back("SELECT DISTINCT B FROM Table1");
        auto o = LeeOpcionesJetsql(args, sError);
        EXPECT_TRUE(o) << sError;
        std::ostringstream salida, errores;
        EXPECT_EQ(EjecutaJetsql(*o, salida, errores), 0) << errores.str();
        return salida.str();
    };
    EXPECT_EQ(traduce({}),
              "SELECT DISTINCT \"B\" AS \"B\" FROM \"Table1\" AS \"Table1\" ORDER BY 1 COLLATE "
              "JET\n");
    EXPECT_EQ(traduce({"--sin-paso", "distintas"}),
              "SELECT DISTINCT \"B\" AS \"B\" FROM \"Table1\" AS \"Table1\"\n");
    for (const char* sPaso : {"baja", "imprime", "nada"}) {
        std::string sError;
        EXPECT_FALSE(LeeOpcionesJetsql({"--sin-paso", sPaso, "a.mdb"}, sError));
        EXPECT_EQ(sError, std::string("No hay un paso opcional llamado '") + sPaso +
                              "' (son: orden, distintas, logicas, uniones, top, guarda, mitades).");
    }
}

}  // namespace
