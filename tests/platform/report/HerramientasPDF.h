#pragma once

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <optional>

// Runs a PDF tool (pdfinfo, pdftotext, qpdf...) and returns what it printed,
// or nullopt when the tool is not installed or failed.
inline std::optional<QString> EjecutaHerramienta(const QString& sPrograma,
                                                 const QStringList& argumentos) {
    if (QStandardPaths::findExecutable(sPrograma).isEmpty())
        return std::nullopt;
    QProcess proceso;
    proceso.start(sPrograma, argumentos);
    if (!proceso.waitForFinished(60000) || proceso.exitStatus() != QProcess::NormalExit ||
        proceso.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(proceso.readAllStandardOutput());
}

// The value of one "Clave: valor" line of pdfinfo's output.
inline QString CampoPdfinfo(const QString& sSalida, const QString& sClave) {
    for (const QString& linea : sSalida.split('\n'))
        if (linea.startsWith(sClave + ':'))
            return linea.mid(sClave.size() + 1).trimmed();
    return {};
}

// The document catalogue (the trailer's /Root) as qpdf's JSON shows it.
inline std::optional<QJsonObject> CatalogoPDF(const QString& sPdf) {
    auto salida = EjecutaHerramienta("qpdf", {"--json", "--json-key=qpdf", sPdf});
    if (!salida)
        return std::nullopt;
    QJsonObject objetos =
        QJsonDocument::fromJson(salida->toUtf8()).object().value("qpdf").toArray().at(1).toObject();
    QString sRaiz =
        objetos.value("trailer").toObject().value("value").toObject().value("/Root").toString();
    return objetos.value("obj:" + sRaiz).toObject().value("value").toObject();
}

// What every exported PDF promises whatever its pages: all fonts embedded
// (Liberation Serif among them), the viewer's preferences as the export sets
// them, and no outline.
inline void RevisaFuentesYPreferencias(const QString& sPdf) {
    auto fuentes = EjecutaHerramienta("pdffonts", {sPdf});
    ASSERT_TRUE(fuentes);
    EXPECT_TRUE(fuentes->contains("LiberationSerif"));
    for (const QString& linea : fuentes->split('\n').mid(2))
        if (!linea.isEmpty()) {
            EXPECT_TRUE(linea.contains(" yes ")) << "fuente sin incrustar: " << linea.toStdString();
        }

    auto catalogo = CatalogoPDF(sPdf);
    ASSERT_TRUE(catalogo);
    QJsonObject vp = catalogo->value("/ViewerPreferences").toObject();
    for (const char* sClave :
         {"/HideToolbar", "/HideMenubar", "/HideWindowUI", "/FitWindow", "/CenterWindow"}) {
        ASSERT_TRUE(vp.value(sClave).isBool()) << sClave;
        EXPECT_FALSE(vp.value(sClave).toBool()) << sClave;
    }
    EXPECT_EQ(vp.value("/PrintScaling").toString(), "/None");
    EXPECT_FALSE(catalogo->contains("/Outlines"));
}
