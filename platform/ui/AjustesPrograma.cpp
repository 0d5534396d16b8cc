#include "platform/ui/AjustesPrograma.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

namespace ui {
namespace {

constexpr const char* kClaveCarpeta = "ultimaCarpetaArchivos";

std::unique_ptr<QSettings>& Ajustes() {
    static std::unique_ptr<QSettings> ajustes;
    return ajustes;
}

bool EsCarpeta(const QString& s) {
    return !s.isEmpty() && QFileInfo(s).isDir();
}

}  // namespace

QSettings& AjustesPrograma() {
    auto& ajustes = Ajustes();
    if (!ajustes)
        ajustes = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                              QStringLiteral("CuestionarioKOVA"),
                                              QStringLiteral("CuestionarioKOVA"));
    return *ajustes;
}

void FijaAjustesPrograma(const QString& sArchivo) {
    auto& ajustes = Ajustes();
    if (ajustes)
        ajustes->sync();
    ajustes.reset();
    if (!sArchivo.isEmpty())
        ajustes = std::make_unique<QSettings>(sArchivo, QSettings::IniFormat);
}

QString CarpetaDialogos() {
    const QString sUltima = AjustesPrograma().value(kClaveCarpeta).toString();
    if (EsCarpeta(sUltima))
        return sUltima;
    // The documents folder Qt names may not exist (a desktop without one):
    // a dialog given a missing folder takes its name for a file.
    const QString sDocumentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (EsCarpeta(sDocumentos))
        return sDocumentos;
    return QDir::homePath();
}

QString ArchivoEnCarpetaDialogos(const QString& sNombre) {
    return QDir(CarpetaDialogos()).filePath(sNombre);
}

void RecuerdaCarpetaDialogos(const QString& sRuta) {
    if (sRuta.isEmpty())
        return;
    const QFileInfo info(sRuta);
    const QString sCarpeta = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (!EsCarpeta(sCarpeta))
        return;
    AjustesPrograma().setValue(kClaveCarpeta, sCarpeta);
    AjustesPrograma().sync();
}

}  // namespace ui
