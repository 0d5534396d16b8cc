#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/jet/CifradoAgil.h"

namespace jet {

// The page encryption of an Access 2007 or later file with a database
// password. The first page keeps, after the header, the encryption
// information Office documents use (a 16-bit length, then the structure);
// every other page is encrypted on its own, with a key derived from the
// password and from the page number mixed with the database key of the
// header. Office's RC4 CryptoAPI and agile forms are read; standard AES is
// recognised and refused with its name.
class TCifradoOffice {
public:
    enum class TForma { fRC4CryptoApi, fEstandar, fAgil, fDesconocida };

    // What the first page says; nullopt when it holds no encryption
    // information at all.
    static std::optional<TCifradoOffice> Lee(const unsigned char* pPagina, size_t nBytes,
                                             uint32_t nClaveBD);

    TForma Forma() const { return eForma_; }
    // The form's name for messages ("RC4 CryptoAPI", "AES estándar", "ágil").
    std::string NombreForma() const;
    // Why the information of a form we read is damaged; empty when sound.
    std::string Dano() const;
    // What of a form we read this program cannot read ("el cifrado RC2");
    // empty when it can.
    std::string NoLegible() const;
    // Derives the key from the password (UTF-8) and checks it against the
    // file's verifier; false when it is not the file's password.
    bool AceptaContrasena(const std::string& sContrasena);
    // Decrypts one page in place (nPagina > 0; the first page is not
    // encrypted). Only after AceptaContrasena returned true.
    void DescifraPagina(unsigned char* p, size_t n, uint32_t nPagina) const;

private:
    TForma eForma_ = TForma::fDesconocida;
    uint32_t nClaveBD_ = 0;
    size_t nBytesClave_ = 0;
    std::vector<unsigned char> sal_, verificador_, hashVerificador_;
    std::vector<unsigned char> h0_;  // hash of salt and password
    std::optional<TCifradoAgil> agil_;
};

}  // namespace jet
