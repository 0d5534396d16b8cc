#include <QApplication>
#include <memory>

#include "app/Arranque.h"
#include "app/DatosVentana.h"
#include "app/Principal.h"
#include "data/ColectorConxs.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    PreparaAplicacion(app);
    // Created in this order and released in the reverse one when the window
    // closes: the connection registry, the data module, the window.
    ColectorGlobal = std::make_shared<TColectorConxs>();
    int nSalida = 0;
    {
        TdmMain dmPrograma;
        dmMain = &dmPrograma;
        // Every question-set object fills the data module's report.
        auto elReporte = [](const std::string& sNomRep) -> std::shared_ptr<IManejadorReportes> {
            return std::make_shared<TManejadorReportes>(dmMain->repGeneral, sNomRep);
        };
        TfrmPrincipal frmPrincipal(std::make_shared<TDatosVentana>(elReporte), dmMain->vtPEPs);
        frmPrincipal.show();
        nSalida = app.exec();
    }
    dmMain = nullptr;
    ColectorGlobal.reset();  // closes every connection still open
    return nSalida;
}
