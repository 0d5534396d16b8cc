#include "platform/archivos/MismoContenido.h"

#include <cstring>
#include <fstream>
#include <vector>

namespace archivos {

bool MismoContenido(const std::filesystem::path& sA, const std::filesystem::path& sB) {
    std::error_code ec;
    const auto nA = std::filesystem::file_size(sA, ec);
    if (ec)
        return false;
    const auto nB = std::filesystem::file_size(sB, ec);
    if (ec || nA != nB)
        return false;
    std::ifstream a(sA, std::ios::binary), b(sB, std::ios::binary);
    if (!a || !b)
        return false;
    constexpr std::size_t kBloque = 64 * 1024;
    std::vector<char> bloqueA(kBloque), bloqueB(kBloque);
    for (;;) {
        a.read(bloqueA.data(), kBloque);
        b.read(bloqueB.data(), kBloque);
        const std::streamsize n = a.gcount();
        if (n != b.gcount() || std::memcmp(bloqueA.data(), bloqueB.data(), n) != 0)
            return false;
        if (n == 0 || a.eof() || b.eof())
            return a.eof() == b.eof() && !a.bad() && !b.bad();
    }
}

}  // namespace archivos
