#pragma once

#include <QApplication>

// One application object for a whole test program (widgets need it, and the
// offscreen platform is set by the test runner).
inline void AseguraApp() {
    static int argc = 1;
    static char nombre[] = "pruebas";
    static char* argv[] = {nombre, nullptr};
    static QApplication app(argc, argv);
}
