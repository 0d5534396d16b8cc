#pragma once

#include <memory>

class QApplication;
class QIcon;
namespace jet {
class TLatido;
}

// What the program sets up before its window: title, icon, Spanish Qt
// texts, the window font and the Qt message boxes.
void PreparaAplicacion(QApplication& app);

// The program's icon (the menu entry's), for every window of it.
QIcon IconoPrograma();

// The engine's heartbeat for the window's connection (TDatosVentana::PonLatido),
// which keeps the window painted during long questions.
std::shared_ptr<jet::TLatido> CreaLatidoVentana();
