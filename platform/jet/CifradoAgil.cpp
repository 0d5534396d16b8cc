#include "platform/jet/CifradoAgil.h"

#include <expat.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <unicode/unistr.h>

#include <charconv>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>

namespace jet {

namespace {

constexpr uint32_t kReservado = 0x40;
// The format's own limits: a spin count above ten million would keep the
// program hashing for minutes on a damaged file.
constexpr uint64_t kVueltasMaximas = 10'000'000;
constexpr size_t kCaracteresContrasena = 255;
const std::string kEspacio = "http://schemas.microsoft.com/office/2006/encryption";
const std::string kEspacioContrasena =
    "http://schemas.microsoft.com/office/2006/keyEncryptor/password";
// The block keys of the three values derived from the password.
constexpr unsigned char kBloqueEntrada[] = {0xfe, 0xa7, 0xd2, 0x76, 0x3b, 0x4b, 0x9e, 0x79};
constexpr unsigned char kBloqueValor[] = {0xd7, 0xaa, 0x0f, 0x6d, 0x30, 0x61, 0x34, 0x4e};
constexpr unsigned char kBloqueClave[] = {0x14, 0x6e, 0x0b, 0xe7, 0xab, 0xac, 0xd0, 0xd6};

using TBytes = std::vector<unsigned char>;
using TAtributos = std::map<std::string, std::string>;

// ---- The XML ----

// What the parser keeps: the attributes of keyData and of the password's
// encryptedKey, and the first thing found wrong with their places.
struct TLectura {
    XML_Parser parser = nullptr;
    int nProfundidad = 0;
    std::vector<std::string> pila;  // the open elements, namespace and name
    bool bDatos = false, bContrasena = false;
    TAtributos datos, contrasena;
    std::string sDano;

    void Falla(const std::string& s) {
        if (sDano.empty())
            sDano = s;
        XML_StopParser(parser, XML_FALSE);
    }
};

TAtributos Atributos(const XML_Char** a) {
    TAtributos r;
    for (size_t i = 0; a[i] && a[i + 1]; i += 2) r[a[i]] = a[i + 1];
    return r;
}

void XMLCALL Abre(void* p, const XML_Char* sNombre, const XML_Char** atributos) {
    auto& l = *static_cast<TLectura*>(p);
    const std::string sElemento = sNombre;
    const size_t nNivel = l.pila.size();
    l.pila.push_back(sElemento);
    if (nNivel == 0) {
        if (sElemento != kEspacio + " encryption")
            l.Falla("su descripción no es la de un cifrado de Office");
    } else if (nNivel == 1 && sElemento == kEspacio + " keyData") {
        if (l.bDatos)
            return l.Falla("describe dos veces la clave de los datos");
        l.bDatos = true;
        l.datos = Atributos(atributos);
    } else if (nNivel == 3 && sElemento == kEspacioContrasena + " encryptedKey" &&
               l.pila[1] == kEspacio + " keyEncryptors" &&
               l.pila[2] == kEspacio + " keyEncryptor" && !l.bContrasena) {
        // Access writes one; any other way of opening (a certificate) is
        // not the password's and is passed over.
        l.bContrasena = true;
        l.contrasena = Atributos(atributos);
    }
}

void XMLCALL Cierra(void* p, const XML_Char*) {
    static_cast<TLectura*>(p)->pila.pop_back();
}

// A description needs no DTD, and entities are the one way its few
// kilobytes could grow into much more.
void XMLCALL Doctype(void* p, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    static_cast<TLectura*>(p)->Falla("su descripción declara un DTD");
}

struct TLiberaParser {
    void operator()(XML_Parser p) const { XML_ParserFree(p); }
};

// ---- Attributes ----

// Reads the attributes of one side, keeping the first problem found.
class TAtributosDe {
public:
    TAtributosDe(const TAtributos& a, std::string sQue, std::string& sDano)
        : a_(a), sQue_(std::move(sQue)), sDano_(sDano) {}

    std::string Texto(const char* s) {
        const auto it = a_.find(s);
        if (it == a_.end()) {
            Dano("falta " + std::string(s));
            return "";
        }
        return it->second;
    }
    uint64_t Numero(const char* s, uint64_t nMinimo, uint64_t nMaximo) {
        const std::string sTexto = Texto(s);
        uint64_t v = 0;
        const auto r = std::from_chars(sTexto.data(), sTexto.data() + sTexto.size(), v);
        if (sDano_.empty() &&
            (sTexto.empty() || r.ec != std::errc() || r.ptr != sTexto.data() + sTexto.size() ||
             v < nMinimo || v > nMaximo))
            Dano(std::string(s) + " no es un número válido");
        return v;
    }
    TBytes Base64(const char* s) {
        const std::string sTexto = Texto(s);
        TBytes r(sTexto.size() / 4 * 3);
        const int n =
            sTexto.size() % 4 != 0
                ? -1
                : EVP_DecodeBlock(r.data(), reinterpret_cast<const unsigned char*>(sTexto.data()),
                                  static_cast<int>(sTexto.size()));
        // The decoder keeps the zeros of the padding.
        size_t nRelleno = 0;
        for (size_t i = sTexto.size(); i > 0 && sTexto[i - 1] == '=' && nRelleno < 2; --i)
            ++nRelleno;
        if (n < 0 || static_cast<size_t>(n) < nRelleno) {
            Dano(std::string(s) + " no está en base64");
            return {};
        }
        r.resize(static_cast<size_t>(n) - nRelleno);
        return r;
    }
    void Dano(const std::string& s) {
        if (sDano_.empty())
            sDano_ = s + " en " + sQue_;
    }

private:
    const TAtributos& a_;
    std::string sQue_;
    std::string& sDano_;
};

const EVP_MD* Digesto(const std::string& sHash) {
    if (sHash == "SHA1" || sHash == "SHA-1")
        return EVP_sha1();
    if (sHash == "SHA256")
        return EVP_sha256();
    if (sHash == "SHA384")
        return EVP_sha384();
    if (sHash == "SHA512")
        return EVP_sha512();
    if (sHash == "MD5")
        return EVP_md5();
    return nullptr;
}

const EVP_CIPHER* Cifrado(size_t nClave) {
    switch (nClave) {
        case 16:
            return EVP_aes_128_cbc();
        case 24:
            return EVP_aes_192_cbc();
        case 32:
            return EVP_aes_256_cbc();
        default:
            return nullptr;
    }
}

// The parameters both sides share: salt, sizes, cipher and hash.
void LeeParametros(TAtributosDe& a, TCifradoAgil::TParametros& p, std::string& sNoLegible) {
    const uint64_t nSal = a.Numero("saltSize", 1, 65536);
    p.nBloque = a.Numero("blockSize", 2, 4096);
    const uint64_t nBits = a.Numero("keyBits", 8, 65536);
    p.nHash = a.Numero("hashSize", 1, 64);
    const std::string sCifrado = a.Texto("cipherAlgorithm");
    const std::string sCadena = a.Texto("cipherChaining");
    p.sHash = a.Texto("hashAlgorithm");
    p.sal = a.Base64("saltValue");
    p.nClave = nBits / 8;
    if (nBits % 8 != 0)
        a.Dano("keyBits no es un número de bytes");
    if (p.sal.size() != nSal)
        a.Dano("saltValue no tiene los bytes de saltSize");
    const EVP_MD* md = Digesto(p.sHash);
    if (md && static_cast<size_t>(EVP_MD_get_size(md)) != p.nHash)
        a.Dano("hashSize no es el de " + p.sHash);
    if (sCifrado == "AES" && (!Cifrado(p.nClave) || p.nBloque != 16))
        a.Dano("keyBits o blockSize no son los de AES");
    if (!sNoLegible.empty())
        return;
    if (sCifrado != "AES")
        sNoLegible = "el cifrado " + sCifrado;
    else if (sCadena != "ChainingModeCBC")
        sNoLegible = "el encadenamiento " + sCadena;
    else if (!md)
        sNoLegible = "el hash " + p.sHash;
}

// ---- Cryptography ----

struct TLiberaDigesto {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
struct TLiberaCifrado {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};

// Hashes one buffer after another with the same context, reused because
// the password's key takes thousands of them.
class THash {
public:
    explicit THash(const std::string& sHash)
        : md_(Digesto(sHash)), ctx_(EVP_MD_CTX_new()), resultado_(EVP_MAX_MD_SIZE) {
        if (!md_ || !ctx_)
            throw std::runtime_error("hash no disponible: " + sHash);
    }
    const TBytes& De(const unsigned char* a, size_t na, const unsigned char* b, size_t nb) {
        unsigned int n = 0;
        if (EVP_DigestInit_ex(ctx_.get(), md_, nullptr) != 1 ||
            EVP_DigestUpdate(ctx_.get(), a, na) != 1 || EVP_DigestUpdate(ctx_.get(), b, nb) != 1 ||
            EVP_DigestFinal_ex(ctx_.get(), resultado_.data(), &n) != 1)
            throw std::runtime_error("no se pudo calcular un hash");
        resultado_.resize(n);
        return resultado_;
    }

private:
    const EVP_MD* md_;
    std::unique_ptr<EVP_MD_CTX, TLiberaDigesto> ctx_;
    TBytes resultado_;
};

// Cut to n bytes, or grown with the fill byte the format names.
TBytes Ajusta(TBytes v, size_t n, unsigned char nRelleno) {
    v.resize(n, nRelleno);
    return v;
}

// AES-CBC without padding: every encrypted value is whole blocks.
void Descifra(const TBytes& clave, const TBytes& iv, const unsigned char* pEntrada, size_t n,
              unsigned char* pSalida) {
    std::unique_ptr<EVP_CIPHER_CTX, TLiberaCifrado> ctx(EVP_CIPHER_CTX_new());
    int nSalida = 0, nFinal = 0;
    if (!ctx ||
        EVP_DecryptInit_ex(ctx.get(), Cifrado(clave.size()), nullptr, clave.data(), iv.data()) !=
            1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
        EVP_DecryptUpdate(ctx.get(), pSalida, &nSalida, pEntrada, static_cast<int>(n)) != 1 ||
        EVP_DecryptFinal_ex(ctx.get(), pSalida + nSalida, &nFinal) != 1)
        throw std::runtime_error("no se pudo descifrar con AES");
}

TBytes Descifra(const TBytes& clave, const TBytes& iv, const TBytes& datos) {
    TBytes r(datos.size());
    Descifra(clave, iv, datos.data(), datos.size(), r.data());
    return r;
}

TBytes Utf16(const std::string& s) {
    const icu::UnicodeString u = icu::UnicodeString::fromUTF8(s);
    TBytes r;
    for (int32_t i = 0; i < u.length() && r.size() < 2 * kCaracteresContrasena; ++i) {
        const char16_t c = u.charAt(i);
        r.push_back(static_cast<unsigned char>(c & 0xff));
        r.push_back(static_cast<unsigned char>(c >> 8));
    }
    return r;
}

}  // namespace

TCifradoAgil TCifradoAgil::Lee(const unsigned char* p, size_t n) {
    TCifradoAgil c;
    uint32_t nReservado = 0;
    if (n >= 4)
        std::memcpy(&nReservado, p, sizeof nReservado);
    if (n < 4 || nReservado != kReservado) {
        c.sDano_ = "su cabecera no es la del cifrado ágil";
        return c;
    }
    size_t nXml = n - 4;
    while (nXml > 0 && p[4 + nXml - 1] == 0) --nXml;  // a trailing terminator is not XML
    TLectura l;
    std::unique_ptr<XML_ParserStruct, TLiberaParser> parser(XML_ParserCreateNS(nullptr, ' '));
    if (!parser)  // expat fails to create a parser only for want of memory
        throw std::bad_alloc();
    l.parser = parser.get();
    XML_SetUserData(parser.get(), &l);
    XML_SetElementHandler(parser.get(), Abre, Cierra);
    XML_SetStartDoctypeDeclHandler(parser.get(), Doctype);
    if (XML_Parse(parser.get(), reinterpret_cast<const char*>(p + 4), static_cast<int>(nXml),
                  XML_TRUE) != XML_STATUS_OK &&
        l.sDano.empty())
        l.sDano = "su descripción XML no es válida (línea " +
                  std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": " +
                  XML_ErrorString(XML_GetErrorCode(parser.get())) + ")";
    if (l.sDano.empty() && !l.bDatos)
        l.sDano = "falta la clave de los datos (keyData)";
    if (l.sDano.empty() && !l.bContrasena)
        l.sDano = "no se abre con contraseña (falta su encryptedKey)";
    if (!l.sDano.empty()) {
        c.sDano_ = l.sDano;
        return c;
    }

    TAtributosDe datos(l.datos, "keyData", c.sDano_);
    LeeParametros(datos, c.datos_, c.sNoLegible_);
    TAtributosDe contrasena(l.contrasena, "encryptedKey", c.sDano_);
    LeeParametros(contrasena, c.contrasena_, c.sNoLegible_);
    c.nVueltas_ = static_cast<uint32_t>(contrasena.Numero("spinCount", 0, kVueltasMaximas));
    c.entradaVerificador_ = contrasena.Base64("encryptedVerifierHashInput");
    c.hashVerificador_ = contrasena.Base64("encryptedVerifierHashValue");
    c.claveCifrada_ = contrasena.Base64("encryptedKeyValue");
    const size_t nBloque = c.contrasena_.nBloque;
    auto enteros = [&](const TBytes& v, size_t nMinimo) {
        return nBloque > 0 && v.size() % nBloque == 0 && v.size() >= nMinimo;
    };
    if (!enteros(c.entradaVerificador_, c.contrasena_.sal.size()) ||
        !enteros(c.hashVerificador_, c.contrasena_.nHash) ||
        !enteros(c.claveCifrada_, c.datos_.nClave))
        contrasena.Dano("un valor cifrado no tiene los bytes que debe");
    return c;
}

bool TCifradoAgil::AceptaContrasena(const std::string& sContrasena) {
    if (!sDano_.empty() || !sNoLegible_.empty())
        return false;
    const TParametros& k = contrasena_;
    const TBytes clave = Utf16(sContrasena);
    THash hash(k.sHash);
    TBytes h = hash.De(k.sal.data(), k.sal.size(), clave.data(), clave.size());
    for (uint32_t i = 0; i < nVueltas_; ++i) {
        const unsigned char vuelta[4] = {
            static_cast<unsigned char>(i), static_cast<unsigned char>(i >> 8),
            static_cast<unsigned char>(i >> 16), static_cast<unsigned char>(i >> 24)};
        h = hash.De(vuelta, sizeof vuelta, h.data(), h.size());
    }
    auto claveDe = [&](const unsigned char* pBloque) {
        return Ajusta(hash.De(h.data(), h.size(), pBloque, 8), k.nClave, 0x36);
    };
    const TBytes iv = Ajusta(k.sal, k.nBloque, 0x36);
    TBytes entrada = Descifra(claveDe(kBloqueEntrada), iv, entradaVerificador_);
    entrada.resize(k.sal.size());
    const TBytes valor = Descifra(claveDe(kBloqueValor), iv, hashVerificador_);
    const TBytes& esperado = hash.De(entrada.data(), entrada.size(), nullptr, 0);
    if (CRYPTO_memcmp(esperado.data(), valor.data(), k.nHash) != 0)
        return false;
    clave_ = Descifra(claveDe(kBloqueClave), iv, claveCifrada_);
    clave_.resize(datos_.nClave);
    return true;
}

void TCifradoAgil::DescifraPagina(unsigned char* p, size_t n, uint32_t nBloque) const {
    if (clave_.empty())
        throw std::logic_error("página descifrada sin contraseña aceptada");
    const unsigned char bloque[4] = {
        static_cast<unsigned char>(nBloque), static_cast<unsigned char>(nBloque >> 8),
        static_cast<unsigned char>(nBloque >> 16), static_cast<unsigned char>(nBloque >> 24)};
    THash hash(datos_.sHash);
    const TBytes iv = Ajusta(hash.De(datos_.sal.data(), datos_.sal.size(), bloque, sizeof bloque),
                             datos_.nBloque, 0x36);
    const size_t nEnteros = n - n % datos_.nBloque;
    TBytes claro(nEnteros);
    Descifra(clave_, iv, p, nEnteros, claro.data());
    std::memcpy(p, claro.data(), nEnteros);
}

}  // namespace jet
