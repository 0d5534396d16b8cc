#include "platform/archivos/Rutas.h"

namespace archivos {

std::filesystem::path RutaCanonica(const std::filesystem::path& sRuta) {
    std::error_code ec;
    const std::filesystem::path r =
        std::filesystem::weakly_canonical(std::filesystem::absolute(sRuta, ec), ec);
    return ec ? sRuta : r;
}

}  // namespace archivos
