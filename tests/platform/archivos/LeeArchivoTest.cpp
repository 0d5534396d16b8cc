// What a user may hand the programs as an input file: a regular file of a
// sane size, read whole; anything else refused at once with a sentence that
// names it, and never waited on.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "TDirTemporal.h"
#include "platform/archivos/LeeArchivo.h"

namespace fs = std::filesystem;

TEST(LeeArchivoRegular, LeeSoloArchivosComunesDeTamanoSensato) {
    TDirTemporal dir;
    std::ofstream(dir / "bien.toml", std::ios::binary) << "clave = \"2018\"\n";
    std::ofstream(dir / "justo", std::ios::binary) << std::string(16, 'x');
    std::ofstream(dir / "grande", std::ios::binary) << std::string(17, 'x');
    std::ofstream(dir / "vacio", std::ios::binary);
    fs::create_directory(dir / "carpeta");
    ASSERT_EQ(mkfifo((dir / "tuberia").c_str(), 0600), 0);
    fs::create_symlink(dir / "bien.toml", dir / "enlace");

    struct Caso {
        const char* sNombre;
        const char* sContenido;  // null: refused
        const char* sMensaje;    // a piece of the refusal
    } casos[] = {
        {"bien.toml", "clave = \"2018\"\n", nullptr},
        {"enlace", "clave = \"2018\"\n", nullptr},  // a link reads what it points at
        {"vacio", "", nullptr},
        {"justo", "xxxxxxxxxxxxxxxx", nullptr},
        {"grande", nullptr, "es demasiado grande: el máximo es 16 bytes."},
        {"carpeta", nullptr, "es una carpeta, no un archivo."},
        // A FIFO without a writer would block a plain read for ever.
        {"tuberia", nullptr, "no es un archivo común"},
        {"no-existe", nullptr, "No existe el archivo"},
    };
    for (const Caso& c : casos) {
        std::string sError;
        const auto s = archivos::LeeArchivoRegular(dir / c.sNombre, 16, sError);
        if (c.sContenido) {
            ASSERT_TRUE(s) << c.sNombre << ": " << sError;
            EXPECT_EQ(*s, c.sContenido) << c.sNombre;
        } else {
            EXPECT_FALSE(s) << c.sNombre;
            EXPECT_NE(sError.find(c.sMensaje), std::string::npos) << c.sNombre << ": " << sError;
            EXPECT_NE(sError.find(c.sNombre), std::string::npos) << sError;
        }
    }
}
