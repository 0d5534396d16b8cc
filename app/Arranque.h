#pragma once

class QApplication;

// What the program sets up before its window: title, Spanish Qt texts, the
// window font, the Qt message boxes and the engine's heartbeat, which keeps
// the window painted during long questions.
void PreparaAplicacion(QApplication& app);
