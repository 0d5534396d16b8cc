#include "tools/mdbgen/CifradorAgil.h"

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/params.h>
#include <openssl/rand.h>

#include "tools/mdbgen/CodificaJet.h"
#include "tools/mdbgen/EErrorMdb.h"

namespace mdb {

namespace {

using TBytes = std::vector<uint8_t>;

constexpr size_t kSal = 16, kBloqueAes = 16;
// The block keys the format fixes for each value it derives.
const TBytes kVerificadorEntrada{0xfe, 0xa7, 0xd2, 0x76, 0x3b, 0x4b, 0x9e, 0x79};
const TBytes kVerificadorValor{0xd7, 0xaa, 0x0f, 0x6d, 0x30, 0x61, 0x34, 0x4e};
const TBytes kClaveCifrada{0x14, 0x6e, 0x0b, 0xe7, 0xab, 0xac, 0xd0, 0xd6};
const TBytes kClaveIntegridad{0x5f, 0xb2, 0xad, 0x01, 0x0c, 0xb9, 0xe1, 0xf6};
const TBytes kValorIntegridad{0xa0, 0x67, 0x7f, 0x02, 0xb2, 0x2c, 0x84, 0x33};

const EVP_MD* Md(const std::string& sHash) {
    if (sHash == "SHA1")
        return EVP_sha1();
    if (sHash == "SHA256")
        return EVP_sha256();
    if (sHash == "SHA384")
        return EVP_sha384();
    if (sHash == "SHA512")
        return EVP_sha512();
    return nullptr;
}

[[noreturn]] void FalloOpenSsl(const char* sQue) {
    throw EErrorArchivoMdb(std::string("OpenSSL no pudo ") + sQue);
}

TBytes Aleatorios(size_t n) {
    TBytes r(n);
    if (RAND_bytes(r.data(), int(n)) != 1)
        FalloOpenSsl("dar bytes aleatorios");
    return r;
}

// To n bytes: cut, or filled up with the byte the format names for it.
TBytes ALargo(TBytes v, size_t n, uint8_t nRelleno) {
    v.resize(n, nRelleno);
    return v;
}

// Whole AES blocks: values are padded with zeros before encrypting.
TBytes AesCbc(const TBytes& clave, const TBytes& iv, TBytes datos) {
    datos.resize((datos.size() + kBloqueAes - 1) / kBloqueAes * kBloqueAes, 0);
    const EVP_CIPHER* c = clave.size() == 16   ? EVP_aes_128_cbc()
                          : clave.size() == 24 ? EVP_aes_192_cbc()
                                               : EVP_aes_256_cbc();
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    TBytes r(datos.size() + kBloqueAes);
    int n1 = 0, n2 = 0;
    const bool bBien =
        ctx && EVP_EncryptInit_ex(ctx, c, nullptr, clave.data(), iv.data()) == 1 &&
        EVP_CIPHER_CTX_set_padding(ctx, 0) == 1 &&
        EVP_EncryptUpdate(ctx, r.data(), &n1, datos.data(), int(datos.size())) == 1 &&
        EVP_EncryptFinal_ex(ctx, r.data() + n1, &n2) == 1;
    EVP_CIPHER_CTX_free(ctx);
    if (!bBien)
        FalloOpenSsl("cifrar con AES");
    r.resize(size_t(n1 + n2));
    return r;
}

std::string Base64(const TBytes& v) {
    std::string s(4 * ((v.size() + 2) / 3) + 1, '\0');
    const int n =
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(s.data()), v.data(), int(v.size()));
    s.resize(size_t(n));
    return s;
}

}  // namespace

struct TCifradorAgil::TEstado {
    const EVP_MD* md;
    TParametros p;
    size_t nHash;
    TBytes salDatos, salContrasena, clave, entrada, clavePorContrasena[3];
    TBytes claveIntegridad;
    EVP_MAC* mac = nullptr;
    EVP_MAC_CTX* hmac = nullptr;

    TEstado() = default;
    TEstado(const TEstado&) = delete;
    TEstado& operator=(const TEstado&) = delete;
    ~TEstado() {
        EVP_MAC_CTX_free(hmac);
        EVP_MAC_free(mac);
    }

    TBytes Hash(const TBytes& a, const TBytes& b) const {
        TBytes r(EVP_MAX_MD_SIZE);
        unsigned int n = 0;
        EVP_MD_CTX* ctx = EVP_MD_CTX_new();
        const bool bBien = ctx && EVP_DigestInit_ex(ctx, md, nullptr) == 1 &&
                           EVP_DigestUpdate(ctx, a.data(), a.size()) == 1 &&
                           EVP_DigestUpdate(ctx, b.data(), b.size()) == 1 &&
                           EVP_DigestFinal_ex(ctx, r.data(), &n) == 1;
        EVP_MD_CTX_free(ctx);
        if (!bBien)
            FalloOpenSsl("calcular un hash");
        r.resize(n);
        return r;
    }
    // The IV of a value encrypted with the data's key: the hash of the
    // data's salt and the value's block key.
    TBytes IvDatos(const TBytes& bloque) const {
        return ALargo(Hash(salDatos, bloque), kBloqueAes, 0x36);
    }
};

void TCifradorAgil::Valida(const TParametros& p) {
    if (p.nBitsClave != 128 && p.nBitsClave != 192 && p.nBitsClave != 256)
        throw EErrorMdb("el cifrado ágil usa AES de 128, 192 o 256 bits");
    if (!Md(p.sHash))
        throw EErrorMdb("hash desconocido para el cifrado ágil: " + p.sHash);
    if (p.nVueltas > 10'000'000)
        throw EErrorMdb("el cifrado ágil admite 10000000 vueltas como máximo");
}

TCifradorAgil::TCifradorAgil(const std::string& sContrasena, const TParametros& p)
    : e_(std::make_unique<TEstado>()) {
    Valida(p);
    TEstado& e = *e_;
    e.md = Md(p.sHash);
    e.p = p;
    e.nHash = size_t(EVP_MD_get_size(e.md));
    e.salDatos = Aleatorios(kSal);
    e.salContrasena = Aleatorios(kSal);
    e.clave = Aleatorios(size_t(p.nBitsClave) / 8);
    e.entrada = Aleatorios(kSal);
    do {
        const TBytes b = Aleatorios(4);
        nClaveBD_ =
            uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    } while (nClaveBD_ == 0);

    // The password's key: its salt and the password (UTF-16LE) hashed, the
    // hash hashed again after each round's number, then with a block key.
    const TBytes contrasena = Ucs2(Utf16DeUtf8(sContrasena));
    TBytes h = e.Hash(e.salContrasena, contrasena);
    for (uint32_t i = 0; i < p.nVueltas; ++i)
        h = e.Hash(TBytes{uint8_t(i), uint8_t(i >> 8), uint8_t(i >> 16), uint8_t(i >> 24)}, h);
    const TBytes* bloques[3] = {&kVerificadorEntrada, &kVerificadorValor, &kClaveCifrada};
    for (int k = 0; k < 3; ++k)
        e.clavePorContrasena[k] = ALargo(e.Hash(h, *bloques[k]), e.clave.size(), 0x36);

    e.claveIntegridad = Aleatorios(e.nHash);
    e.mac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    e.hmac = e.mac ? EVP_MAC_CTX_new(e.mac) : nullptr;
    const OSSL_PARAM parametros[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST,
                                         const_cast<char*>(EVP_MD_get0_name(e.md)), 0),
        OSSL_PARAM_construct_end()};
    if (!e.hmac ||
        EVP_MAC_init(e.hmac, e.claveIntegridad.data(), e.claveIntegridad.size(), parametros) != 1)
        FalloOpenSsl("preparar el HMAC");
}

TCifradorAgil::~TCifradorAgil() = default;

void TCifradorAgil::CifraPagina(uint8_t* p, size_t n, uint32_t nPagina) {
    const uint32_t nBloque = nPagina ^ nClaveBD_;
    const TBytes bloque{uint8_t(nBloque), uint8_t(nBloque >> 8), uint8_t(nBloque >> 16),
                        uint8_t(nBloque >> 24)};
    const TBytes cifrada = AesCbc(e_->clave, e_->IvDatos(bloque), TBytes(p, p + n));
    std::copy(cifrada.begin(), cifrada.begin() + long(n), p);
    if (EVP_MAC_update(e_->hmac, p, n) != 1)
        FalloOpenSsl("calcular el HMAC");
}

std::vector<uint8_t> TCifradorAgil::Informacion() {
    TEstado& e = *e_;
    const TBytes iv = ALargo(e.salContrasena, kBloqueAes, 0x36);
    const TBytes entradaCifrada = AesCbc(e.clavePorContrasena[0], iv, e.entrada);
    const TBytes valorCifrado = AesCbc(e.clavePorContrasena[1], iv, e.Hash(e.entrada, {}));
    const TBytes claveCifrada = AesCbc(e.clavePorContrasena[2], iv, e.clave);
    TBytes codigo(EVP_MAX_MD_SIZE);
    size_t nCodigo = 0;
    if (EVP_MAC_final(e.hmac, codigo.data(), &nCodigo, codigo.size()) != 1)
        FalloOpenSsl("calcular el HMAC");
    codigo.resize(nCodigo);
    const TBytes claveIntegridad = AesCbc(e.clave, e.IvDatos(kClaveIntegridad), e.claveIntegridad);
    const TBytes valorIntegridad = AesCbc(e.clave, e.IvDatos(kValorIntegridad), codigo);

    const std::string sComunes =
        " blockSize=\"16\" keyBits=\"" + std::to_string(e.p.nBitsClave) + "\" hashSize=\"" +
        std::to_string(e.nHash) +
        "\" cipherAlgorithm=\"AES\" cipherChaining=\"ChainingModeCBC\" hashAlgorithm=\"" +
        e.p.sHash + "\"";
    const std::string sXml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<encryption xmlns=\"http://schemas.microsoft.com/office/2006/encryption\" "
        "xmlns:p=\"http://schemas.microsoft.com/office/2006/keyEncryptor/password\" "
        "xmlns:c=\"http://schemas.microsoft.com/office/2006/keyEncryptor/certificate\">"
        "<keyData saltSize=\"16\"" +
        sComunes + " saltValue=\"" + Base64(e.salDatos) +
        "\"/>"
        "<dataIntegrity encryptedHmacKey=\"" +
        Base64(claveIntegridad) + "\" encryptedHmacValue=\"" + Base64(valorIntegridad) +
        "\"/>"
        "<keyEncryptors><keyEncryptor "
        "uri=\"http://schemas.microsoft.com/office/2006/keyEncryptor/password\">"
        "<p:encryptedKey spinCount=\"" +
        std::to_string(e.p.nVueltas) + "\" saltSize=\"16\"" + sComunes + " saltValue=\"" +
        Base64(e.salContrasena) + "\" encryptedVerifierHashInput=\"" + Base64(entradaCifrada) +
        "\" encryptedVerifierHashValue=\"" + Base64(valorCifrado) + "\" encryptedKeyValue=\"" +
        Base64(claveCifrada) + "\"/></keyEncryptor></keyEncryptors></encryption>";
    // Length, then version 4.4, the reserved 0x40 and the XML.
    TBytes r(2 + 8 + sXml.size());
    PonU16(r.data(), uint32_t(8 + sXml.size()));
    PonU16(r.data() + 2, 4);
    PonU16(r.data() + 4, 4);
    PonU32(r.data() + 6, 0x40);
    std::copy(sXml.begin(), sXml.end(), r.begin() + 10);
    return r;
}

}  // namespace mdb
