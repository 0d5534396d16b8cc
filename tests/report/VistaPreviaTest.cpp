#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <map>
#include <set>

#include "TAjustesTemporales.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "platform/report/ImpresionReporte.h"
#include "platform/report/TDialogoPDF.h"
#include "platform/report/TVistaPrevia.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"
#include "tests/platform/report/AppPrueba.h"
#include "tests/platform/report/HerramientasPDF.h"

namespace {

class VistaPrevia : public ::testing::Test {
protected:
    void SetUp() override {
        AseguraApp();
        TManejadorReportes m(dm.repGeneral, "Encuesta ANDU 2018");
        m.AgregaDatoReporte("Cuestionario", "NombreCC", "CAMBIOS DEL NORTE");
        for (int n = 1; n <= 195; ++n)
            m.AgregaDatoReporte("Cuestionario", "preg_" + std::to_string(n),
                                "Respuesta: " + std::to_string(n));
        dm.repGeneral.SetNombreDocumento("Encuesta ANDU 2018");
        dm.repGeneral.Prepara();
    }
    TdmMain dm;
};

}  // namespace

TEST_F(VistaPrevia, BarraConLasAccionesPermitidasYNingunaOtra) {
    rpt::TVistaPrevia vista(dm.repGeneral);
    std::set<QString> nombres;
    for (QAction* a : vista.DameBarra()->actions())
        if (!a->isSeparator())
            nombres.insert(a->objectName());
    EXPECT_EQ(nombres,
              (std::set<QString>{"acImprimir", "acBuscar", "acAcercar", "acAlejar",
                                 "acPantallaCompleta", "acEsquema", "acMiniaturas", "acPrimera",
                                 "acAnterior", "acSiguiente", "acUltima", "acPDF", "acCerrar"}));
    // Nothing to open, save, edit or export in general, anywhere in the window.
    for (QAction* a : vista.findChildren<QAction*>()) {
        QString s = a->text().toLower();
        for (const char* prohibido : {"abrir", "guardar", "editar", "diseñ"})
            EXPECT_FALSE(s.contains(QString::fromUtf8(prohibido))) << s.toStdString();
    }
    EXPECT_TRUE(vista.isModal());
    EXPECT_DOUBLE_EQ(vista.DameZoom(), 1.0);
}

// Each button shows the preview's own drawing, whatever icon theme the
// desktop has (or none): none is missing, no two look alike, and printing is
// not the style's floppy "save" picture.
TEST_F(VistaPrevia, CadaBotonMuestraSuPropioDibujo) {
    rpt::TVistaPrevia vista(dm.repGeneral);
    std::map<QString, QAction*> acciones;
    for (QAction* a : vista.DameBarra()->actions()) acciones[a->objectName()] = a;
    std::set<QByteArray> dibujos;
    for (const char* sNombre : {"acImprimir", "acBuscar", "acAcercar", "acAlejar",
                                "acPantallaCompleta", "acEsquema", "acMiniaturas", "acPrimera",
                                "acAnterior", "acSiguiente", "acUltima", "acPDF", "acCerrar"}) {
        ASSERT_TRUE(acciones.count(sNombre)) << sNombre;
        const QIcon propio = rpt::DameIconoVista(sNombre);
        ASSERT_FALSE(propio.isNull()) << sNombre;
        const QImage imagen = acciones[sNombre]->icon().pixmap(24).toImage();
        EXPECT_EQ(imagen, propio.pixmap(24).toImage()) << sNombre;
        const QImage normal = imagen.convertToFormat(QImage::Format_ARGB32);
        EXPECT_TRUE(dibujos
                        .insert(QByteArray(reinterpret_cast<const char*>(normal.constBits()),
                                           normal.sizeInBytes()))
                        .second)
            << sNombre << " se parece a otro botón";
    }
    const QImage guardar =
        vista.style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(24).toImage();
    EXPECT_NE(acciones["acImprimir"]->icon().pixmap(24).toImage(), guardar);
    EXPECT_TRUE(rpt::DameIconoVista("acNoExiste").isNull());
}

// The toolbar is there for the keyboard too: every button takes the focus
// with Tab and acts on Space, every action has a key named in its tooltip,
// and the pages have the focus when the preview opens.
TEST_F(VistaPrevia, LaBarraSeUsaConElTeclado) {
    rpt::TVistaPrevia vista(dm.repGeneral);
    vista.resize(900, 700);
    vista.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&vista));
    QWidget* foco = QApplication::focusWidget();
    ASSERT_NE(foco, nullptr);
    EXPECT_TRUE(qobject_cast<QScrollArea*>(foco)) << foco->metaObject()->className();
    for (QAction* a : vista.DameBarra()->actions()) {
        if (a->isSeparator())
            continue;
        const std::string s = a->objectName().toStdString();
        QWidget* boton = vista.DameBarra()->widgetForAction(a);
        ASSERT_NE(boton, nullptr) << s;
        EXPECT_TRUE(boton->focusPolicy() & Qt::TabFocus) << s;
        if (a->objectName() == u"acCerrar") {
            EXPECT_EQ(a->toolTip(), "Cerrar (Esc)");
            continue;
        }
        ASSERT_FALSE(a->shortcut().isEmpty()) << s;
        EXPECT_TRUE(a->toolTip().contains(a->shortcut().toString(QKeySequence::NativeText))) << s;
    }
    // Tab from the pages reaches the buttons; Space on "Página siguiente"
    // turns the page.
    QTest::keyClick(foco, Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->parentWidget(), vista.DameBarra());
    QWidget* siguiente =
        vista.DameBarra()->widgetForAction(vista.findChild<QAction*>("acSiguiente"));
    siguiente->setFocus(Qt::TabFocusReason);
    QTest::keyClick(siguiente, Qt::Key_Space);
    EXPECT_EQ(vista.DamePaginaActual(), 1);
}

TEST_F(VistaPrevia, NavegacionZoomEsquemaYMiniaturas) {
    rpt::TVistaPrevia vista(dm.repGeneral);
    vista.resize(900, 700);
    vista.show();
    auto accion = [&](const char* s) { vista.findChild<QAction*>(s)->trigger(); };
    accion("acUltima");
    EXPECT_EQ(vista.DamePaginaActual(), 21);
    accion("acSiguiente");
    EXPECT_EQ(vista.DamePaginaActual(), 21);
    accion("acAnterior");
    EXPECT_EQ(vista.DamePaginaActual(), 20);
    accion("acPrimera");
    accion("acAnterior");
    EXPECT_EQ(vista.DamePaginaActual(), 0);

    accion("acAcercar");
    EXPECT_DOUBLE_EQ(vista.DameZoom(), 1.25);
    accion("acAlejar");
    accion("acAlejar");
    EXPECT_DOUBLE_EQ(vista.DameZoom(), 0.8);

    accion("acEsquema");
    auto* esquema = vista.findChild<QTreeWidget*>();
    ASSERT_TRUE(esquema && esquema->isVisible());
    EXPECT_EQ(esquema->topLevelItem(0)->childCount(), 22);
    accion("acMiniaturas");
    auto* miniaturas = vista.findChild<QListWidget*>();
    ASSERT_TRUE(miniaturas && miniaturas->isVisible());
    EXPECT_EQ(miniaturas->count(), 22);
    miniaturas->setCurrentRow(9);
    EXPECT_EQ(vista.DamePaginaActual(), 9);
}

TEST_F(VistaPrevia, BuscarLlevaALaPaginaDelHallazgo) {
    rpt::TVistaPrevia vista(dm.repGeneral);
    vista.resize(900, 700);
    vista.show();
    ASSERT_TRUE(vista.Busca("Respuesta: 150"));
    EXPECT_EQ(vista.DamePaginaActual(), 16);  // page 17
    ASSERT_TRUE(vista.Busca("Traslado de valores"));
    EXPECT_EQ(vista.DamePaginaActual(), 20);
    ASSERT_TRUE(vista.Busca("Traslado de valores"));  // next hit
    EXPECT_EQ(vista.DamePaginaActual(), 21);
    EXPECT_FALSE(vista.Busca("texto que no aparece"));
}

TEST_F(VistaPrevia, ImprimeEnUnaImpresoraPDF) {
    TDirTemporal dir;
    const QString sPdf = QString::fromStdString((dir / "impreso.pdf").string());
    rpt::TVistaPrevia vista(dm.repGeneral);
    QPrinter& impresora = vista.DameImpresora();
    EXPECT_EQ(impresora.docName(), "Encuesta ANDU 2018");
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(sPdf);
    ASSERT_TRUE(rpt::ImprimeReporte(dm.repGeneral, impresora));

    auto info = EjecutaHerramienta("pdfinfo", {sPdf});
    if (!info)
        GTEST_SKIP() << "poppler-utils no instalado";
    EXPECT_EQ(CampoPdfinfo(*info, "Pages"), "22");
    EXPECT_TRUE(CampoPdfinfo(*info, "Page size").startsWith("612 x 792"));
    EXPECT_EQ(CampoPdfinfo(*info, "Title"), "Encuesta ANDU 2018");  // the job's name
    auto texto = EjecutaHerramienta("pdftotext", {"-f", "22", "-l", "22", sPdf, "-"});
    ASSERT_TRUE(texto);
    EXPECT_TRUE(texto->contains("Página 22 de 22"));

    // The range chosen in the print dialog.
    impresora.setPrintRange(QPrinter::PageRange);
    impresora.setFromTo(3, 4);
    ASSERT_TRUE(rpt::ImprimeReporte(dm.repGeneral, impresora));
    EXPECT_EQ(CampoPdfinfo(*EjecutaHerramienta("pdfinfo", {sPdf}), "Pages"), "2");
    texto = EjecutaHerramienta("pdftotext", {sPdf, "-"});
    ASSERT_TRUE(texto);
    EXPECT_TRUE(texto->contains("Página 3 de 22") && texto->contains("Página 4 de 22"));
    EXPECT_FALSE(texto->contains("Página 2 de 22"));
}

// With no documents folder the proposed file is at home, and exporting to it
// as proposed writes it there.
TEST_F(VistaPrevia, ElPDFPropuestoSeEscribeAunqueNoHayaCarpetaDeDocumentos) {
    TAjustesTemporales ajustes;
    TGrabaCajas cajas;
    rpt::TVistaPrevia vista(dm.repGeneral);
    QString sPropuesto;
    QTimer::singleShot(0, [&] {
        auto* dialogo = qobject_cast<rpt::TDialogoPDF*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialogo);
        sPropuesto = dialogo->findChild<QLineEdit*>("archivo")->text();
        dialogo->accept();
    });
    vista.findChild<QAction*>("acPDF")->trigger();
    const auto esperado = ajustes.Home() / "CuestionarioKOVA.pdf";
    EXPECT_EQ(sPropuesto.toStdString(), esperado.string());
    EXPECT_TRUE(std::filesystem::is_regular_file(esperado));
    EXPECT_EQ(cajas.textos(),
              std::vector<std::string>{"Se exportó el reporte a " + esperado.string() + "."});
}

TEST_F(VistaPrevia, ElBotonPDFConfirmaOpcionesYReemplazaElArchivo) {
    TAjustesTemporales ajustes;
    TDirTemporal dir;
    const QString sPdf = QString::fromStdString((dir / "salida.pdf").string());
    {
        QFile viejo(sPdf);
        ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
        viejo.write("no es un pdf");
    }
    rpt::TVistaPrevia vista(dm.repGeneral);
    QString sPropuesto;
    QTimer::singleShot(0, [&] {
        auto* dialogo = qobject_cast<rpt::TDialogoPDF*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialogo);
        auto* archivo = dialogo->findChild<QLineEdit*>("archivo");
        sPropuesto = QFileInfo(archivo->text()).fileName();
        archivo->setText(sPdf);
        dialogo->accept();
    });
    vista.findChild<QAction*>("acPDF")->trigger();
    EXPECT_EQ(sPropuesto, "CuestionarioKOVA.pdf");

    auto info = EjecutaHerramienta("pdfinfo", {sPdf});
    if (!info)
        GTEST_SKIP() << "poppler-utils no instalado";
    EXPECT_EQ(CampoPdfinfo(*info, "Pages"), "22");
    EXPECT_EQ(CampoPdfinfo(*info, "Title"), "Cuestionario KOVA");
    EXPECT_EQ(CampoPdfinfo(*info, "Author"), "Norvex");
}

// Enter exports from the file field, whatever button had the focus before,
// and the field shows a path under the home folder whole.
TEST(DialogoPDF, EnterExportaYElArchivoSeLeeEntero) {
    AseguraApp();
    rpt::TOpcionesPDF opciones;
    opciones.sArchivoPropuesto = "CuestionarioKOVA";
    const QString sCarpeta = QStringLiteral("/home/cumplimiento/Documentos/Reportes KOVA 2018");
    rpt::TDialogoPDF dialogo(opciones, sCarpeta);
    dialogo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialogo));
    auto* archivo = dialogo.findChild<QLineEdit*>("archivo");
    EXPECT_GE(archivo->width(), archivo->fontMetrics().horizontalAdvance(archivo->text()));
    // The chooser's button was pressed before with the mouse: it keeps no
    // claim on Enter.
    dialogo.findChild<QPushButton*>("elegir")->setFocus();
    archivo->setFocus();
    QTest::keyClick(archivo, Qt::Key_Return);
    EXPECT_EQ(dialogo.result(), QDialog::Accepted);
    EXPECT_FALSE(dialogo.isVisible());
}
