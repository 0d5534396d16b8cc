#include "app/RespuestasCCVentana.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

#include "app/FormaRespuestasCC.h"
#include "platform/report/TVistaPrevia.h"
#include "platform/ui/ICajaMensajes.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "questionnaire/IIRepCuestionarioKOVA.h"
#include "questionnaire/ManejadorRespuestasCC.h"
#include "questionnaire/PreguntasCC.h"
#include "questionnaire/ValidaRespuestaCC.h"
#include "report/EspacioRespuestas.h"
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

// The longest value a question of a fixed kind takes, as its check accepts
// and keeps it: the longest run of nines for amounts and counts, a date, the
// longer of the answers offered.
QString MasLargo(const TPreguntaCC& p) {
    QStringList candidatos;
    if (p.tipo == trMonto || p.tipo == trConteo) {
        QString s = QStringLiteral("9");
        while (s.size() < 40 && ValidaRespuestaCC(p, s + u'9').bValida) s += u'9';
        candidatos << s;
    } else if (p.tipo == trFecha) {
        candidatos << QStringLiteral("28/12/2017");
    } else if (p.tipo == trSiNo) {
        candidatos << QStringLiteral("SI") << QStringLiteral("NO");
    } else {
        candidatos = p.opciones;
    }
    QString sMasLargo;
    for (const QString& s : candidatos) {
        const TRespuestaValidada r = ValidaRespuestaCC(p, s);
        if (r.bValida && r.sValor.size() > sMasLargo.size())
            sMasLargo = r.sValor;
    }
    return sMasLargo;
}

}  // namespace

std::shared_ptr<const TEspacioRespuestas> CreaEspacioRespuestasCC(const rpt::TReporte& reporte,
                                                                  const TPreguntasCC& preguntas) {
    std::vector<QString> libres;
    std::map<QString, QString> fijas;
    for (const TPreguntaCC& p : preguntas.preguntas) {
        const QString sVariable = QStringLiteral("preg_%1").arg(p.nNumero);
        if (p.tipo == trTexto)
            libres.push_back(sVariable);
        else
            fijas[sVariable] = MasLargo(p);
    }
    return std::make_shared<TEspacioRespuestas>(reporte, std::move(libres), std::move(fijas),
                                                QString::fromUtf8(sTxRespuesta));
}

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
                return std::make_shared<const TRespuestasCC>(almacen->DamePreguntas());
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
                const TRespuestasCC actuales = pcc->DameRespuestas()
                                                   ? *pcc->DameRespuestas()
                                                   : TRespuestasCC(almacen->DamePreguntas());
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
                forma.PonEspacio(
                    CreaEspacioRespuestasCC(vista.DameReporte(), *almacen->DamePreguntas()));
                if (const int n = accion->property(kPropiedadPreguntaCC).toInt())
                    forma.MuestraPregunta(n);
                forma.exec();
            });
    });
    return cc;
}
