// The recordset over the Access 2007 and later types: each field gives its
// value in the form asked for, bytes and attached files included.
#include <gtest/gtest.h>

#include "TDirTemporal.h"
#include "platform/ado/TADOConnection.h"
#include "platform/ado/TADOQuery.h"
#include "platform/jet/EErrorJet.h"
#include "tools/mdbgen/EscritorMdb.h"

namespace {

using ado::TADOConnection;
using ado::TADOQuery;

struct Abierta {
    TADOConnection conexion;
    explicit Abierta(const std::string& sRuta, const std::string& sContrasena = "") {
        conexion.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + sRuta +
                                     ";Jet OLEDB:Database Password=" + sContrasena);
        conexion.SetConnected(true);
    }
};

std::string Fixture(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

TEST(ADOTipos, DecimalBigIntYCifradoDanSusValores) {
    Abierta decimal(Fixture("ace12-decimal.accdb"));
    TADOQuery q(&decimal.conexion);
    q.SQLAdd("SELECT col5, col6, SUM(col2 + col5) AS Suma FROM test GROUP BY col5, col6");
    q.Open();
    EXPECT_EQ(q.Field(0).AsString(), "4");
    EXPECT_EQ(q.Field(1).AsInteger(), -1);
    EXPECT_EQ(q.Field(2).AsFloat(), 5.0);
    EXPECT_EQ(q.FieldByName("Suma").AsString(), "5");

    Abierta grande(Fixture("ace16-bigint.accdb"));
    TADOQuery g(&grande.conexion);
    g.SQLAdd("SELECT Numeric FROM [Table]");
    g.Open();
    EXPECT_EQ(g.Field(0).AsInteger(), 42);

    Abierta cifrada(Fixture("ace14-encrypted.accdb"), "password");
    TADOQuery c(&cifrada.conexion);
    c.SQLAdd("SELECT Data FROM Table1 WHERE ID = 3");
    c.Open();
    EXPECT_EQ(c.Field(0).AsString(), "Three");
}

TEST(ADOTipos, LosAdjuntosYLosBinariosDanSusBytes) {
    Abierta adjuntos(Fixture("ace12-attachments.accdb"));
    TADOQuery q(&adjuntos.conexion);
    q.SQLAdd("SELECT ID, Attachments FROM Table1 ORDER BY ID");
    q.Open();
    EXPECT_TRUE(q.Field(1).IsNull());
    EXPECT_TRUE(q.Field(1).AsAdjuntos().empty());
    q.Next();
    const auto archivos = q.Field(1).AsAdjuntos();
    ASSERT_EQ(archivos.size(), 1u);
    EXPECT_EQ(archivos[0].sNombre, "attachment1.txt");
    EXPECT_EQ(archivos[0].bytes, "Attachment 1");
    EXPECT_EQ(q.Field(1).AsString(), "attachment1.txt (12 bytes)");
    // Files are no number.
    try {
        q.Field(1).AsFloat();
        ADD_FAILURE() << "AsFloat de adjuntos no falló";
    } catch (const jet::EErrorJet& e) {
        EXPECT_EQ(e.Clase(), "EConversion");
    }

    TDirTemporal dir;
    const std::string sRuta = (dir / "ole.mdb").string();
    {
        mdb::TEscritorMdb e(sRuta, {});
        e.CreaTabla("t", {{"O", mdb::TTipoMdb::tmOLE}});
        e.AgregaFila({std::string("\x00PK\x03", 4)});
        e.Cierra();
    }
    Abierta ole(sRuta);
    TADOQuery o(&ole.conexion);
    o.SQLAdd("SELECT O FROM t");
    o.Open();
    EXPECT_EQ(o.Field(0).AsBytes(), std::string("\x00PK\x03", 4));
    EXPECT_EQ(o.Field(0).AsString(), "0x00504B03");
    EXPECT_THROW(o.Field(0).AsAdjuntos(), jet::EErrorJet);
}

}  // namespace
