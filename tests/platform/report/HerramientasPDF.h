#pragma once

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
