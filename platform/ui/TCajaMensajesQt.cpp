#include "platform/ui/TCajaMensajesQt.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

namespace ui {
namespace {

int Ejecuta(QMessageBox& caja) {
    caja.setWindowTitle(QApplication::applicationDisplayName().isEmpty()
                            ? QApplication::applicationName()
                            : QApplication::applicationDisplayName());
    // A message box settles its size only once it is shown, so it is centred
    // from the event loop that exec() starts.
    QTimer::singleShot(0, &caja, [&caja] {
        if (QScreen* pantalla = QGuiApplication::primaryScreen())
            caja.move(pantalla->availableGeometry().center() - caja.rect().center());
    });
    return caja.exec();
}

}  // namespace

void TCajaMensajesQt::MuestraMensaje(const std::string& sTexto) {
    QMessageBox caja(QMessageBox::NoIcon, QString(), QString::fromStdString(sTexto),
                     QMessageBox::Ok);
    Ejecuta(caja);
}

bool TCajaMensajesQt::PreguntaSiNo(const std::string& sTexto) {
    QMessageBox caja(QMessageBox::Warning, QString(), QString::fromStdString(sTexto),
                     QMessageBox::Yes | QMessageBox::No);
    return Ejecuta(caja) == QMessageBox::Yes;
}

}  // namespace ui
