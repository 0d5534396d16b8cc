// A "Norvex.INI" that is not a text file at all, or a very large one, is
// read to its end without a crash: a key is found wherever it is, and
// garbage reads as no company (0), never as some number picked from it.
// One that is not a regular file (a folder, a pipe) reads as 0 at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <random>

#include "TDirTemporal.h"
#include "app/ArchivosNorvex.h"

namespace {

namespace fs = std::filesystem;
using archivos_norvex::LeeEnteroIni;

void Escribe(const fs::path& ruta, const std::string& sTexto) {
    std::ofstream(ruta, std::ios::binary) << sTexto;
}

struct TCaso {
    const char* sNombre;
    // Puts the file in place; gives a descriptor to keep open while it is
    // read, or -1.
    std::function<int(const fs::path&)> fCrea;
    int nEsperado;
};

TEST(IniHostil, BinarioEnormeOArchivoQueNoEsRegular) {
    const TCaso casos[] = {
        {"1 MB al azar",
         [](const fs::path& ini) {
             std::mt19937 azar(2017);
             std::string sBinario(1 << 20, '\0');
             for (char& c : sBinario) c = static_cast<char>(azar());
             Escribe(ini, sBinario);
             return -1;
         },
         0},
        // Binary lines before the section (NULs, lone CRs, a broken section
        // name, a key of control bytes) do not hide it.
        {"líneas binarias antes de la sección",
         [](const fs::path& ini) {
             Escribe(ini, std::string("\0\r\xff[\n\x01\x02=9\n\0=\0\n", 14) +
                              "[Control]\nEmpresaActiva=3\n");
             return -1;
         },
         3},
        // The key line straddles the first 64 KB of the file.
        {"clave a caballo de los 64 KB",
         [](const fs::path& ini) {
             Escribe(ini, std::string(65520, ';') + "\n[Control]\nEmpresaActiva=42\n");
             return -1;
         },
         42},
        // 64 MB: a single line without an end and thousands of comment lines
        // before the section.
        {"64 MB",
         [](const fs::path& ini) {
             std::ofstream f(ini, std::ios::binary);
             f << std::string(32 << 20, 'x') << "\n";
             for (int i = 0; i < 400000; ++i) f << "; comentario " << std::string(64, '=') << "\n";
             f << "[Control]\nEmpresaActiva=7\nEmpresaActiva=8\n";
             return -1;
         },
         7},
        {"carpeta",
         [](const fs::path& ini) {
             fs::create_directory(ini);
             return -1;
         },
         0},
        // A pipe with a writer that holds a valid key: reading it would give
        // 5 at once; with no writer at all, opening it would wait forever.
        {"tubería",
         [](const fs::path& ini) {
             if (::mkfifo(ini.c_str(), 0600) != 0)
                 return -1;
             const int fd = ::open(ini.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
             const std::string sTexto = "[Control]\nEmpresaActiva=5\n";
             if (fd >= 0 && ::write(fd, sTexto.data(), sTexto.size()) < 0)
                 ADD_FAILURE() << "no se pudo escribir en la tubería";
             return fd;
         },
         0},
    };
    for (const TCaso& c : casos) {
        SCOPED_TRACE(c.sNombre);
        TDirTemporal dir;
        const fs::path ini = dir / "Norvex.INI";
        const int fd = c.fCrea(ini);
        ASSERT_TRUE(fs::exists(fs::symlink_status(ini)));
        EXPECT_EQ(LeeEnteroIni(ini, "Control", "EmpresaActiva"), c.nEsperado);
        if (fd >= 0)
            ::close(fd);
    }
}

}  // namespace
