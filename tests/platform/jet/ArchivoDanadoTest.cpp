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
            EXPECT_TRUE(sClase.empty() || sClase == jet::kArchivoNoEsAccess ||
                        sClase == jet::kTablaDanada)
                << sArchivo << ", " << d.sNombre << ": " << sClase;
        }
    }
}

// A table definition damaged in one field: libmdb would read the table
// anyway, with every text empty or values taken for another type. The
// reader refuses the table and names it. Table1 of both files: Text A and B
// (variable), Byte C, Integer D, Long E, Double F, Date G, Currency H,
// Yes/No I (fixed).
struct TDefinicion {
    int nVersion;  // 3 or 4
    size_t nPagina, nPosColumnas, nPosIndices, nInicioColumnas, nLargoIndice, nLargoColumna,
        nPosBanderas, nPosFija, nPosLargo, nPosNumero;
    size_t Columnas() const { return nPagina + nPosColumnas; }
    size_t Variables() const { return nPagina + nPosColumnas - 2; }
    size_t Columna(const std::string& s, int c) const {
        uint32_t nIndices;
        std::memcpy(&nIndices, &s[nPagina + nPosIndices], 4);
        return nPagina + nInicioColumnas + nIndices * nLargoIndice + c * nLargoColumna;
    }
};
const TDefinicion kJet4{4, 24 * 4096, 45, 51, 63, 12, 25, 15, 21, 23, 5};
const TDefinicion kJet3{3, 29 * 2048, 25, 31, 43, 8, 18, 13, 14, 16, 1};

TEST(ArchivoDanado, UnaDefinicionDeTablaDanadaRechazaLaTablaYLaNombra) {
    using TDano = std::function<void(std::string&, const TDefinicion&)>;
    auto enColumna = [](int c, auto campo, unsigned char v) -> TDano {
        return [=](std::string& s, const TDefinicion& d) {
            s[d.Columna(s, c) + campo(d)] = static_cast<char>(v);
        };
    };
    auto tipo = [](const TDefinicion&) { return size_t{0}; };
    auto banderas = [](const TDefinicion& d) { return d.nPosBanderas; };
    auto largo = [](const TDefinicion& d) { return d.nPosLargo; };
    auto fija = [](const TDefinicion& d) { return d.nPosFija; };
    auto numero = [](const TDefinicion& d) { return d.nPosNumero; };
    struct TCaso {
        const char* sNombre;
        TDano dana;
        const char* sMotivo;  // part of the reason
        bool bSoloJet4 = false;
    };
    const TCaso casos[] = {
        {"sin columnas variables",
         [](std::string& s, const TDefinicion& d) { s[d.Variables()] = 0; }, "variables"},
        {"texto que se dice OLE", enColumna(0, tipo, 0x0b), "longitud"},
        {"texto que se dice memo", enColumna(1, tipo, 0x0c), "longitud"},
        {"largo que se dice doble", enColumna(4, tipo, 0x07), "longitud"},
        {"moneda que se dice GUID", enColumna(7, tipo, 0x0f), "longitud"},
        {"tipo que no existe", enColumna(2, tipo, 0x2a), "tipo 42"},
        {"entero grande en un archivo sin él", enColumna(4, tipo, 0x13), "tipo 19"},
        {"complejo en un archivo sin él", enColumna(4, tipo, 0x12), "tipo 18"},
        {"texto sin longitud", enColumna(0, largo, 0), "longitud"},
        {"fecha que se dice sí/no", enColumna(6, tipo, 0x01), "longitud"},
        {"largo que pisa al entero", enColumna(4, fija, 2), "se pisan"},
        {"sí/no variable", enColumna(8, banderas, 0x02), "sí/no"},
        {"número de columna repetido", enColumna(3, numero, 2), "número de columna 2"},
        {"una columna más", [](std::string& s, const TDefinicion& d) { s[d.Columnas()] = 10; }, ""},
        {"calculada en un archivo sin ellas",
         [](std::string& s, const TDefinicion& d) {
             s[d.Columna(s, 4) + d.nPosBanderas + 1] = '\xc0';
         },
         "calculada", true},
    };
    TDirTemporal dir;
    for (const auto& [sArchivo, def] :
         {std::pair{"jet4-types.mdb", kJet4}, std::pair{"jet3-types.mdb", kJet3}}) {
        const std::string sOriginal = Lee(sArchivo);
        ASSERT_EQ(sOriginal[def.nPagina], '\x02') << sArchivo;
        ASSERT_EQ(sOriginal[def.Columnas()], 9) << sArchivo;
        for (const TCaso& c : casos) {
            if (c.bSoloJet4 && def.nVersion != 4)
                continue;
            std::string s = sOriginal;
            c.dana(s, def);
            const auto ruta = dir / "d.mdb";
            std::ofstream(ruta, std::ios::binary | std::ios::trunc) << s;
            std::string sError = "(se leyó)";
            try {
                auto archivo = TArchivoAccess::Abre(ruta.string(), "");
                archivo->LeeFilas("Table1", [](const std::vector<jet::TValor>&) {});
            } catch (const EErrorJet& e) {
                sError = e.Clase() + " - " + e.Mensaje();
            }
            const std::string sInicio =
                "ETablaDanada - No se puede leer la tabla 'Table1' del "
                "archivo '" +
                ruta.string() +
                "': su definición está "
                "dañada (";
            EXPECT_TRUE(sError.starts_with(sInicio))
                << sArchivo << ", " << c.sNombre << ": " << sError;
            EXPECT_NE(sError.find(c.sMotivo), std::string::npos)
                << sArchivo << ", " << c.sNombre << ": " << sError;
        }
    }
}

}  // namespace
