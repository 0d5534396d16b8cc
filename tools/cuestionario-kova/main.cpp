// cuestionario-kova: the questionnaire of a Norvex folder without the window,
// for centres with branches and for scripts. See sUsoLotes.
#include <QGuiApplication>
#include <clocale>
#include <iostream>

#include "data/ColectorConxs.h"
#include "platform/jet/AvisosLibmdb.h"
#include "platform/jet/ErroresJet.h"
#include "tools/cuestionario-kova/EdicionesLotes.h"
#include "tools/cuestionario-kova/Lotes.h"

namespace {

// Standard error carries the program's own messages: Qt's notes about the
// session (no runtime folder, offscreen plugin) would read as failures.
void SoloErroresQt(QtMsgType tipo, const QMessageLogContext&, const QString& sTexto) {
    if (tipo == QtCriticalMsg || tipo == QtFatalMsg)
        std::cerr << sTexto.toStdString() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    std::string sError;
    auto op = LeeOpcionesLotes({argv + 1, argv + argc}, sError);
    if (op && op->bAyuda) {
        std::cout << sUsoLotes << '\n';
        return slExito;
    }
    if (op && op->bListarEdiciones)
        return ListaEdicionesLotes(std::cout, std::cerr);
    if (op && op->sValidarEdicion)
        return ValidaEdicionLotes(*op->sValidarEdicion, std::cout, std::cerr);
    if (!op) {
        std::cerr << sError << '\n';
        if (sError != sUsoLotes)
            std::cerr << sUsoLotes << '\n';
        return slUsoOCompuerta;
    }
    if (!ValidaOpcionesLotes(*op, sError)) {
        std::cerr << sError << '\n';
        return slUsoOCompuerta;
    }
    // The PDF's fonts need the GUI application; a batch run never shows a
    // window, so it needs no display either.
    jet::MuestraAvisosLibmdb(op->bDepurar);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(SoloErroresQt);
    QGuiApplication app(argc, argv);
    // Qt set the C library's locale from the session; numbers in the SQL
    // the engine reads and writes ("18.91") must not follow a locale whose
    // decimal sign is a comma, or under es_ES the rate would read as 18.
    std::setlocale(LC_NUMERIC, "C");
    ColectorGlobal = std::make_shared<TColectorConxs>();
    int nSalida = slFallaCuestionario;
    try {
        nSalida = EjecutaLotes(*op);
    } catch (...) {
        // What passed every layer (a lack of memory outside the data layer)
        // ends the run with its message; the outputs were already removed.
        const jet::EErrorJet e = jet::ErrorDeFallo(std::current_exception());
        std::cerr << e.Clase() << " - " << e.Mensaje() << '\n';
    }
    ColectorGlobal.reset();  // closes the Norvex connection
    return nSalida;
}
