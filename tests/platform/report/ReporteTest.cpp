#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCursor>

#include "PlantillaPrueba.h"
#include "platform/report/TReporte.h"
#include "tests/platform/report/AppPrueba.h"

using rpt::TReporte;

namespace {

class Reporte : public ::testing::Test {
protected:
    void SetUp() override {
        AseguraApp();
        ASSERT_TRUE(reporte.CargaPlantilla(PlantillaPrueba())) << reporte.DameError().toStdString();
    }
    QTextDocument& Doc(int nPagina, int nObjeto = 0) {
        return *reporte.DamePagina(nPagina).objetos.at(nObjeto).documento;
    }
    // The character format at the first occurrence of a text.
    QTextCharFormat FormatoDe(QTextDocument& doc, const QString& s) {
        QTextCursor c = doc.find(s);
        EXPECT_FALSE(c.isNull()) << s.toStdString();
        QTextCursor en(&doc);
        en.setPosition(c.selectionStart() + 1);
        return en.charFormat();
    }
    TReporte reporte;
};

}  // namespace

TEST_F(Reporte, LosValoresToman_ElFormatoDelNombreEntreCorchetes) {
    reporte.Variables().AsignaVariable("Cuestionario", "NombreCC", "'CAMBIOS O'BRIEN'");
    reporte.Variables().AsignaVariable("Cuestionario", "preg_1", "'Respuesta: 25'");
    ASSERT_TRUE(reporte.Prepara());

    EXPECT_EQ(Doc(0).toPlainText(),
              "Empresa: CAMBIOS O'BRIEN\nRespuesta: 25 fin\n[desconocida] y 1");
    EXPECT_TRUE(FormatoDe(Doc(0), "O'BRIEN").font().bold());
    EXPECT_FALSE(FormatoDe(Doc(0), "Empresa").font().bold());
    EXPECT_TRUE(FormatoDe(Doc(0), "Respuesta").font().underline());
    EXPECT_FALSE(FormatoDe(Doc(0), "fin").font().underline());
    EXPECT_EQ(Doc(1, 0).toPlainText(), "Segunda CAMBIOS O'BRIEN");  // name in other case
}

TEST_F(Reporte, PaginaYTotalEnCadaPie) {
    ASSERT_TRUE(reporte.Prepara());
    ASSERT_EQ(reporte.DameNumPaginas(), 2);
    EXPECT_EQ(Doc(0, 1).toPlainText(), "Página 1 de 2");
    EXPECT_EQ(Doc(1, 1).toPlainText(), "Página 2 de 2");
}

TEST_F(Reporte, UnValorNoSeLeeComoNombreYSusSaltosQuedanEnElParrafo) {
    reporte.Variables().AsignaVariable("Cuestionario", "NombreCC", "'[preg_1] [Page#]'");
    reporte.Variables().AsignaVariable("Cuestionario", "preg_1", "uno\r\ndos");
    ASSERT_TRUE(reporte.Prepara());
    QString s = Doc(0).toPlainText();
    EXPECT_TRUE(s.startsWith("Empresa: [preg_1] [Page#]\n")) << s.toStdString();
    EXPECT_EQ(Doc(0).blockCount(), 3);  // the CR LF broke the line, not the paragraph
    EXPECT_EQ(Doc(0).findBlockByNumber(1).text(),
              QString("uno") + QChar::LineSeparator + "dos fin");
}

TEST_F(Reporte, CadaPreparacionPartedeLosValoresActuales) {
    reporte.Variables().AsignaVariable("Cuestionario", "preg_1", "'primero'");
    ASSERT_TRUE(reporte.Prepara());
    reporte.Variables().AsignaVariable("Cuestionario", "preg_1", "'segundo'");
    ASSERT_TRUE(reporte.Prepara());
    EXPECT_EQ(reporte.DameNumPaginas(), 2);
    EXPECT_TRUE(Doc(0).toPlainText().contains("segundo"));
    EXPECT_FALSE(Doc(0).toPlainText().contains("primero"));
}

TEST_F(Reporte, GeometriaDePapelMargenesYBandas) {
    ASSERT_TRUE(reporte.Prepara());
    const auto& p1 = reporte.DamePagina(0);
    EXPECT_NEAR(p1.tamanoPt.width(), 612, 0.01);
    EXPECT_NEAR(p1.tamanoPt.height(), 792, 0.01);
    // Header object 1 mm inside the header band at the top margin.
    EXPECT_NEAR(p1.objetos[0].rectPt.x(), rpt::MmAPt(11), 0.01);
    EXPECT_NEAR(p1.objetos[0].rectPt.y(), rpt::MmAPt(11), 0.01);
    // Footer band at the foot of the printable area: 279.4 - 10 - 6.
    EXPECT_NEAR(p1.objetos[1].rectPt.y(), rpt::MmAPt(263.4), 0.01);
    // Inner gap of 2 by 1 pixels at 96 per inch.
    QRectF texto = p1.objetos[0].DameRectTexto();
    EXPECT_NEAR(texto.left() - p1.objetos[0].rectPt.left(), 1.5, 1e-9);
    EXPECT_NEAR(texto.top() - p1.objetos[0].rectPt.top(), 0.75, 1e-9);
    EXPECT_NEAR(reporte.DamePagina(1).tamanoPt.width(), 792, 0.01);  // landscape
}

TEST_F(Reporte, BuscarRecorreLasPaginasYVuelveANada) {
    reporte.Variables().AsignaVariable("Cuestionario", "NombreCC", "'Norte'");
    ASSERT_TRUE(reporte.Prepara());
    auto c1 = reporte.Busca("norte");
    ASSERT_TRUE(c1.EsValida());
    EXPECT_EQ(c1.nPagina, 0);
    auto c2 = reporte.Busca("norte", c1);
    ASSERT_TRUE(c2.EsValida());
    EXPECT_EQ(c2.nPagina, 1);
    EXPECT_FALSE(reporte.Busca("norte", c2).EsValida());
    EXPECT_FALSE(reporte.Busca("no aparece").EsValida());
    QRectF r = reporte.DameRectCoincidencia(c2);
    EXPECT_TRUE(reporte.DamePagina(1).objetos[0].rectPt.contains(r.topLeft()));
}

TEST_F(Reporte, UnaPlantillaMalFormadaSeRechazaYSeConservaLaAnterior) {
    for (const char* s : {"{no es json", R"({"paginas": []})",
                          R"({"paginas": [{"encabezado": {"objetos": [{"rect": [1, 2]}]}}]})",
                          R"({"paginas": [{"encabezado": {"objetos": [{"rect": [0,0,1,1],
                              "texto": {"parrafos": [{"alinea": "diagonal"}]}}]}}]})"}) {
        EXPECT_FALSE(reporte.CargaPlantilla(s)) << s;
        EXPECT_FALSE(reporte.DameError().isEmpty());
    }
    EXPECT_FALSE(reporte.CargaPlantillaDeArchivo("/no/existe.json"));
    ASSERT_TRUE(reporte.Prepara());
    EXPECT_EQ(reporte.DameNumPaginas(), 2);
    EXPECT_TRUE(reporte.Variables().DameValor("preg_1").has_value());
}
