// norvexgen [--lineas N] [--clientes N] [--semilla S] [--sucursales N] DIR: writes a sample
// Norvex folder (DIR/DataBase/Norvex.mdb and DIR/Norvex.INI), or the same centre split into
// N branch folders below DIR. Same seed, same file.
#include <charconv>
#include <cstring>
#include <iostream>
#include <string>

#include "tools/mdbgen/EErrorMdb.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

int Uso() {
    std::cerr << "uso: norvexgen [--lineas N] [--clientes N] [--semilla S] [--sucursales N] "
                 "CARPETA\n"
                 "  --lineas N    líneas de operación en tMovtos y tProces (5000)\n"
                 "  --clientes N  clientes en tCliente, al menos 74 (uno por cada 25 líneas)\n"
                 "  --semilla S   semilla de los datos al azar (1)\n"
                 "  --sucursales N  el mismo centro repartido en N sucursales, en las carpetas\n"
                 "                CARPETA/sucursal-1 (la matriz) a CARPETA/sucursal-N (1 a 99)\n";
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
        if ((a == "--lineas" || a == "--clientes" || a == "--semilla" || a == "--sucursales") &&
            i + 1 < argc) {
            const char* v = argv[++i];
            const bool bBien = a == "--lineas" ? Numero(v, op.nLineas) && op.nLineas >= 0
                               : a == "--clientes"
                                   ? Numero(v, op.nClientes) &&
                                         op.nClientes >= norvex::TGeneradorNorvex::kMinClientes
                               : a == "--sucursales"
                                   ? Numero(v, op.nSucursales) && op.nSucursales >= 1 &&
                                         op.nSucursales <= norvex::TGeneradorNorvex::kMaxSucursales
                                   : Numero(v, op.nSemilla);
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
