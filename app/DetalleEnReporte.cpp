#include "app/DetalleEnReporte.h"

#include <QAction>
#include <QInputDialog>
#include <QRegularExpression>
#include <QToolBar>
#include <QToolButton>

#include "app/DetallePregunta.h"
#include "app/RespuestasCCVentana.h"
#include "app/Utilerias.h"
#include "platform/jet/EErrorJet.h"
#include "platform/report/TReporte.h"
#include "platform/report/TVistaPrevia.h"
#include "platform/ui/ICajaMensajes.h"
#include "questionnaire/RepCuestANDU2017.h"

int PreguntaDeVariable(const QString& sVariable) {
    static const QRegularExpression kPregunta(
        QStringLiteral(R"(^(?:Cuestionario\.)?preg_([1-9][0-9]{0,2})$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = kPregunta.match(sVariable);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

namespace {

// The question as the report words it: the paragraph that starts with its
// number (the number, two blanks, the text).
QString TextoPregunta(const rpt::TReporte& reporte, int nPregunta) {
    const QString sInicio = QString::number(nPregunta) + QStringLiteral("  ");
    for (int n = 0; n < reporte.DameNumPaginas(); ++n)
        for (const QString& s : reporte.DameTextoPagina(n).split(u'\n'))
            if (s.startsWith(sInicio))
                return s.simplified();
    return QStringLiteral("Pregunta %1").arg(nPregunta);
}

// Whether the centre answers question n in q's edition.
bool EsDelCentro(const TRepCuestANDU2017& q, int nPregunta) {
    const TPreguntaEdicion* p = q.DameEdicion().DamePregunta(nPregunta);
    return p && p->eForma == fpCentro;
}

// Opens the centre's answers' form of the preview padre at question n.
void AbreFormaCC(QWidget* padre, int nPregunta) {
    QAction* accion =
        padre ? padre->findChild<QAction*>(QString::fromLatin1(kAccionRespuestasCC)) : nullptr;
    if (!accion)
        return;
    accion->setProperty(kPropiedadPreguntaCC, nPregunta);
    accion->trigger();
    accion->setProperty(kPropiedadPreguntaCC, 0);
}

void AbreDetalle(rpt::TReporte& reporte, TRepCuestANDU2017& q, int n, QWidget* padre) {
    // The query may be long: the engine's heartbeat keeps the windows
    // painted meanwhile, as during the report job.
    TUtilerias::CursorEspera();
    try {
        TEvidenciaPregunta e = q.DameEvidenciaPregunta(n);
        TUtilerias::CursorNormal();
        // The answer under the name its brackets give it, however the
        // variable was named to open it.
        TDetallePregunta detalle(
            std::move(e), TextoPregunta(reporte, n),
            reporte.Variables().DameTexto(QStringLiteral("preg_%1").arg(n)).value_or(QString()),
            padre);
        detalle.exec();
    } catch (const jet::EErrorJet& e) {
        TUtilerias::CursorNormal();
        ui::DameCajaMensajes()->MuestraMensaje("No fue posible obtener el detalle de la pregunta " +
                                               std::to_string(n) + ": " + e.Mensaje());
    }
}

}  // namespace

void EnlazaDetalle(rpt::TReporte& reporte,
                   const std::shared_ptr<IRepCuestionarioKOVA>& cuestionario) {
    std::weak_ptr<TRepCuestANDU2017> debil =
        std::dynamic_pointer_cast<TRepCuestANDU2017>(cuestionario);
    reporte.SetAlPulsarVariable(
        [debil, &reporte](const QString& sVariable, QWidget* padre) {
            const int n = PreguntaDeVariable(sVariable);
            const auto q = debil.lock();
            if (!q)
                return;
            if (EsDelCentro(*q, n))
                AbreFormaCC(padre, n);
            else if (q->DameCalculo(n))
                AbreDetalle(reporte, *q, n, padre);
        },
        [debil](const QString& sVariable) {
            const int n = PreguntaDeVariable(sVariable);
            const auto q = debil.lock();
            return q && (EsDelCentro(*q, n) || q->DameCalculo(n));
        });
}

void AgregaAccionDetalle(rpt::TVistaPrevia& vista, rpt::TReporte& reporte) {
    QToolBar* barra = vista.DameBarra();
    auto* accion = new QAction(QStringLiteral("Detalle de la pregunta…"), barra);
    accion->setObjectName(QString::fromLatin1(kAccionDetalle));
    accion->setToolTip(
        QStringLiteral("Ver de dónde sale una respuesta, o escribir la del Centro Cambiario"));
    accion->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    // Beside "Exportar a PDF", before what the program adds after it.
    QAction* antes = nullptr;
    const QList<QAction*> acciones = barra->actions();
    for (qsizetype i = 0; i + 1 < acciones.size(); ++i)
        if (acciones[i]->objectName() == u"acPDF")
            antes = acciones[i + 1];
    barra->insertAction(antes, accion);
    if (auto* boton = qobject_cast<QToolButton*>(barra->widgetForAction(accion)))
        boton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QObject::connect(accion, &QAction::triggered, &vista, [&vista, &reporte] {
        if (!reporte.DameAlPulsarVariable())
            return;
        // The questions the report shows, and the one to offer first: under
        // the pointer, else the first of the page on screen.
        int nMaxima = 0, nPropuesta = PreguntaDeVariable(vista.VariableBajoElPuntero());
        for (int p = 0; p < reporte.DameNumPaginas(); ++p)
            for (const QString& s : reporte.DameVariablesPagina(p)) {
                const int n = PreguntaDeVariable(s);
                nMaxima = std::max(nMaxima, n);
                if (nPropuesta == 0 && p == vista.DamePaginaActual() && n > 0)
                    nPropuesta = n;
            }
        if (nMaxima == 0)
            return;
        bool bOk = false;
        const int n =
            QInputDialog::getInt(&vista, QStringLiteral("Detalle de la pregunta"),
                                 QStringLiteral("Número de la pregunta (1 a %1):").arg(nMaxima),
                                 std::max(1, nPropuesta), 1, nMaxima, 1, &bOk);
        if (bOk)
            reporte.DameAlPulsarVariable()(QStringLiteral("preg_%1").arg(n), &vista);
    });
}
