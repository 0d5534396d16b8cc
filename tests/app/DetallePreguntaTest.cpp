// The answer's detail: the click on a value in the preview names its
// question, and the table of rows stays cheap and sorts every row.
#include <gtest/gtest.h>

#include <QTableView>
#include <fstream>
#include <sstream>

#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "app/DetalleEnReporte.h"
#include "app/DetallePregunta.h"
#include "app/ModeloEvidencia.h"
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
    EXPECT_EQ(m.data(m.index(0, 2)).toString(), QString::number(n - 1));
    m.sort(2, Qt::AscendingOrder);
    EXPECT_EQ(m.data(m.index(0, 2)).toString(), "");  // the null first
    EXPECT_EQ(m.data(m.index(1, 2)).toString(), "0");
    EXPECT_EQ(m.headerData(1, Qt::Horizontal).toString(), "Cliente");
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
