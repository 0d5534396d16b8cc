#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mdb {

// Office's agile encryption as Access 2010 and later apply it to a
// database with a password, written from Microsoft's published description
// of the format: the data's key (random) encrypts every page but the first
// with AES-CBC, each page's IV the hash of the data's salt and of its block
// number (the page number mixed with the header's database key); the
// password's key, derived by hashing its salt and the password spin-count
// times, encrypts the data's key and a verifier. The first page carries the
// description (XML) at 0x299.
//
// It shares no code with the reader's decryption (only OpenSSL), so that a
// file written here and opened there checks both against the format.
class TCifradorAgil {
public:
    struct TParametros {
        int nBitsClave = 256;          // AES-128, -192 or -256
        std::string sHash = "SHA512";  // SHA1, SHA256, SHA384 or SHA512
        uint32_t nVueltas = 100000;    // spin count; Access writes 100000
    };
    // Throws EErrorMdb when the parameters are not of the format.
    static void Valida(const TParametros& p);

    // Random salts, keys and database key.
    TCifradorAgil(const std::string& sContrasena, const TParametros& p);
    ~TCifradorAgil();
    TCifradorAgil(const TCifradorAgil&) = delete;
    TCifradorAgil& operator=(const TCifradorAgil&) = delete;

    // The key the header keeps at 0x3e: not 0 marks the file encrypted.
    uint32_t ClaveBD() const { return nClaveBD_; }
    // Encrypts page nPagina (> 0) in place; pages go in order, the data's
    // integrity code is computed over them as they pass.
    void CifraPagina(uint8_t* p, size_t n, uint32_t nPagina);
    // The information of the first page at 0x299, its 16-bit length first,
    // once every page is encrypted.
    std::vector<uint8_t> Informacion();

private:
    struct TEstado;
    std::unique_ptr<TEstado> e_;
    uint32_t nClaveBD_ = 0;
};

}  // namespace mdb
