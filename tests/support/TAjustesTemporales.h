#pragma once

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

#include "TDirTemporal.h"
#include "platform/ui/AjustesPrograma.h"

// For one test: the program's settings in a file of the test's own and a home
// of its own (without a documents folder until the test makes one), so file
// dialogs and remembered choices never touch the user's; all as it was when
// the test ends.
class TAjustesTemporales {
public:
    TAjustesTemporales() {
        for (const char* s : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DOCUMENTS_DIR"})
            anteriores_.emplace_back(s, qgetenv(s));
        qputenv("HOME", QByteArray::fromStdString(home_.ruta().string()));
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((home_ / ".config").string()));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((home_ / ".local/share").string()));
        qunsetenv("XDG_DOCUMENTS_DIR");
        ui::FijaAjustesPrograma(QString::fromStdString((home_ / "ajustes.ini").string()));
    }
    ~TAjustesTemporales() {
        ui::FijaAjustesPrograma({});
        for (const auto& [s, v] : anteriores_) {
            if (v.isNull())
                qunsetenv(s);
            else
                qputenv(s, v);
        }
    }
    TAjustesTemporales(const TAjustesTemporales&) = delete;
    TAjustesTemporales& operator=(const TAjustesTemporales&) = delete;

    const std::filesystem::path& Home() const { return home_.ruta(); }
    // Reopens the settings file, as the next start of the program would.
    void Reabre() const {
        ui::FijaAjustesPrograma(QString::fromStdString((home_ / "ajustes.ini").string()));
    }

private:
    TDirTemporal home_;
    std::vector<std::pair<const char*, QByteArray>> anteriores_;
};
