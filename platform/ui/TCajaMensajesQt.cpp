#include "platform/ui/TCajaMensajesQt.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace ui {
namespace {

int Ejecuta(QMessageBox& caja) {
    caja.setWindowTitle(QApplication::applicationDisplayName().isEmpty()
                            ? QApplication::applicationName()
                            : QApplication::applicationDisplayName());
    caja.adjustSize();
    if (QScreen* pantalla = QGuiApplication::primaryScreen()) {
        QRect area = pantalla->availableGeometry();
        caja.move(area.center() - caja.rect().center());
    }
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
