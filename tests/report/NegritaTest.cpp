// Bold Tahoma (the window's title, the cover's "2018") must look bold on
// screen and in the PDF: its strokes are measured against the regular face.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include "TDirTemporal.h"
#include "platform/report/TFuentesReporte.h"
#include "tests/platform/report/AppPrueba.h"
#include "tests/platform/report/HerramientasPDF.h"

namespace {

const char* const kTexto = "Cuestionario de Operatividad KOVA - 2018";

// Mean length of the horizontal runs of dark pixels: the stroke width.
double GrosorTrazo(const QImage& imagen) {
    long nOscuros = 0, nTramos = 0;
    for (int y = 0; y < imagen.height(); ++y) {
        bool bEnTramo = false;
        for (int x = 0; x < imagen.width(); ++x) {
            const bool bOscuro = qGray(imagen.pixel(x, y)) < 128;
            nOscuros += bOscuro;
            nTramos += bOscuro && !bEnTramo;
            bEnTramo = bOscuro;
        }
    }
    return nTramos ? double(nOscuros) / double(nTramos) : 0;
}

QFont Tahoma(int nPx, bool bNegrita) {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(nPx);
    f.setBold(bNegrita);
    return f;
}

class Negrita : public ::testing::Test {
protected:
    void SetUp() override {
        AseguraApp();
        if (!QFile::exists("/usr/share/wine/fonts/tahoma.ttf"))
            GTEST_SKIP() << "fonts-wine no instalado";
        rpt::RegistraFuentesReporte();
    }
};

}  // namespace

TEST_F(Negrita, EnPantallaElTrazoEsMasGruesoQueElNormal) {
    for (int nPx : {11, 16, 27}) {
        double dGrosor[2];
        for (bool bNegrita : {false, true}) {
            QImage imagen(40 * nPx, 3 * nPx, QImage::Format_RGB32);
            imagen.fill(Qt::white);
            QPainter pintor(&imagen);
            pintor.setFont(Tahoma(nPx, bNegrita));
            pintor.setPen(Qt::black);
            pintor.drawText(nPx, 2 * nPx, kTexto);
            pintor.end();
            dGrosor[bNegrita] = GrosorTrazo(imagen);
        }
        EXPECT_GT(dGrosor[1], 1.3 * dGrosor[0])
            << nPx << " px: normal " << dGrosor[0] << ", negrita " << dGrosor[1];
    }
}

TEST_F(Negrita, EnElPdfElTrazoEsMasGruesoQueElNormal) {
    TDirTemporal dir;
    const QString sPdf = QString::fromStdString((dir / "negrita.pdf").string());
    {
        QPdfWriter pdf(sPdf);
        pdf.setResolution(72);
        QPainter pintor(&pdf);
        pintor.setPen(Qt::black);
        for (bool bNegrita : {false, true}) {
            pintor.setFont(Tahoma(27, bNegrita));
            pintor.drawText(20, bNegrita ? 160 : 60, kTexto);
        }
    }
    const QString sRaiz = QString::fromStdString((dir / "pagina").string());
    if (!EjecutaHerramienta("pdftoppm", {"-r", "150", "-gray", "-png", "-f", "1", "-l", "1",
                                         "-singlefile", sPdf, sRaiz}))
        GTEST_SKIP() << "poppler-utils no instalado";
    const QImage pagina(sRaiz + ".png");
    ASSERT_FALSE(pagina.isNull());
    // The regular line lies above y = 110 pt, the bold one below it.
    const int nCorte = 110 * 150 / 72;
    const double dNormal = GrosorTrazo(pagina.copy(0, 0, pagina.width(), nCorte));
    const double dNegrita =
        GrosorTrazo(pagina.copy(0, nCorte, pagina.width(), pagina.height() - nCorte));
    EXPECT_GT(dNegrita, 1.3 * dNormal) << "normal " << dNormal << ", negrita " << dNegrita;
}
