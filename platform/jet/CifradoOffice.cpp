#include "platform/jet/CifradoOffice.h"

#include <openssl/evp.h>
#include <unicode/unistr.h>

#include <array>
#include <cstring>
#include <stdexcept>

#include "platform/jet/Rc4.h"

namespace jet {

namespace {

constexpr size_t nPosInformacion = 0x299;
constexpr uint32_t nFlagCryptoApi = 0x04;
constexpr uint32_t nFlagAes = 0x20;
constexpr uint32_t nAlgRC4 = 0x6801;
constexpr uint32_t nAlgSha1 = 0x8004;
constexpr size_t nBytesSha1 = 20;

uint32_t U32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
uint16_t U16(const unsigned char* p) {
    uint16_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::vector<unsigned char> Sha1(const std::vector<unsigned char>& a,
                                const std::vector<unsigned char>& b) {
    std::vector<unsigned char> h(nBytesSha1);
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    unsigned int n = 0;
    const bool bBien = ctx && EVP_DigestInit_ex(ctx, EVP_sha1(), nullptr) == 1 &&
                       EVP_DigestUpdate(ctx, a.data(), a.size()) == 1 &&
                       EVP_DigestUpdate(ctx, b.data(), b.size()) == 1 &&
                       EVP_DigestFinal_ex(ctx, h.data(), &n) == 1;
    EVP_MD_CTX_free(ctx);
    if (!bBien)
        throw std::runtime_error("SHA-1 no disponible");
    return h;
}

}  // namespace

std::optional<TCifradoOffice> TCifradoOffice::Lee(const unsigned char* pPagina, size_t nBytes,
                                                  uint32_t nClaveBD) {
    if (nBytes < nPosInformacion + 2)
        return std::nullopt;
    const size_t nLargo = U16(pPagina + nPosInformacion);
    if (nLargo == 0)
        return std::nullopt;
    TCifradoOffice c;
    c.nClaveBD_ = nClaveBD;
    const unsigned char* p = pPagina + nPosInformacion + 2;
    if (nLargo < 8 || nPosInformacion + 2 + nLargo > nBytes)
        return c;  // something is there, in no form we know
    const uint16_t nMayor = U16(p), nMenor = U16(p + 2);
    const uint32_t nBanderas = U32(p + 4);
    if (nMayor == 4 && nMenor == 4) {
        c.eForma_ = TForma::fAgil;
        c.agil_ = TCifradoAgil::Lee(p + 4, nLargo - 4);
        return c;
    }
    if (nMenor != 2 || nMayor < 2 || nMayor > 4 || nLargo < 12)
        return c;
    if (nBanderas & nFlagAes) {
        c.eForma_ = TForma::fEstandar;
        return c;
    }
    // EncryptionHeader: flags, size extra, algorithm, hash, key bits, ...
    const size_t nCabecera = U32(p + 8);
    if (!(nBanderas & nFlagCryptoApi) || nCabecera < 20 || 12 + nCabecera + 4 > nLargo)
        return c;
    const unsigned char* h = p + 12;
    const uint32_t nAlg = U32(h + 8), nHash = U32(h + 12), nBits = U32(h + 16);
    if (nAlg != nAlgRC4 || (nHash != nAlgSha1 && nHash != 0) || nBits % 8 != 0 || nBits < 40 ||
        nBits > 128)
        return c;
    // EncryptionVerifier: salt size, salt, verifier (16), hash size, hash.
    const unsigned char* v = h + nCabecera;
    const size_t nResto = nLargo - 12 - nCabecera;
    const size_t nSal = U32(v);
    if (nSal != 16 || nResto < 4 + nSal + 16 + 4 + nBytesSha1 || U32(v + 4 + nSal + 16) != 20)
        return c;
    c.sal_.assign(v + 4, v + 4 + nSal);
    c.verificador_.assign(v + 4 + nSal, v + 4 + nSal + 16);
    c.hashVerificador_.assign(v + 8 + nSal + 16, v + 8 + nSal + 16 + nBytesSha1);
    c.nBytesClave_ = nBits / 8;
    c.eForma_ = TForma::fRC4CryptoApi;
    return c;
}

std::string TCifradoOffice::NombreForma() const {
    switch (eForma_) {
        case TForma::fRC4CryptoApi:
            return "RC4 CryptoAPI";
        case TForma::fEstandar:
            return "AES estándar";
        case TForma::fAgil:
            return "ágil";
        default:
            return "desconocido";
    }
}

std::string TCifradoOffice::Dano() const {
    return agil_ ? agil_->Dano() : "";
}

std::string TCifradoOffice::NoLegible() const {
    if (eForma_ == TForma::fEstandar)
        return "este programa no lee el cifrado AES estándar de Office";
    if (agil_ && !agil_->NoLegible().empty())
        return "este programa no lee " + agil_->NoLegible();
    return "";
}

bool TCifradoOffice::AceptaContrasena(const std::string& sContrasena) {
    if (agil_)
        return agil_->AceptaContrasena(sContrasena);
    if (eForma_ != TForma::fRC4CryptoApi)
        return false;
    const icu::UnicodeString u = icu::UnicodeString::fromUTF8(sContrasena);
    std::vector<unsigned char> utf16;
    for (int32_t i = 0; i < u.length(); ++i) {
        const char16_t c = u.charAt(i);
        utf16.push_back(static_cast<unsigned char>(c & 0xff));
        utf16.push_back(static_cast<unsigned char>(c >> 8));
    }
    h0_ = Sha1(sal_, utf16);
    // The verifier and its hash are one RC4 stream under the key of block 0.
    const std::vector<unsigned char> bloque0(4, 0);
    std::vector<unsigned char> clave = Sha1(h0_, bloque0);
    clave.resize(nBytesClave_ == 5 ? 16 : nBytesClave_);  // 40 bits go padded with zeros
    if (nBytesClave_ == 5)
        std::fill(clave.begin() + 5, clave.end(), 0);
    std::vector<unsigned char> datos = verificador_;
    datos.insert(datos.end(), hashVerificador_.begin(), hashVerificador_.end());
    Rc4(clave.data(), clave.size(), datos.data(), datos.size());
    const std::vector<unsigned char> verificador(datos.begin(), datos.begin() + 16);
    const std::vector<unsigned char> hash(datos.begin() + 16, datos.end());
    return Sha1(verificador, {}) == hash;
}

// Each page is its own block, numbered by the page number mixed with the
// database key.
void TCifradoOffice::DescifraPagina(unsigned char* p, size_t n, uint32_t nPagina) const {
    const uint32_t nBloque = nPagina ^ nClaveBD_;
    if (agil_)
        return agil_->DescifraPagina(p, n, nBloque);
    const std::vector<unsigned char> bloque{
        static_cast<unsigned char>(nBloque), static_cast<unsigned char>(nBloque >> 8),
        static_cast<unsigned char>(nBloque >> 16), static_cast<unsigned char>(nBloque >> 24)};
    std::vector<unsigned char> clave = Sha1(h0_, bloque);
    clave.resize(nBytesClave_ == 5 ? 16 : nBytesClave_);
    if (nBytesClave_ == 5)
        std::fill(clave.begin() + 5, clave.end(), 0);
    Rc4(clave.data(), clave.size(), p, n);
}

}  // namespace jet
