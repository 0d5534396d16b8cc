#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace jet {

// Office's agile encryption, as Access 2010 and later apply it to the pages
// of a database with a password. Its description is XML: the cipher and
// hash of the data (keyData) and, per way of opening it (keyEncryptor), the
// data's key encrypted under a key derived from the password, with a
// verifier that tells a wrong password. Every page but the first is
// encrypted alone with the data's key, its IV the hash of the data's salt
// and of the page's block number (the page number mixed with the database
// key of the header).
//
// Only AES in CBC mode is read, with SHA-1, SHA-256, SHA-384, SHA-512 or
// MD5; other ciphers are named as what cannot be read.
class TCifradoAgil {
public:
    // One side of the description: the data's, or the password's.
    struct TParametros {
        std::vector<unsigned char> sal;
        size_t nBloque = 0;  // bytes
        size_t nClave = 0;   // bytes
        size_t nHash = 0;    // bytes
        std::string sHash;   // as the description names it ("SHA512")
    };

    // What the description says, after the version: the reserved 0x40,
    // then the XML. Dano() or NoLegible() say when it cannot be used.
    static TCifradoAgil Lee(const unsigned char* p, size_t n);

    // Why the description is damaged (in words for the user); empty when sound.
    const std::string& Dano() const { return sDano_; }
    // What of it this program cannot read ("el cifrado RC2"); empty when
    // it can.
    const std::string& NoLegible() const { return sNoLegible_; }

    // Derives the password's key, checks it with the verifier and, when it
    // is the file's, takes the data's key out. The password is UTF-8.
    bool AceptaContrasena(const std::string& sContrasena);
    // Decrypts one page in place, after AceptaContrasena returned true.
    // nBloque: the page number mixed with the database key.
    void DescifraPagina(unsigned char* p, size_t n, uint32_t nBloque) const;

    // The password's spin count: what opening will cost.
    uint32_t Vueltas() const { return nVueltas_; }

private:
    TParametros datos_, contrasena_;
    uint32_t nVueltas_ = 0;
    std::vector<unsigned char> entradaVerificador_, hashVerificador_, claveCifrada_;
    std::vector<unsigned char> clave_;  // the data's key, once the password is accepted
    std::string sDano_, sNoLegible_;
};

}  // namespace jet
