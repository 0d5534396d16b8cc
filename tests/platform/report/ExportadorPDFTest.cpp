#include <gtest/gtest.h>

#include <QFile>

#include "HerramientasPDF.h"
#include "PlantillaPrueba.h"
#include "TDirTemporal.h"
#include "platform/report/TExportadorPDF.h"
#include "platform/report/TReporte.h"
#include "tests/platform/report/AppPrueba.h"

using rpt::TReporte;

namespace {

class ExportaPDF : public ::testing::Test {
protected:
    void SetUp() override {
        AseguraApp();
        ASSERT_TRUE(reporte.CargaPlantilla(PlantillaPrueba()));
        reporte.Variables().AsignaVariable("Cuestionario", "NombreCC", "'Ñandú & Cía'");
        rpt::TOpcionesPDF o;
        o.sTitulo = "Título á";
        o.sAutor = "Autor";
        o.sAsunto = "Asunto";
        reporte.SetOpcionesPDF(o);
        ASSERT_TRUE(reporte.Prepara());
    }
    QString Ruta(const char* s) { return QString::fromStdString((dir / s).string()); }
    TReporte reporte;
    TDirTemporal dir;
};

}  // namespace

TEST_F(ExportaPDF, InformacionTextoYPreferencias) {
    const QString sPdf = Ruta("r.pdf");
    int nLlamadas = 0;
    ASSERT_TRUE(reporte.ExportaPDF(sPdf, [&](int, int nTotal) {
        EXPECT_EQ(nTotal, 2);
        return ++nLlamadas > 0;
    })) << reporte.DameError().toStdString();
    EXPECT_EQ(nLlamadas, 3);  // before each page and when done

    auto info = EjecutaHerramienta("pdfinfo", {sPdf});
    if (!info)
        GTEST_SKIP() << "poppler-utils no instalado";
    EXPECT_EQ(CampoPdfinfo(*info, "Title"), "Título á");
    EXPECT_EQ(CampoPdfinfo(*info, "Author"), "Autor");
    EXPECT_EQ(CampoPdfinfo(*info, "Subject"), "Asunto");
    EXPECT_EQ(CampoPdfinfo(*info, "Pages"), "2");
    EXPECT_EQ(CampoPdfinfo(*info, "Encrypted"), "no");

    auto texto = EjecutaHerramienta("pdftotext", {sPdf, "-"});
    ASSERT_TRUE(texto);
    EXPECT_TRUE(texto->contains("Empresa: Ñandú & Cía")) << texto->toStdString();
    EXPECT_TRUE(texto->contains("Página 2 de 2"));

    RevisaFuentesYPreferencias(sPdf);
}

TEST_F(ExportaPDF, SobrescribeSinPreguntarYNoDejaArchivosAMedias) {
    const QString sPdf = Ruta("r.pdf");
    {
        QFile f(sPdf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("viejo");
    }
    ASSERT_TRUE(reporte.ExportaPDF(sPdf));
    QFile f(sPdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("%PDF-1.6"));

    // Cancelled half way: the earlier file stays as it was.
    const QByteArray antes = [&] {
        QFile g(sPdf);
        g.open(QIODevice::ReadOnly);
        return g.readAll();
    }();
    EXPECT_FALSE(reporte.ExportaPDF(sPdf, [](int nHechas, int) { return nHechas < 1; }));
    QFile g(sPdf);
    ASSERT_TRUE(g.open(QIODevice::ReadOnly));
    EXPECT_EQ(g.readAll(), antes);
}

TEST_F(ExportaPDF, FallasSeReportanComoFalsoConMotivo) {
    EXPECT_FALSE(reporte.ExportaPDF(Ruta("no/hay/carpeta.pdf")));
    EXPECT_TRUE(reporte.DameError().contains("carpeta.pdf"));

    rpt::TOpcionesPDF o = reporte.DameOpcionesPDF();
    o.bSobrescribir = false;
    const QString sPdf = Ruta("existe.pdf");
    ASSERT_TRUE(reporte.ExportaPDF(sPdf));
    QString sError;
    EXPECT_FALSE(rpt::ExportaPDF(reporte, sPdf, o, {}, &sError));
    EXPECT_FALSE(sError.isEmpty());

    TReporte vacio;
    EXPECT_FALSE(rpt::ExportaPDF(vacio, Ruta("vacio.pdf"), o, {}, &sError));
    EXPECT_FALSE(QFile::exists(Ruta("vacio.pdf")));
}
