#pragma once

#include <array>
#include <cstddef>
#include <utility>

namespace jet {

// RC4 over the bytes, in place: the same call enciphers and deciphers.
// Jet hides the fields of every file's first page under it, with a fixed
// key, and Office's RC4 CryptoAPI encryption uses it per page. It is small,
// and OpenSSL 3 keeps it only in a legacy provider that a machine may lack,
// so this is the program's one copy (the reader's and the writer's).
inline void Rc4(const unsigned char* pClave, size_t nClave, unsigned char* pDatos, size_t nDatos) {
    std::array<unsigned char, 256> s;
    for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<unsigned char>(i);
    for (size_t i = 0, j = 0; i < s.size(); ++i) {
        j = (j + s[i] + pClave[i % nClave]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (size_t k = 0, i = 0, j = 0; k < nDatos; ++k) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        pDatos[k] ^= s[(s[i] + s[j]) & 0xff];
    }
}

// The fixed key of the first page's hidden fields, the same in every file.
inline constexpr std::array<unsigned char, 4> kClaveEncabezadoJet{0xc7, 0xda, 0x39, 0x6b};

}  // namespace jet
