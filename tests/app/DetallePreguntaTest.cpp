// The answer's detail: the click on a value in the preview names its
// question, and the table of rows stays cheap and sorts every row.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QScrollArea>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <sstream>

#include "AplicacionQt.h"
#include "TAjustesTemporales.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "app/DetalleEnReporte.h"
#include "app/DetallePregunta.h"
#include "app/FormaRespuestasCC.h"
#include "app/ModeloEvidencia.h"
#include "app/RespuestasCCVentana.h"
#include "platform/report/TVistaPrevia.h"
#include "questionnaire/AlmacenRespuestasCC.h"
#include "questionnaire/PreguntasCC.h"
#include "questionnaire/RepCuestANDU2017.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"

namespace {

std::shared_ptr<jet::TResultado> Filas(int n) {
    auto r = std::make_shared<jet::TResultado>();
    r->columnas = {"Folio", "Cliente", "Cantidad"};
    for (int i = 0; i < n; ++i)
        r->filas.push_back({int64_t{i}, std::string(i % 7 == 0 ? "ANA" : "BETO"),
                            i == n - 3 ? jet::TValor{} : jet::TValor{double((i * 37) % n)}});
    return r;
}

// Rows reach the view a block at a time; a sort orders all of them, not
// only the block shown, and starts the view again from its first block.
TEST(ModeloEvidenciaTest, FetchesByBlocksAndSortsEveryRow) {
    const int n = 2 * TModeloEvidencia::kBloque + 500;
    TModeloEvidencia m(Filas(n));
    EXPECT_EQ(m.rowCount(), TModeloEvidencia::kBloque);
    while (m.canFetchMore({})) m.fetchMore({});
    EXPECT_EQ(m.rowCount(), n);

    m.sort(2, Qt::DescendingOrder);
    EXPECT_EQ(m.rowCount(), TModeloEvidencia::kBloque);
    EXPECT_EQ(m.data(m.index(0, 2)).toString(), QLocale(QLocale::English).toString(n - 1));
    m.sort(2, Qt::AscendingOrder);
    EXPECT_EQ(m.data(m.index(0, 2)).toString(), "");  // the null first
    EXPECT_EQ(m.data(m.index(1, 2)).toString(), "0");
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), "Cliente");
}

// The rows read as a person reads them, under any desktop locale: Spanish
// headers, the column the answer adds up first, dates day first, dollars
// whole as the answer rounds them (half to even) and other amounts with two
// decimals, thousands marked; the whole value in the tooltip, sorting by value.
TEST(ModeloEvidenciaTest, LasFilasSeLeenComoEnElCuestionario) {
    auto r = std::make_shared<jet::TResultado>();
    r->columnas = {"Tipo", "Folio", "Fecha", "CantidadDivisa", "Cotizacion", "Cantidad", "Otra"};
    const double dFecha = 42832 + (13 * 60 + 45) / 1440.0;  // 07/04/2017 13:45
    r->filas = {
        {std::string("C"), int64_t{20000000123}, jet::TFecha{dFecha}, 22758.5, 21.54,
         25923.179270227392, int64_t{7}},
        {std::string("V"), int64_t{12}, jet::TFecha{42736}, jet::TValor{}, 18.0, 2500.5,
         int64_t{8}},
        {std::string("V"), int64_t{13}, jet::TFecha{42736}, 1234567.0, 18.0, 2501.5, int64_t{9}},
    };
    for (const QLocale& local :
         {QLocale(QLocale::Spanish, QLocale::Spain), QLocale(QLocale::Spanish, QLocale::Mexico)}) {
        TLocalTemporal temporal{local};
        TModeloEvidencia m(r, "Cantidad");
        QStringList encabezados;
        for (int c = 0; c < m.columnCount(); ++c)
            encabezados << m.headerData(c, Qt::Horizontal).toString();
        EXPECT_EQ(encabezados, (QStringList{"Cantidad en dólares", "Tipo", "Folio", "Fecha",
                                            "Cantidad en la divisa", "Cotización", "Otra"}));
        const auto fila = [&](int n) {
            QStringList s;
            for (int c = 0; c < m.columnCount(); ++c) s << m.index(n, c).data().toString();
            return s;
        };
        EXPECT_EQ(fila(0), (QStringList{"25,923", "C", "20000000123", "07/04/2017 13:45",
                                        "22,758.50", "21.54", "7"}));
        EXPECT_EQ(fila(1), (QStringList{"2,500", "V", "12", "01/01/2017 00:00", "", "18", "8"}));
        EXPECT_EQ(fila(2).front(), "2,502");
        EXPECT_EQ(fila(2)[4], "1,234,567.00");
        EXPECT_EQ(m.index(0, 0).data(Qt::ToolTipRole).toString(), "25923.1792702274");
        m.sort(0, Qt::AscendingOrder);
        EXPECT_EQ(fila(0).front(), "2,500");
    }
    // A count reads its rows in their own order.
    TModeloEvidencia conteo(r);
    EXPECT_EQ(conteo.headerData(0, Qt::Horizontal).toString(), "Tipo");
}

TEST(DetalleEnReporteTest, AnswerVariablesNameTheirQuestion) {
    const std::pair<const char*, int> casos[] = {{"preg_52", 52},   {"Cuestionario.preg_2", 2},
                                                 {"PREG_191", 191}, {"NombreCC", 0},
                                                 {"preg_", 0},      {"preg_0", 0},
                                                 {"preg_52x", 0},   {"Otra.preg_5", 0},
                                                 {"preg_1000", 0}};
    for (const auto& [s, n] : casos) EXPECT_EQ(PreguntaDeVariable(s), n) << s;
}

// The point where an answer is painted on the report's page names its
// variable; text around it names none.
TEST(DetalleEnReporteTest, TheValueOnThePageNamesItsVariable) {
    TdmMain dm;
    TManejadorReportes(dm.repGeneral, "Encuesta")
        .AgregaDatoReporte("Cuestionario", "preg_52", "Respuesta: 98765");
    ASSERT_TRUE(dm.repGeneral.Prepara());
    const rpt::TCoincidencia c = dm.repGeneral.Busca("Respuesta: 98765");
    ASSERT_TRUE(c.EsValida());
    // The line of the value: its first letters, and the blank after its end.
    const QRectF r = dm.repGeneral.DameRectCoincidencia(c);
    const QString sVariable =
        dm.repGeneral.DameVariableEn(c.nPagina, {r.left() + 10, r.center().y()});
    EXPECT_EQ(PreguntaDeVariable(sVariable), 52) << sVariable.toStdString();
    EXPECT_EQ(dm.repGeneral.DameVariableEn(c.nPagina, {r.right() - 5, r.center().y()}), "");
    EXPECT_EQ(dm.repGeneral.DameVariableEn(c.nPagina, {1, 1}), "");
    EXPECT_EQ(dm.repGeneral.DameVariableEn(99, r.center()), "");
}

TEST(DetallePreguntaTest, ShowsTheCalculationAndExportsEveryRow) {
    TEvidenciaPregunta e;
    e.nPregunta = 52;
    e.nCalculo = crSuma;
    e.sColumna = "Cantidad";
    e.filas = *Filas(1234);
    std::ostringstream esperado;
    EscribeCsvEvidencia(e.filas, esperado);
    TDetallePregunta d(e, "52  ¿Monto?", "Respuesta: 5", nullptr);
    EXPECT_EQ(d.windowTitle(), "Detalle de la pregunta 52");
    EXPECT_EQ(DescribeCalculo(e), "Suma de Cantidad en dólares de 1,234 operaciones");
    d.DameTabla()->sortByColumn(2, Qt::DescendingOrder);  // the file keeps the data's order
    TDirTemporal dir;
    TGrabaCajas cajas;
    ASSERT_TRUE(d.ExportaCsv(QString::fromStdString((dir / "p.csv").string())));
    EXPECT_EQ(cajas.textos(), std::vector<std::string>{"Se exportaron las filas a " +
                                                       (dir / "p.csv").string() + "."});
    std::ifstream f(dir / "p.csv", std::ios::binary);
    std::stringstream leido;
    leido << f.rdbuf();
    EXPECT_EQ(leido.str(), esperado.str());
}

}  // namespace

namespace {

// Runs f on the modal window that opens next, once it is up.
void AlAbrirse(std::function<void(QWidget*)> f) {
    QTimer::singleShot(0, [f] {
        QWidget* w = QApplication::activeModalWidget();
        ASSERT_NE(w, nullptr);
        f(w);
    });
}

// The preview as the window shows it, with the run's answers: the centre's
// questions still to answer, the others computed.
class VistaConRespuestas : public ::testing::Test {
protected:
    void SetUp() override {
        manejador = CreaManejadorVentana(
            dm.repGeneral, "Encuesta ANDU 2018", 7, almacen,
            [this](rpt::TVistaPrevia& vista) { AgregaAccionDetalle(vista, dm.repGeneral); });
        manejador->AgregaDatoReporte("Cuestionario", "NombreCC", "CAMBIOS DEL NORTE");
        for (int n = 1; n <= 195; ++n)
            manejador->AgregaDatoReporte("Cuestionario", "preg_" + std::to_string(n),
                                         DamePreguntaCC(n) ? sTxCCResponde : "Respuesta: 1");
        // The 2018 question set, without a connection: enough to tell which
        // answers open something.
        cuestionario = std::make_shared<TRepCuestANDU2017>(
            nullptr, [this](const std::string&) { return manejador; }, nullptr, 18.91, 7);
        EnlazaDetalle(dm.repGeneral, cuestionario);
    }

    TAjustesTemporales ajustes;
    TDirTemporal dir;
    std::shared_ptr<TAlmacenRespuestasCC> almacen =
        std::make_shared<TAlmacenRespuestasCC>(QString::fromStdString((dir / "datos").string()));
    TdmMain dm;
    std::shared_ptr<IManejadorReportes> manejador;
    std::shared_ptr<TRepCuestANDU2017> cuestionario;
};

// What the form of the centre's answers shows when it opens: the question
// whose field has the focus, and whether that field is in sight.
struct TFormaAbierta {
    QString sFoco;
    bool bVisible = false;
};

// sCampo: the field the form should end up at.
void LeeFormaAlAbrirse(TFormaAbierta& leida, const QString& sCampo) {
    AlAbrirse([&leida, sCampo](QWidget* w) {
        auto* forma = qobject_cast<TFormaRespuestasCC*>(w);
        ASSERT_NE(forma, nullptr);
        // The form moves to the question once it is laid out.
        QWidget* vista = forma->findChild<QScrollArea*>()->viewport();
        (void)QTest::qWaitFor(
            [&] { return forma->focusWidget() && forma->focusWidget()->objectName() == sCampo; },
            5000);
        QWidget* foco = forma->focusWidget();
        leida.sFoco = foco ? foco->objectName() : QString();
        if (foco && vista->isAncestorOf(foco)) {
            const QRect r(foco->mapTo(vista, QPoint(0, 0)), foco->size());
            leida.bVisible = vista->rect().contains(r);
        }
        forma->reject();
    });
}

}  // namespace

// A click on an answer the centre gives opens its form at that question, and
// only answers open something (the hand shows over nothing else).
TEST_F(VistaConRespuestas, UnClicEnUnaRespuestaDelCentroAbreSuForma) {
    TFormaAbierta leida;
    bool bAbreNombre = true, bAbreCC = false, bAbreCalculada = false;
    AlAbrirse([&](QWidget* w) {
        auto* vista = qobject_cast<rpt::TVistaPrevia*>(w);
        ASSERT_NE(vista, nullptr);
        bAbreNombre = dm.repGeneral.AbreVariable("Cuestionario.NombreCC");
        bAbreCC = dm.repGeneral.AbreVariable("Cuestionario.preg_193");
        bAbreCalculada = dm.repGeneral.AbreVariable("Cuestionario.preg_52");
        LeeFormaAlAbrirse(leida, "preg_193");
        dm.repGeneral.DameAlPulsarVariable()("Cuestionario.preg_193", vista);
        vista->reject();
    });
    manejador->MuestraReporte();
    EXPECT_FALSE(bAbreNombre);
    EXPECT_TRUE(bAbreCC);
    EXPECT_TRUE(bAbreCalculada);
    EXPECT_EQ(leida.sFoco, "preg_193");
    EXPECT_TRUE(leida.bVisible) << "the last questions are far down the form";
}

// "Detalle de la pregunta…" reaches the same by keyboard: Ctrl+D, the
// question typed, Enter.
TEST_F(VistaConRespuestas, DetalleDeLaPreguntaPorTeclado) {
    TFormaAbierta leida;
    QString sAccion, sPropuesta;
    AlAbrirse([&](QWidget* w) {
        auto* vista = qobject_cast<rpt::TVistaPrevia*>(w);
        ASSERT_NE(vista, nullptr);
        auto* accion = vista->findChild<QAction*>(kAccionDetalle);
        ASSERT_NE(accion, nullptr);
        sAccion = accion->text() + u'|' + accion->shortcut().toString();
        vista->IrAPagina(2);
        AlAbrirse([&](QWidget* d) {
            auto* pide = qobject_cast<QInputDialog*>(d);
            ASSERT_NE(pide, nullptr);
            sPropuesta = QString::number(pide->intValue());
            LeeFormaAlAbrirse(leida, "preg_21");
            pide->setIntValue(21);
            pide->accept();
        });
        accion->trigger();
        vista->reject();
    });
    manejador->MuestraReporte();
    EXPECT_EQ(sAccion, "Detalle de la pregunta…|Ctrl+D");
    EXPECT_EQ(sPropuesta, "7") << "the first question of the page shown (page 3)";
    EXPECT_EQ(leida.sFoco, "preg_21");
}
