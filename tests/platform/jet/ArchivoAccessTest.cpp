#include "platform/jet/TArchivoAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "FallaJet.h"
#include "TDirTemporal.h"
#include "platform/jet/EErrorJet.h"
#include "tools/mdbgen/EscritorMdb.h"

namespace jet {
// Readable values in failure messages.
void PrintTo(const TMoneda& m, std::ostream* os) {
    *os << "Moneda(" << m.nDiezMilesimos << ")";
}
void PrintTo(const TFecha& f, std::ostream* os) {
    *os << "Fecha(" << f.dSerial << ")";
}
}  // namespace jet

namespace {

using jet::TArchivoAccess;
using jet::TFecha;
using jet::TMoneda;
using jet::TValor;
using TFilas = std::vector<std::vector<TValor>>;
namespace fs = std::filesystem;

std::string Fixture(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

std::string LeeBytes(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void EscribeBytes(const fs::path& ruta, const std::string& sBytes) {
    std::ofstream(ruta, std::ios::binary) << sBytes;
}

TFilas Filas(const TArchivoAccess& archivo, const std::string& sTabla) {
    TFilas filas;
    archivo.LeeFilas(sTabla, [&](const std::vector<TValor>& fila) { filas.push_back(fila); });
    return filas;
}

TEST(ArchivoAccess, LeeCadaValorDeLosTiposEnJet3YJet4) {
    using jet::TTipoColumna;
    const std::vector<TTipoColumna> tipos{
        TTipoColumna::tcTexto,     TTipoColumna::tcTexto,       TTipoColumna::tcByte,
        TTipoColumna::tcEntero,    TTipoColumna::tcEnteroLargo, TTipoColumna::tcDoble,
        TTipoColumna::tcFechaHora, TTipoColumna::tcMoneda,      TTipoColumna::tcBooleano};
    // 1974-09-21 and 1981-12-12 as day serials; 3.5000 in ten-thousandths.
    const TFilas esperadas{
        {std::string("a"), std::string("b"), int64_t{0}, int64_t{0}, int64_t{0}, 0.0, TFecha{29932},
         TMoneda{0}, false},
        {std::string("abcdefg"), std::string("hijklmnop"), int64_t{2}, int64_t{222},
         int64_t{333333333}, 444.555, TFecha{27293}, TMoneda{35000}, true}};
    for (auto [sArchivo, nVersion] : {std::pair{"jet4-types.mdb", 4}, {"jet3-types.mdb", 3}}) {
        SCOPED_TRACE(sArchivo);
        auto archivo = TArchivoAccess::Abre(Fixture(sArchivo), "");
        EXPECT_EQ(archivo->VersionJet(), nVersion);
        EXPECT_EQ(archivo->DameNombresTablas(),
                  (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));

        const jet::TTabla* tabla = archivo->BuscaTabla("tABLE1");
        ASSERT_NE(tabla, nullptr);
        EXPECT_EQ(tabla->nFilas, 2);
        ASSERT_EQ(tabla->columnas.size(), tipos.size());
        for (size_t i = 0; i < tipos.size(); ++i)
            EXPECT_EQ(tabla->columnas[i].eTipo, tipos[i]) << i;
        EXPECT_EQ(tabla->columnas[0].sNombre, "A");
        EXPECT_EQ(tabla->columnas[1].nTamano, 100);  // characters, in both versions

        TFilas filas = Filas(*archivo, "Table1");
        std::sort(filas.begin(), filas.end(), [](auto& a, auto& b) {
            return std::get<std::string>(a[0]) < std::get<std::string>(b[0]);
        });
        EXPECT_EQ(filas, esperadas);
        EXPECT_EQ(archivo->BuscaTabla("Table2")->columnas.size(), 89u);
        EXPECT_TRUE(Filas(*archivo, "Table2").empty());
        // A replication id reads as the text of its GUID.
        EXPECT_EQ(archivo->BuscaTabla("Table4")->columnas[1].eTipo, TTipoColumna::tcGuid);

        EXPECT_EQ(archivo->BuscaTabla("Tabla9"), nullptr);
        EXPECT_EQ(Falla([&] { Filas(*archivo, "Tabla9"); }),
                  "ETablaInexistente - No existe la tabla 'Tabla9' en el archivo '" +
                      Fixture(sArchivo) + "'.");
    }
}

TEST(ArchivoAccess, LeeFechasAnterioresA1900YDelAnio9999YTextosConSaltos) {
    auto archivo = TArchivoAccess::Abre(Fixture("jet4-dates.mdb"), "");
    // Days since 1899-12-30; earlier dates are negative serials.
    const double d2021 = 44532, d9999 = 2958101;
    auto fila = [](int64_t nId, double d1, double d2, double d3, std::string sMemo,
                   std::string sTexto) {
        return std::vector<TValor>{nId, TFecha{d1}, TFecha{d2}, TFecha{d3}, sMemo, sTexto};
    };
    const TFilas esperadas{fila(1, d2021, d2021, d2021, "Hello", "Hello"),
                           fila(2, d9999, d9999, d9999, "Year 9999", "Year 1999"),
                           fila(3, -728, -363, 2, "Pre-1900 years", "Pre-1900 years"),
                           fila(4, -463126, -462760, -462395, "Pre-1000 years", "Pre-1000 years"),
                           fila(5, d2021, d2021, d2021, "Escaped new line \\r\\n in field",
                                "Escaped new line \\r\\n in field"),
                           fila(6, d2021, d2021, d2021, "New line\r\nin field", "No new line")};
    EXPECT_EQ(Filas(*archivo, "DateTest"), esperadas);
    EXPECT_EQ(archivo->BuscaTabla("DateTest")->columnas[4].eTipo, jet::TTipoColumna::tcMemo);
}

TEST(ArchivoAccess, ContrasenaDeLaBaseDeDatos) {
    const std::string sConClave = Fixture("jet4-password.mdb");
    auto archivo = TArchivoAccess::Abre(sConClave, "password");
    EXPECT_EQ(archivo->DameNombresTablas(), std::vector<std::string>{"Table1"});
    const TFilas esperadas{{int64_t{1}, std::string("One")},
                           {int64_t{2}, std::string("Two")},
                           {int64_t{3}, std::string("Three")}};
    EXPECT_EQ(Filas(*archivo, "Table1"), esperadas);

    for (const char* sMala :
         {"quilon", "Password", "PASSWORD", "password ", "passwor", "passwordx"})
        EXPECT_EQ(Falla([&] { TArchivoAccess::Abre(sConClave, sMala); }),
                  "EContrasenaInvalida - No es una contraseña válida.")
            << "'" << sMala << "'";
    // None given is not a wrong one: the user is asked for it.
    EXPECT_EQ(Falla([&] { TArchivoAccess::Abre(sConClave, ""); }),
              "EContrasenaRequerida - El archivo '" + sConClave +
                  "' está protegido con una contraseña de base de datos: hay que indicarla para "
                  "abrirlo.");

    // A file without a password opens whatever password is given, as Jet does.
    for (const char* sCualquiera : {"", "quilon"})
        EXPECT_EQ(
            Filas(*TArchivoAccess::Abre(Fixture("jet4-no-password.mdb"), sCualquiera), "Table1"),
            esperadas);
}

// In a file without a password the hidden password bytes decode to zeros,
// so XOR-ing a password's bytes into them gives the file that password.
std::string ConContrasena(const std::string& sArchivo, const std::string& sBytesClave,
                          const TDirTemporal& dir) {
    std::string sBytes = LeeBytes(Fixture(sArchivo));
    for (size_t i = 0; i < sBytesClave.size(); ++i) sBytes[0x42 + i] ^= sBytesClave[i];
    EscribeBytes(dir / sArchivo, sBytes);
    return (dir / sArchivo).string();
}

TEST(ArchivoAccess, ContrasenasJet3EnCp1252YJet4EnUcs2) {
    TDirTemporal dir;
    struct {
        const char* sArchivo;
        std::string sBytesClave;  // as the file keeps it
        std::string sContrasena;  // UTF-8
    } casos[] = {
        {"jet3-types.mdb",
         "Contrase\xf1"
         "a",
         "Contraseña"},
        {"jet3-types.mdb", "12345678901234567890", "12345678901234567890"},
        {"jet4-types.mdb",
         std::string("\xf1\0"
                     "a\0\xac\x20",
                     6),
         "ña€"},
        {"jet4-types.mdb",
         [] {
             std::string s;
             for (char c : std::string("ABCDEFGHIJKLMNOPQRST")) s += {c, '\0'};
             return s;
         }(),
         "ABCDEFGHIJKLMNOPQRST"},  // the longest: no terminator left
    };
    for (const auto& c : casos) {
        const std::string sRuta = ConContrasena(c.sArchivo, c.sBytesClave, dir);
        EXPECT_EQ(TArchivoAccess::Abre(sRuta, c.sContrasena)->DameNombresTablas().size(), 4u)
            << c.sContrasena;
        for (const std::string& sMala : {c.sContrasena.substr(1), c.sContrasena + "x"})
            EXPECT_EQ(Falla([&] { TArchivoAccess::Abre(sRuta, sMala); }),
                      "EContrasenaInvalida - No es una contraseña válida.")
                << c.sContrasena << " / " << sMala;
        EXPECT_TRUE(
            Falla([&] { TArchivoAccess::Abre(sRuta, ""); }).starts_with("EContrasenaRequerida"))
            << c.sContrasena;
    }
}

TEST(ArchivoAccess, ArchivosQueNoSePuedenAbrirDicenPorQueYCualEs) {
    TDirTemporal dir;
    const std::string sReal = LeeBytes(Fixture("jet4-password.mdb"));
    EscribeBytes(dir / "texto.mdb", "Esto es un archivo de texto, no una base de datos.\n");
    EscribeBytes(dir / "vacio.mdb", "");
    EscribeBytes(dir / "corto.mdb", sReal.substr(0, 40));
    EscribeBytes(dir / "media-pagina.mdb", sReal.substr(0, sReal.size() / 2 + 100));
    // Cut on a page boundary: only the missing pages tell.
    EscribeBytes(dir / "sin-paginas.mdb", sReal.substr(0, 12 * 4096));
    fs::create_directory(dir / "carpeta.mdb");

    const std::string sNoEsAccess = "EArchivoNoEsAccess - El archivo '";
    struct {
        std::string sNombre;
        std::string sEsperado;  // after the path
    } casos[] = {
        {"no-existe.mdb", "EArchivoInexistente - No se encontró el archivo '"},
        {"texto.mdb", sNoEsAccess},
        {"vacio.mdb", sNoEsAccess},
        {"corto.mdb", sNoEsAccess},
        {"media-pagina.mdb", sNoEsAccess},
        {"sin-paginas.mdb", sNoEsAccess},
        {"carpeta.mdb", "EArchivoIlegible - No se puede leer el archivo '"},
    };
    for (const auto& c : casos) {
        const std::string sRuta = (dir / c.sNombre).string();
        const std::string sError = Falla([&] { TArchivoAccess::Abre(sRuta, "password"); });
        EXPECT_EQ(sError.substr(0, c.sEsperado.size()), c.sEsperado) << c.sNombre;
        EXPECT_NE(sError.find("'" + sRuta + "'"), std::string::npos) << sError;
    }
    EXPECT_EQ(Falla([&] { TArchivoAccess::Abre((dir / "texto.mdb").string(), ""); }),
              sNoEsAccess + (dir / "texto.mdb").string() + "' no es una base de datos de Access.");
    EXPECT_EQ(Falla([&] { TArchivoAccess::Abre((dir / "media-pagina.mdb").string(), ""); }),
              sNoEsAccess + (dir / "media-pagina.mdb").string() +
                  "' no es una base de datos de Access válida: está incompleto o dañado.");
}

TEST(ArchivoAccess, LeerNoCambiaElArchivoYSuFirmaLoIdentifica) {
    for (const char* sNombre :
         {"jet4-types.mdb", "jet3-types.mdb", "jet4-dates.mdb", "jet4-password.mdb"}) {
        const std::string sRuta = Fixture(sNombre);
        const std::string sAntes = LeeBytes(sRuta);
        const jet::TFirmaArchivo firmaAntes = TArchivoAccess::FirmaEnDisco(sRuta);
        {
            auto archivo = TArchivoAccess::Abre(sRuta, "password");
            EXPECT_EQ(archivo->Firma(), firmaAntes);
            EXPECT_EQ(archivo->Firma().nTamano, sAntes.size());
            for (const auto& sTabla : archivo->DameNombresTablas()) Filas(*archivo, sTabla);
        }
        EXPECT_TRUE(LeeBytes(sRuta) == sAntes) << sNombre;
        EXPECT_EQ(TArchivoAccess::FirmaEnDisco(sRuta), firmaAntes) << sNombre;
    }

    TDirTemporal dir;
    const fs::path copia = dir / "copia.mdb";
    fs::copy_file(Fixture("jet4-password.mdb"), copia);
    const jet::TFirmaArchivo firma = TArchivoAccess::FirmaEnDisco(copia.string());
    fs::last_write_time(copia, fs::last_write_time(copia) + std::chrono::milliseconds(1));
    EXPECT_NE(TArchivoAccess::FirmaEnDisco(copia.string()), firma);
    EXPECT_EQ(TArchivoAccess::FirmaEnDisco((dir / "no-existe.mdb").string()), jet::TFirmaArchivo{});
}

// A copy of jet4-no-password.mdb whose Table1 data page is edited the way Jet
// edits it: nRows live rows in the table definition, and row flags set.
class TArchivoRetocado {
public:
    TArchivoRetocado() {
        sBytes_ = LeeBytes(Fixture("jet4-no-password.mdb"));
        const size_t nDatos =
            sBytes_.find(std::string("\xff\xfe"
                                     "Three",
                                     7));
        pagina_ = nDatos / 4096 * 4096;
        EXPECT_EQ(sBytes_[pagina_], 1) << "data page";
        tdef_ = size_t{Lee32(pagina_ + 4)} * 4096;
        EXPECT_EQ(Lee16(pagina_ + 12), 3u) << "rows on the page";
    }
    uint32_t Lee32(size_t n) const {
        uint32_t v;
        std::memcpy(&v, &sBytes_[n], 4);
        return v;
    }
    uint16_t Lee16(size_t n) const {
        uint16_t v;
        std::memcpy(&v, &sBytes_[n], 2);
        return v;
    }
    void Escribe32(size_t n, uint32_t v) { std::memcpy(&sBytes_[n], &v, 4); }
    void Escribe16(size_t n, uint16_t v) { std::memcpy(&sBytes_[n], &v, 2); }

    void FijaFilasDeLaTabla(uint32_t n) { Escribe32(tdef_ + 16, n); }
    // Points the table's usage map (which pages hold its rows) at a row
    // that does not exist.
    void RompeMapaDeUso() { sBytes_[tdef_ + 55] = '\xc1'; }
    size_t Ranura(int nFila) const { return pagina_ + 14 + 2 * nFila; }
    size_t InicioFila(int nFila) const { return pagina_ + (Lee16(Ranura(nFila)) & 0x1fff); }
    size_t FinFila(int nFila) const { return nFila == 0 ? pagina_ + 4096 : InicioFila(nFila - 1); }
    void MarcaFila(int nFila, uint16_t nBandera) {
        Escribe16(Ranura(nFila), Lee16(Ranura(nFila)) | nBandera);
    }
    // Moves row nFila to a new page at the end of the file and leaves a
    // pointer in its slot, as Jet does when an edited row no longer fits. The
    // copy is marked deleted so that only the pointer leads to it.
    void MueveFila(int nFila) {
        const size_t nInicio = InicioFila(nFila), nFin = FinFila(nFila);
        const size_t nNueva = sBytes_.size();
        std::string sPagina(4096, '\0');
        sPagina.replace(0, 12, sBytes_, pagina_, 12);  // type, free space, table
        const uint16_t nPos = static_cast<uint16_t>(4096 - (nFin - nInicio));
        sPagina.replace(nPos, nFin - nInicio, sBytes_, nInicio, nFin - nInicio);
        sBytes_ += sPagina;
        Escribe16(nNueva + 12, 1);
        Escribe16(nNueva + 14, nPos | 0x8000);
        Escribe32(nInicio, static_cast<uint32_t>(nNueva / 4096) << 8);
        MarcaFila(nFila, 0x4000);
    }
    std::string Guarda(const TDirTemporal& dir) const {
        EscribeBytes(dir / "retocado.mdb", sBytes_);
        return (dir / "retocado.mdb").string();
    }

private:
    std::string sBytes_;
    size_t pagina_ = 0, tdef_ = 0;
};

TEST(ArchivoAccess, SaltaFilasBorradasYSigueLasMovidas) {
    // Rows 0 "One", 1 "Two", 2 "Three": row 0 moved to another page, row 1
    // deleted. The walk must come back to its page for row 2.
    TDirTemporal dir;
    TArchivoRetocado retocado;
    retocado.MueveFila(0);
    retocado.MarcaFila(1, 0x8000);
    retocado.FijaFilasDeLaTabla(2);
    auto archivo = TArchivoAccess::Abre(retocado.Guarda(dir), "");
    EXPECT_EQ(Filas(*archivo, "Table1"),
              (TFilas{{int64_t{1}, std::string("One")}, {int64_t{3}, std::string("Three")}}));
}

// Memos longer than a row can hold live in long-value (LVAL) pages: the
// row keeps a 12-byte header with the length, the flags and a pointer. The
// fixtures only hold short memos, inline; these copies move one out.
class TMemoMovido {
public:
    TMemoMovido() : sBytes_(LeeBytes(Fixture("jet4-dates.mdb"))) {
        nTexto_ =
            sBytes_.find(std::string("\xff\xfe"
                                     "Year 9999",
                                     11));
        uint32_t nCabecera;
        std::memcpy(&nCabecera, &sBytes_[nTexto_ - 12], 4);
        EXPECT_EQ(nCabecera, 0x80000000u | 11u) << "an inline memo of 11 bytes";
    }
    // Puts the text in LVAL pages, cut in pieces; one piece is a single-page
    // memo, more make a chain whose rows start with the pointer to the next.
    std::string Guarda(const TDirTemporal& dir, const std::vector<size_t>& trozos) {
        const std::string sTexto = sBytes_.substr(nTexto_, 11);
        const bool bCadena = trozos.size() > 1;
        const auto nPrimera = static_cast<uint32_t>(sBytes_.size() / 4096);
        size_t nDesde = 0;
        for (size_t i = 0; i < trozos.size(); ++i) {
            std::string sFila = sTexto.substr(nDesde, trozos[i]);
            nDesde += trozos[i];
            if (bCadena) {
                const uint32_t nSiguiente = i + 1 < trozos.size() ? (nPrimera + i + 1) << 8 : 0;
                sFila.insert(0, reinterpret_cast<const char*>(&nSiguiente), 4);
            }
            std::string sPagina(4096, '\0');
            sPagina[0] = 1;
            sPagina[1] = 1;
            sPagina.replace(4, 4, "LVAL");
            const auto nPos = static_cast<uint16_t>(4096 - sFila.size());
            const uint16_t nFilas = 1;
            sPagina.replace(12, 2, reinterpret_cast<const char*>(&nFilas), 2);
            sPagina.replace(14, 2, reinterpret_cast<const char*>(&nPos), 2);
            sPagina.replace(nPos, sFila.size(), sFila);
            sBytes_ += sPagina;
        }
        const uint32_t nCabecera = (bCadena ? 0u : 0x40000000u) | 11u;
        const uint32_t nPuntero = nPrimera << 8;
        std::memcpy(&sBytes_[nTexto_ - 12], &nCabecera, 4);
        std::memcpy(&sBytes_[nTexto_ - 8], &nPuntero, 4);
        EscribeBytes(dir / "memo.mdb", sBytes_);
        return (dir / "memo.mdb").string();
    }

private:
    std::string sBytes_;
    size_t nTexto_ = 0;
};

TEST(ArchivoAccess, LeeMemosGuardadosEnPaginasDeValoresLargos) {
    for (const std::vector<size_t>& trozos :
         std::vector<std::vector<size_t>>{{11}, {5, 6}, {2, 4, 5}}) {
        TDirTemporal dir;
        auto archivo = TArchivoAccess::Abre(TMemoMovido().Guarda(dir, trozos), "");
        const TFilas filas = Filas(*archivo, "DateTest");
        ASSERT_EQ(filas.size(), 6u);
        EXPECT_EQ(filas[1][4], TValor(std::string("Year 9999"))) << trozos.size() << " trozos";
        EXPECT_EQ(filas[1][5], TValor(std::string("Year 1999")));
    }
}

TEST(ArchivoAccess, UnaLecturaDentroDeOtraNoLaEstropea) {
    auto archivo = TArchivoAccess::Abre(Fixture("jet4-types.mdb"), "");
    TFilas filas;
    archivo->LeeFilas("Table1", [&](const std::vector<TValor>& fila) {
        filas.push_back(fila);
        Filas(*archivo, "Table3");  // loads other pages of the same file
    });
    EXPECT_EQ(filas, Filas(*archivo, "Table1"));
    ASSERT_EQ(filas.size(), 2u);
    EXPECT_NE(filas[0], filas[1]);
}

TEST(ArchivoAccess, FilasQueFaltanSonUnArchivoDanadoYNoUnaRespuestaParcial) {
    TDirTemporal dir;
    TArchivoRetocado retocado;
    retocado.FijaFilasDeLaTabla(4);
    const std::string sRuta = retocado.Guarda(dir);
    auto archivo = TArchivoAccess::Abre(sRuta, "");
    EXPECT_EQ(Falla([&] { Filas(*archivo, "Table1"); }),
              "EArchivoNoEsAccess - El archivo '" + sRuta +
                  "' no es una base de datos de Access válida: está incompleto o dañado.");
}

TEST(ArchivoAccess, UnMapaDeUsoRotoEsUnArchivoDanadoYNoUnFalloDelPrograma) {
    TDirTemporal dir;
    TArchivoRetocado retocado;
    retocado.RompeMapaDeUso();
    const std::string sRuta = retocado.Guarda(dir);
    EXPECT_EQ(Falla([&] { TArchivoAccess::Abre(sRuta, ""); }),
              "ETablaDanada - No se puede leer la tabla 'Table1' del archivo '" + sRuta +
                  "': su definición está dañada (su mapa de páginas está roto).");
}

// Threads share one file: each reading takes the file's page cursor for
// itself, so two at once give what each gives alone.
TEST(ArchivoAccess, DosHilosLeenElMismoArchivoALaVez) {
    TDirTemporal dir;
    const std::string sRuta = (dir / "hilos.mdb").string();
    {
        mdb::TEscritorMdb e(sRuta, {});
        e.CreaTabla("t", {{"Id", mdb::TTipoMdb::tmLargo}, {"Texto", mdb::TTipoMdb::tmMemo}});
        for (int64_t i = 0; i < 3000; ++i)
            e.AgregaFila({i, std::string(static_cast<size_t>(i % 300), char('a' + i % 26))});
        e.Cierra();
    }
    auto archivo = TArchivoAccess::Abre(sRuta, "");
    const TFilas solas = Filas(*archivo, "t");
    ASSERT_EQ(solas.size(), 3000u);
    std::vector<TFilas> leidas(4);
    std::vector<std::string> fallos(leidas.size());
    {
        std::vector<std::jthread> hilos;
        for (size_t h = 0; h < leidas.size(); ++h)
            hilos.emplace_back(
                [&, h] { fallos[h] = Falla([&] { leidas[h] = Filas(*archivo, "t"); }); });
    }
    for (size_t h = 0; h < leidas.size(); ++h) {
        EXPECT_EQ(fallos[h], "(no falló)") << h;
        EXPECT_TRUE(leidas[h] == solas) << h;
    }
}

}  // namespace
