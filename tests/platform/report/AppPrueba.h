#pragma once

#include <gtest/gtest.h>

#include <memory>

// The engine's own tests run on Qt GUI alone, which shows that preparing and
// exporting need no widgets; the tests of windows get the widget application.
#ifdef KOVA_PRUEBA_SIN_WIDGETS
#include <QGuiApplication>
using TAppPrueba = QGuiApplication;
#else
#include <QApplication>
using TAppPrueba = QApplication;
#endif

// One application object for a whole test program (widgets need it; the
// offscreen platform is set by the test runner). It must go before the
// program exits, while Qt's own statics still live: a gtest environment
// creates it before the first test and destroys it after the last.
class TEntornoQt : public ::testing::Environment {
public:
    void SetUp() override {
        if (!TAppPrueba::instance())
            app_ = std::make_unique<TAppPrueba>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char nombre_[8] = "pruebas";
    char* argv_[2] = {nombre_, nullptr};
    std::unique_ptr<TAppPrueba> app_;
};

// gtest owns registered environments.
inline ::testing::Environment* const kEntornoQt =
    ::testing::AddGlobalTestEnvironment(new TEntornoQt);

inline void AseguraApp() {
    ASSERT_NE(TAppPrueba::instance(), nullptr);
}
