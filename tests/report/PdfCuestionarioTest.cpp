#include <gtest/gtest.h>

#include <QJsonObject>

#include "TDirTemporal.h"
#include "report/DataModule.h"
#include "report/ManejadorReportes.h"
#include "tests/platform/report/AppPrueba.h"
#include "tests/platform/report/HerramientasPDF.h"

// The questionnaire exported with the data module's PDF settings, checked by
// the tools a user's viewer relies on.
TEST(PdfCuestionario, InformacionPaginasTextoYPreferencias) {
    AseguraApp();
    TdmMain dm;
    TManejadorReportes m(dm.repGeneral, "Encuesta ANDU 2018");
    m.AgregaDatoReporte("Cuestionario", "NombreCC", "CAMBIOS O'BRIEN, S.A. DE C.V.");
    for (int n = 1; n <= 195; ++n)
        m.AgregaDatoReporte("Cuestionario", "preg_" + std::to_string(n),
                            "Respuesta: " + std::to_string(1000 + n));
    ASSERT_TRUE(dm.repGeneral.Prepara());
    TDirTemporal dir;
    const QString sPdf = QString::fromStdString((dir / "CuestionarioKOVA.pdf").string());
    ASSERT_TRUE(dm.repGeneral.ExportaPDF(sPdf)) << dm.repGeneral.DameError().toStdString();

    auto info = EjecutaHerramienta("pdfinfo", {sPdf});
    if (!info)
        GTEST_SKIP() << "poppler-utils no instalado";
    EXPECT_EQ(CampoPdfinfo(*info, "Pages"), "22");
    EXPECT_TRUE(CampoPdfinfo(*info, "Page size").startsWith("612 x 792 pts"));
    EXPECT_EQ(CampoPdfinfo(*info, "Title"), "Cuestionario KOVA");
    EXPECT_EQ(CampoPdfinfo(*info, "Author"), "Norvex");
    EXPECT_EQ(CampoPdfinfo(*info, "Subject"), "Cuestionario KOVA");
    EXPECT_EQ(CampoPdfinfo(*info, "Encrypted"), "no");

    for (int p = 1; p <= 22; ++p) {
        auto texto = EjecutaHerramienta(
            "pdftotext", {"-f", QString::number(p), "-l", QString::number(p), sPdf, "-"});
        ASSERT_TRUE(texto);
        EXPECT_TRUE(texto->contains(QStringLiteral("Página %1 de 22").arg(p))) << p;
        if (p > 1) {
            EXPECT_TRUE(texto->contains("CUESTIONARIO DE OPERATIVIDAD CENTROS CAMBIARIOS 2018"));
            EXPECT_TRUE(texto->contains("CAMBIOS O'BRIEN, S.A. DE C.V.")) << p;
        }
    }
    auto todo = EjecutaHerramienta("pdftotext", {sPdf, "-"});
    ASSERT_TRUE(todo);
    for (const char* s : {"NOTA 1: Si cuenta con sucursales",
                          "¿Realizó operaciones de compra de dólares americanos durante 2017?",
                          "¿Cuántos usuarios personas físicas nacionales? (no incluir PEPs)",
                          "Respuesta: 1001", "Respuesta: 1195"})
        EXPECT_TRUE(todo->contains(QString::fromUtf8(s))) << s;

    RevisaFuentesYPreferencias(sPdf);
}
