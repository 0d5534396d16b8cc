// The questionnaire's heaviest statement shapes over a Norvex-shaped file of
// realistic size: bench_motor_jet [operations] (default 100000).
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "NorvexFalso.h"

using namespace norvex_falso;

namespace {

std::shared_ptr<TArchivoFalso> NorvexGrande(int nOps) {
    auto base = Norvex();  // catalogue tables as in the tests
    auto a = std::make_shared<TArchivoFalso>();
    for (const char* t : {"tEmpresa", "tCompUsr", "tEmps", "tDivisas", "tSector"}) {
        std::vector<TArchivoFalso::Fila> filas;
        base->LeeFilas(t, [&](const std::vector<jet::TValor>& f) { filas.push_back(f); });
        a->Tabla(t, base->BuscaTabla(t)->columnas, filas);
    }
    const int nClientes = nOps / 5 + 1;
    std::vector<TArchivoFalso::Fila> clientes;
    for (int i = 0; i < nClientes; ++i)
        clientes.push_back({std::string("K") + std::to_string(i),
                            i % 97 == 0 ? std::string("PUBLICO EN GENERAL")
                                        : "Cliente " + std::to_string(i % 5000),
                            std::string("Apellido"), N, i % 7 == 0, i % 11 == 0,
                            std::string(i % 3 == 0 ? "S4" : "S1"), L(1)});
    a->Tabla("tCliente", base->BuscaTabla("tCliente")->columnas, clientes);
    for (const char* t : {"tMovtos", "tProces"}) {
        std::vector<TArchivoFalso::Fila> ops;
        const int n = t[1] == 'M' ? nOps : nOps / 2;
        for (int i = 0; i < n; ++i)
            ops.push_back({std::string(i % 2 ? "C" : "V"), L(i / 2),
                           Fecha(2017, 1 + i % 12, 1 + i % 28), L(1 + i % 7),
                           18.0 + (i % 10) / 10.0, 100.0 + i % 1000,
                           std::string("K") + std::to_string(i % nClientes), L(1), i % 50 == 0});
        a->Tabla(t, base->BuscaTabla(t)->columnas, ops);
    }
    return a;
}

}  // namespace

int main(int argc, char** argv) {
    const int nOps = argc > 1 ? std::atoi(argv[1]) : 100000;
    auto motor = MotorSobre(NorvexGrande(nOps));
    Constructor c;
    for (int i = 0; i < 200; ++i) c.peps.push_back("K" + std::to_string(i * 13));
    const std::string dolares = c.OpsDolares(false);
    const std::pair<const char*, std::string> casos[] = {
        {"carga de tablas + conteo", c.Conteo(dolares)},
        {"conteo de operaciones", c.Conteo(dolares)},
        {"monto en otras divisas", c.Resultado(c.Monto(c.OpsOtrasDivisas(true)), "0")},
        {"usuarios personas fisicas",
         c.Conteo(c.Categoria(c.Usuarios(c.OpsClientes(dolares)), 1, 1, true))},
        {"cliente mas frecuente", c.Resultado(c.ClienteFrec(c.OpsClientes(dolares), 0), "NINGUNO")},
        {"actividad mas frecuente", c.Resultado(c.ActividadFrec(dolares), "NINGUNO")},
        {"usuarios PEP", c.Conteo(c.Categoria(c.Usuarios(c.OpsClientes(dolares)), 7, 0, false))},
    };
    std::printf("%d operaciones en tMovtos, %d en tProces, 200 PEP marcados\n", nOps, nOps / 2);
    for (const auto& [sNombre, sSql] : casos) {
        const auto t0 = std::chrono::steady_clock::now();
        const auto r = motor->Ejecuta(sSql);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
                .count();
        std::printf("%-28s %9.1f ms  %s\n", sNombre, ms,
                    Texto({r.columnas, {r.filas.at(0)}}).c_str());
    }
}
