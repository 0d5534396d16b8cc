// How long the questionnaire takes to prepare (all 22 pages, two passes) and
// to export to PDF. Target: well under a second each.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "report/DataModule.h"
#include "report/ManejadorReportes.h"

namespace {

// Created in main, after the application object and destroyed before it.
std::unique_ptr<TdmMain> gDm;

TdmMain& Cuestionario() {
    return *gDm;
}

void Llena(TdmMain& dm) {
    TManejadorReportes m(dm.repGeneral, "Encuesta ANDU 2018");
    m.AgregaDatoReporte("Cuestionario", "NombreCC", "CAMBIOS O'BRIEN, S.A. DE C.V.");
    for (int n = 1; n <= 195; ++n)
        m.AgregaDatoReporte("Cuestionario", "preg_" + std::to_string(n),
                            "Respuesta: " + std::to_string(n * 1234));
}

void PreparaCuestionario(benchmark::State& estado) {
    for (auto _ : estado) benchmark::DoNotOptimize(Cuestionario().repGeneral.Prepara());
}
BENCHMARK(PreparaCuestionario)->Unit(benchmark::kMillisecond);

void ExportaCuestionarioPDF(benchmark::State& estado) {
    QTemporaryDir dir;
    Cuestionario().repGeneral.Prepara();
    for (auto _ : estado)
        benchmark::DoNotOptimize(Cuestionario().repGeneral.ExportaPDF(dir.filePath("c.pdf")));
}
BENCHMARK(ExportaCuestionarioPDF)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    gDm = std::make_unique<TdmMain>();
    Llena(*gDm);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gDm.reset();
    return 0;
}
