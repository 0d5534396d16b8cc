#include <gtest/gtest.h>

#include <fstream>

#include "TDirTemporal.h"
#include "app/ArchivosNorvex.h"

namespace fs = std::filesystem;
using archivos_norvex::BuscaSinCaso;
using archivos_norvex::LeeEnteroIni;

namespace {

void Escribe(const fs::path& ruta, const std::string& sTexto) {
    fs::create_directories(ruta.parent_path());
    std::ofstream(ruta, std::ios::binary) << sTexto;
}

TEST(ArchivosNorvexTest, EncuentraLaBaseSinImportarMayusculas) {
    TDirTemporal dir;
    Escribe(dir / "Database/NORVEX.MDB", "x");
    EXPECT_EQ(BuscaSinCaso(dir.ruta(), "DataBase/Norvex.mdb"), dir / "Database/NORVEX.MDB");
    EXPECT_EQ(BuscaSinCaso(dir.ruta(), "DataBase/Otra.mdb"), std::nullopt);
    EXPECT_EQ(BuscaSinCaso(dir.ruta(), "Norvex.INI"), std::nullopt);

    // The exact spelling wins over another one that only differs in case.
    Escribe(dir / "norvex.ini", "a");
    Escribe(dir / "Norvex.INI", "b");
    EXPECT_EQ(BuscaSinCaso(dir.ruta(), "Norvex.INI"), dir / "Norvex.INI");
    EXPECT_EQ(BuscaSinCaso(dir.ruta(), "NORVEX.ini")->parent_path(), dir.ruta());
}

TEST(ArchivosNorvexTest, LeeElEnteroComoWindowsLeeUnIni) {
    struct TCaso {
        const char* sContenido;
        int nEsperado;
    };
    const TCaso casos[] = {
        {"[Control]\nEmpresaActiva=3\n", 3},
        {"\xEF\xBB\xBF[control]\r\n  empresaactiva =  7  \r\n", 7},
        {"[General]\nX=1\n[ CONTROL ]\nOtra=2\nEMPRESAACTIVA=12", 12},
        {"[Control]\nEmpresaActiva=\"5\"\n", 5},
        {"[Control]\nEmpresaActiva=+4\n", 4},
        {"[Control]\nEmpresaActiva=-2\n", -2},
        {"[Control]\nEmpresaActiva=0\n", 0},
        {"[Control]\nEmpresaActiva=\n", 0},
        {"[Control]\nEmpresaActiva=abc\n", 0},
        {"[Control]\nEmpresaActiva=12abc\n", 0},
        {"[Control]\nEmpresaActiva=1.5\n", 0},
        {"[Control]\nEmpresaActiva=+-3\n", 0},
        {"[Control]\nEmpresaActiva=99999999999\n", 0},
        {"[Control]\nOtra=1\n", 0},
        {"[Otra]\nEmpresaActiva=9\n", 0},
        {"EmpresaActiva=9\n[Control]\n", 0},
        // The first section and the first key of a name are the ones read.
        {"[Control]\nEmpresaActiva=2\nEmpresaActiva=8\n[Control]\nEmpresaActiva=9\n", 2},
        {"[Control]\nOtra=1\n[Control]\nEmpresaActiva=9\n", 0},
    };
    TDirTemporal dir;
    for (const TCaso& c : casos) {
        Escribe(dir / "Norvex.INI", c.sContenido);
        EXPECT_EQ(LeeEnteroIni(dir / "Norvex.INI", "Control", "EmpresaActiva"), c.nEsperado)
            << c.sContenido;
    }
    EXPECT_EQ(LeeEnteroIni(dir / "NoExiste.INI", "Control", "EmpresaActiva"), 0);
}

}  // namespace
