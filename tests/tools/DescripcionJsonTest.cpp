// A malformed description is refused with one message that says where,
// and leaves no file behind; the mdbgen program turns that into exit 2.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

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
        {"número como texto", UnaCelda("text", 12), "columna C: se esperaba un texto"},
        {"UTF-8 roto", UnaCelda("memo", "\xc3"), "columna C: texto con UTF-8 inválido"},
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
    for (const TCasoMalo& c : casos) {
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
    auto corre = [&](const std::string& sJson) {
        std::ofstream(dir / "d.json") << sJson;
        const std::string sOrden = "'" + sPrograma + "' '" + (dir / "d.json").string() + "' '" +
                                   (dir / "s.mdb").string() + "' 2>'" + (dir / "err.txt").string() +
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
    EXPECT_EQ(corre(UnaCelda("byte", 7).dump()), 0) << error();
    EXPECT_TRUE(std::filesystem::exists(dir / "s.mdb"));
}
