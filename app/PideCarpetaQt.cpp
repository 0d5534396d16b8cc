#include "app/PideCarpetaQt.h"

#include <QFileDialog>

std::optional<std::filesystem::path> TPideCarpetaQt::PideCarpeta(
    const std::filesystem::path& sInicial) {
    const QString sElegida = QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("Elija la carpeta del Norvex"),
        QString::fromStdString(sInicial.string()), QFileDialog::ShowDirsOnly);
    if (sElegida.isEmpty())
        return std::nullopt;
    return std::filesystem::path(sElegida.toStdString());
}
