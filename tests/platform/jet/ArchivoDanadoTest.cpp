// Damaged Access files, as a disk or a half-finished copy leaves them: the
// reader either reads them or says they are damaged, and never hands libmdb
// something it crashes on. Built with the sanitizers (scripts/sanitize.sh)
// these cases also catch undefined behaviour on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "TDirTemporal.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/TArchivoAccess.h"

namespace {

using jet::EErrorJet;
using jet::TArchivoAccess;

std::string Lee(const std::string& sNombre) {
    std::ifstream f(std::string(KOVA_FIXTURES) + "/mdb/" + sNombre, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// Opens and reads every table; "" when that worked, else the failure's kind.
std::string LeeTodo(const std::string& sRuta) {
    try {
        auto archivo = TArchivoAccess::Abre(sRuta, "");
        for (const std::string& sTabla : archivo->DameNombresTablas())
            archivo->LeeFilas(sTabla, [](const std::vector<jet::TValor>&) {});
        return "";
    } catch (const EErrorJet& e) {
        return e.Clase();
    }
}

// The creation date in the header masks the password; a damaged one may be
// any double, which must not be converted to a whole number unchecked.
TEST(ArchivoDanado, FechaDeCreacionFueraDeRangoEnElEncabezado) {
    TDirTemporal dir;
    std::string s = Lee("jet4-no-password.mdb");
    // The header is RC4 under a fixed key: flipping a ciphered bit flips the
    // plain one, so this makes the date's exponent huge (or NaN).
    s[0x72 + 7] = static_cast<char>(s[0x72 + 7] ^ 0x3f);
    std::ofstream(dir / "a.mdb", std::ios::binary) << s;
    const std::string sClase = LeeTodo((dir / "a.mdb").string());
    EXPECT_TRUE(sClase.empty() || sClase == jet::kContrasenaRequerida) << sClase;
}

// Pages lost, swapped or cut off: a clean answer or a damaged-file failure.
TEST(ArchivoDanado, PaginasPerdidasCambiadasOCortadas) {
    struct TDano {
        const char* sNombre;
        std::function<void(std::string&, size_t)> aplica;
    };
    const TDano danos[] = {
        {"cortado a la mitad", [](std::string& s, size_t) { s.resize(s.size() / 2); }},
        {"cortado en una página", [](std::string& s, size_t p) { s.resize(p); }},
        {"catálogo en ceros",
         [](std::string& s, size_t p) { std::fill_n(s.begin() + 2 * p, p, '\0'); }},
        {"catálogo y mapa cambiados",
         [](std::string& s, size_t p) {
             std::swap_ranges(s.begin() + p, s.begin() + 2 * p, s.begin() + 2 * p);
         }},
        {"todo copia del catálogo",
         [](std::string& s, size_t p) {
             for (size_t i = 3 * p; i + p <= s.size(); i += p) std::memcpy(&s[i], &s[2 * p], p);
         }},
        {"páginas de datos en 0xff",
         [](std::string& s, size_t p) {
             for (size_t i = 3 * p; i + p <= s.size(); i += 2 * p)
                 std::fill_n(s.begin() + i, p, '\xff');
         }},
    };
    TDirTemporal dir;
    for (const char* sArchivo : {"jet3-types.mdb", "jet4-types.mdb", "jet4-dates.mdb"}) {
        const std::string sOriginal = Lee(sArchivo);
        const size_t nPagina = sOriginal[0x14] == 0 ? 2048 : 4096;
        for (const TDano& d : danos) {
            std::string s = sOriginal;
            d.aplica(s, nPagina);
            std::ofstream(dir / "d.mdb", std::ios::binary | std::ios::trunc) << s;
            const std::string sClase = LeeTodo((dir / "d.mdb").string());
            EXPECT_TRUE(sClase.empty() || sClase == jet::kArchivoNoEsAccess)
                << sArchivo << ", " << d.sNombre << ": " << sClase;
        }
    }
}

}  // namespace
