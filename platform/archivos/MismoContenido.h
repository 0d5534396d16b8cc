#pragma once

#include <filesystem>

namespace archivos {

// True when both files hold the same bytes (a copy of the other, or the same
// file under two names). Sizes first; then both are read side by side in
// small blocks, so memory stays flat however large they are. False when
// either cannot be read.
bool MismoContenido(const std::filesystem::path& sA, const std::filesystem::path& sB);

}  // namespace archivos
