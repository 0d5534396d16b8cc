#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace archivos {

// Reads a whole input file the user named or dropped somewhere (an edition,
// an answers file): only a regular file of at most nMaxBytes bytes. A folder,
// a FIFO, a device or a socket is refused before anything is read from it (a
// FIFO would block, a device never ends), and so is a file over the limit, or
// one that grows past it while it is read. On refusal, none and a Spanish
// sentence in sError that names the file. Symbolic links are followed.
std::optional<std::string> LeeArchivoRegular(const std::filesystem::path& sRuta,
                                             std::size_t nMaxBytes, std::string& sError);

}  // namespace archivos
