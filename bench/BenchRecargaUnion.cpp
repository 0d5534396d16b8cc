// A centre's union answered, one branch's file replaced, answered again:
// how long the second answer takes when only the changed file's rows are
// read again and when the whole union is.
//   bench_recarga_union parcial|entera NUEVO.mdb MATRIZ.mdb SUCURSAL.mdb...
// The files are copied into a folder of the bench's own, where the last one
// is then replaced by NUEVO.mdb; the files given are only read.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ReglasContadas.h"
#include "data/UnionNorvex.h"
#include "platform/jet/ArchivoUnion.h"
#include "platform/jet/MotorJet.h"
#include "platform/jet/TextoValor.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kContrasena = "quilon";  // norvexgen's

double Segundos(std::chrono::steady_clock::time_point desde) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "uso: %s parcial|entera NUEVO.mdb MATRIZ.mdb SUCURSAL.mdb...\n",
                     argv[0]);
        return 2;
    }
    const bool bParcial = std::string(argv[1]) == "parcial";
    const fs::path nuevo = argv[2];
    const fs::path dir =
        fs::temp_directory_path() / ("bench_recarga_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::vector<std::string> rutas;
    for (int i = 3; i < argc; ++i) {
        rutas.push_back((dir / ("parte" + std::to_string(i - 3) + ".mdb")).string());
        fs::copy_file(argv[i], rutas.back());
    }
    int nSalida = 0;
    try {
        auto reglas = std::make_shared<TReglasContadas>(std::vector<int64_t>(rutas.size(), 1));
        auto abreParte = [rutas](size_t n) {
            return jet::TArchivoAccess::Abre(rutas[n], kContrasena);
        };
        jet::TMotorJet motor(
            [&]() -> std::unique_ptr<jet::TArchivoAccess> {
                std::vector<std::unique_ptr<jet::TArchivoAccess>> partes;
                for (size_t n = 0; n < rutas.size(); ++n) partes.push_back(abreParte(n));
                return std::make_unique<jet::TArchivoUnion>(
                    std::move(partes), reglas,
                    bParcial ? jet::TArchivoUnion::TAbreParte(abreParte) : nullptr);
            },
            &jet::TArchivoUnion::FirmaEnDisco);
        const std::string sql =
            "SELECT COUNT(*), SUM(m.Cantidad), COUNT(c.Nombre) FROM tMovtos AS m "
            "LEFT JOIN tCliente AS c ON m.ClaveCliente = c.ClaveCliente WHERE m.NumEmp = 1";
        auto responde = [&](const char* sCuando) {
            const auto t = std::chrono::steady_clock::now();
            const auto r = motor.Ejecuta(sql);
            std::string s;
            for (const auto& v : r.filas.at(0)) s += (s.empty() ? "" : "|") + jet::TextoValor(v);
            std::string sLeidas;
            for (int64_t& n : reglas->filas) {
                sLeidas += (sLeidas.empty() ? "" : " ") + std::to_string(n);
                n = 0;
            }
            std::printf("%-28s %8.3f s  %s  (filas leídas por archivo: %s)\n", sCuando, Segundos(t),
                        s.c_str(), sLeidas.c_str());
        };
        responde("primera respuesta");
        // Put in place as a copy would be: a new file under the old name.
        fs::copy_file(nuevo, dir / "nuevo.mdb");
        fs::rename(dir / "nuevo.mdb", rutas.back());
        responde(bParcial ? "tras el cambio (parcial)" : "tras el cambio (entera)");
        responde("sin cambios");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        nSalida = 1;
    }
    fs::remove_all(dir);
    return nSalida;
}
