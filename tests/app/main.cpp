#include <gtest/gtest.h>

#include <QApplication>

// The widget tests share one QApplication, made before any test and gone
// before static objects are destroyed.
int main(int argc, char** argv) {
    // Test discovery runs this program at build time, with no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Tests close windows; that must not end anything.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
