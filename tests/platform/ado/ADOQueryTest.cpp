// The query object over the real Access files: values read back exactly,
// navigation, the snapshot following the file, and no statement writing.
#include "platform/ado/TADOQuery.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TDirTemporal.h"
#include "platform/ado/TADOConnection.h"
#include "platform/jet/EErrorJet.h"

namespace {

using ado::TADOConnection;
using ado::TADOQuery;

std::string Fixture(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

struct Abierta {
    TADOConnection conexion;
    explicit Abierta(const std::string& sRuta, const std::string& sContrasena = "") {
        conexion.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + sRuta +
                                     ";Jet OLEDB:Database Password=" + sContrasena);
        conexion.SetConnected(true);
    }
};

std::string Filas(TADOQuery& q) {
    std::string s;
    for (q.First(); !q.Eof(); q.Next()) {
        if (!s.empty())
            s += "; ";
        for (int i = 0; i < q.FieldCount(); ++i) s += (i ? "," : "") + q.Field(i).AsString();
    }
    return s;
}

std::string Consulta(TADOConnection& c, const std::string& sSql) {
    TADOQuery q(&c);
    q.SQLAdd(sSql);
    q.Open();
    return Filas(q);
}

std::string Falla(TADOQuery& q, void (TADOQuery::*accion)()) {
    try {
        (q.*accion)();
    } catch (const jet::EErrorJet& e) {
        return e.Clase() + " - " + e.Mensaje();
    }
    return "(no falló)";
}

std::string Contenido(const std::string& sRuta) {
    std::ifstream f(sRuta, std::ios::binary);
    std::ostringstream o;
    o << f.rdbuf();
    return o.str();
}

TEST(ADOQuery, AnswersTheTiedTopQueryOnJet4Types) {
    Abierta a(Fixture("jet4-types.mdb"));
    EXPECT_EQ(Consulta(a.conexion,
                       "SELECT TOP 1 UCASE(B) + ' (** Total Ops.:  ' + STR(COUNT(1)) + ' **) ' AS "
                       "XResul FROM Table1 GROUP BY B ORDER BY COUNT(1) DESC"),
              "B (** Total Ops.:   1 **) ; HIJKLMNOP (** Total Ops.:   1 **) ");
}

TEST(ADOQuery, ReadsEveryValueOfTheTypesFilesExactly) {
    for (const char* archivo : {"jet4-types.mdb", "jet3-types.mdb"}) {
        Abierta a(Fixture(archivo));
        TADOQuery q(&a.conexion);
        q.SQLAdd("SELECT * FROM Table1 ORDER BY E DESC");
        q.Open();
        EXPECT_EQ(Filas(q),
                  "abcdefg,hijklmnop,2,222,333333333,444.555,1974-09-21 00:00:00,3.5,True; "
                  "a,b,0,0,0,0,1981-12-12 00:00:00,0,False")
            << archivo;
        q.First();
        const double f = q.FieldByName("f").AsFloat();
        EXPECT_EQ(std::memcmp(&f, &(const double&)444.555, sizeof f), 0);
        EXPECT_EQ(std::get<jet::TMoneda>(q.FieldByName("H").Valor()).nDiezMilesimos, 35000);
        EXPECT_EQ(q.FieldByName("G").AsDateTime(), 27293.0);
        EXPECT_TRUE(q.FieldByName("i").AsBoolean());
        EXPECT_EQ(q.FieldByName("I").AsString(), "True");
        EXPECT_EQ(Consulta(a.conexion,
                           "SELECT I + 0, NOT I, H * 2, E / 2, G = #12/12/1981# FROM Table1 "
                           "WHERE A = 'A'"),
                  "0,-1,0,0,-1");
    }
}

TEST(ADOQuery, ReadsDatesBefore1900AndInYear9999) {
    Abierta a(Fixture("jet4-dates.mdb"));
    EXPECT_EQ(
        Consulta(a.conexion,
                 "SELECT IDCol, DateTimeCol, DateCol, TimeCol, YEAR(DateTimeCol), ShortTextCol "
                 "FROM DateTest WHERE IDCol <= 4 ORDER BY IDCol"),
        "1,2021-12-02 00:00:00,2021-12-02 00:00:00,2021-12-02 00:00:00,2021,Hello; "
        "2,9999-01-01 00:00:00,9999-01-01 00:00:00,9999-01-01 00:00:00,9999,Year 1999; "
        "3,1898-01-01 00:00:00,1899-01-01 00:00:00,1900-01-01 00:00:00,1898,Pre-1900 years; "
        "4,0632-01-01 00:00:00,0633-01-01 00:00:00,0634-01-01 00:00:00,632,Pre-1000 years");
    EXPECT_EQ(Consulta(a.conexion,
                       "SELECT LongTextCol, ShortTextCol, TimeCol FROM DateTest WHERE IDCol >= 5 "
                       "ORDER BY IDCol"),
              "Escaped new line \\r\\n in field,Escaped new line \\r\\n in field,2021-12-02 "
              "00:00:00; New line\r\nin field,No new line,2021-12-02 00:00:00");
    EXPECT_EQ(Consulta(a.conexion, "SELECT COUNT(1) FROM DateTest WHERE DateCol < #01/01/1900#"),
              "2");
}

TEST(ADOQuery, ReadsTablesWithoutRows) {
    Abierta a(Fixture("jet3-types.mdb"));
    TADOQuery q(&a.conexion);
    q.SQLAdd("SELECT * FROM Table2");
    q.Open();
    EXPECT_TRUE(q.IsEmpty());
    ASSERT_EQ(q.FieldCount(), 89);
    EXPECT_EQ(q.FieldName(88), "column89");
    EXPECT_EQ(Consulta(a.conexion, "SELECT COUNT(1), MAX(a) FROM Table3"), "0,");
    EXPECT_EQ(Consulta(a.conexion, "SELECT COUNT(data) FROM Table4"), "0");
}

TEST(ADOQuery, OpensFilesWithAPassword) {
    Abierta a(Fixture("jet4-password.mdb"), "password");
    EXPECT_EQ(Consulta(a.conexion, "SELECT ID, Data FROM Table1 WHERE Data LIKE 't%' ORDER BY ID"),
              "2,Two; 3,Three");
}

TEST(ADOQuery, NavigatesAndFindsFieldsWithoutLetterCase) {
    Abierta a(Fixture("jet4-no-password.mdb"));
    TADOQuery q(&a.conexion);
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(q.Eof());
    q.SQLAdd("SELECT ID, Data AS Texto, ID * 2 AS [Año Ñ] FROM Table1 ORDER BY ID");
    EXPECT_EQ(q.SQLText(), "SELECT ID, Data AS Texto, ID * 2 AS [Año Ñ] FROM Table1 ORDER BY ID");
    q.Open();
    EXPECT_TRUE(q.Active());
    EXPECT_FALSE(q.IsEmpty());
    EXPECT_EQ(q.FieldByName("texto").AsString(), "One");
    EXPECT_EQ(q.FieldByName("AÑO ñ").AsInteger(), 2);
    q.Next();
    q.Next();
    EXPECT_EQ(q.FieldByName("ID").AsInteger(), 3);
    q.Next();
    EXPECT_TRUE(q.Eof());
    EXPECT_TRUE(q.FieldByName("ID").IsNull());
    EXPECT_THROW(q.FieldByName("Data"), jet::EErrorJet);
    q.Close();
    EXPECT_FALSE(q.Active());

    q.SQLClear();
    q.SQLAdd("SELECT ID FROM Table1 WHERE ID > 3");
    q.Open();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(q.Eof());
}

TEST(ADOQuery, FailsWithoutAnOpenConnection) {
    TADOQuery sinConexion;
    sinConexion.SQLAdd("SELECT 1 FROM Table1");
    EXPECT_EQ(Falla(sinConexion, &TADOQuery::Open),
              "EConexionCerrada - La consulta no tiene conexión.");
    TADOConnection cerrada;
    TADOQuery q(&cerrada);
    q.SQLAdd("SELECT 1 FROM Table1");
    EXPECT_EQ(Falla(q, &TADOQuery::Open), "EConexionCerrada - La conexión no está abierta.");
}

TEST(ADOQuery, TextOfNumbersUsesTheLocaleSeparator) {
    Abierta a(Fixture("jet4-types.mdb"));
    const char* anterior = std::setlocale(LC_NUMERIC, nullptr);
    const std::string sAnterior = anterior ? anterior : "C";
    if (!std::setlocale(LC_NUMERIC, "es_ES.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma";
    const std::string s = Consulta(a.conexion, "SELECT F, 12345.0, 1/3 FROM Table1 WHERE C = 2");
    std::setlocale(LC_NUMERIC, sAnterior.c_str());
    EXPECT_EQ(s, "444,555,12345,0,333333333333333");
}

// The snapshot follows the file: a file replaced on disk is read again by
// the next statement; a statement that would write is refused and the file
// stays as it was.
TEST(ADOQuery, SeesTheFileChangeAndNeverWritesIt) {
    TDirTemporal dir;
    const std::string sRuta = (dir / "Norvex.mdb").string();
    std::filesystem::copy_file(Fixture("jet4-no-password.mdb"), sRuta);
    Abierta a(sRuta);
    EXPECT_EQ(Consulta(a.conexion, "SELECT COUNT(1) FROM Table1"), "3");

    const std::string sAntes = Contenido(sRuta);
    TADOQuery q(&a.conexion);
    for (const char* sql : {"DELETE FROM Table1", "DELETE FROM Table1 WHERE ID = 1",
                            "INSERT INTO Table1 (ID) VALUES (9)", "DROP TABLE Table1"}) {
        q.SQLClear();
        q.SQLAdd(sql);
        EXPECT_EQ(Falla(q, &TADOQuery::ExecSQL).rfind("ESoloLectura - ", 0), 0u) << sql;
    }
    q.SQLClear();
    q.SQLAdd("TRUNCATE TABLE Table1");
    EXPECT_EQ(Falla(q, &TADOQuery::ExecSQL).rfind("ESintaxis - ", 0), 0u);
    EXPECT_EQ(Contenido(sRuta), sAntes);
    EXPECT_EQ(Consulta(a.conexion, "SELECT COUNT(1) FROM Table1"), "3");

    std::filesystem::copy_file(Fixture("jet4-types.mdb"), sRuta,
                               std::filesystem::copy_options::overwrite_existing);
    EXPECT_EQ(Consulta(a.conexion, "SELECT COUNT(1) FROM Table1"), "2");
    EXPECT_EQ(Consulta(a.conexion, "SELECT A FROM Table1 WHERE C = 2"), "abcdefg");
}

}  // namespace
