// semillas_mdb DIR_ARCHIVOS DIR_CIFRADOS: writes Access files the JSON seeds
// cannot describe, as seeds for the file fuzzer: multi-valued fields, plain
// and encrypted the agile way with the password "quilon" (few spins, so that
// each run stays fast); and the descriptions of those encryptions alone, as
// seeds for the description fuzzer.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "tools/mdbgen/EErrorMdb.h"
#include "tools/mdbgen/EscritorMdb.h"

namespace {

void Escribe(const std::string& sRuta, std::optional<mdb::TCifradorAgil::TParametros> cifrado) {
    using mdb::TTipoMdb;
    mdb::TEscritorMdb::TOpciones opciones;
    opciones.nVersion = mdb::TEscritorMdb::kAccess2010;
    if (cifrado)
        opciones.sContrasena = "quilon";
    opciones.cifrado = cifrado;
    mdb::TEscritorMdb e(sRuta, opciones);
    mdb::TColumnaMdb colores{"Colores", TTipoMdb::tmMultivalor, 20};
    mdb::TColumnaMdb numeros{"Numeros", TTipoMdb::tmMultivalor};
    numeros.eTipoValores = TTipoMdb::tmLargo;
    e.CreaTabla("t", {{"Id", TTipoMdb::tmLargo}, colores, {"Nota", TTipoMdb::tmMemo}, numeros});
    const jet::TValor N = std::monostate{};
    e.AgregaFila({int64_t{1}, N, std::string("una nota"), N},
                 {{std::string("Rojo"), std::string("Verde")}, {int64_t{3}, int64_t{1}}});
    e.AgregaFila({int64_t{2}, N, N, N}, {{}, {int64_t{-7}}});
    e.Cierra();
}

// What follows the version in the first page's encryption information.
std::string Descripcion(const std::string& sRuta) {
    std::ifstream f(sRuta, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(f), {}};
    uint16_t nLargo = 0;
    std::memcpy(&nLargo, bytes.data() + 0x299, 2);
    return bytes.substr(0x299 + 2 + 4, nLargo - 4u);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "uso: semillas_mdb DIR_ARCHIVOS DIR_CIFRADOS\n";
        return 2;
    }
    const std::string sArchivos = argv[1], sCifrados = argv[2];
    try {
        Escribe(sArchivos + "/multivalor.accdb", std::nullopt);
        const struct {
            const char* sNombre;
            mdb::TCifradorAgil::TParametros p;
        } cifrados[] = {{"agil-aes128-sha1", {128, "SHA1", 10}},
                        {"agil-aes256-sha512", {256, "SHA512", 10}}};
        for (const auto& c : cifrados) {
            const std::string sRuta = sArchivos + "/" + c.sNombre + ".accdb";
            Escribe(sRuta, c.p);
            std::ofstream(sCifrados + "/" + c.sNombre + ".bin", std::ios::binary)
                << Descripcion(sRuta);
        }
    } catch (const mdb::EErrorMdb& e) {
        std::cerr << "semillas_mdb: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
