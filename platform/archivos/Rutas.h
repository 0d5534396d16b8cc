#pragma once

#include <filesystem>

namespace archivos {

// The path made absolute, with "..", "." and symbolic links resolved as far
// as it exists: two spellings of one folder compare equal. The path as given
// when even that fails.
std::filesystem::path RutaCanonica(const std::filesystem::path& sRuta);

}  // namespace archivos
