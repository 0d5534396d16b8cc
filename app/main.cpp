#include <QApplication>
#include <memory>

#include "app/Arranque.h"
#include "app/DatosVentana.h"
#include "app/DetalleEnReporte.h"
#include "app/Principal.h"
#include "data/ColectorConxs.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"

namespace {

// The window's data side whose question sets also open each answer's detail
// from the report preview.
class TDatosConDetalle : public TDatosVentana {
public:
    using TDatosVentana::TDatosVentana;
    std::shared_ptr<IRepCuestionarioKOVA> CreaCuestionario(
        int nNumEmp, double dTCambio, std::shared_ptr<IMensajero> Mensajero) override {
        auto q = TDatosVentana::CreaCuestionario(nNumEmp, dTCambio, std::move(Mensajero));
        if (q)
            EnlazaDetalle(dmMain->repGeneral, q);
        return q;
    }
};

}  // namespace

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
        TfrmPrincipal frmPrincipal(std::make_shared<TDatosConDetalle>(elReporte), dmMain->vtPEPs);
        frmPrincipal.show();
        nSalida = app.exec();
    }
    dmMain = nullptr;
    ColectorGlobal.reset();  // closes every connection still open
    return nSalida;
}
