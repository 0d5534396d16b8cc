#include "app/EtiquetaCarpeta.h"

#include <QFontMetrics>

namespace {
// Left edge of the status line, up to the right edge of the steps' frames;
// the version label sits further left on the same line.
const QRect kLugar(62, 711, 555, 14);
const QColor kGrisOscuro(0x48, 0x48, 0x48);
}  // namespace

TEtiquetaCarpeta::TEtiquetaCarpeta(const std::filesystem::path& sCarpeta, QWidget* ventana)
    : QLabel(ventana) {
    setObjectName("txCarpetaNorvex");
    QFont fuente = font();
    fuente.setPixelSize(9);
    setFont(fuente);
    QPalette paleta = palette();
    paleta.setColor(QPalette::WindowText, kGrisOscuro);
    setPalette(paleta);
    setGeometry(kLugar);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setFocusPolicy(Qt::NoFocus);

    const QString sRuta = QString::fromStdString(sCarpeta.string());
    const QString sPrefijoQ = QString::fromUtf8(sPrefijo);
    const int nAncho = kLugar.width() - fontMetrics().horizontalAdvance(sPrefijoQ);
    setText(sPrefijoQ + fontMetrics().elidedText(sRuta, Qt::ElideMiddle, nAncho));
    setToolTip(sRuta);
}
