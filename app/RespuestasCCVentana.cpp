#include "app/RespuestasCCVentana.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

#include "app/FormaRespuestasCC.h"
#include "platform/report/TVistaPrevia.h"
#include "platform/ui/ICajaMensajes.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "questionnaire/ManejadorRespuestasCC.h"
#include "report/ManejadorReportes.h"

namespace {

// The action goes with the PDF button, before the separator that sets
// "Cerrar" apart; on a toolbar without it, at the end.
QAction* AgregaAccion(rpt::TVistaPrevia& vista) {
    QToolBar* barra = vista.DameBarra();
    auto* accion = new QAction(QStringLiteral("Respuestas del CC"), barra);
    accion->setObjectName(QString::fromLatin1(kAccionRespuestasCC));
    accion->setToolTip(QStringLiteral("Escribir las respuestas que da el Centro Cambiario"));
    accion->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    QAction* antes = nullptr;
    const QList<QAction*> acciones = barra->actions();
    for (qsizetype i = 0; i < acciones.size(); ++i)
        if (acciones[i]->objectName() == u"acCerrar")
            antes = i > 0 && acciones[i - 1]->isSeparator() ? acciones[i - 1] : acciones[i];
    barra->insertAction(antes, accion);
    // A word, not an icon: it is the one thing the user comes looking for.
    if (auto* boton = qobject_cast<QToolButton*>(barra->widgetForAction(accion)))
        boton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return accion;
}

}  // namespace

std::shared_ptr<IManejadorReportes> CreaManejadorVentana(
    rpt::TReporte& reporte, const std::string& sNomRep, int nNumEmp,
    std::shared_ptr<TAlmacenRespuestasCC> almacen,
    std::function<void(rpt::TVistaPrevia&)> alMostrar) {
    auto base = std::make_shared<TManejadorReportes>(reporte, sNomRep);
    auto cc = std::make_shared<TManejadorRespuestasCC>(
        base, [almacen, nNumEmp](const std::string& sNombre) {
            QString sError;
            auto r = almacen->Lee(nNumEmp, QString::fromStdString(sNombre), sError);
            if (!r) {
                // The report still comes out, with the placeholders; the
                // message names the file so it can be looked at.
                ui::DameCajaMensajes()->MuestraMensaje(sError.toStdString());
                return std::make_shared<const TRespuestasCC>();
            }
            return std::make_shared<const TRespuestasCC>(std::move(*r));
        });
    // The preview lives inside the base handler's MuestraReporte, which the
    // decorator calls: a plain pointer back to it cannot dangle.
    TManejadorRespuestasCC* pcc = cc.get();
    base->SetAlMostrar([pcc, almacen, nNumEmp, alMostrar](rpt::TVistaPrevia& vista) {
        if (alMostrar)
            alMostrar(vista);
        QAction* accion = AgregaAccion(vista);
        QObject::connect(
            accion, &QAction::triggered, &vista, [&vista, accion, pcc, almacen, nNumEmp] {
                const TRespuestasCC actuales =
                    pcc->DameRespuestas() ? *pcc->DameRespuestas() : TRespuestasCC();
                TFormaRespuestasCC forma(
                    actuales,
                    [&](const TRespuestasCC& r, QString& sError) {
                        if (!almacen->Guarda(nNumEmp, QString::fromStdString(pcc->DameNombreCC()),
                                             r, sError))
                            return false;
                        pcc->CambiaRespuestas(std::make_shared<const TRespuestasCC>(r));
                        vista.Reprepara();
                        return true;
                    },
                    &vista);
                if (const int n = accion->property(kPropiedadPreguntaCC).toInt())
                    forma.MuestraPregunta(n);
                forma.exec();
            });
    });
    return cc;
}
