// jetsql over the Access 2007 and later files: each type printed in its one
// text form, and the files of an Attachment column written out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "TDirTemporal.h"
#include "tools/jetsql/Jetsql.h"

namespace {

std::string Fixture(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

TEST(JetsqlAdjuntos, ImprimeCadaTipoEnSuForma) {
    struct {
        const char *sArchivo, *sContrasena, *sSql, *sCsv;
    } casos[] = {
        {"ace12-decimal.accdb", "",
         "SELECT col1, col2, col6, SUM(col5) FROM test GROUP BY col1, "
         "col2, col6",
         "col1,col2,col6,Expr1000\r\nsome data,1,-1,4\r\n"},
        {"ace16-bigint.accdb", "", "SELECT * FROM [Table]", "ID,Numeric\r\n1,42\r\n"},
        {"ace12-attachments.accdb", "", "SELECT Attachments FROM Table1 WHERE ID > 1",
         "Attachments\r\nattachment1.txt (12 bytes)\r\nattachment1.txt (12 bytes); "
         "attachment2.txt (12 bytes); attachment3.txt (12 bytes)\r\n"},
        {"ace14-encrypted.accdb", "password", "SELECT Data FROM Table1 WHERE ID = 2",
         "Data\r\nTwo\r\n"},
    };
    for (const auto& c : casos) {
        std::ostringstream salida, errores;
        TOpcionesJetsql opciones{Fixture(c.sArchivo), c.sContrasena, TOpcionesJetsql::taConsulta,
                                 c.sSql};
        EXPECT_EQ(EjecutaJetsql(opciones, salida, errores), 0) << errores.str();
        EXPECT_EQ(salida.str(), c.sCsv) << c.sSql;
    }
}

TEST(JetsqlAdjuntos, EscribeLosArchivosDeCadaFilaSinPisarNada) {
    std::string sError;
    TDirTemporal dir;
    const std::string sCarpeta = (dir / "salida").string();
    const auto opciones = LeeOpcionesJetsql(
        {Fixture("ace12-attachments.accdb"), "--adjuntos", "Table1", "attachments", sCarpeta},
        sError);
    ASSERT_TRUE(opciones.has_value()) << sError;
    ASSERT_EQ(opciones->eAccion, TOpcionesJetsql::taAdjuntos);

    std::ostringstream salida, errores;
    EXPECT_EQ(EjecutaJetsql(*opciones, salida, errores), 0) << errores.str();
    EXPECT_EQ(salida.str(),
              "2/attachment1.txt\t12\n3/attachment1.txt\t12\n3/attachment2.txt\t12\n"
              "3/attachment3.txt\t12\n");
    for (const auto& [sRuta, sBytes] :
         {std::pair{"2/attachment1.txt", "Attachment 1"}, {"3/attachment3.txt", "Attachment 3"}}) {
        std::ifstream f(std::filesystem::path(sCarpeta) / sRuta, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), sBytes) << sRuta;
    }

    // A second run finds the files there and stops instead of overwriting.
    std::ostringstream otra, errores2;
    EXPECT_EQ(EjecutaJetsql(*opciones, otra, errores2), 1);
    EXPECT_NE(errores2.str().find("ya existe"), std::string::npos) << errores2.str();

    // Only an Attachment column has files.
    TOpcionesJetsql texto = *opciones;
    texto.sColumna = "Comment";
    std::ostringstream nada, errores3;
    EXPECT_EQ(EjecutaJetsql(texto, nada, errores3), 1);
    EXPECT_NE(errores3.str().find("EConversion"), std::string::npos) << errores3.str();

    EXPECT_FALSE(LeeOpcionesJetsql({"a.accdb", "--adjuntos", "T", "C"}, sError).has_value());
    EXPECT_FALSE(LeeOpcionesJetsql({"a.accdb", "--adjuntos", "T", "C", "D", "SELECT 1"}, sError)
                     .has_value());
}

}  // namespace
