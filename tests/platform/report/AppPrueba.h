#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

// One application object for a whole test program (widgets need it; the
// offscreen platform is set by the test runner). It must go before the
// program exits, while Qt's own statics still live: a gtest environment
// creates it before the first test and destroys it after the last.
class TEntornoQt : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QApplication::instance()) app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char nombre_[8] = "pruebas";
    char* argv_[2] = {nombre_, nullptr};
    std::unique_ptr<QApplication> app_;
};

// gtest owns registered environments.
inline ::testing::Environment* const kEntornoQt =
    ::testing::AddGlobalTestEnvironment(new TEntornoQt);

inline void AseguraApp() { ASSERT_NE(QApplication::instance(), nullptr); }
