#include <QApplication>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/Arranque.h"
#include "app/CarpetaNorvex.h"
#include "app/DatosVentana.h"
#include "app/DetalleEnReporte.h"
#include "app/EdicionVentana.h"
#include "app/EtiquetaCarpeta.h"
#include "app/PideCarpetaQt.h"
#include "app/Principal.h"
#include "app/RespuestasCCVentana.h"
#include "app/UtileriasCarpeta.h"
#include "data/ColectorConxs.h"
#include "platform/ui/AjustesPrograma.h"
#include "platform/ui/ICajaMensajes.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "report/DataModule.h"

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

    // "CuestionarioKOVA CARPETA" opens on that Norvex folder. QApplication
    // has already taken its own options out of argv; the folder is read from
    // argv and not from the decoded arguments, so any file name's bytes work.
    std::optional<std::filesystem::path> sArgumento;
    if (argc > 1)
        sArgumento = std::filesystem::path(argv[1]);
    const auto eleccion =
        TCarpetaNorvex(std::make_shared<TPideCarpetaQt>(), ui::AjustesPrograma())
            .Elige(QCoreApplication::applicationDirPath().toStdString(), sArgumento);
    if (!eleccion)
        return 0;  // the user cancelled the question: nothing was opened
    // Inside its Norvex folder the program is what it always was; elsewhere
    // its jobs read the chosen folder.
    std::shared_ptr<IUtilerias> utilerias;
    if (eleccion->eOrigen != TCarpetaNorvex::orPrograma)
        utilerias = std::make_shared<TUtileriasCarpeta>(eleccion->sCarpeta);

    // Created in this order and released in the reverse one when the window
    // closes: the connection registry, the data module, the window.
    // The default edition, until the user chooses another at the foot; a
    // program without its editions has nothing to answer.
    std::shared_ptr<TEdicionVentana> edicion;
    try {
        edicion = CreaEdicionVentana();
    } catch (const std::exception& e) {
        ui::DameCajaMensajes()->MuestraMensaje(e.what());
        return 1;
    }

    ColectorGlobal = std::make_shared<TColectorConxs>();
    int nSalida = 0;
    {
        TdmMain dmPrograma(*edicion->edicion);
        dmMain = &dmPrograma;
        // Every question-set object fills the data module's report, with the
        // answers the centre kept for the company the job opened and the
        // edition in use.
        std::shared_ptr<TDatosVentana> Datos;
        auto elReporte =
            [&Datos, edicion](const std::string& sNomRep) -> std::shared_ptr<IManejadorReportes> {
            return CreaManejadorVentana(
                dmMain->repGeneral, sNomRep, Datos->DameNumEmpresa(), edicion->almacen,
                [](rpt::TVistaPrevia& vista) { AgregaAccionDetalle(vista, dmMain->repGeneral); });
        };
        Datos = std::make_shared<TDatosConDetalle>(elReporte);
        Datos->PonEdicion(edicion->edicion);
        Datos->PonLatido(CreaLatidoVentana());
        TfrmPrincipal frmPrincipal(Datos, dmMain->vtPEPs, utilerias);
        frmPrincipal.SetAlUnir([](const std::string& sLinea) {
            dmMain->repGeneral.Variables().AsignaVariable("Cuestionario", "Sucursales",
                                                          QString::fromStdString(sLinea));
        });
        if (utilerias)
            new TEtiquetaCarpeta(eleccion->sCarpeta, &frmPrincipal);  // owned by the window
        auto* lkEdicion = new TEtiquetaEdicion(                       // owned by the window
            &frmPrincipal, [&frmPrincipal] { return frmPrincipal.TrabajoEnCurso(); },
            [&](std::shared_ptr<const TEdicion> e) {
                CambiaEdicion(*edicion, std::move(e), dmPrograma, *Datos);
                frmPrincipal.ReiniciaPaso4();
            });
        lkEdicion->Muestra(*edicion->edicion);
        // The keyboard's round ends on it, after the foot's buttons, as it
        // stands above the first step: Shift+Tab from the rate field reaches
        // it, Tab from it the rate field.
        if (auto* bnSucursales = frmPrincipal.findChild<QWidget*>("bnSucursales"))
            QWidget::setTabOrder(bnSucursales, lkEdicion);
        frmPrincipal.show();
        nSalida = app.exec();
    }
    dmMain = nullptr;
    ColectorGlobal.reset();  // closes every connection still open
    return nSalida;
}
