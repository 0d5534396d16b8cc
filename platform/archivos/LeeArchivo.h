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

// The same checks for a file another reader opens by name (a database read
// page by page): true when it is a regular file of at most nMaxBytes bytes,
// otherwise false and the same sentences in sError. Nothing is read.
bool EsArchivoRegular(const std::filesystem::path& sRuta, std::size_t nMaxBytes,
                      std::string& sError);

// Sizes shared by the programs: the centre's answers (a few hundred short
// answers) and a script of statements, with room to spare.
inline constexpr std::size_t kMaxBytesRespuestas = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxBytesGuion = 64 * 1024 * 1024;

}  // namespace archivos
