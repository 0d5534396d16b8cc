#include "app/EtiquetaCarpeta.h"

#include <QFontMetrics>

namespace {
// Left edge of the status line, up to the right edge of the steps' frames;
// the version label sits further left on the same line.
const QRect kLugar(62, 711, 555, 14);
const QColor kGrisOscuro(0x48, 0x48, 0x48);
}  // namespace

void PreparaLineaPie(QLabel& linea, const QRect& lugar) {
    QFont fuente = linea.font();
    fuente.setPixelSize(9);
    linea.setFont(fuente);
    QPalette paleta = linea.palette();
    paleta.setColor(QPalette::WindowText, kGrisOscuro);
    linea.setPalette(paleta);
    linea.setGeometry(lugar);
    linea.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

TEtiquetaCarpeta::TEtiquetaCarpeta(const std::filesystem::path& sCarpeta, QWidget* ventana)
    : QLabel(ventana) {
    setObjectName("txCarpetaNorvex");
    PreparaLineaPie(*this, kLugar);
    setFocusPolicy(Qt::NoFocus);

    const QString sRuta = QString::fromStdString(sCarpeta.string());
    const QString sPrefijoQ = QString::fromUtf8(sPrefijo);
    const int nAncho = kLugar.width() - fontMetrics().horizontalAdvance(sPrefijoQ);
    setText(sPrefijoQ + fontMetrics().elidedText(sRuta, Qt::ElideMiddle, nAncho));
    setToolTip(sRuta);
}
