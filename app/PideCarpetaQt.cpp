#include "app/PideCarpetaQt.h"

#include <QDir>
#include <QFileDialog>

std::optional<std::filesystem::path> TPideCarpetaQt::PideCarpeta(
    const std::filesystem::path& sInicial) {
    // Without a place to start, the user's own folder rather than wherever
    // the desktop happened to start the program.
    const QString sDesde =
        sInicial.empty() ? QDir::homePath() : QString::fromStdString(sInicial.string());
    const QString sElegida = QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("Elija la carpeta del Norvex"), sDesde, QFileDialog::ShowDirsOnly);
    if (sElegida.isEmpty())
        return std::nullopt;
    return std::filesystem::path(sElegida.toStdString());
}
