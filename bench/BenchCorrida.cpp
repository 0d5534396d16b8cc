// A whole batch run as `cuestionario-kova` makes it, with what only the
// benchmark needs: bench_corrida [--sin-optimizar] [--latidos] -- OPCIONES
// OPCIONES are cuestionario-kova's own.
//   --sin-optimizar  the engine without its per-snapshot reuse (same answers,
//                    written with --respuestas, so both runs can be compared)
//   --latidos        the engine's heartbeat set as the window sets it; prints
//                    the longest time without one, from start to end
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "data/ColectorConxs.h"
#include "platform/ado/TADOConnection.h"
#include "platform/jet/Latido.h"
#include "platform/jet/MotorJet.h"
#include "tools/cuestionario-kova/Lotes.h"

namespace {

using Reloj = std::chrono::steady_clock;

// Every Norvex connection handed out runs without the optimisation.
// Sets up the engine of every connection it hands out as the run asks.
class TColectorBanco : public TColectorConxs {
public:
    TColectorBanco(bool bOptimiza, std::shared_ptr<jet::TLatido> latido)
        : bOptimiza_(bOptimiza), latido_(std::move(latido)) {}
    bool DameAccessConex(const std::string& sNomConect, ado::TADOConnection*& Conector) override {
        const bool b = TColectorConxs::DameAccessConex(sNomConect, Conector);
        if (b && Conector && Conector->Connected()) {
            Conector->Motor().PonOptimizacion(bOptimiza_);
            Conector->Motor().PonLatido(latido_);
        }
        return b;
    }

private:
    bool bOptimiza_;
    std::shared_ptr<jet::TLatido> latido_;
};

void SoloErroresQt(QtMsgType tipo, const QMessageLogContext&, const QString& sTexto) {
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
        std::cerr << sTexto.toStdString() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    bool bSinOptimizar = false, bLatidos = false;
    int i = 1;
    for (; i < argc && std::string(argv[i]) != "--"; ++i) {
        const std::string a = argv[i];
        if (a == "--sin-optimizar")
            bSinOptimizar = true;
        else if (a == "--latidos")
            bLatidos = true;
        else
            i = argc;
    }
    std::string sError;
    auto op = i < argc ? LeeOpcionesLotes({argv + i + 1, argv + argc}, sError) : std::nullopt;
    if (!op || !ValidaOpcionesLotes(*op, sError)) {
        std::cerr << "uso: bench_corrida [--sin-optimizar] [--latidos] -- OPCIONES\n"
                  << sError << "\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(SoloErroresQt);
    QGuiApplication app(argc, argv);
    std::vector<Reloj::time_point> latidos;
    ColectorGlobal = std::make_shared<TColectorBanco>(
        !bSinOptimizar,
        bLatidos ? std::make_shared<jet::TLatido>([&] { latidos.push_back(Reloj::now()); })
                 : nullptr);
    latidos.push_back(Reloj::now());
    const int nSalida = EjecutaLotes(*op);
    latidos.push_back(Reloj::now());
    ColectorGlobal.reset();
    if (bLatidos) {
        auto ms = [](Reloj::duration d) {
            return std::chrono::duration<double, std::milli>(d).count();
        };
        double dMax = 0, dCuando = 0;
        for (size_t k = 1; k < latidos.size(); ++k)
            if (ms(latidos[k] - latidos[k - 1]) > dMax)
                dMax = ms(latidos[k] - latidos[k - 1]), dCuando = ms(latidos[k - 1] - latidos[0]);
        std::printf("latidos\t%zu\nmayor hueco\t%.1f ms\tdesde %.0f ms\n", latidos.size() - 2, dMax,
                    dCuando);
    }
    return nSalida;
}
