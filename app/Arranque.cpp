#include "app/Arranque.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>

#include "platform/jet/Latido.h"
#include "platform/ui/ICajaMensajes.h"
#include "platform/ui/TCajaMensajesQt.h"

// The resources of a static library are registered by name, outside any
// namespace.
static void RegistraIcono() {
    Q_INIT_RESOURCE(IconoPrograma);
}

namespace {

// Debian's fonts-wine ships a Tahoma-compatible font outside fontconfig's
// folders; without it the window falls back to a sans font. Only the regular
// face: Wine's "Tahoma Bold" draws at regular weight, and without it Qt
// emboldens the regular face, so the bold title looks bold.
void CargaTahoma() {
    QStringList familias;
    const int nId = QFontDatabase::addApplicationFont("/usr/share/wine/fonts/tahoma.ttf");
    if (nId >= 0)
        familias += QFontDatabase::applicationFontFamilies(nId);
    QFont fuente(familias.isEmpty() ? QStringLiteral("Sans Serif") : familias.front());
    fuente.setStyleHint(QFont::SansSerif);
    fuente.setPixelSize(11);
    QApplication::setFont(fuente);
}

void CargaTraduccion(QApplication& app) {
    // The user reads Spanish whatever the session's language is.
    auto* traductor = new QTranslator(&app);
    if (traductor->load(QLocale(QLocale::Spanish), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(traductor);
}

}  // namespace

QIcon IconoPrograma() {
    static const bool bRegistrado = (RegistraIcono(), true);
    (void)bRegistrado;
    return QIcon(QStringLiteral(":/programa/icono-48.png"));
}

void PreparaAplicacion(QApplication& app) {
    // Qt set the C library's locale from the session; numbers in the SQL
    // the engine reads and writes ("18.91") must not follow a locale whose
    // decimal sign is a comma, or under es_ES the rate would read as 18.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("CuestionarioKOVA");
    QApplication::setWindowIcon(IconoPrograma());
    CargaTraduccion(app);
    CargaTahoma();
    ui::FijaCajaMensajes(std::make_shared<ui::TCajaMensajesQt>());
}

std::shared_ptr<jet::TLatido> CreaLatidoVentana() {
    // A long question runs on this thread: the window is repainted while the
    // engine works, but no click or key lands in the middle of a statement.
    return std::make_shared<jet::TLatido>(
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
}
