#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <map>
#include <memory>

#include "report/DataModule.h"
#include "report/ManejadorReportes.h"
#include "tests/platform/report/AppPrueba.h"

namespace {

// Where every question must be: page -> first and last question.
const std::map<int, std::pair<int, int>> kPreguntasPorPagina = {
    {2, {1, 6}},      {3, {7, 16}},     {4, {17, 26}},    {5, {27, 34}},    {6, {35, 44}},
    {7, {45, 55}},    {8, {56, 64}},    {9, {65, 74}},    {10, {75, 85}},   {11, {86, 94}},
    {12, {95, 105}},  {13, {106, 116}}, {14, {117, 126}}, {15, {127, 137}}, {16, {138, 144}},
    {17, {145, 153}}, {18, {154, 164}}, {19, {165, 175}}, {20, {176, 183}}, {21, {184, 192}},
    {22, {193, 195}}};

QString Valor(int n) {
    return QStringLiteral("Respuesta: %1").arg(n * 7919 % 100000);
}

// The questionnaire as a run leaves it: every variable set through the handler.
class Cuestionario : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        AseguraApp();
        dm = std::make_unique<TdmMain>();  // one template load for the suite
        TManejadorReportes m(dm->repGeneral, "Encuesta ANDU 2018");
        m.AgregaDatoReporte("Cuestionario", "NombreCC", "CAMBIOS O'BRIEN, S.A. DE C.V.");
        for (int n = 1; n <= 195; ++n)
            m.AgregaDatoReporte("Cuestionario", "preg_" + std::to_string(n),
                                Valor(n).toStdString());
        m.AgregaDatoReporte("Cuestionario", "preg_10", "línea uno\r\nlínea dos");
        m.AgregaDatoReporte("Cuestionario", "preg_11", "");
        m.AgregaDatoReporte("Cuestionario", "preg_12", "solo\nLF");
        dm->repGeneral.Prepara();
    }
    static void TearDownTestSuite() { dm.reset(); }
    static const QTextDocument& Cuerpo(int nPagina) {
        return *dm->repGeneral.DamePagina(nPagina - 1).objetos.at(0).documento;
    }
    static std::vector<QTextBlock> Parrafos(int nPagina) {
        std::vector<QTextBlock> v;
        for (QTextBlock b = Cuerpo(nPagina).begin(); b.isValid(); b = b.next()) v.push_back(b);
        return v;
    }
    static QTextCharFormat FormatoInicial(const QTextBlock& b) {
        return b.begin().fragment().charFormat();
    }
    static std::unique_ptr<TdmMain> dm;
};
std::unique_ptr<TdmMain> Cuestionario::dm;

}  // namespace

TEST_F(Cuestionario, VeintidosPaginasCartaConSuPie) {
    const rpt::TReporte& r = dm->repGeneral;
    ASSERT_EQ(r.DameNumPaginas(), 22);
    for (int n = 0; n < 22; ++n) {
        const auto& p = r.DamePagina(n);
        EXPECT_NEAR(p.tamanoPt.width(), 612, 0.01);
        EXPECT_NEAR(p.tamanoPt.height(), 792, 0.01);
        ASSERT_EQ(p.objetos.size(), 2u);
        EXPECT_EQ(p.objetos[1].documento->toPlainText(),
                  QStringLiteral("Página %1 de 22").arg(n + 1));
        EXPECT_EQ(p.objetos[1].documento->begin().blockFormat().alignment(), Qt::AlignRight);
    }
}

TEST_F(Cuestionario, CadaPaginaDePreguntasLlevaTituloYNombreDelCC) {
    for (int p = 2; p <= 22; ++p) {
        auto b = Parrafos(p);
        EXPECT_EQ(b[0].text(), "CUESTIONARIO DE OPERATIVIDAD CENTROS CAMBIARIOS 2018") << p;
        EXPECT_EQ(b[1].text(), "CAMBIOS O'BRIEN, S.A. DE C.V.") << p;
        EXPECT_TRUE(FormatoInicial(b[1]).font().bold());
        EXPECT_EQ(b[1].blockFormat().alignment(), Qt::AlignHCenter);
        EXPECT_TRUE(b[2].text().isEmpty());
    }
}

TEST_F(Cuestionario, CadaPreguntaEnSuPaginaConSuRespuestaDebajo) {
    const QString kLS(QChar::LineSeparator);
    std::map<int, QString> esperado;
    for (int n = 1; n <= 195; ++n) esperado[n] = Valor(n);
    esperado[10] = "línea uno" + kLS + "línea dos";
    esperado[11] = "";
    esperado[12] = "solo" + kLS + "LF";  // quoted like any text, shown without quotes

    int nVistas = 0;
    for (const auto& [p, rango] : kPreguntasPorPagina) {
        auto b = Parrafos(p);
        for (size_t i = 0; i + 1 < b.size(); ++i) {
            QRegularExpressionMatch m = QRegularExpression("^(\\d+) {1,2}¿").match(b[i].text());
            if (!m.hasMatch())
                continue;
            int n = m.captured(1).toInt();
            EXPECT_GE(n, rango.first) << "página " << p;
            EXPECT_LE(n, rango.second) << "página " << p;
            EXPECT_EQ(n, nVistas + 1) << "orden, página " << p;
            ++nVistas;
            // Number bold, text regular, answer bold right under it.
            EXPECT_TRUE(FormatoInicial(b[i]).font().bold()) << n;
            QTextCursor c(b[i]);
            c.setPosition(b[i].position() + m.capturedStart(0) + m.capturedLength(0));
            EXPECT_FALSE(c.charFormat().font().bold()) << n;
            EXPECT_EQ(b[i + 1].text().trimmed(), esperado[n]) << "pregunta " << n;
            if (!esperado[n].isEmpty()) {
                EXPECT_TRUE(FormatoInicial(b[i + 1]).font().bold()) << n;
            }
        }
    }
    EXPECT_EQ(nVistas, 195);
}

TEST_F(Cuestionario, EncabezadosDeSeccionComoEnElCuestionario) {
    const QString kCompraUSD =
        "Operaciones de Compra de dólares americanos, Información General (cont.)";
    const QString kCompraOtras =
        "Operaciones de Compra de otras divisas, Información General (cont.)";
    const QString kVentaUSD =
        "Operaciones de Venta de dólares americanos, Información General (cont.)";
    const QString kVentaOtras =
        "Operaciones de venta de otras divisas, Información General (cont.)";
    const QString kDocsCompra =
        "Operaciones de compra de documentos a la vista denominados y pagaderos en moneda "
        "extranjera a cargo de entidades financieras";
    const QString kDocsVenta =
        "Operaciones de venta de documentos a la vista denominados y pagaderos en moneda "
        "extranjera a cargo de entidades financieras";
    const QString kIG = "Información General";
    const std::map<int, QStringList> encabezados = {
        {2, {kIG}},
        {3, {"Información General (cont.)", "Operaciones con Entidades Financieras Nacionales"}},
        {4,
         {"Operación con Entidades Financieras Nacionales (cont.)",
          "Operación con Entidades Financieras Extranjeras"}},
        {5,
         {"Operación con Entidades Financieras Extrajeras (cont.)",
          "Operaciones de Compra de dólares americanos ", kIG}},
        {6, {kCompraUSD}},
        {7, {kCompraUSD}},
        {8, {kCompraUSD, "Operaciones de Compra de otras dividas", kIG}},
        {9, {kCompraOtras}},
        {10, {kCompraOtras}},
        {11, {kCompraOtras, "Operaciones de venta de dólares americanos", kIG}},
        {12, {kVentaUSD}},
        {13, {kVentaUSD}},
        {14, {kVentaUSD, "Operaciones de venta de otras divisas. ", kIG}},
        {15, {kVentaOtras}},
        {16, {kVentaOtras}},
        {17, {kVentaOtras, kDocsCompra, kIG}},
        {18, {kDocsCompra + " (cont.)"}},
        {19, {kDocsCompra + " (cont.)"}},
        {20, {kDocsCompra + " (cont.)", kDocsVenta, kIG}},
        {21, {kDocsVenta + " (cont.)", "Traslado de valores"}},
        {22, {"Traslado de valores (cont.)"}}};
    for (const auto& [p, esperados] : encabezados) {
        QStringList vistos;
        for (const QTextBlock& b : Parrafos(p))
            if (!b.text().isEmpty() && FormatoInicial(b).font().underline()) {
                EXPECT_TRUE(FormatoInicial(b).font().bold());
                vistos << b.text();
            }
        EXPECT_EQ(vistos, esperados) << "página " << p;
    }
}

TEST_F(Cuestionario, EjemplosLiteralesEInstrucciones) {
    QString todo;
    for (int p = 2; p <= 22; ++p) todo += Cuerpo(p).toPlainText() + "\n";
    for (const char* s :
         {"¿Realizó operaciones de compra de dólares americanos durante 2017?\n",
          "¿Cuántos usuarios personas físicas nacionales? (no incluir PEPs)\n",
          "¿Cuál fue el principal documento a la vista denominado y pagadero en moneda "
          "extranjera a cargo de entidades financieras que adquirieron durante el 2017?\n",
          "1. El total de los montos deberá ser expresado en dólares de los Estados Unidos de "
          "América, SIN CENTAVOS.\n",
          "6. Antes de presionar el botón “aceptar” para realizar el envío, revise la "
          "información proporcionada, debido a que una vez enviada, no podrá modificarse.\n"})
        EXPECT_TRUE(todo.contains(QString::fromUtf8(s))) << s;
    EXPECT_FALSE(todo.contains("[preg_")) << "a placeholder was left unreplaced";
    EXPECT_FALSE(todo.contains("[NombreCC]"));
}

TEST_F(Cuestionario, PortadaConSusNotasYSuFuente) {
    const QTextDocument& d = Cuerpo(1);
    QTextBlock b = d.begin();
    EXPECT_EQ(b.text(), "2018");
    EXPECT_EQ(b.blockFormat().alignment(), Qt::AlignRight);
    QTextCharFormat f = FormatoInicial(b);
    EXPECT_TRUE(f.font().bold());
    EXPECT_EQ(f.foreground().color(), QColor(128, 0, 0));
    EXPECT_DOUBLE_EQ(f.font().pointSizeF(), 20);
    EXPECT_EQ(f.font().family(), "Tahoma");
    EXPECT_TRUE(d.toPlainText().endsWith(
        "Estas preguntas traen la respuesta: (** El CC debe responder **)"));
    EXPECT_TRUE(d.toPlainText().contains("\nNotas importantes:\n\nNOTA 1: Si cuenta"));
}

TEST_F(Cuestionario, LasFuentesSeResuelvenALasMetricasOriginales) {
    EXPECT_EQ(QFontInfo(QFont("Times New Roman")).family(), "Liberation Serif");
    if (QFile::exists("/usr/share/wine/fonts/tahoma.ttf")) {
        EXPECT_EQ(QFontInfo(QFont("Tahoma")).family(), "Tahoma");
    }
}

TEST_F(Cuestionario, NingunTextoSeSaleDeSuObjeto) {
    for (int p = 1; p <= 22; ++p)
        for (const auto& obj : dm->repGeneral.DamePagina(p - 1).objetos)
            EXPECT_LE(obj.documento->size().height(), obj.DameRectTexto().height())
                << "página " << p << ": " << obj.documento->toPlainText().left(40).toStdString();
}
