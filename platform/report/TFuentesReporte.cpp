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
        if (!QFontDatabase::families().contains(QStringLiteral("Tahoma"))) {
            for (const char* sRuta :
                 {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
                if (QFile::exists(sRuta))
                    QFontDatabase::addApplicationFont(sRuta);
        }
        return true;
    }();
    (void)bHecho;
}

}  // namespace rpt
