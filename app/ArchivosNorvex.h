#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The files of a Norvex folder, found and read as Windows would: a folder
// copied from Windows may come with any letter case ("Database/NORVEX.MDB"),
// and "Norvex.INI" is read like the Windows profile functions read it.
namespace archivos_norvex {

// The existing path below sDir that matches sRelativa ('/'-separated) without
// regard to letter case, the exact spelling first; none when nothing matches.
std::optional<std::filesystem::path> BuscaSinCaso(const std::filesystem::path& sDir,
                                                  const std::string& sRelativa);

// The value of sClave in section sSeccion (names without regard to letter case,
// the first occurrence wins), trimmed and without surrounding double quotes;
// none when the file, the section or the key is missing, and when the file is
// not a regular one (a folder, a pipe, a device), which is never waited on.
std::optional<std::string> LeeCadenaIni(const std::filesystem::path& sArchivo,
                                        const std::string& sSeccion, const std::string& sClave);

// The key as a whole decimal number, 0 when it is missing or is not one.
int LeeEnteroIni(const std::filesystem::path& sArchivo, const std::string& sSeccion,
                 const std::string& sClave);

}  // namespace archivos_norvex
