// Access 2010 and later files encrypted with Office's agile encryption:
// written by mdbgen's own encryptor (which shares no code with the reader's
// decryption), opened only with their password, and refused with a message
// when their description is damaged.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "FallaJet.h"
#include "TDirTemporal.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/TArchivoAccess.h"
#include "tools/mdbgen/EErrorMdb.h"
#include "tools/mdbgen/EscritorMdb.h"

namespace {

namespace fs = std::filesystem;
using TFilas = std::vector<std::vector<jet::TValor>>;

constexpr size_t kPagina = 4096;
constexpr size_t kInformacion = 0x299;  // its 16-bit length, version, reserved, the XML

std::string LeeBytes(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void EscribeBytes(const fs::path& ruta, const std::string& sBytes) {
    std::ofstream(ruta, std::ios::binary | std::ios::trunc) << sBytes;
}

// Rows over several data pages, with memos long enough to live on pages of
// their own.
TFilas Filas() {
    TFilas filas;
    for (int64_t i = 0; i < 150; ++i)
        filas.push_back(
            {i, "Fila número " + std::to_string(i),
             i % 50 == 0 ? std::string(3000, char('a' + i % 26)) : "nota " + std::to_string(i)});
    filas.push_back({int64_t{150}, std::monostate{}, std::monostate{}});
    return filas;
}

void Escribe(const std::string& sRuta, const std::string& sContrasena,
             std::optional<mdb::TCifradorAgil::TParametros> cifrado) {
    mdb::TEscritorMdb::TOpciones opciones;
    opciones.nVersion = mdb::TEscritorMdb::kAccess2010;
    opciones.sContrasena = sContrasena;
    opciones.cifrado = cifrado;
    mdb::TEscritorMdb e(sRuta, opciones);
    e.CreaTabla("Datos", {{"Id", mdb::TTipoMdb::tmLargo},
                          {"Nombre", mdb::TTipoMdb::tmTexto, 50},
                          {"Nota", mdb::TTipoMdb::tmMemo}});
    for (const auto& f : Filas()) e.AgregaFila(f);
    e.Cierra();
}

TFilas Lee(const jet::TArchivoAccess& archivo) {
    TFilas filas;
    archivo.LeeFilas("Datos", [&](const std::vector<jet::TValor>& f) { filas.push_back(f); });
    return filas;
}

TEST(CifradoAgil, AbreSoloConSuContrasenaConCadaCifradoYHash) {
    TDirTemporal dir;
    const std::string sClaro = (dir / "claro.accdb").string();
    Escribe(sClaro, "", std::nullopt);
    const std::string claro = LeeBytes(sClaro);
    struct {
        int nBits;
        const char* sHash;
        uint32_t nVueltas;
        const char* sContrasena;
    } casos[] = {
        {128, "SHA1", 1000, "secreto"},
        {256, "SHA512", 100000, "Contraseña€"},  // what Access 2010 and later write
        {192, "SHA256", 0, "x"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(std::to_string(c.nBits) + " " + c.sHash);
        const std::string sRuta = (dir / "cifrado.accdb").string();
        Escribe(sRuta, c.sContrasena,
                mdb::TCifradorAgil::TParametros{c.nBits, c.sHash, c.nVueltas});
        const std::string cifrado = LeeBytes(sRuta);
        // Every page but the first is encrypted: none is left as written.
        ASSERT_EQ(cifrado.size(), claro.size());
        ASSERT_GT(claro.size() / kPagina, 4u);
        for (size_t p = 1; p < claro.size() / kPagina; ++p)
            EXPECT_NE(cifrado.compare(p * kPagina, kPagina, claro, p * kPagina, kPagina), 0) << p;

        EXPECT_EQ(Lee(*jet::TArchivoAccess::Abre(sRuta, c.sContrasena)), Filas());
        const std::string sOtra = std::string(c.sContrasena) + "1";
        for (const std::string& sMala : {sOtra, sOtra.substr(1), std::string("X")})
            EXPECT_EQ(Falla([&] { jet::TArchivoAccess::Abre(sRuta, sMala); }),
                      "EContrasenaInvalida - No es una contraseña válida.")
                << sMala;
        EXPECT_EQ(Falla([&] { jet::TArchivoAccess::Abre(sRuta, ""); }),
                  "EContrasenaRequerida - El archivo '" + sRuta +
                      "' está cifrado con una contraseña de base de datos: hay que indicarla "
                      "para abrirlo.");
        EXPECT_EQ(LeeBytes(sRuta), cifrado);  // decrypted in memory only
    }
}

// The description of the first page, taken apart and put back with its
// length: the prefix (version and reserved, 8 bytes) and the XML.
std::string ConDescripcion(std::string bytes,
                           const std::function<void(std::string&, std::string&)>& cambia) {
    uint16_t nLargo = 0;
    std::memcpy(&nLargo, &bytes[kInformacion], 2);
    std::string prefijo = bytes.substr(kInformacion + 2, 8);
    std::string sXml = bytes.substr(kInformacion + 10, nLargo - 8u);
    cambia(prefijo, sXml);
    std::fill(bytes.begin() + kInformacion, bytes.begin() + kInformacion + 2 + nLargo, '\0');
    const std::string nuevo = prefijo + sXml;
    nLargo = static_cast<uint16_t>(nuevo.size());
    std::memcpy(&bytes[kInformacion], &nLargo, 2);
    bytes.replace(kInformacion + 2, nuevo.size(), nuevo);
    return bytes;
}

// Replaces the first occurrence of a by b.
std::function<void(std::string&, std::string&)> Cambia(std::string a, std::string b) {
    return [a, b](std::string&, std::string& sXml) {
        const size_t n = sXml.find(a);
        ASSERT_NE(n, std::string::npos) << a;
        sXml.replace(n, a.size(), b);
    };
}

// Gives the value of an attribute a new one, in the n-th element that has it.
std::function<void(std::string&, std::string&)> Atributo(std::string sNombre, std::string sValor,
                                                         int nCual = 0) {
    return [=](std::string&, std::string& sXml) {
        size_t n = 0;
        for (int i = 0; i <= nCual; ++i) {
            n = sXml.find(" " + sNombre + "=\"", n);
            ASSERT_NE(n, std::string::npos) << sNombre;
            n += sNombre.size() + 3;
        }
        sXml.replace(n, sXml.find('"', n) - n, sValor);
    };
}

TEST(CifradoAgil, UnaDescripcionDanadaSeRechazaDiciendoQueLeFalta) {
    TDirTemporal dir;
    const std::string sOriginal = (dir / "original.accdb").string();
    Escribe(sOriginal, "secreto", mdb::TCifradorAgil::TParametros{128, "SHA1", 10});
    const std::string original = LeeBytes(sOriginal);
    const std::string sRc4 = LeeBytes(std::string(KOVA_FIXTURES) + "/mdb/ace14-encrypted.accdb");
    const std::string sRisa =
        "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>";
    struct {
        const char* sCaso;
        std::string bytes;
        const char* sMotivo;
    } casos[] = {
        {"no es XML", ConDescripcion(original, [](auto&, auto& x) { x = "esto no es XML"; }),
         "su descripción XML no es válida (línea 1"},
        {"XML cortado", ConDescripcion(original, [](auto&, auto& x) { x.resize(x.size() / 2); }),
         "su descripción XML no es válida"},
        {"XML vacío", ConDescripcion(original, [](auto&, auto& x) { x.clear(); }),
         "su descripción XML no es válida"},
        {"entidades que crecen",
         ConDescripcion(original, Cambia("<encryption ", sRisa + "<encryption ")),
         "su descripción declara un DTD"},
        {"otra raíz",
         ConDescripcion(
             original,
             [](auto&, auto& x) { x = "<?xml version=\"1.0\"?><cifrado><keyData/></cifrado>"; }),
         "su descripción no es la de un cifrado de Office"},
        {"sin keyData", ConDescripcion(original, Cambia("<keyData ", "<otraCosa ")),
         "falta la clave de los datos (keyData)"},
        {"sin contraseña", ConDescripcion(original, Cambia("<p:encryptedKey ", "<c:encryptedKey ")),
         "no se abre con contraseña"},
        {"dos keyData",
         ConDescripcion(original, Cambia("<dataIntegrity ", "<keyData/><dataIntegrity ")),
         "describe dos veces la clave de los datos"},
        {"sal que no es base64", ConDescripcion(original, Atributo("saltValue", "no*es*base64")),
         "saltValue no está en base64 en keyData"},
        {"sal de otro tamaño", ConDescripcion(original, Atributo("saltSize", "17")),
         "saltValue no tiene los bytes de saltSize en keyData"},
        {"falta un atributo", ConDescripcion(original, Cambia(" keyBits=\"128\"", "")),
         "falta keyBits en keyData"},
        {"vueltas sin fin", ConDescripcion(original, Atributo("spinCount", "4294967296")),
         "spinCount no es un número válido en encryptedKey"},
        {"vueltas negativas", ConDescripcion(original, Atributo("spinCount", "-1")),
         "spinCount no es un número válido en encryptedKey"},
        {"hash de otro tamaño", ConDescripcion(original, Atributo("hashSize", "64", 1)),
         "hashSize no es el de SHA1 en encryptedKey"},
        {"clave que no es de AES", ConDescripcion(original, Atributo("keyBits", "136")),
         "keyBits o blockSize no son los de AES en keyData"},
        {"clave cifrada corta", ConDescripcion(original, Atributo("encryptedKeyValue", "AAAA")),
         "un valor cifrado no tiene los bytes que debe en encryptedKey"},
        {"reservado distinto",
         ConDescripcion(original, [](auto& prefijo, auto&) { prefijo[4] = 0x41; }),
         "su cabecera no es la del cifrado ágil"},
        {"versión ágil sobre RC4",
         sRc4.substr(0, 0x29b) + std::string("\x04\x00\x04\x00", 4) + sRc4.substr(0x29f),
         "su cabecera no es la del cifrado ágil"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.sCaso);
        const auto ruta = dir / "danado.accdb";
        EscribeBytes(ruta, c.bytes);
        const std::string sError =
            Falla([&] { jet::TArchivoAccess::Abre(ruta.string(), "secreto"); });
        EXPECT_TRUE(sError.starts_with("EArchivoNoEsAccess - El archivo '" + ruta.string() +
                                       "' no es una base de datos de Access válida: la "
                                       "información de su cifrado está dañada ("))
            << sError;
        EXPECT_NE(sError.find(c.sMotivo), std::string::npos) << sError;
    }
    // The untouched description still opens: the damage, not the rewriting, is refused.
    EscribeBytes(dir / "igual.accdb", ConDescripcion(original, [](auto&, auto&) {}));
    EXPECT_EQ(Lee(*jet::TArchivoAccess::Abre((dir / "igual.accdb").string(), "secreto")), Filas());
}

// A sound description of a cipher or hash this program does not read says
// which, and never blames the password.
TEST(CifradoAgil, UnAlgoritmoQueNoLeemosSeNombra) {
    TDirTemporal dir;
    const std::string sOriginal = (dir / "original.accdb").string();
    Escribe(sOriginal, "secreto", mdb::TCifradorAgil::TParametros{128, "SHA1", 10});
    const std::string original = LeeBytes(sOriginal);
    struct {
        std::function<void(std::string&, std::string&)> cambia;
        const char* sMotivo;
    } casos[] = {
        {Atributo("cipherAlgorithm", "DES"), "este programa no lee el cifrado DES"},
        {Atributo("cipherChaining", "ChainingModeCFB", 1),
         "este programa no lee el encadenamiento ChainingModeCFB"},
        {Atributo("hashAlgorithm", "RIPEMD-160"), "este programa no lee el hash RIPEMD-160"},
    };
    for (const auto& c : casos) {
        const auto ruta = dir / "otro.accdb";
        EscribeBytes(ruta, ConDescripcion(original, c.cambia));
        const std::string sError =
            Falla([&] { jet::TArchivoAccess::Abre(ruta.string(), "secreto"); });
        EXPECT_TRUE(sError.starts_with("EFormatoNoSoportado - No se puede abrir el archivo '" +
                                       ruta.string() +
                                       "': es una base de datos de Access 2007 o posterior "
                                       "cifrada con el método ágil"))
            << sError;
        EXPECT_NE(sError.find(c.sMotivo), std::string::npos) << sError;
        EXPECT_EQ(sError.find("contraseña"), std::string::npos) << sError;
    }
}

// The writer refuses what the format has not, rather than write a file no
// reader opens.
TEST(CifradoAgil, ElEscritorRechazaParametrosFueraDelFormato) {
    TDirTemporal dir;
    const std::string sRuta = (dir / "x.accdb").string();
    struct {
        int nVersion;
        const char* sContrasena;
        mdb::TCifradorAgil::TParametros p;
    } casos[] = {
        {mdb::TEscritorMdb::kAccess2007, "secreto", {}},
        {mdb::TEscritorMdb::kAccess2010, "", {}},
        {mdb::TEscritorMdb::kAccess2010, "secreto", {100, "SHA512", 10}},
        {mdb::TEscritorMdb::kAccess2010, "secreto", {128, "MD4", 10}},
    };
    for (const auto& c : casos) {
        mdb::TEscritorMdb::TOpciones opciones;
        opciones.nVersion = c.nVersion;
        opciones.sContrasena = c.sContrasena;
        opciones.cifrado = c.p;
        EXPECT_THROW(mdb::TEscritorMdb(sRuta, opciones), mdb::EErrorMdb) << c.p.nBitsClave;
    }
}

}  // namespace
