// A "Norvex.INI" that is not a text file at all, or a very large one, is
// read to its end without a crash: a key is found wherever it is, and
// garbage reads as no company (0), never as some number picked from it.
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "TDirTemporal.h"
#include "app/ArchivosNorvex.h"

namespace {

namespace fs = std::filesystem;
using archivos_norvex::LeeEnteroIni;

int Lee(const fs::path& ruta) {
    return LeeEnteroIni(ruta, "Control", "EmpresaActiva");
}

TEST(IniHostil, BinarioEnormeOCarpeta) {
    TDirTemporal dir;
    const fs::path ini = dir / "Norvex.INI";
    std::mt19937 azar(2017);
    std::string sBinario(1 << 20, '\0');
    for (char& c : sBinario) c = static_cast<char>(azar());
    std::ofstream(ini, std::ios::binary) << sBinario;
    EXPECT_EQ(Lee(ini), 0);

    // Binary lines before the section (NULs, lone CRs, a broken section
    // name, a key of control bytes) do not hide it.
    std::ofstream(ini, std::ios::binary | std::ios::trunc)
        << std::string("\0\r\xff[\n\x01\x02=9\n\0=\0\n", 14) << "[Control]\nEmpresaActiva=3\n";
    EXPECT_EQ(Lee(ini), 3);

    // 64 MB: a single line without an end and thousands of comment lines
    // before the section.
    {
        std::ofstream f(ini, std::ios::binary | std::ios::trunc);
        f << std::string(32 << 20, 'x') << "\n";
        for (int i = 0; i < 400000; ++i) f << "; comentario " << std::string(64, '=') << "\n";
        f << "[Control]\nEmpresaActiva=7\nEmpresaActiva=8\n";
    }
    EXPECT_EQ(Lee(ini), 7);

    fs::remove(ini);
    fs::create_directory(ini);
    EXPECT_EQ(Lee(ini), 0);
}

}  // namespace
