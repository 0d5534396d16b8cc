#pragma once

#include <QApplication>
#include <QLocale>

// The test program's QApplication (made by its main).
inline QApplication& AplicacionQt() {
    return *qApp;
}

// Sets the default locale for one test and puts the previous one back.
class TLocalTemporal {
public:
    explicit TLocalTemporal(const QLocale& local) : anterior_(QLocale()) {
        QLocale::setDefault(local);
    }
    ~TLocalTemporal() { QLocale::setDefault(anterior_); }

private:
    QLocale anterior_;
};
