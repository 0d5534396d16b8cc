// How results are written (table, JSON, lines, CSV) and what the dot
// commands show of the shared files.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <sstream>

#include "TDirTemporal.h"
#include "tests/tools/JetsqlPrograma.h"
#include "tools/jetsql/FormatoResultado.h"
#include "tools/jetsql/Jetsql.h"
#include "tools/jetsql/ValoresJetsql.h"

namespace {

TEST(JetsqlSalida, LaMonedaSeEscribeExactaDesdeSusDiezMilesimos) {
    const std::pair<int64_t, std::string> casos[] = {
        {0, "0"},
        {1, "0.0001"},
        {-125000, "-12.5"},
        {30000, "3"},
        {-1, "-0.0001"},
        {INT64_MAX, "922337203685477.5807"},
        {INT64_MIN, "-922337203685477.5808"},
    };
    for (const auto& [n, s] : casos) EXPECT_EQ(TextoMonedaExacto(jet::TMoneda{n}), s) << n;
}

TEST(JetsqlSalida, CadaModoEscribeElMismoResultado) {
    // Numbers of every kind to the right, a long text cut at 12 characters
    // counted as characters (not bytes), a line break shown on one line.
    const jet::TResultado r{
        {"Nombre", "Importe", "N", "Alta", "Ok"},
        {
            {std::string("Peña \"Ñ\""), jet::TMoneda{-125000}, int64_t{7}, jet::TFecha{2.5}, true},
            {std::string("áéíóúáéíóúáéíóúáéíóúáéíóú"), jet::TMoneda{1}, 0.25, jet::TValor{}, false},
            {std::string("dos\r\nlíneas"), jet::TMoneda{0}, int64_t{-3}, jet::TValor{},
             jet::TValor{}},
        }};
    struct {
        TModoSalida eModo;
        bool bEncabezados;
        std::string sEsperado;
    } casos[] = {
        {TModoSalida::msTabla, true,
         "Nombre                Importe     N  Alta                 Ok\n"
         "--------------------  -------  ----  -------------------  -----\n"
         "Peña \"Ñ\"                -12.5     7  1900-01-01 12:00:00  True\n"
         "áéíóúáéíóúáéíóúáéíó…   0.0001  0.25                       False\n"
         "dos↵líneas                  0    -3\n"
         "(3 filas)\n"},
        {TModoSalida::msTabla, false,
         "Peña \"Ñ\"               -12.5     7  1900-01-01 12:00:00  True\n"
         "áéíóúáéíóúáéíóúáéíó…  0.0001  0.25                       False\n"
         "dos↵líneas                 0    -3\n"
         "(3 filas)\n"},
        {TModoSalida::msJson, true,
         "[{\"Nombre\":\"Peña \\\"Ñ\\\"\",\"Importe\":-12.5,\"N\":7,\"Alta\":\"1900-01-01 "
         "12:00:00\",\"Ok\":true},\n"
         " {\"Nombre\":\"áéíóúáéíóúáéíóúáéíóúáéíóú\",\"Importe\":0.0001,\"N\":0.25,\"Alta\":null,"
         "\"Ok\":"
         "false},\n"
         " {\"Nombre\":\"dos\\r\\nlíneas\",\"Importe\":0,\"N\":-3,\"Alta\":null,\"Ok\":null}]\n"},
        {TModoSalida::msLineas, true,
         " Nombre = Peña \"Ñ\"\nImporte = -12.5\n      N = 7\n   Alta = 1900-01-01 12:00:00\n"
         "     Ok = True\n\n"
         " Nombre = áéíóúáéíóúáéíóúáéíóúáéíóú\nImporte = 0.0001\n      N = 0.25\n   Alta = \n     "
         "Ok = "
         "False\n\n"
         " Nombre = dos\r\nlíneas\nImporte = 0\n      N = -3\n   Alta = \n     Ok = \n"},
        {TModoSalida::msCsv, false,
         "\"Peña \"\"Ñ\"\"\",-12.5,7,1900-01-01 12:00:00,True\r\n"
         "áéíóúáéíóúáéíóúáéíóúáéíóú,0.0001,0.25,,False\r\n"
         "\"dos\r\nlíneas\",0,-3,,\r\n"},
    };
    for (const auto& c : casos) {
        std::ostringstream s;
        EscribeResultado(r, c.eModo, c.bEncabezados, s, 20);
        EXPECT_EQ(s.str(), c.sEsperado) << static_cast<int>(c.eModo);
    }
    std::ostringstream vacio;
    EscribeResultado({{"A"}, {}}, TModoSalida::msJson, true, vacio);
    EXPECT_EQ(vacio.str(), "[]\n");
}

// The dot commands as a script runs them, on the shared files.
TEST(JetsqlSalida, LasOrdenesConPuntoSobreLosArchivosCompartidos) {
    struct {
        std::string sArchivo, sGuion, sSalida, sErrores;
    } casos[] = {
        {"jet4-types.mdb", ".tables",
         "Tabla,Filas\r\nTable1,2\r\nTable2,0\r\nTable3,0\r\nTable4,0\r\n", ""},
        // Columns in the table's order, Access's types, sizes in characters
        // for text; Yes/No and key columns take no nulls.
        {"jet4-types.mdb", ".modo tabla\n.schema table1",
         "Columna  Tipo                   Tamaño  Nulos\n"
         "-------  ---------------------  ------  -----\n"
         "A        Texto                      50  No\n"
         "B        Texto                     100  Sí\n"
         "C        Número (Byte)               1  Sí\n"
         "D        Número (Entero)             2  Sí\n"
         "E        Número (Entero largo)       4  Sí\n"
         "F        Número (Doble)              8  Sí\n"
         "G        Fecha/Hora                  8  Sí\n"
         "H        Moneda                      8  Sí\n"
         "I        Sí/No                          No\n"
         "(9 filas)\n",
         ""},
        {"jet4-dates.mdb", ".schema",
         "Tabla,Columna,Tipo,Tamaño,Nulos\r\n"
         "DateTest,IDCol,Número (Entero largo),4,Sí\r\n"
         "DateTest,DateTimeCol,Fecha/Hora,8,Sí\r\n"
         "DateTest,DateCol,Fecha/Hora,8,Sí\r\n"
         "DateTest,TimeCol,Fecha/Hora,8,Sí\r\n"
         "DateTest,LongTextCol,Memo,,Sí\r\n"
         "DateTest,ShortTextCol,Texto,255,Sí\r\n",
         ""},
        {"jet4-no-password.mdb", ".schema Nada\n.modo xml\n.encabezados quizá\n.salida a b", "",
         "ETablaInexistente - No existe la tabla 'Nada'.\n  en la instrucción 1, línea 1\n"
         "EArgumentos - Uso: .modo csv|tabla|json|lineas\n  en la instrucción 2, línea 2\n"
         "EArgumentos - Uso: .encabezados on|off\n  en la instrucción 3, línea 3\n"
         "EArgumentos - Uso: .salida [ARCHIVO]\n  en la instrucción 4, línea 4\n"},
        {"jet4-no-password.mdb", ".salir\nSELECT 1 AS a;", "", ""},
    };
    for (const auto& c : casos) {
        const auto r = EjecutaJetsqlCon({"--continuar", FixtureMdb(c.sArchivo)}, c.sGuion);
        EXPECT_EQ(r.sSalida, c.sSalida) << c.sGuion;
        EXPECT_EQ(r.sErrores, c.sErrores) << c.sGuion;
        EXPECT_EQ(r.nSalida, c.sErrores.empty() ? 0 : 1) << c.sGuion;
    }
}

TEST(JetsqlSalida, SalidaLlevaLosResultadosAUnArchivoHastaQueSeVuelveALaPantalla) {
    TDirTemporal tmp;
    const auto archivo = tmp / "con espacio.json";
    // The Access file is a copy here, to show it is never written.
    const auto access = tmp / "norvex.mdb";
    std::filesystem::copy_file(FixtureMdb("jet4-no-password.mdb"), access);
    const std::string sAccess = Lee(access);
    const auto r = EjecutaJetsqlCon(
        {"--modo", "json", "--continuar", access.string()},
        ".salida \"" + archivo.string() +
            "\"\nSELECT ID FROM Table1 WHERE ID = 1;\nSELECT ID FROM Table1 WHERE ID = 2;\n"
            ".salida\nSELECT ID FROM Table1 WHERE ID = 3;\n.salida /no/existe/x.csv\n"
            ".salida " +
            access.string() + "\nSELECT ID FROM Table1 WHERE ID = 1;\n");
    EXPECT_EQ(Lee(archivo), "[{\"ID\":1}]\n[{\"ID\":2}]\n");
    EXPECT_EQ(r.sSalida, "[{\"ID\":3}]\n[{\"ID\":1}]\n");
    EXPECT_EQ(r.sErrores,
              "EArchivoSalida - No se puede escribir en '/no/existe/x.csv'.\n  en la instrucción "
              "6, línea 6\nEArchivoSalida - '" +
                  access.string() +
                  "' es el archivo de Access abierto: no se escribe en él.\n  en la instrucción "
                  "7, línea 7\n");
    EXPECT_EQ(Lee(access), sAccess);
}

TEST(JetsqlSalida, AyudaVersionYOpcionesDesconocidas) {
    const auto ayuda = EjecutaJetsqlCon({"--ayuda"}, "");
    EXPECT_EQ(ayuda.nSalida, 0);
    EXPECT_EQ(EjecutaJetsqlCon({"--help"}, "").sSalida, ayuda.sSalida);
    // Every option of the table is in the help, so a new row cannot be forgotten there.
    for (const auto& op : DameOpcionesJetsql())
        for (const auto& sNombre : op.nombres)
            EXPECT_NE(ayuda.sSalida.find(sNombre), std::string::npos) << sNombre;
    const auto version = EjecutaJetsqlCon({"--version"}, "");
    EXPECT_EQ(version.nSalida, 0);
    EXPECT_EQ(version.sSalida, DameVersionJetsql() + "\n");
    struct {
        std::vector<std::string> args;
        std::string sPrimeraLinea;
    } malas[] = {
        {{"a.mdb", "--nada"}, "Opción desconocida: --nada"},
        {{"a.mdb", "--modo", "xml"},
         "Modo de salida desconocido: xml (csv, tabla, json o lineas)."},
        {{"a.mdb", "--modo"}, "Falta MODO después de --modo."},
        {{"a.mdb", "--tables", "--exportar-csv", "x"}, "Solo se puede pedir una cosa a la vez."},
        {{"a.mdb", "--sobrescribir"},
         "--sobrescribir solo tiene sentido con --exportar-sqlite o --exportar-csv."},
    };
    for (const auto& c : malas) {
        const auto r = EjecutaJetsqlCon(c.args, "");
        EXPECT_EQ(r.nSalida, 2) << c.sPrimeraLinea;
        EXPECT_EQ(r.sErrores.substr(0, r.sErrores.find('\n')), c.sPrimeraLinea);
        EXPECT_EQ(r.sSalida, "");
    }
}

}  // namespace
