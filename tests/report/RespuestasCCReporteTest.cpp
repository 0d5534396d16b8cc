#include <gtest/gtest.h>

#include <QTextBlock>
#include <memory>

#include "questionnaire/IIRepCuestionarioKOVA.h"
#include "questionnaire/ManejadorRespuestasCC.h"
#include "questionnaire/PreguntasCC.h"
#include "questionnaire/ValidaRespuestaCC.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"
#include "tests/platform/report/AppPrueba.h"

namespace {

// A run's answers as the run hands them over: the hand-answer text for the
// centre's questions, a computed answer for the rest.
class ReporteConRespuestasCC : public ::testing::Test {
protected:
    void SetUp() override { AseguraApp(); }

    void Corre(std::shared_ptr<const TRespuestasCC> respuestas) {
        manejador = std::make_shared<TManejadorRespuestasCC>(
            std::make_shared<TManejadorReportes>(dm.repGeneral, "Encuesta ANDU 2018"),
            [this, respuestas](const std::string& sNombre) {
                sNombrePedido = sNombre;
                return respuestas;
            });
        manejador->AgregaDatoReporte("Cuestionario", "NombreCC", "CAMBIOS DEL NORTE");
        for (int n = 1; n <= 195; ++n)
            manejador->AgregaDatoReporte(
                "Cuestionario", "preg_" + std::to_string(n),
                DamePreguntaCC(n) ? sTxCCResponde : "Respuesta: " + std::to_string(n * 3));
    }
    // The paragraph under question n on the prepared pages.
    QString BajoLaPregunta(int n) {
        const QString sInicio = QString::number(n) + u' ';
        for (int p = 1; p < dm.repGeneral.DameNumPaginas(); ++p) {
            const QTextDocument& d = *dm.repGeneral.DamePagina(p).objetos.at(0).documento;
            for (QTextBlock b = d.begin(); b.isValid(); b = b.next())
                if (b.text().startsWith(sInicio) && b.next().isValid())
                    return b.next().text().replace(QChar::LineSeparator, u'\n');
        }
        return {};
    }

    TdmMain dm;
    std::shared_ptr<TManejadorRespuestasCC> manejador;
    std::string sNombrePedido;
};

std::shared_ptr<TRespuestasCC> Respuestas(std::initializer_list<std::pair<int, const char*>> l) {
    auto r = std::make_shared<TRespuestasCC>();
    for (const auto& [n, s] : l) EXPECT_EQ(r->Asigna(n, QString::fromUtf8(s)), QString());
    return r;
}

}  // namespace

TEST_F(ReporteConRespuestasCC, LasRespuestasOcupanElLugarDelAvisoComoLasCalculadas) {
    Corre(Respuestas(
        {{1, "1500000"}, {12, "15/03/2010"}, {7, "JALISCO\nSONORA"}, {22, "CUENTA O'BRIEN"}}));
    EXPECT_EQ(sNombrePedido, "CAMBIOS DEL NORTE");
    ASSERT_TRUE(dm.repGeneral.Prepara());
    EXPECT_EQ(BajoLaPregunta(1), "Respuesta: 1500000");
    EXPECT_EQ(BajoLaPregunta(12), "Respuesta: 15/03/2010");
    EXPECT_EQ(BajoLaPregunta(7), "Respuesta: JALISCO\nSONORA");
    EXPECT_EQ(BajoLaPregunta(22), "Respuesta: CUENTA O'BRIEN");
    EXPECT_EQ(BajoLaPregunta(3), sTxCCResponde);     // not answered
    EXPECT_EQ(BajoLaPregunta(33), "Respuesta: 99");  // computed, untouched
    EXPECT_EQ(BajoLaPregunta(195), sTxCCResponde);
}

TEST_F(ReporteConRespuestasCC, NuevasRespuestasCambianSoloLasDelCentro) {
    Corre(Respuestas({{1, "1500000"}, {5, "SI"}}));
    manejador->CambiaRespuestas(Respuestas({{5, "NO"}, {195, "TRASLADOS SA"}}));
    ASSERT_TRUE(dm.repGeneral.Prepara());
    EXPECT_EQ(BajoLaPregunta(1), sTxCCResponde);  // removed: the placeholder is back
    EXPECT_EQ(BajoLaPregunta(5), "Respuesta: NO");
    EXPECT_EQ(BajoLaPregunta(195), "Respuesta: TRASLADOS SA");
    EXPECT_EQ(BajoLaPregunta(2), "Respuesta: 6");
}

TEST_F(ReporteConRespuestasCC, SinRespuestasElReporteQuedaComoSiempre) {
    Corre(nullptr);
    ASSERT_TRUE(dm.repGeneral.Prepara());
    for (const TPreguntaCC& p : DamePreguntasCC())
        EXPECT_EQ(BajoLaPregunta(p.nNumero), sTxCCResponde) << p.nNumero;
}

// The longest answers the checks allow, on many lines, in every free-text
// question: each page's text stays inside its frame (clear of the footer),
// the report keeps its 22 pages, and every answer is there whole.
TEST_F(ReporteConRespuestasCC, RespuestasLargasNoSeSalenDeLaPagina) {
    auto r = std::make_shared<TRespuestasCC>();
    std::map<int, QString> largas;
    for (const TPreguntaCC& p : DamePreguntasCC()) {
        if (p.tipo != trTexto)
            continue;
        QString s;
        for (int i = 0; s.size() < kMaxCaracteresRespuestaCC; ++i)
            s += QStringLiteral(
                     "LINEA %1 DE UNA RESPUESTA LARGA DE LA PREGUNTA %2 CON "
                     "TEXTO QUE LLENA EL ANCHO\n")
                     .arg(i)
                     .arg(p.nNumero);
        s = s.left(kMaxCaracteresRespuestaCC).trimmed();
        ASSERT_EQ(r->Asigna(p.nNumero, s).toStdString(), "");
        largas[p.nNumero] = s;
    }
    Corre(r);
    ASSERT_TRUE(dm.repGeneral.Prepara());
    ASSERT_EQ(dm.repGeneral.DameNumPaginas(), 22);
    for (int p = 0; p < 22; ++p) {
        const rpt::TPaginaPreparada& pagina = dm.repGeneral.DamePagina(p);
        ASSERT_EQ(pagina.objetos.size(), 2u);
        const rpt::TObjetoPreparado& cuerpo = pagina.objetos[0];
        const rpt::TObjetoPreparado& pie = pagina.objetos[1];
        EXPECT_LE(cuerpo.documento->size().height(), cuerpo.DameRectTexto().height())
            << "página " << p + 1;
        EXPECT_LE(cuerpo.DameRectTexto().top() + cuerpo.documento->size().height(),
                  pie.rectPt.top())
            << "página " << p + 1;
        EXPECT_EQ(pie.documento->toPlainText(), QStringLiteral("Página %1 de 22").arg(p + 1));
    }
    for (const auto& [n, s] : largas) EXPECT_EQ(BajoLaPregunta(n), "Respuesta: " + s) << n;
}
