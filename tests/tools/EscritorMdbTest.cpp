// Files written by our Jet 4 writer must read back equal through two
// readers we did not write: libmdb and the npm package mdb-reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "LectorLibmdb.h"
#include "LectorMdbReader.h"
#include "TDirTemporal.h"
#include "platform/ado/TADOConnection.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/TArchivoAccess.h"
#include "platform/jet/TextoValor.h"
#include "tools/mdbgen/DescripcionJson.h"
#include "tools/mdbgen/EscritorMdb.h"

using nlohmann::json;

namespace {

std::string Muestra(const jet::TValor& v) {
    std::ostringstream o;
    o.precision(17);
    std::visit(
        [&](const auto& x) {
            using X = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<X, std::monostate>)
                o << "NULL";
            else if constexpr (std::is_same_v<X, jet::TMoneda>)
                o << "moneda " << x.nDiezMilesimos;
            else if constexpr (std::is_same_v<X, jet::TFecha>)
                o << "fecha " << x.dSerial;
            else if constexpr (std::is_same_v<X, std::string>)
                o << '"' << x << '"';
            else if constexpr (std::is_arithmetic_v<X>)
                o << x;
            else
                o << jet::TextoValor(x);
        },
        v);
    return o.str();
}

std::string Repite(const std::string& s, int n) {
    std::string r;
    for (int i = 0; i < n; ++i) r += s;
    return r;
}

// Memos of every storage: in the row, one long-value row, a chain of pages,
// compressed and uncompressed.
const std::string kMemoCorto = "Línea 1\r\nLínea 2";
const std::string kMemoUnaPagina = Repite("abcdefghij", 200);     // 2000 chars, stored as UCS-2
const std::string kMemoComprimido = Repite("ñandú ", 80);         // 480 chars, compressed
const std::string kMemoCadena = Repite("precio en € y ¥ ", 600);  // 9600 chars over 5 pages

json DescripcionTipos() {
    return json::parse(R"({
      "password": "quilon",
      "creation_date": "2017-03-01 10:00:00",
      "tables": [{
        "name": "Tipos",
        "columns": [
          {"name": "Texto", "type": "text", "size": 20}, {"name": "Memo", "type": "memo"},
          {"name": "Byte", "type": "byte"}, {"name": "Entero", "type": "integer"},
          {"name": "Largo", "type": "long"}, {"name": "Simple", "type": "single"},
          {"name": "Doble", "type": "double"}, {"name": "Moneda", "type": "currency"},
          {"name": "SiNo", "type": "boolean"}, {"name": "Fecha", "type": "datetime"}],
        "rows": [
          ["Ñandú ñ", null, 255, -32768, 2147483647, 1.5, 444.555, "922337203685477.5807", true, "1974-09-21"],
          ["", null, 0, 32767, -2147483648, -0.25, -1e300, "-12.3456", false, "1899-12-30 12:00:00"],
          [null, null, null, null, null, null, null, null, false, null],
          ["PUBLICO EN GENERAL..", null, 1, 2, 3, 4, 5, 3.5, true, "0100-01-01"],
          ["a'b\"c", null, 7, -1, -1, 0, 0.1, 7, false, "9999-12-31 23:59:59"],
          ["x", null, 9, 9, 9, 9, 9, 0, true, "1898-01-01"],
          ["y", null, 9, 9, 9, 9, 9, "0.0001", true, "2017-12-31 00:00:01"]]
      }]})");
}

void PonMemos(json& d) {
    auto& filas = d["tables"][0]["rows"];
    filas[0][1] = kMemoCorto;
    filas[3][1] = kMemoUnaPagina;
    filas[4][1] = kMemoComprimido;
    filas[5][1] = kMemoCadena;
    filas[6][1] = "";
}

using V = jet::TValor;
using jet::TFecha;
using jet::TMoneda;
const std::vector<std::vector<V>> kEsperadoLibmdb = {
    {std::string("Ñandú ñ"), kMemoCorto, int64_t(255), int64_t(-32768), int64_t(2147483647), 1.5,
     444.555, TMoneda{INT64_MAX}, true, TFecha{27293}},
    {std::string(), std::monostate{}, int64_t(0), int64_t(32767), int64_t(-2147483648LL), -0.25,
     -1e300, TMoneda{-123456}, false, TFecha{0.5}},
    {std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{}, std::monostate{},
     std::monostate{}, std::monostate{}, std::monostate{}, false, std::monostate{}},
    {std::string("PUBLICO EN GENERAL.."), kMemoUnaPagina, int64_t(1), int64_t(2), int64_t(3), 4.0,
     5.0, TMoneda{35000}, true, TFecha{-657434}},
    {std::string("a'b\"c"), kMemoComprimido, int64_t(7), int64_t(-1), int64_t(-1), 0.0, 0.1,
     TMoneda{70000}, false, TFecha{2958465 + 86399.0 / 86400}},
    {std::string("x"), kMemoCadena, int64_t(9), int64_t(9), int64_t(9), 9.0, 9.0, TMoneda{0}, true,
     TFecha{-728}},
    {std::string("y"), std::string(), int64_t(9), int64_t(9), int64_t(9), 9.0, 9.0, TMoneda{1},
     true, TFecha{43100 + 1.0 / 86400}},
};

}  // namespace

class EscritorMdb : public ::testing::Test {
protected:
    TDirTemporal dir;
    std::string Escribe(const json& d, const std::string& sNombre = "x.mdb") {
        const std::string s = (dir / sNombre).string();
        mdb::TDescripcionJson::Escribe(d, s);
        return s;
    }
};

// libmdb gives the stored bytes back: every type, null, the limits of each
// number type, dates before 1899-12-30 and memos in every kind of storage.
// (libmdb cannot tell an empty text from a null one; mdb-reader below can.)
TEST_F(EscritorMdb, CadaTipoVuelveExactoPorLibmdb) {
    json d = DescripcionTipos();
    PonMemos(d);
    const auto tablas = LeeConLibmdb(Escribe(d));
    ASSERT_EQ(tablas.size(), 1u);
    const TTablaLibmdb& t = tablas[0];
    EXPECT_EQ(t.sNombre, "Tipos");
    EXPECT_EQ(t.columnas, (std::vector<std::string>{"Texto", "Memo", "Byte", "Entero", "Largo",
                                                    "Simple", "Doble", "Moneda", "SiNo", "Fecha"}));
    EXPECT_EQ(t.tipos, (std::vector<int>{10, 12, 2, 3, 4, 6, 7, 5, 1, 8}));
    EXPECT_EQ(t.tamanos[0], 40);  // Jet counts text sizes in bytes
    ASSERT_EQ(t.filas.size(), kEsperadoLibmdb.size());
    for (size_t f = 0; f < t.filas.size(); ++f)
        for (size_t c = 0; c < t.columnas.size(); ++c)
            EXPECT_TRUE(t.filas[f][c] == kEsperadoLibmdb[f][c])
                << "fila " << f + 1 << ", columna " << t.columnas[c] << ": "
                << Muestra(t.filas[f][c]).substr(0, 80) << " en vez de "
                << Muestra(kEsperadoLibmdb[f][c]).substr(0, 80);
}

TEST_F(EscritorMdb, CadaTipoVuelveExactoPorMdbReader) {
    json d = DescripcionTipos();
    PonMemos(d);
    const json leido = LeeConMdbReader(Escribe(d), "quilon");
    EXPECT_EQ(leido["password"], "quilon");
    const json& t = leido["tables"]["Tipos"];
    EXPECT_EQ(t["columns"], json::parse(R"([["Texto","text"],["Memo","memo"],["Byte","byte"],
        ["Entero","integer"],["Largo","long"],["Simple","float"],["Doble","double"],
        ["Moneda","currency"],["SiNo","boolean"],["Fecha","datetime"]])"));
    json esperado = json::parse(R"([
      ["Ñandú ñ", null, 255, -32768, 2147483647, 1.5, 444.555, "922337203685477.5807", true, "1974-09-21T00:00:00.000Z"],
      ["", null, 0, 32767, -2147483648, -0.25, -1e300, "-12.3456", false, "1899-12-30T12:00:00.000Z"],
      [null, null, null, null, null, null, null, null, false, null],
      ["PUBLICO EN GENERAL..", null, 1, 2, 3, 4, 5, "3.5000", true, "0100-01-01T00:00:00.000Z"],
      ["a'b\"c", null, 7, -1, -1, 0, 0.1, "7.0000", false, "9999-12-31T23:59:59.000Z"],
      ["x", null, 9, 9, 9, 9, 9, "0.0000", true, "1898-01-01T00:00:00.000Z"],
      ["y", "", 9, 9, 9, 9, 9, "0.0001", true, "2017-12-31T00:00:01.000Z"]])");
    PonMemos(d);
    for (int f : {0, 3, 4, 5}) esperado[f][1] = d["tables"][0]["rows"][f][1];
    ASSERT_EQ(t["rows"].size(), esperado.size());
    for (size_t f = 0; f < esperado.size(); ++f)
        for (size_t c = 0; c < esperado[f].size(); ++c)
            EXPECT_EQ(t["rows"][f][c], esperado[f][c]) << "fila " << f + 1 << ", columna " << c;
}

// Access stores the password enciphered and masked with the creation
// date: it must not be in the file as plain text, and both readers must
// still see it (mdb-reader reports it; a file without one reports null).
TEST_F(EscritorMdb, LaContrasenaSeGuardaComoJet4) {
    struct TCaso {
        const char* sContrasena;
        const char* sFecha;
    };
    const TCaso casos[] = {{"", "2017-03-01"},
                           {"quilon", "2017-03-01 10:00:00"},
                           {"quilon", "1990-06-15"},
                           {"ÁbcdeFghijKlmnñPqrsT", "2030-01-01"}};
    for (const TCaso& c : casos) {
        SCOPED_TRACE(std::string(c.sContrasena) + " " + c.sFecha);
        json d = {{"password", c.sContrasena},
                  {"creation_date", c.sFecha},
                  {"tables", json::array({json{{"name", "T"},
                                               {"columns", {{{"name", "N"}, {"type", "long"}}}},
                                               {"rows", {{1}}}}})}};
        const std::string sRuta = Escribe(d);
        const json leido = LeeConMdbReader(sRuta, c.sContrasena);
        if (*c.sContrasena)
            EXPECT_EQ(leido["password"], c.sContrasena);
        else
            EXPECT_TRUE(leido["password"].is_null());
        EXPECT_EQ(leido["tables"]["T"]["rows"], json::parse("[[1]]"));
        EXPECT_EQ(LeeConLibmdb(sRuta).at(0).filas.size(), 1u);
        std::ifstream f(sRuta, std::ios::binary);
        const std::string sBytes((std::istreambuf_iterator<char>(f)), {});
        EXPECT_EQ(sBytes.find(std::string("q\0u\0i\0l\0o\0n", 11)), std::string::npos);
        EXPECT_EQ(sBytes.substr(0, 20), std::string("\0\1\0\0Standard Jet DB\0", 20));
    }
}

// The same description as Table1 of a file made by Access reads back the
// same, column types and sizes included.
TEST_F(EscritorMdb, Table1IgualQueElDeAccess) {
    const json d = json::parse(R"({"tables": [{"name": "Table1",
      "columns": [{"name": "A", "type": "text", "size": 50}, {"name": "B", "type": "text", "size": 100},
        {"name": "C", "type": "byte"}, {"name": "D", "type": "integer"}, {"name": "E", "type": "long"},
        {"name": "F", "type": "double"}, {"name": "G", "type": "datetime"},
        {"name": "H", "type": "currency"}, {"name": "I", "type": "boolean"}],
      "rows": [["abcdefg", "hijklmnop", 2, 222, 333333333, 444.555, "1974-09-21", 3.5, true],
               ["a", "b", 0, 0, 0, 0, "1981-12-12", 0, false]]}]})");
    const std::string sNuestro = Escribe(d);
    const std::string sAccess = KOVA_FIXTURES "/mdb/jet4-types.mdb";

    const auto nuestro = LeeConLibmdb(sNuestro);
    const auto access = LeeConLibmdb(sAccess);
    auto table1 = std::find_if(access.begin(), access.end(),
                               [](const TTablaLibmdb& t) { return t.sNombre == "Table1"; });
    ASSERT_NE(table1, access.end());
    ASSERT_EQ(nuestro.size(), 1u);
    EXPECT_EQ(nuestro[0].columnas, table1->columnas);
    EXPECT_EQ(nuestro[0].tipos, table1->tipos);
    EXPECT_EQ(nuestro[0].tamanos, table1->tamanos);
    EXPECT_TRUE(nuestro[0].filas == table1->filas);

    const json leidoNuestro = LeeConMdbReader(sNuestro, "");
    const json leidoAccess = LeeConMdbReader(sAccess, "");
    EXPECT_EQ(leidoNuestro["tables"]["Table1"], leidoAccess["tables"]["Table1"]);
}

// A table beyond the 512 pages that fit in a usage-map row switches to
// map pages; every row must still be found, in order, by both readers.
TEST_F(EscritorMdb, TablaGrandeConPaginasDeMapa) {
    const std::string sRuta = (dir / "grande.mdb").string();
    const int nFilas = 30000;
    {
        mdb::TEscritorMdb e(sRuta, {});
        e.CreaTabla("Chica", {{"N", mdb::TTipoMdb::tmLargo}});
        e.AgregaFila({int64_t(1)});
        e.CreaTabla("Grande", {{"Id", mdb::TTipoMdb::tmLargo},
                               {"Relleno", mdb::TTipoMdb::tmTexto, 100},
                               {"Nota", mdb::TTipoMdb::tmMemo}});
        const std::string sRelleno(100, 'r');
        for (int i = 0; i < nFilas; ++i)
            e.AgregaFila({int64_t(i), sRelleno,
                          i % 1000 == 0 ? jet::TValor(std::string(3000, 'm')) : jet::TValor()});
        e.Cierra();
    }
    ASSERT_GT(std::filesystem::file_size(sRuta), 600u * 4096);
    const auto tablas = LeeConLibmdb(sRuta);
    ASSERT_EQ(tablas.size(), 2u);
    const TTablaLibmdb& g = tablas[1];
    ASSERT_EQ(g.filas.size(), size_t(nFilas));
    for (int i = 0; i < nFilas; ++i) {
        ASSERT_TRUE(g.filas[i][0] == jet::TValor(int64_t(i))) << i;
        if (i % 1000 == 0) {
            ASSERT_TRUE(g.filas[i][2] == jet::TValor(std::string(3000, 'm'))) << i;
        }
    }
    const json leido = LeeConMdbReader(sRuta, "");
    const json& filas = leido["tables"]["Grande"]["rows"];
    ASSERT_EQ(filas.size(), size_t(nFilas));
    for (int i = 0; i < nFilas; i += 997) EXPECT_EQ(filas[i][0], i);
    EXPECT_EQ(leido["tables"]["Chica"]["rows"], json::parse("[[1]]"));
}

// The mdbtools programs list, describe and export a written file.
TEST_F(EscritorMdb, LosProgramasDeMdbtoolsLoLeen) {
    json d = DescripcionTipos();
    PonMemos(d);
    const std::string sRuta = Escribe(d);
    auto corre = [](const std::string& sOrden) {
        std::string s;
        FILE* p = popen(sOrden.c_str(), "r");
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) s.append(buf, n);
        EXPECT_EQ(pclose(p), 0) << sOrden;
        return s;
    };
    EXPECT_EQ(corre("mdb-tables -1 '" + sRuta + "'"), "Tipos\n");
    const std::string sEsquema = corre("mdb-schema '" + sRuta + "' access");
    for (const char* s : {"[Texto]\t\t\tText (20)", "[Memo]\t\t\tMemo", "[Moneda]\t\t\tCurrency",
                          "[SiNo]\t\t\tBoolean NOT NULL", "[Fecha]\t\t\tDateTime"})
        EXPECT_NE(sEsquema.find(s), std::string::npos) << s << "\n" << sEsquema;
    const std::string sDatos = corre("mdb-export -T '%Y-%m-%d' '" + sRuta + "' Tipos");
    EXPECT_NE(sDatos.find("\"Ñandú ñ\",\"Línea 1\r\nLínea 2\",255,-32768,2147483647,1.5,444.555,"
                          "922337203685477.5807,1,\"1974-09-21\""),
              std::string::npos)
        << sDatos.substr(0, 400);
}

// What Access looks for besides the user tables: the containers and system
// tables in MSysObjects (system ones flagged), each table found by name with
// its definition's page as Id, and permissions for every user table.
TEST_F(EscritorMdb, ElCatalogoYLosPermisosSonLosDeAccess) {
    const json d = json::parse(R"({"tables": [
        {"name": "tUno", "columns": [{"name": "N", "type": "long"}]},
        {"name": "tDos", "columns": [{"name": "N", "type": "long"}], "rows": [[1], [2]]}]})");
    const std::string sRuta = Escribe(d);
    const json leido = LeeConMdbReader(sRuta, "", true);
    std::map<std::string, std::pair<int64_t, int64_t>> objetos;  // name -> id, flags
    for (const json& f : leido["tables"]["MSysObjects"]["rows"])
        objetos[f[2].get<std::string>()] = {f[0].get<int64_t>(), f[7].get<int64_t>()};
    const int64_t kSistema = -2147483648LL;
    for (const char* s : {"Tables", "Databases", "Relationships", "MSysDb", "MSysObjects",
                          "MSysACEs", "MSysQueries", "MSysRelationships"})
        EXPECT_EQ(objetos[s].second, kSistema) << s;
    EXPECT_EQ(objetos["MSysObjects"].first, 2);
    EXPECT_EQ(objetos["tUno"].second, 0);
    EXPECT_EQ(objetos["tDos"].second, 0);
    EXPECT_EQ(leido["tables"]["tDos"]["rows"], json::parse("[[1],[2]]"));

    std::set<std::pair<int64_t, std::string>> permisos;
    for (const json& f : leido["tables"]["MSysACEs"]["rows"])
        permisos.insert({f[0].get<int64_t>(), f[1].get<std::string>()});
    for (const char* s : {"tUno", "tDos"}) {
        EXPECT_TRUE(permisos.count({objetos[s].first, "cd14"})) << s;
        EXPECT_TRUE(permisos.count({objetos[s].first, "cc14"})) << s;
    }
}

// Our own Access reader and connection object read the same values, and
// the database password is enforced on the written file.
TEST_F(EscritorMdb, NuestroLectorYLaConexionLoLeen) {
    json d = DescripcionTipos();
    PonMemos(d);
    const std::string sRuta = Escribe(d);
    const auto archivo = jet::TArchivoAccess::Abre(sRuta, "quilon");
    EXPECT_EQ(archivo->VersionJet(), 4);
    EXPECT_EQ(archivo->DameNombresTablas(), std::vector<std::string>{"Tipos"});
    const jet::TTabla* t = archivo->BuscaTabla("TIPOS");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->nFilas, int64_t(kEsperadoLibmdb.size()));
    using jet::TTipoColumna;
    const std::vector<TTipoColumna> tipos = {
        TTipoColumna::tcTexto,    TTipoColumna::tcMemo,        TTipoColumna::tcByte,
        TTipoColumna::tcEntero,   TTipoColumna::tcEnteroLargo, TTipoColumna::tcSimple,
        TTipoColumna::tcDoble,    TTipoColumna::tcMoneda,      TTipoColumna::tcBooleano,
        TTipoColumna::tcFechaHora};
    ASSERT_EQ(t->columnas.size(), tipos.size());
    for (size_t c = 0; c < tipos.size(); ++c) EXPECT_EQ(t->columnas[c].eTipo, tipos[c]) << c;
    size_t f = 0;
    archivo->LeeFilas("Tipos", [&](const std::vector<jet::TValor>& fila) {
        ASSERT_LT(f, kEsperadoLibmdb.size());
        for (size_t c = 0; c < fila.size(); ++c) {
            // The reader keeps a Single as its float; the table holds its exact double.
            jet::TValor v = fila[c];
            if (const auto* s = std::get_if<jet::TSimple>(&v))
                v = static_cast<double>(s->fValor);
            EXPECT_TRUE(v == kEsperadoLibmdb[f][c])
                << "fila " << f + 1 << ", columna " << c << ": " << Muestra(fila[c]).substr(0, 80);
        }
        ++f;
    });
    EXPECT_EQ(f, kEsperadoLibmdb.size());

    for (const char* sMala : {"", "Quilon", "quilon "})
        EXPECT_THROW(jet::TArchivoAccess::Abre(sRuta, sMala), jet::EErrorJet) << sMala;

    auto conecta = [&](const std::string& sClave) {
        ado::TADOConnection conexion;
        conexion.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + sRuta +
                                     ";Jet OLEDB:Database Password=" + sClave);
        conexion.SetConnected(true);
        return conexion.Connected();
    };
    EXPECT_TRUE(conecta("quilon"));
    EXPECT_THROW(conecta("QUILON"), jet::EErrorJet);
}

// Before 1899-12-30 Access counts days down but the time of day still
// adds away from zero: 1899-12-29 12:00 is -1.5, not -0.5. (mdb-reader
// reads such times linearly, so this is checked on the stored serial.)
TEST_F(EscritorMdb, FechasConHoraAntesDe1899) {
    const std::pair<const char*, double> casos[] = {
        {"1899-12-29 12:00:00", -1.5},
        {"1800-06-01 06:00:00", -36371.25},
        {"1899-12-30 00:00:00", 0.0},
        {"1899-12-30 06:00:00", 0.25},
        {"0100-01-01 00:00:01", -657434 - 1.0 / 86400},
        {"2000-02-29 18:00:00", 36585.75},
    };
    json filas = json::array();
    for (const auto& c : casos) filas.push_back({c.first});
    const json d = {
        {"tables",
         {{{"name", "T"}, {"columns", {{{"name", "F"}, {"type", "datetime"}}}}, {"rows", filas}}}}};
    const auto tablas = LeeConLibmdb(Escribe(d));
    ASSERT_EQ(tablas.at(0).filas.size(), std::size(casos));
    for (size_t i = 0; i < std::size(casos); ++i)
        EXPECT_TRUE(tablas[0].filas[i][0] == jet::TValor(jet::TFecha{casos[i].second}))
            << casos[i].first << ": " << Muestra(tablas[0].filas[i][0]);
}

// One map page covers 32,736 pages; a table beyond that spreads its map
// over several. One row per page makes the table cross that line.
TEST_F(EscritorMdb, TablaQueCruzaVariasPaginasDeMapa) {
    const std::string sRuta = (dir / "enorme.mdb").string();
    const int nFilas = 34000;
    std::string sAncho;
    for (int i = 0; i < 255; ++i) sAncho += "€";
    {
        mdb::TEscritorMdb e(sRuta, {});
        std::vector<mdb::TColumnaMdb> columnas = {{"Id", mdb::TTipoMdb::tmLargo}};
        for (int c = 0; c < 7; ++c)
            columnas.push_back({"T" + std::to_string(c), mdb::TTipoMdb::tmTexto, 255});
        e.CreaTabla("Enorme", columnas);
        std::vector<jet::TValor> fila(8, sAncho);
        for (int i = 0; i < nFilas; ++i) {
            fila[0] = int64_t(i);
            e.AgregaFila(fila);
        }
        e.Cierra();
    }
    ASSERT_GT(std::filesystem::file_size(sRuta), 32736ull * 4096);
    const auto tablas = LeeConLibmdb(sRuta);
    ASSERT_EQ(tablas.at(0).filas.size(), size_t(nFilas));
    for (int i = 0; i < nFilas; ++i)
        ASSERT_TRUE(tablas[0].filas[i][0] == jet::TValor(int64_t(i))) << i;
    EXPECT_TRUE(tablas[0].filas.back()[7] == jet::TValor(sAncho));

    const auto archivo = jet::TArchivoAccess::Abre(sRuta, "");
    int64_t nEsperado = 0;
    archivo->LeeFilas("Enorme", [&](const std::vector<jet::TValor>& f) {
        EXPECT_TRUE(f[0] == jet::TValor(nEsperado)) << nEsperado;
        ++nEsperado;
    });
    EXPECT_EQ(nEsperado, nFilas);
}
