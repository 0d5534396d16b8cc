#include "app/PideCarpetaQt.h"

#include <QFileDialog>

#include "platform/ui/AjustesPrograma.h"

std::optional<std::filesystem::path> TPideCarpetaQt::PideCarpeta(
    const std::filesystem::path& sInicial) {
    // Without a place to start, where every file dialog starts, rather than
    // wherever the desktop happened to start the program.
    const QString sDesde =
        sInicial.empty() ? ui::CarpetaDialogos() : QString::fromStdString(sInicial.string());
    const QString sElegida = QFileDialog::getExistingDirectory(
        nullptr, QStringLiteral("Elija la carpeta del Norvex"), sDesde, QFileDialog::ShowDirsOnly);
    if (sElegida.isEmpty())
        return std::nullopt;
    return std::filesystem::path(sElegida.toStdString());
}
