// libFuzzer harness: arbitrary bytes read as the description of an agile
// encryption, as the first page of an encrypted Access file keeps it after
// the version (the reserved 0x40, then the XML). It must come out sound,
// damaged or unreadable, never as a crash; a sound one is then tried with a
// password and, when that is its password, decrypts a page.
#include <cstdint>
#include <vector>

#include "platform/jet/CifradoAgil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    jet::TCifradoAgil cifrado = jet::TCifradoAgil::Lee(data, size);
    // A spin count of millions is the format's own and costs seconds: left
    // to the file harness, where it is rare.
    if (!cifrado.Dano().empty() || !cifrado.NoLegible().empty() || cifrado.Vueltas() > 1000)
        return 0;
    if (cifrado.AceptaContrasena("quilon")) {
        std::vector<unsigned char> pagina(4096, 0x5a);
        cifrado.DescifraPagina(pagina.data(), pagina.size(), 7);
    }
    return 0;
}
