#pragma once

#include <memory>

class QApplication;
namespace jet {
class TLatido;
}

// What the program sets up before its window: title, Spanish Qt texts, the
// window font and the Qt message boxes.
void PreparaAplicacion(QApplication& app);

// The engine's heartbeat for the window's connection (TDatosVentana::PonLatido),
// which keeps the window painted during long questions.
std::shared_ptr<jet::TLatido> CreaLatidoVentana();
