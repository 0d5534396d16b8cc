#include <QApplication>
#include <memory>

#include "app/Arranque.h"
#include "app/DatosVentana.h"
#include "app/Principal.h"
#include "app/RespuestasCCVentana.h"
#include "data/ColectorConxs.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "report/DataModule.h"

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
        // Every question-set object fills the data module's report, with the
        // answers the centre kept for the company the job opened.
        auto almacen = std::make_shared<TAlmacenRespuestasCC>();
        std::shared_ptr<TDatosVentana> Datos;
        auto elReporte =
            [&Datos, almacen](const std::string& sNomRep) -> std::shared_ptr<IManejadorReportes> {
            return CreaManejadorVentana(dmMain->repGeneral, sNomRep, Datos->DameNumEmpresa(),
                                        almacen);
        };
        Datos = std::make_shared<TDatosVentana>(elReporte);
        TfrmPrincipal frmPrincipal(Datos, dmMain->vtPEPs);
        frmPrincipal.show();
        nSalida = app.exec();
    }
    dmMain = nullptr;
    ColectorGlobal.reset();  // closes every connection still open
    return nSalida;
}
