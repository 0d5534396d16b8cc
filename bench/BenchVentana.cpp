// The window's two jobs on a Norvex folder, set up as the program sets itself
// up, timing how long the event loop goes unserved:
//   bench_ventana [--sin-latido] CARPETA
// --sin-latido takes the engine's heartbeat away, to see what it buys.
// A 5 ms timer notes each time the window's events are processed; the longest
// gap between two notes inside a job is the longest the window was frozen
// (repaints included). Boxes answer Yes by themselves and the preview closes
// as soon as it is up. Offscreen unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/Arranque.h"
#include "app/DatosVentana.h"
#include "app/Principal.h"
#include "app/Utilerias.h"
#include "data/ColectorConxs.h"
#include "platform/jet/Latido.h"
#include "platform/report/TVistaPrevia.h"
#include "platform/ui/ICajaMensajes.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"

namespace {

using Reloj = std::chrono::steady_clock;

double Ms(Reloj::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Nobody is there to read a box: it is printed and answered Yes.
class TCajaAutomatica : public ui::ICajaMensajes {
public:
    void MuestraMensaje(const std::string& sTexto) override {
        std::cerr << "caja: " << sTexto.substr(0, 80) << '\n';
    }
    bool PreguntaSiNo(const std::string&) override { return true; }
};

// The times at which the event loop ran the 5 ms timer.
struct TPulso {
    std::vector<Reloj::time_point> marcas;
    QTimer reloj;
    TPulso() {
        reloj.setTimerType(Qt::PreciseTimer);
        QObject::connect(&reloj, &QTimer::timeout, [this] { marcas.push_back(Reloj::now()); });
        reloj.start(5);
    }
};

// Runs one job and prints its length and the longest unserved gap in it.
void Mide(const char* sNombre, TPulso& pulso, const std::function<void()>& trabajo) {
    pulso.marcas.clear();
    const auto inicio = Reloj::now();
    pulso.marcas.push_back(inicio);
    trabajo();
    const auto fin = Reloj::now();
    pulso.marcas.push_back(fin);
    double dMax = 0, dDesde = 0;
    for (size_t i = 1; i < pulso.marcas.size(); ++i)
        if (Ms(pulso.marcas[i] - pulso.marcas[i - 1]) > dMax) {
            dMax = Ms(pulso.marcas[i] - pulso.marcas[i - 1]);
            dDesde = Ms(pulso.marcas[i - 1] - inicio);
        }
    std::printf("%s\t%.0f ms\tmayor hueco %.1f ms desde %.0f ms\t%zu pulsos\n", sNombre,
                Ms(fin - inicio), dMax, dDesde, pulso.marcas.size() - 2);
}

}  // namespace

int main(int argc, char** argv) {
    const bool bSinLatido = argc == 3 && std::string(argv[1]) == "--sin-latido";
    if (argc != 2 && !bSinLatido) {
        std::cerr << "uso: bench_ventana [--sin-latido] CARPETA_NORVEX\n";
        return 2;
    }
    const std::string sCarpeta = argv[argc - 1];
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PreparaAplicacion(app);
    ui::FijaCajaMensajes(std::make_shared<TCajaAutomatica>());
    ColectorGlobal = std::make_shared<TColectorConxs>();
    {
        TdmMain dm;
        auto elReporte = [&](const std::string& sNomRep) -> std::shared_ptr<IManejadorReportes> {
            return std::make_shared<TManejadorReportes>(dm.repGeneral, sNomRep);
        };
        // The window believes it was started from inside the folder.
        auto utilerias = std::make_shared<TUtilerias>(TUtilerias::TContadorMs{}, sCarpeta + "/x");
        auto datos = std::make_shared<TDatosVentana>(elReporte);
        if (!bSinLatido)
            datos->PonLatido(CreaLatidoVentana());
        TfrmPrincipal ventana(datos, dm.vtPEPs, utilerias);
        ventana.show();
        QApplication::processEvents();
        ventana.findChild<QLineEdit*>("edUsuario")->setText("ADMIN");
        ventana.findChild<QLineEdit*>("edPassw")->setText("NORVEX");

        QTimer cierraVista;
        QObject::connect(&cierraVista, &QTimer::timeout, [] {
            if (auto* vista = qobject_cast<rpt::TVistaPrevia*>(QApplication::activeModalWidget()))
                vista->reject();
        });
        cierraVista.start(20);
        TPulso pulso;
        Mide("deteccion", pulso, [&] { ventana.bnDetectaPEPsClick(); });
        Mide("reporte", pulso, [&] { ventana.bnGenReporteClick(); });
        std::printf("estado\t%s\n",
                    ventana.findChild<QLabel*>("txMensajes")->text().toStdString().c_str());
    }
    ColectorGlobal.reset();
    return 0;
}
