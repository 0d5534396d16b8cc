// The value types beyond plain numbers, dates and texts (Decimal, BigInt,
// Single, Binary/OLE, Attachment, types we cannot read) and the encrypted
// .accdb: read from real Access files as their README states, and kept
// exact by the engine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ArchivoFalso.h"
#include "FallaJet.h"
#include "TDirTemporal.h"
#include "platform/jet/Decimal.h"
#include "platform/jet/FormatoNumero.h"
#include "tools/mdbgen/EErrorMdb.h"
#include "tools/mdbgen/EscritorMdb.h"

using jet::TTipoColumna;

namespace {

std::string Fixture(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

TEST(TiposAccess, ElLectorDaCadaTipoConSusDatos) {
    auto decimal = jet::TArchivoAccess::Abre(Fixture("ace12-decimal.accdb"), "");
    const auto& col = decimal->BuscaTabla("test")->columnas[5];
    EXPECT_EQ(col.eTipo, TTipoColumna::tcDecimal);
    EXPECT_EQ(col.nPrecision, 18);
    EXPECT_EQ(col.nEscala, 0);
    std::vector<jet::TValor> fila;
    decimal->LeeFilas("test", [&](const std::vector<jet::TValor>& f) { fila = f; });
    ASSERT_EQ(fila.size(), 7u);
    EXPECT_EQ(std::get<jet::TDecimal>(fila[5]), (jet::TDecimal{-1, 0}));

    auto grande = jet::TArchivoAccess::Abre(Fixture("ace16-bigint.accdb"), "");
    EXPECT_EQ(grande->BuscaTabla("Table")->columnas[1].eTipo, TTipoColumna::tcEnteroGrande);

    // Each attached file whole, uncompressed, under its name.
    auto adjuntos = jet::TArchivoAccess::Abre(Fixture("ace12-attachments.accdb"), "");
    EXPECT_EQ(adjuntos->DameNombresTablas(), std::vector<std::string>{"Table1"});
    EXPECT_EQ(adjuntos->BuscaTabla("Table1")->columnas[2].eTipo, TTipoColumna::tcAdjunto);
    std::vector<jet::TValor> ultima;
    adjuntos->LeeFilas("Table1", [&](const std::vector<jet::TValor>& f) { ultima = f; });
    const auto& archivos = std::get<jet::TAdjuntos>(ultima[2]).archivos;
    ASSERT_EQ(archivos.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(archivos[i].sNombre, "attachment" + std::to_string(i + 1) + ".txt");
        EXPECT_EQ(archivos[i].bytes, "Attachment " + std::to_string(i + 1));
    }
}

// Single, Binary and OLE Object as an .mdb holds them: an OLE value of a
// few bytes lies in its row, a long one on a chain of long-value pages.
TEST(TiposAccess, LeeSimplesBinariosYOleDeUnMdb) {
    TDirTemporal dir;
    const std::string sRuta = (dir / "tipos.mdb").string();
    std::string largo(10000, '\0');
    for (size_t i = 0; i < largo.size(); ++i) largo[i] = static_cast<char>(i * 7 % 251);
    {
        mdb::TEscritorMdb e(sRuta, {});
        e.CreaTabla("t", {{"Id", mdb::TTipoMdb::tmLargo},
                          {"S", mdb::TTipoMdb::tmSimple},
                          {"B", mdb::TTipoMdb::tmBinario, 8},
                          {"O", mdb::TTipoMdb::tmOLE}});
        e.AgregaFila({int64_t{1}, 0.15, std::string("\x00\xffZ", 3), std::string("\x01\x02")});
        e.AgregaFila({int64_t{2}, -1e-3, std::monostate{}, largo});
        e.Cierra();
    }
    auto archivo = jet::TArchivoAccess::Abre(sRuta, "");
    const auto& columnas = archivo->BuscaTabla("t")->columnas;
    EXPECT_EQ(columnas[2].eTipo, TTipoColumna::tcBinario);
    EXPECT_EQ(columnas[3].eTipo, TTipoColumna::tcBinario);
    std::vector<std::vector<jet::TValor>> filas;
    archivo->LeeFilas("t", [&](const std::vector<jet::TValor>& f) { filas.push_back(f); });
    ASSERT_EQ(filas.size(), 2u);
    EXPECT_EQ(filas[0][1], jet::TValor(jet::TSimple{0.15f}));
    EXPECT_EQ(filas[0][2], jet::TValor(jet::TBytes{std::string("\x00\xffZ", 3)}));
    EXPECT_EQ(filas[1][3], jet::TValor(jet::TBytes{largo}));

    jet::TMotorJet motor([sRuta] { return jet::TArchivoAccess::Abre(sRuta, ""); },
                         jet::TArchivoAccess::FirmaEnDisco);
    EXPECT_EQ(Texto(motor.Ejecuta("SELECT Id, S, B, O, LEN(O) FROM t ORDER BY Id")),
              "1,0.15,0x00FF5A,0x0102,2; 2,-0.001,NULL," + jet::TextoBytes({largo}) + ",10000");
    EXPECT_EQ(Texto(motor.Ejecuta("SELECT Id FROM t WHERE B IS NULL AND S < 0")), "2");
}

// Access 2010's calculated fields keep the value Access computed, wrapped in
// a few bytes of their own: each reads as a column of its type, a Yes/No one
// from its value and not from the null mask.
TEST(TiposAccess, LosCamposCalculadosSeLeenComoSuTipo) {
    using mdb::TTipoMdb;
    TDirTemporal dir;
    const std::string sRuta = (dir / "calculados.accdb").string();
    auto calculada = [](std::string sNombre, TTipoMdb eTipo, int nTamano = 0) {
        mdb::TColumnaMdb c{std::move(sNombre), eTipo, nTamano};
        c.bCalculada = true;
        return c;
    };
    const jet::TValor N = std::monostate{};
    const std::vector<std::vector<jet::TValor>> filas{
        {int64_t{1}, std::string("Ana"), int64_t{2}, std::string("Hola Ana"), jet::TMoneda{12345},
         jet::TFecha{44197.5}, true, 0.5, int64_t{-7}},
        {int64_t{2}, std::string("Luis"), int64_t{4}, std::string("Hola Luis"), jet::TMoneda{-1},
         jet::TFecha{-1.25}, false, 1.0, N},
    };
    {
        mdb::TEscritorMdb::TOpciones opciones;
        opciones.nVersion = mdb::TEscritorMdb::kAccess2010;
        mdb::TEscritorMdb e(sRuta, opciones);
        e.CreaTabla("t", {{"Id", TTipoMdb::tmLargo},
                          {"Nombre", TTipoMdb::tmTexto, 20},
                          calculada("Doble", TTipoMdb::tmLargo),
                          calculada("Saludo", TTipoMdb::tmTexto, 40),
                          calculada("Precio", TTipoMdb::tmMoneda),
                          calculada("Alta", TTipoMdb::tmFechaHora),
                          calculada("Activo", TTipoMdb::tmBooleano),
                          calculada("Mitad", TTipoMdb::tmDoble),
                          calculada("Corto", TTipoMdb::tmEntero)});
        for (const auto& f : filas) e.AgregaFila(f);
        e.Cierra();
    }
    auto archivo = jet::TArchivoAccess::Abre(sRuta, "");
    const auto& columnas = archivo->BuscaTabla("t")->columnas;
    ASSERT_EQ(columnas.size(), 9u);
    EXPECT_EQ(columnas[3].eTipo, TTipoColumna::tcTexto);
    EXPECT_EQ(columnas[6].eTipo, TTipoColumna::tcBooleano);
    std::vector<std::vector<jet::TValor>> leidas;
    archivo->LeeFilas("t", [&](const std::vector<jet::TValor>& f) { leidas.push_back(f); });
    EXPECT_TRUE(leidas == filas);

    jet::TMotorJet motor([sRuta] { return jet::TArchivoAccess::Abre(sRuta, ""); },
                         jet::TArchivoAccess::FirmaEnDisco);
    EXPECT_EQ(Texto(motor.Ejecuta("SELECT Id, Doble * 10, Saludo, Precio FROM t WHERE Activo")),
              "1,20,Hola Ana,$1.2345");
}

// Access 2019's Date/Time Extended keeps 100-nanosecond ticks: it reads as
// its text with the seven decimals, whole from year 1 to 9999.
TEST(TiposAccess, FechaHoraExtendidaSeLeeConSusSieteDecimales) {
    TDirTemporal dir;
    const std::string sRuta = (dir / "extendida.accdb").string();
    const std::vector<std::string> fechas{
        "2021-12-30 12:34:56.7891234", "0001-01-01 00:00:00.0000000", "9999-12-31 23:59:59.9999999",
        "1900-02-28 00:00:00.0000001"};
    {
        mdb::TEscritorMdb::TOpciones opciones;
        opciones.nVersion = mdb::TEscritorMdb::kAccess2016;
        mdb::TEscritorMdb e(sRuta, opciones);
        e.CreaTabla("t",
                    {{"Id", mdb::TTipoMdb::tmLargo}, {"Cuando", mdb::TTipoMdb::tmFechaExtendida}});
        for (size_t i = 0; i < fechas.size(); ++i)
            e.AgregaFila({static_cast<int64_t>(i), fechas[i]});
        e.AgregaFila({int64_t{9}, std::monostate{}});
        e.Cierra();
    }
    auto archivo = jet::TArchivoAccess::Abre(sRuta, "");
    std::vector<jet::TValor> leidas;
    archivo->LeeFilas("t", [&](const std::vector<jet::TValor>& f) { leidas.push_back(f[1]); });
    ASSERT_EQ(leidas.size(), 5u);
    for (size_t i = 0; i < fechas.size(); ++i) EXPECT_EQ(leidas[i], jet::TValor(fechas[i])) << i;
    EXPECT_TRUE(jet::EsNulo(leidas[4]));

    jet::TMotorJet motor([sRuta] { return jet::TArchivoAccess::Abre(sRuta, ""); },
                         jet::TArchivoAccess::FirmaEnDisco);
    EXPECT_EQ(Texto(motor.Ejecuta("SELECT Id FROM t WHERE Cuando IS NOT NULL ORDER BY Cuando")),
              "1; 3; 0; 2");
}

std::string LeeBytes(const std::filesystem::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// A multi-valued field reads as Access shows it in a datasheet: its values
// as text joined by "; ", in the order they were stored; a row without
// values is null. Its hidden tables stay hidden.
TEST(TiposAccess, UnCampoMultivalorSeLeeComoSusValores) {
    TDirTemporal dir;
    const std::string sRuta = (dir / "multivalor.accdb").string();
    using mdb::TTipoMdb;
    auto multivalor = [](const char* sNombre, TTipoMdb eValores, int nTamano = 0) {
        mdb::TColumnaMdb c{sNombre, TTipoMdb::tmMultivalor, nTamano};
        c.eTipoValores = eValores;
        return c;
    };
    {
        mdb::TEscritorMdb::TOpciones opciones;
        opciones.nVersion = mdb::TEscritorMdb::kAccess2007;
        mdb::TEscritorMdb e(sRuta, opciones);
        e.CreaTabla("Otra", {{"Id", TTipoMdb::tmLargo}});
        e.AgregaFila({int64_t{1}});
        const jet::TValor N = std::monostate{};
        e.CreaTabla("t", {{"Id", TTipoMdb::tmLargo},
                          multivalor("Colores", TTipoMdb::tmTexto, 20),
                          {"Nombre", TTipoMdb::tmTexto, 20},
                          multivalor("Numeros", TTipoMdb::tmLargo),
                          multivalor("Medidas", TTipoMdb::tmDoble)});
        e.AgregaFila({int64_t{1}, N, std::string("uno"), N, N},
                     {{std::string("Rojo"), std::string("Verde")},
                      {int64_t{3}, int64_t{1}, int64_t{2}},
                      {1.5}});
        e.AgregaFila({int64_t{2}, N, std::string("dos"), N, N}, {{}, {}, {}});
        e.AgregaFila({int64_t{3}, N, N, N, N});
        e.AgregaFila({int64_t{4}, N, std::string("cuatro"), N, N},
                     {{std::string("Añil")}, {int64_t{-7}}, {-0.25, 2.0}});
        // Values for fewer fields than the table has would land in the wrong one.
        EXPECT_THROW(e.AgregaFila({int64_t{5}, N, N, N, N}, {{}, {}}), mdb::EErrorMdb);
        e.Cierra();
    }
    auto archivo = jet::TArchivoAccess::Abre(sRuta, "");
    EXPECT_EQ(archivo->DameNombresTablas(), (std::vector<std::string>{"Otra", "t"}));
    for (int c : {1, 3, 4})
        EXPECT_EQ(archivo->BuscaTabla("t")->columnas[c].eTipo, TTipoColumna::tcMemo);

    jet::TMotorJet motor([sRuta] { return jet::TArchivoAccess::Abre(sRuta, ""); },
                         jet::TArchivoAccess::FirmaEnDisco);
    EXPECT_EQ(
        Texto(motor.Ejecuta("SELECT Id, Colores, Nombre, Numeros, Medidas FROM t ORDER BY Id")),
        "1,Rojo; Verde,uno,3; 1; 2,1.5; 2,NULL,dos,NULL,NULL; 3,NULL,NULL,NULL,NULL; "
        "4,Añil,cuatro,-7,-0.25; 2");
    EXPECT_EQ(
        Texto(motor.Ejecuta("SELECT Id FROM t WHERE Colores LIKE '%Verde%' OR Numeros = '-7'")),
        "1; 4");
}

// A complex column of a kind that is not read names its kind: a memo's
// version history is not taken for a multi-valued field. (The written file's
// Text template is renamed in the catalogue to the version history's.)
TEST(TiposAccess, UnHistorialDeVersionesSeNombraComoTal) {
    TDirTemporal dir;
    const std::string sRuta = (dir / "historial.accdb").string();
    {
        mdb::TEscritorMdb::TOpciones opciones;
        opciones.nVersion = mdb::TEscritorMdb::kAccess2010;
        mdb::TEscritorMdb e(sRuta, opciones);
        mdb::TColumnaMdb historial{"Notas", mdb::TTipoMdb::tmMultivalor, 100};
        e.CreaTabla("t", {{"Id", mdb::TTipoMdb::tmLargo}, historial});
        e.AgregaFila({int64_t{1}, std::monostate{}}, {{std::string("primera")}});
        e.Cierra();
    }
    auto ucs2 = [](const std::string& s) {
        std::string r;
        for (char c : s) r += {c, '\0'};
        return r;
    };
    std::string bytes = LeeBytes(sRuta);
    const std::string sAntes = ucs2("MSysComplexType_Text"),
                      sDespues = ucs2("MSysComplexTypeVH_Tx");
    const size_t n = bytes.find(sAntes);
    ASSERT_NE(n, std::string::npos);
    bytes.replace(n, sAntes.size(), sDespues);
    std::ofstream(sRuta, std::ios::binary | std::ios::trunc) << bytes;

    jet::TMotorJet motor([sRuta] { return jet::TArchivoAccess::Abre(sRuta, ""); },
                         jet::TArchivoAccess::FirmaEnDisco);
    EXPECT_EQ(Falla([&] { motor.Ejecuta("SELECT Notas FROM t"); }),
              "ETipoNoSoportado - No se puede leer la columna 'Notas' de la tabla 't': es de tipo "
              "historial de versiones, que este programa no lee.");
    EXPECT_EQ(Texto(motor.Ejecuta("SELECT Id FROM t")), "1");
}

// ---- The encrypted .accdb ----

TEST(TiposAccess, UnAccdbCifradoAbreSoloConSuContrasena) {
    const std::string sRuta = Fixture("ace14-encrypted.accdb");
    const std::string antes = LeeBytes(sRuta);
    auto archivo = jet::TArchivoAccess::Abre(sRuta, "password");
    EXPECT_EQ(archivo->DameNombresTablas(), std::vector<std::string>{"Table1"});
    EXPECT_EQ(Falla([&] { jet::TArchivoAccess::Abre(sRuta, "Password"); }),
              "EContrasenaInvalida - No es una contraseña válida.");
    EXPECT_EQ(Falla([&] { jet::TArchivoAccess::Abre(sRuta, ""); }),
              "EContrasenaRequerida - El archivo '" + sRuta +
                  "' está cifrado con una contraseña de base de datos: hay que indicarla para "
                  "abrirlo.");
    EXPECT_EQ(LeeBytes(sRuta), antes);
}

// Other encryptions say what the file is and why it cannot be read, never
// that the password is wrong. The information starts at 0x299 with its
// length, then the version (major, minor) and the flags.
TEST(TiposAccess, UnCifradoQueNoLeemosLoDiceSinHablarDeContrasenas) {
    const std::string original = LeeBytes(Fixture("ace14-encrypted.accdb"));
    struct {
        const char* sCaso;
        size_t nPosicion;
        std::string bytes;
        const char* sMotivo;
    } casos[] = {
        {"AES", 0x29f, std::string("\x24", 1), "con el método AES estándar"},
        {"sin información", 0x299, std::string("\x00\x00", 2), "su cifrado no es de ningún tipo"},
        {"algoritmo raro", 0x2b3, std::string("\x10\x66", 2), "su cifrado no es de ningún tipo"},
    };
    TDirTemporal dir;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.sCaso);
        std::string bytes = original;
        bytes.replace(c.nPosicion, c.bytes.size(), c.bytes);
        const auto ruta = dir / "cifrado.accdb";
        std::ofstream(ruta, std::ios::binary | std::ios::trunc) << bytes;
        const std::string sError =
            Falla([&] { jet::TArchivoAccess::Abre(ruta.string(), "password"); });
        EXPECT_TRUE(sError.starts_with("EFormatoNoSoportado - No se puede abrir el archivo '" +
                                       ruta.string() +
                                       "': es una base de datos de Access 2007 o posterior "
                                       "cifrada"))
            << sError;
        EXPECT_NE(sError.find(c.sMotivo), std::string::npos) << sError;
        EXPECT_EQ(sError.find("contraseña"), std::string::npos) << sError;
    }
}

// ---- The engine keeps them exact ----

std::shared_ptr<TArchivoFalso> Datos() {
    auto a = std::make_shared<TArchivoFalso>();
    const jet::TValor N = std::monostate{};
    jet::TColumna importe{"Importe", TTipoColumna::tcDecimal, 17};
    importe.nPrecision = 28;
    importe.nEscala = 2;
    jet::TColumna grande{"Grande", TTipoColumna::tcDecimal, 17};
    grande.nPrecision = 18;
    a->Tabla(
        "tDec",
        {{"Id", TTipoColumna::tcEnteroLargo, 4}, importe, grande, {"S", TTipoColumna::tcSimple, 4}},
        {{int64_t{1}, jet::TDecimal{10, 2}, jet::TDecimal{9007199254740993, 0},
          jet::TSimple{0.15f}},
         {int64_t{2}, jet::TDecimal{20, 2}, jet::TDecimal{1, 0}, jet::TSimple{1e20f}},
         {int64_t{3}, jet::TDecimal{-1255, 2}, N, N},
         {int64_t{4}, N, N, jet::TSimple{-16777216.0f}}});
    jet::TColumna ilegible{"Valores", TTipoColumna::tcOtro, 4};
    ilegible.nCodigoTipo = 0x12;
    a->Tabla("tBin",
             {{"Id", TTipoColumna::tcEnteroLargo, 4},
              {"B", TTipoColumna::tcBinario, 0},
              {"C", TTipoColumna::tcBinario, 0},
              ilegible},
             {{int64_t{1}, jet::TBytes{std::string("\x00\x01\xff", 3)},
               jet::TBytes{std::string("\x00\x01\xff", 3)}, N},
              {int64_t{2}, jet::TBytes{""}, jet::TBytes{"A"}, N},
              {int64_t{3}, N, jet::TBytes{"AB"}, N}});
    return a;
}

struct Caso {
    const char* sSql;
    const char* sEsperado;
};
std::ostream& operator<<(std::ostream& o, const Caso& c) {
    return o << c.sSql;
}

class ValoresExactos : public ::testing::TestWithParam<Caso> {};

TEST_P(ValoresExactos, ComoJet) {
    auto motor = MotorSobre(Datos());
    EXPECT_EQ(Texto(motor->Ejecuta(GetParam().sSql)), GetParam().sEsperado)
        << motor->Traduce(GetParam().sSql);
}

INSTANTIATE_TEST_SUITE_P(
    Decimal, ValoresExactos,
    ::testing::Values(
        // 0.1 + 0.2 is 0.3 exactly; 2^53 + 1 and + 2 stay whole digits.
        Caso{"SELECT SUM(Importe), SUM(Grande), AVG(Importe), MIN(Importe), MAX(Grande) FROM tDec",
             "-12.25,9007199254740994,-4.083333333333333,-12.55,9007199254740993"},
        Caso{"SELECT Id FROM tDec WHERE Grande = 9007199254740993 OR Grande = 9007199254740992",
             "1"},
        Caso{"SELECT Id FROM tDec WHERE Importe IS NOT NULL ORDER BY Importe DESC", "2; 1; 3"},
        Caso{"SELECT Importe, Importe * 3, ROUND(Importe / 3, 2) FROM tDec WHERE Id = 3",
             "-12.55,-37.65,-4.18"},
        Caso{"SELECT SUM(Importe) FROM tDec WHERE Id > 9", "NULL"}));

INSTANTIATE_TEST_SUITE_P(
    SimpleYBinario, ValoresExactos,
    ::testing::Values(Caso{"SELECT S FROM tDec ORDER BY Id", "0.15; 1E+20; NULL; -16777216"},
                      Caso{"SELECT Id FROM tDec WHERE S < 1 ORDER BY S", "4; 1"},
                      // The extremes of a Single column are Singles too.
                      Caso{"SELECT MIN(S), MAX(S), FIRST(S) FROM tDec WHERE S > 0",
                           "0.15,1E+20,0.15"},
                      Caso{"SELECT Id, B, LEN(B), LEN(C) FROM tBin ORDER BY Id",
                           "1,0x0001FF,3,3; 2,0x,0,1; 3,NULL,NULL,2"},
                      Caso{"SELECT Id FROM tBin WHERE B IS NULL", "3"},
                      Caso{"SELECT Id FROM tBin WHERE B = C", "1"}));

// A type the reader cannot read fails the statements that use it, naming it;
// the rest of its table still reads.
TEST(TiposAccess, UnTipoQueNoSeLeeFallaSoloDondeSeUsa) {
    auto motor = MotorSobre(Datos());
    const std::string sError =
        "ETipoNoSoportado - No se puede leer la columna 'Valores' de la tabla 'tBin': es de tipo "
        "campo multivalor, que este programa no lee.";
    EXPECT_EQ(Falla([&] { motor->Ejecuta("SELECT * FROM tBin"); }), sError);
    EXPECT_EQ(Falla([&] { motor->Ejecuta("SELECT Id FROM tBin WHERE Valores IS NULL"); }), sError);
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT COUNT(*), MAX(Id) FROM tBin")), "3,3");
}

TEST(TiposAccess, TextosDeDecimalesYSimples) {
    struct {
        jet::TDecimal d;
        const char* sTexto;
    } decimales[] = {
        {{12345, 2}, "123.45"},
        {{-5, 3}, "-0.005"},
        {{1500, 2}, "15"},
        {{0, 4}, "0"},
        {{static_cast<__int128>(9999999999999999999ULL) * 1000000000 + 999999999, 0},
         "9999999999999999999999999999"},
    };
    for (const auto& c : decimales) {
        EXPECT_EQ(jet::TextoDecimal(c.d), c.sTexto);
        EXPECT_EQ(jet::DecimalDeTexto(c.sTexto), c.d) << c.sTexto;
    }
    EXPECT_EQ(jet::TextoDecimal({-125, 1}, ','), "-12,5");
    EXPECT_EQ(jet::DecimalDeDoble(0.1 + 0.2, 2), (jet::TDecimal{30, 2}));
    EXPECT_EQ(jet::DecimalDeDoble(2.675, 2), (jet::TDecimal{268, 2}));  // shortest text is 2.675
    EXPECT_EQ(jet::DecimalDeTexto("1.5e3"), (jet::TDecimal{1500, 0}));
    // Into fewer decimals half away from zero, as a Decimal column stores.
    for (auto [n, nEsperado] : {std::pair{125, 13}, {-125, -13}, {124, 12}, {-124, -12}})
        EXPECT_EQ(jet::ConEscala({n, 2}, 1), (jet::TDecimal{nEsperado, 1})) << n;
    EXPECT_FALSE(jet::SumaDecimal({jet::TDecimal{1, 0}}, {jet::TDecimal{1, 38}}).has_value());
    EXPECT_FALSE(jet::DecimalDeTexto("1.5x").has_value());

    struct {
        float f;
        const char* sTexto;
    } simples[] = {{0.15f, "0.15"},
                   {0.1f, "0.1"},
                   {1e20f, "1E+20"},
                   {3.4028235e38f, "3.4028235E+38"},
                   {123456.79f, "123456.79"},
                   {1e-7f, "1E-07"},
                   {-2.5f, "-2.5"}};
    for (const auto& c : simples) {
        const std::string s = jet::TextoSimple(c.f);
        EXPECT_EQ(s, c.sTexto);
        EXPECT_EQ(std::stof(s), c.f) << s;  // reads back as the same float
    }
}

}  // namespace
