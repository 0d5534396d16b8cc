#include "platform/jet/TArchivoAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "TDirTemporal.h"
#include "platform/jet/EErrorJet.h"

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
    return std::string(KOVA_SHARED_FIXTURES) + "/mdb/" + sNombre;
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

// Runs f, which must throw EErrorJet, and gives "kind - message".
template <class F>
std::string Falla(F f) {
    try {
        f();
    } catch (const jet::EErrorJet& e) {
        return e.Clase() + " - " + e.Mensaje();
    }
    return "(no falló)";
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
        // A replication id is not a value we read: it comes back null.
        EXPECT_EQ(archivo->BuscaTabla("Table4")->columnas[1].eTipo, TTipoColumna::tcOtro);

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
         {"quilon", "", "Password", "PASSWORD", "password ", "passwor", "passwordx"})
        EXPECT_EQ(Falla([&] { TArchivoAccess::Abre(sConClave, sMala); }),
                  "EContrasenaInvalida - No es una contraseña válida.")
            << "'" << sMala << "'";

    // A file without a password opens whatever password is given, as Jet does.
    for (const char* sCualquiera : {"", "quilon"})
        EXPECT_EQ(
            Filas(*TArchivoAccess::Abre(Fixture("jet4-no-password.mdb"), sCualquiera), "Table1"),
            esperadas);
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
    size_t Ranura(int nFila) const { return pagina_ + 14 + 2 * nFila; }
    void MarcaFila(int nFila, uint16_t nBandera) {
        Escribe16(Ranura(nFila), Lee16(Ranura(nFila)) | nBandera);
    }
    // Turns row nFila into a pointer to row nDestino of the same page.
    void MueveFila(int nFila, int nDestino) {
        Escribe32(pagina_ + (Lee16(Ranura(nFila)) & 0x1fff),
                  static_cast<uint32_t>(pagina_ / 4096) << 8 | static_cast<uint32_t>(nDestino));
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
    // Rows 0 "One", 1 "Two", 2 "Three". Row 1 is deleted; row 2 was moved
    // to where row 0 lies, whose own slot Jet marks deleted so a page walk
    // finds it only through the pointer. One live row: (1, "One").
    TDirTemporal dir;
    TArchivoRetocado retocado;
    retocado.MarcaFila(0, 0x8000);
    retocado.MarcaFila(1, 0x8000);
    retocado.MueveFila(2, 0);
    retocado.FijaFilasDeLaTabla(1);
    auto archivo = TArchivoAccess::Abre(retocado.Guarda(dir), "");
    EXPECT_EQ(Filas(*archivo, "Table1"), (TFilas{{int64_t{1}, std::string("One")}}));
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

}  // namespace
