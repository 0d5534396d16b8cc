// libFuzzer harness: arbitrary bytes opened as an Access file and every table
// read through libmdb. Only EErrorJet may come out. Besides libFuzzer's byte
// mutations, whole pages are copied, swapped or cleared, since a damaged file
// usually loses or mixes up pages rather than single bytes, and the fields of
// table definitions are changed one byte at a time.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/jet/EErrorJet.h"
#include "platform/jet/TArchivoAccess.h"

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace {

// One file per fuzzing process, removed when it ends.
struct TArchivoTemporal {
    const std::string sRuta = "/tmp/kova-fuzz-" + std::to_string(getpid()) + ".mdb";
    ~TArchivoTemporal() { std::remove(sRuta.c_str()); }
} gTemporal;

const std::string& RutaTemporal() {
    return gTemporal.sRuta;
}

// Jet 3 files use 2 KB pages, Jet 4 files 4 KB (byte 0x14 of the header).
size_t TamanoPagina(const uint8_t* data, size_t size) {
    return size > 0x14 && data[0x14] == 0 ? 2048 : 4096;
}

}  // namespace

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned int semilla) {
    const size_t nPagina = TamanoPagina(data, size);
    const size_t nPaginas = size / nPagina;
    if (nPaginas >= 3 && semilla % 4 == 1) {
        // One byte of a table definition's header or column entries: the
        // counts, types, lengths and offsets the reader checks before
        // libmdb is let to believe them.
        std::vector<size_t> definiciones;
        for (size_t p = 2; p < nPaginas; ++p)
            if (data[p * nPagina] == 0x02)
                definiciones.push_back(p);
        if (!definiciones.empty()) {
            uint8_t* p = data + definiciones[(semilla / 4) % definiciones.size()] * nPagina;
            p[8 + (semilla / 7) % 600] = static_cast<uint8_t>(semilla >> 13);
            return size;
        }
    }
    if (nPaginas < 2 || semilla % 4 != 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    const size_t a = (semilla / 4) % nPaginas, b = (semilla / 97) % nPaginas;
    uint8_t* pa = data + a * nPagina;
    uint8_t* pb = data + b * nPagina;
    switch ((semilla / 13) % 3) {
        case 0:  // a page written over another
            std::memmove(pb, pa, nPagina);
            break;
        case 1: {  // two pages swapped
            std::vector<uint8_t> t(pa, pa + nPagina);
            std::memmove(pa, pb, nPagina);
            std::memcpy(pb, t.data(), nPagina);
            break;
        }
        default:  // a page lost (zeroed)
            std::memset(pa, 0, nPagina);
    }
    return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        std::ofstream f(RutaTemporal(), std::ios::binary | std::ios::trunc);
        f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        std::unique_ptr<jet::TArchivoAccess> archivo;
        try {
            archivo = jet::TArchivoAccess::Abre(RutaTemporal(), "");
        } catch (const jet::EErrorJet& e) {
            // Files with a password (the fixtures', norvexgen's) are read past
            // the check too: KOVA_FUZZ_CONTRASENAS lists them, comma-separated.
            const char* s = std::getenv("KOVA_FUZZ_CONTRASENAS");
            if ((e.Clase() != jet::kContrasenaInvalida && e.Clase() != jet::kContrasenaRequerida) ||
                !s)
                throw;
            std::string sLista = s;
            for (size_t i = 0; !archivo; i = sLista.find(',', i) + 1) {
                const size_t fin = sLista.find(',', i);
                try {
                    archivo = jet::TArchivoAccess::Abre(RutaTemporal(), sLista.substr(i, fin - i));
                } catch (const jet::EErrorJet& otra) {
                    if (otra.Clase() != jet::kContrasenaInvalida || fin == std::string::npos)
                        throw;
                }
            }
        }
        for (const std::string& sTabla : archivo->DameNombresTablas()) {
            if (!archivo->BuscaTabla(sTabla))
                std::abort();  // the catalogue lies about itself
            archivo->LeeFilas(sTabla, [](const std::vector<jet::TValor>&) {});
        }
    } catch (const jet::EErrorJet&) {
        // A damaged file: what the user sees as a BD-101 box.
    }
    return 0;
}
