#pragma once

class QApplication;

// What the program sets up before its window: title, Spanish Qt texts, the
// window font and the Qt message boxes.
void PreparaAplicacion(QApplication& app);
