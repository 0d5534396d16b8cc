// norvexgen [--lineas N] [--semilla S] DIR: writes a sample Norvex folder
// (DIR/DataBase/Norvex.mdb and DIR/Norvex.INI). Same seed, same file.
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

#include "tools/mdbgen/EErrorMdb.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

int Uso() {
    std::cerr << "uso: norvexgen [--lineas N] [--semilla S] CARPETA\n";
    return 2;
}

template <typename T>
bool Numero(const char* s, T& n) {
    const char* fin = s + std::strlen(s);
    auto r = std::from_chars(s, fin, n);
    return r.ec == std::errc() && r.ptr == fin;
}

}  // namespace

int main(int argc, char** argv) {
    norvex::TOpcionesNorvex op;
    std::string sDir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if ((a == "--lineas" || a == "--semilla") && i + 1 < argc) {
            const bool bBien = a == "--lineas" ? Numero(argv[++i], op.nLineas) && op.nLineas >= 0
                                               : Numero(argv[++i], op.nSemilla);
            if (!bBien)
                return Uso();
        } else if (!a.empty() && a[0] != '-' && sDir.empty()) {
            sDir = a;
        } else {
            return Uso();
        }
    }
    if (sDir.empty())
        return Uso();
    try {
        norvex::TGeneradorNorvex::Genera(sDir, op);
    } catch (const std::exception& e) {
        std::cerr << "norvexgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
