#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// The real Access files of tests/fixtures, read in place.
inline std::string FixtureMdb(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

inline std::string LeeBytes(const std::filesystem::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

inline void EscribeBytes(const std::filesystem::path& ruta, const std::string& sBytes) {
    std::ofstream(ruta, std::ios::binary) << sBytes;
}

inline const std::string sCajaAccess = "Error #BD-101.TConectAccess: Llame a Soporte Técnico. ";
