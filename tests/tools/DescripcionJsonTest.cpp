// A malformed description is refused with one message that says where,
// and leaves no file behind; the mdbgen program turns that into exit 2.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "LectorLibmdb.h"
#include "TDirTemporal.h"
#include "tools/mdbgen/DescripcionJson.h"
#include "tools/mdbgen/EErrorMdb.h"

using nlohmann::json;

namespace {

// One table "T" with one column of the given type and one row holding the value.
json UnaCelda(const std::string& sTipo, const json& valor) {
    json col = {{"name", "C"}, {"type", sTipo}};
    if (sTipo == "text")
        col["size"] = 5;
    return {{"tables", json::array({json{{"name", "T"},
                                         {"columns", json::array({col})},
                                         {"rows", json::array({json::array({valor})})}}})}};
}

struct TCasoMalo {
    const char* sNombre;
    json descripcion;
    const char* sMensaje;  // part of the message that names the place
};

}  // namespace

TEST(DescripcionJson, LoMalformadoSeRechazaDiciendoDonde) {
    const json dosFilas = json::parse(R"({"tables": [{"name": "tVentas",
        "columns": [{"name": "Folio", "type": "long"}, {"name": "Fecha", "type": "datetime"}],
        "rows": [[1, "2017-01-01"], [2, "2017-02-30"]]}]})");
    const TCasoMalo casos[] = {
        {"fecha inexistente", dosFilas,
         "tabla tVentas, fila 2, columna Fecha: se esperaba una fecha"},
        {"año antes de 100", UnaCelda("datetime", "0099-12-31"), "tabla T, fila 1, columna C"},
        {"texto largo", UnaCelda("text", "seis c"), "columna C: el texto tiene 6 caracteres"},
        {"sí/no nulo", UnaCelda("boolean", nullptr), "columna C: un sí/no no puede ser nulo"},
        {"byte fuera", UnaCelda("byte", 256), "columna C: se esperaba un byte"},
        {"entero fuera", UnaCelda("integer", 32768), "columna C: se esperaba un entero"},
        {"largo fuera", UnaCelda("long", 2147483648LL), "columna C: se esperaba un entero largo"},
        {"entero con decimales", UnaCelda("long", 1.5), "columna C: se esperaba un número entero"},
        {"moneda con 5 decimales", UnaCelda("currency", "1.00001"),
         "columna C: se esperaba un importe"},
        {"moneda doble con 5 decimales", UnaCelda("currency", 0.12345),
         "columna C: se esperaba un importe"},
        {"simple desbordado", UnaCelda("single", 1e300), "columna C: número fuera del rango"},
        {"número como texto", UnaCelda("text", 12), "columna C: se esperaba un texto"},
        {"UTF-8 roto", UnaCelda("memo", "\xc3"), "no es JSON válido"},
        {"tipo desconocido", UnaCelda("money", 1),
         "tabla T, columna C: tipo desconocido \"money\""},
        {"fila corta",
         json::parse(
             R"({"tables":[{"name":"T","columns":[{"name":"C","type":"long"}],"rows":[[]]}]})"),
         "tabla T, fila 1, se esperaba una lista de 1 valores"},
        {"texto sin tamaño",
         json::parse(R"({"tables":[{"name":"T","columns":[{"name":"C","type":"text"}]}]})"),
         "tabla T, columna C: un texto necesita \"size\""},
        {"tabla repetida",
         json::parse(R"({"tables":[{"name":"T","columns":[{"name":"C","type":"long"}]},
                                   {"name":"t","columns":[{"name":"C","type":"long"}]}]})"),
         "la tabla t está repetida"},
        {"columna repetida",
         json::parse(R"({"tables":[{"name":"T","columns":[{"name":"C","type":"long"},
                                                          {"name":"c","type":"byte"}]}]})"),
         "la columna c está repetida en T"},
        {"sin tablas", json::parse(R"({"password": "x"})"), "falta \"tables\""},
        {"contraseña larga", json::parse(R"({"password": "123456789012345678901", "tables": []})"),
         "20 caracteres"},
    };
    TDirTemporal dir;
    const std::string sSalida = (dir / "x.mdb").string();
    // Nine full texts of two-byte characters do not fit in one page.
    json anchas = {
        {"tables", {{{"name", "tAncha"}, {"columns", json::array()}, {"rows", {json::array()}}}}}};
    std::string sEuros;
    for (int i = 0; i < 255; ++i) sEuros += "€";
    for (int i = 0; i < 9; ++i) {
        anchas["tables"][0]["columns"].push_back(
            {{"name", "T" + std::to_string(i)}, {"type", "text"}, {"size", 255}});
        anchas["tables"][0]["rows"][0].push_back(sEuros);
    }
    std::vector<TCasoMalo> todos(std::begin(casos), std::end(casos));
    todos.push_back({"fila mayor que una página", anchas, "tabla tAncha, fila 1, la fila ocupa"});
    for (const TCasoMalo& c : todos) {
        SCOPED_TRACE(c.sNombre);
        try {
            mdb::TDescripcionJson::Escribe(c.descripcion, sSalida);
            ADD_FAILURE() << "se aceptó";
        } catch (const mdb::EErrorMdb& e) {
            EXPECT_NE(std::string(e.what()).find(c.sMensaje), std::string::npos) << e.what();
        }
        EXPECT_TRUE(std::filesystem::is_empty(dir.ruta())) << "quedó un archivo";
    }
}

TEST(DescripcionJson, ElProgramaSaleConDosYSinArchivo) {
    TDirTemporal dir;
    const std::string sPrograma = KOVA_BINARY_DIR "/bin/mdbgen";
    auto corre = [&](const std::string& sJson, const std::string& sSalida = "s.mdb") {
        std::ofstream(dir / "d.json") << sJson;
        const std::string sOrden = "'" + sPrograma + "' '" + (dir / "d.json").string() + "' '" +
                                   (dir / sSalida).string() + "' 2>'" + (dir / "err.txt").string() +
                                   "'";
        const int r = std::system(sOrden.c_str());
        return WIFEXITED(r) ? WEXITSTATUS(r) : -1;
    };
    auto error = [&] {
        std::ifstream f(dir / "err.txt");
        return std::string((std::istreambuf_iterator<char>(f)), {});
    };
    EXPECT_EQ(corre(UnaCelda("byte", -1).dump()), 2);
    EXPECT_NE(error().find("tabla T, fila 1, columna C"), std::string::npos) << error();
    EXPECT_FALSE(std::filesystem::exists(dir / "s.mdb"));
    EXPECT_EQ(corre("{\"tables\": ["), 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "s.mdb"));
    EXPECT_EQ(corre(UnaCelda("byte", 7).dump(), "no/existe.mdb"), 1);
    EXPECT_NE(error().find("no se pudo crear"), std::string::npos) << error();
    EXPECT_EQ(corre(UnaCelda("byte", 7).dump()), 0) << error();
    EXPECT_TRUE(std::filesystem::exists(dir / "s.mdb"));
}

// Rows are written as they are read when a table's name and columns come
// first; in any other order of the keys the result is the same.
TEST(DescripcionJson, ElOrdenDeLasClavesNoImporta) {
    const char* textos[] = {
        R"({"tables": [{"name": "T", "columns": [{"name": "N", "type": "long"}],
                        "rows": [[1], [2], [null]]}], "password": "x"})",
        R"({"password": "x", "tables": [{"rows": [[1], [2], [null]],
                        "columns": [{"name": "N", "type": "long"}], "name": "T"}]})"};
    for (const char* sTexto : textos) {
        TDirTemporal dir;
        std::istringstream entrada(sTexto);
        mdb::TDescripcionJson::Escribe(entrada, (dir / "x.mdb").string());
        const auto tablas = LeeConLibmdb((dir / "x.mdb").string());
        ASSERT_EQ(tablas.size(), 1u);
        ASSERT_EQ(tablas[0].filas.size(), 3u);
        EXPECT_TRUE(tablas[0].filas[1][0] == jet::TValor(int64_t(2)));
        EXPECT_TRUE(jet::EsNulo(tablas[0].filas[2][0]));
    }
}

// A syntax error found after some rows were already written still leaves
// no file, and says where it is.
TEST(DescripcionJson, UnErrorDeSintaxisTardioNoDejaArchivo) {
    TDirTemporal dir;
    std::istringstream entrada(
        R"({"tables": [{"name": "T", "columns": [{"name": "N", "type": "long"}],
                        "rows": [[1], [2], [3)");
    try {
        mdb::TDescripcionJson::Escribe(entrada, (dir / "x.mdb").string());
        ADD_FAILURE() << "se aceptó";
    } catch (const mdb::EErrorMdb& e) {
        EXPECT_NE(std::string(e.what()).find("no es JSON válido"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.ruta()));
}
