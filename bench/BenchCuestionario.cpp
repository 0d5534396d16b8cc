// The questionnaire's statements over a real Norvex file, one by one, as the
// run sends them: bench_cuestionario ARCHIVO.mdb CONSULTAS.csv [opciones]
// CONSULTAS.csv is what `cuestionario-kova --consultas` writes.
//   --sin-optimizar   the engine without its per-snapshot reuse
//   --sqlite DIR      also writes each statement's SQLite text to DIR/N.sql
//   --contrasena P    the database password (norvexgen's by default)
//   --respuestas F    writes "question,first value" lines to F
//   --anticipa        hands the engine the list of statements first, as the
//                     questionnaire does (a second thread answers some ahead)
// Prints the time to open and load, each statement's time, and the total.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ConsultasCsv.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/MotorJet.h"
#include "platform/jet/TextoValor.h"

namespace {

using Reloj = std::chrono::steady_clock;

double Segundos(Reloj::time_point desde) {
    return std::chrono::duration<double>(Reloj::now() - desde).count();
}

std::string Texto(const jet::TValor& v) {
    return std::visit(
        [](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return "";
            else if constexpr (std::is_same_v<T, std::string>)
                return x;
            else if constexpr (std::is_same_v<T, bool>)
                return x ? "-1" : "0";
            else if constexpr (std::is_same_v<T, int64_t>)
                return std::to_string(x);
            else if constexpr (std::is_same_v<T, double>) {
                char b[40];
                std::snprintf(b, sizeof b, "%.17g", x);
                return b;
            } else if constexpr (std::is_same_v<T, jet::TMoneda>)
                return std::to_string(x.nDiezMilesimos);
            else if constexpr (std::is_same_v<T, jet::TFecha>) {
                char b[40];
                std::snprintf(b, sizeof b, "%.17g", x.dSerial);
                return b;
            } else
                return jet::TextoValor(x);
        },
        v);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "uso: bench_cuestionario ARCHIVO.mdb CONSULTAS.csv [--sin-optimizar] "
                     "[--sqlite DIR] [--respuestas F]\n";
        return 2;
    }
    const std::string sRuta = argv[1];
    bool bOptimiza = true, bAnticipa = false;
    std::string sDirSqlite, sRespuestas, sContrasena = "quilon";  // norvexgen's
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--sin-optimizar")
            bOptimiza = false;
        else if (a == "--anticipa")
            bAnticipa = true;
        else if (a == "--sqlite" && i + 1 < argc)
            sDirSqlite = argv[++i];
        else if (a == "--contrasena" && i + 1 < argc)
            sContrasena = argv[++i];
        else if (a == "--respuestas" && i + 1 < argc)
            sRespuestas = argv[++i];
    }
    const auto consultas = LeeConsultas(argv[2]);
    try {
        auto t0 = Reloj::now();
        jet::TMotorJet motor([&] { return jet::TArchivoAccess::Abre(sRuta, sContrasena); },
                             &jet::TArchivoAccess::FirmaEnDisco);
        motor.PonOptimizacion(bOptimiza);
        // Every table the run reads, loaded before the statements are timed.
        for (const char* t : {"tEmpresa", "tEmps", "tCompUsr", "tSector", "tDivisas", "tCliente",
                              "tMovtos", "tProces"})
            motor.Traduce(std::string("SELECT * FROM ") + t);
        std::printf("carga\t%.3f\n", Segundos(t0));
        std::ofstream respuestas;
        if (!sRespuestas.empty())
            respuestas.open(sRespuestas);
        if (bAnticipa) {
            std::vector<std::string> lista;
            for (const auto& [sPregunta, sSql] : consultas)
                if (sSql.starts_with("SELECT"))
                    lista.push_back(sSql);
            motor.Anticipa(lista);
        }
        double dTotal = 0, dMax = 0;
        std::string sMax;
        int n = 0;
        for (const auto& [sPregunta, sSql] : consultas) {
            if (!sSql.starts_with("SELECT"))
                continue;
            if (!sDirSqlite.empty())
                std::ofstream(sDirSqlite + "/" + sPregunta + ".sql")
                    << motor.Traduce(sSql) << ";\n";
            auto t = Reloj::now();
            const auto r = motor.Ejecuta(sSql);
            const double d = Segundos(t);
            dTotal += d;
            ++n;
            if (d > dMax)
                dMax = d, sMax = sPregunta;
            std::printf("%s\t%.4f\n", sPregunta.c_str(), d);
            if (respuestas.is_open())
                respuestas << sPregunta << ","
                           << (r.filas.empty() || r.filas[0].empty() ? "" : Texto(r.filas[0][0]))
                           << "\n";
        }
        std::printf("consultas\t%d\ntotal\t%.3f\nmaxima\t%s\t%.4f\n", n, dTotal, sMax.c_str(),
                    dMax);
        if (bAnticipa) {
            motor.Anticipa({});
            std::printf("anticipadas\t%zu\n", motor.Anticipadas());
        }
    } catch (const jet::EErrorJet& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
