#include "app/DetalleEnReporte.h"

#include <QRegularExpression>

#include "app/DetallePregunta.h"
#include "app/Utilerias.h"
#include "platform/jet/EErrorJet.h"
#include "platform/report/TReporte.h"
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

}  // namespace

void EnlazaDetalle(rpt::TReporte& reporte,
                   const std::shared_ptr<IRepCuestionarioKOVA>& cuestionario) {
    std::weak_ptr<TRepCuestANDU2017> debil =
        std::dynamic_pointer_cast<TRepCuestANDU2017>(cuestionario);
    reporte.SetAlPulsarVariable([debil, &reporte](const QString& sVariable, QWidget* padre) {
        const int n = PreguntaDeVariable(sVariable);
        const auto q = debil.lock();
        if (!q || !q->DameCalculo(n))
            return;
        // The query may be long: the engine's heartbeat keeps the windows
        // painted meanwhile, as during the report job.
        TUtilerias::CursorEspera();
        try {
            TEvidenciaPregunta e = q->DameEvidenciaPregunta(n);
            TUtilerias::CursorNormal();
            TDetallePregunta detalle(std::move(e), TextoPregunta(reporte, n),
                                     reporte.Variables().DameTexto(sVariable).value_or(QString()),
                                     padre);
            detalle.exec();
        } catch (const jet::EErrorJet& e) {
            TUtilerias::CursorNormal();
            ui::DameCajaMensajes()->MuestraMensaje(
                "No fue posible obtener el detalle de la pregunta " + std::to_string(n) + ": " +
                e.Mensaje());
        }
    });
}
