#include <gtest/gtest.h>

#include <QApplication>

// The widget tests share one QApplication, made before any test and gone
// before static objects are destroyed.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Tests close windows; that must not end anything.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
