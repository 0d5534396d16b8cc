#include "platform/report/TFuentesReporte.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>

namespace rpt {

void RegistraFuentesReporte() {
    static const bool bHecho = [] {
        // Same metrics as the fonts the questionnaire was designed with, so
        // lines break and pages fill as intended.
        QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                                  QStringLiteral("Liberation Serif"));
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        // Only Wine's regular face: its "Tahoma Bold" draws at regular weight,
        // while Qt emboldens the regular face for bold text on screen and in
        // the PDF alike.
        const QString sTahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
        if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")) && QFile::exists(sTahoma))
            QFontDatabase::addApplicationFont(sTahoma);
        return true;
    }();
    (void)bHecho;
}

}  // namespace rpt
