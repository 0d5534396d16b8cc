// The end-to-end check's eyes on a real X server: it grabs a window (or the
// whole screen) to a PNG, waits until part of a window shows ink, or prints
// the clipboard's text, which the check fills with Ctrl+A, Ctrl+C to read a
// field as the user left it.
//
//   sonda_x11 captura ARCHIVO.png [VENTANA]
//   sonda_x11 tinta VENTANA X Y ANCHO ALTO MINIMO MILISEGUNDOS
//   sonda_x11 portapapeles
#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdio>

namespace {

QImage Captura(WId nVentana) {
    QScreen* pantalla = QGuiApplication::primaryScreen();
    return pantalla ? pantalla->grabWindow(nVentana).toImage() : QImage();
}

int Oscuros(const QImage& imagen, const QRect& zona) {
    int n = 0;
    const QRect r = zona.intersected(imagen.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += qGray(imagen.pixel(x, y)) < 110;
    return n;
}

int Uso() {
    std::fputs(
        "uso: sonda_x11 captura ARCHIVO.png [VENTANA] | tinta VENTANA X Y ANCHO ALTO MINIMO MS "
        "| portapapeles\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return Uso();
    if (args[0] == "captura" && (args.size() == 2 || args.size() == 3)) {
        const WId nVentana = args.size() == 3 ? args[2].toULongLong() : 0;
        const QImage imagen = Captura(nVentana);
        return !imagen.isNull() && imagen.save(args[1]) ? 0 : 1;
    }
    if (args[0] == "tinta" && args.size() == 8) {
        const WId nVentana = args[1].toULongLong();
        const QRect zona(args[2].toInt(), args[3].toInt(), args[4].toInt(), args[5].toInt());
        const int nMinimo = args[6].toInt();
        QDeadlineTimer plazo(args[7].toInt());
        for (;;) {
            const int n = Oscuros(Captura(nVentana), zona);
            if (n >= nMinimo)
                return 0;
            if (plazo.hasExpired()) {
                std::fprintf(stderr, "sonda_x11: %d puntos oscuros, se esperaban %d\n", n, nMinimo);
                return 1;
            }
            QThread::msleep(100);
        }
    }
    if (args[0] == "portapapeles" && args.size() == 1) {
        std::fputs(QGuiApplication::clipboard()->text().toUtf8().constData(), stdout);
        return 0;
    }
    return Uso();
}
