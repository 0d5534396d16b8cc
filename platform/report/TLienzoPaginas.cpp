#include "platform/report/TLienzoPaginas.h"

#include <QPaintEvent>
#include <QPainter>

namespace rpt {

namespace {
constexpr int kSeparacion = 16;  // pixels around and between pages
}

TLienzoPaginas::TLienzoPaginas(const TReporte& reporte, QWidget* padre)
    : QWidget(padre), F_Reporte(reporte) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
}

double TLienzoPaginas::DamePixelesPorPunto() const {
    return F_dZoom * logicalDpiY() / 72.0;
}

void TLienzoPaginas::SetZoom(double dZoom) {
    F_dZoom = dZoom;
    resize(sizeHint());
    update();
}

void TLienzoPaginas::SetResaltado(const TCoincidencia& c) {
    F_Resaltado = c;
    update();
}

QRect TLienzoPaginas::DameRectPagina(int n) const {
    const double f = DamePixelesPorPunto();
    int nY = kSeparacion;
    for (int i = 0; i < n; ++i)
        nY += qRound(F_Reporte.DamePagina(i).tamanoPt.height() * f) + kSeparacion;
    QSizeF t = F_Reporte.DamePagina(n).tamanoPt * f;
    int nAncho = qRound(t.width());
    int nX = std::max(kSeparacion, (width() - nAncho) / 2);
    return QRect(nX, nY, nAncho, qRound(t.height()));
}

int TLienzoPaginas::DamePaginaEn(int nY) const {
    for (int n = 0; n < F_Reporte.DameNumPaginas(); ++n)
        if (nY < DameRectPagina(n).bottom() + kSeparacion)
            return n;
    return std::max(0, F_Reporte.DameNumPaginas() - 1);
}

QPoint TLienzoPaginas::DamePuntoEnPagina(int n, const QPointF& puntoPt) const {
    return DameRectPagina(n).topLeft() + (puntoPt * DamePixelesPorPunto()).toPoint();
}

QSize TLienzoPaginas::sizeHint() const {
    const double f = DamePixelesPorPunto();
    double dAncho = 0, dAlto = kSeparacion;
    for (int n = 0; n < F_Reporte.DameNumPaginas(); ++n) {
        QSizeF t = F_Reporte.DamePagina(n).tamanoPt * f;
        dAncho = std::max(dAncho, t.width());
        dAlto += t.height() + kSeparacion;
    }
    return QSize(qRound(dAncho) + 2 * kSeparacion, qRound(dAlto));
}

void TLienzoPaginas::paintEvent(QPaintEvent* evento) {
    QPainter pintor(this);
    pintor.fillRect(evento->rect(), QColor(128, 128, 128));
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setRenderHint(QPainter::TextAntialiasing);
    const double f = DamePixelesPorPunto();
    for (int n = 0; n < F_Reporte.DameNumPaginas(); ++n) {
        QRect r = DameRectPagina(n);
        if (!r.adjusted(0, 0, 4, 4).intersects(evento->rect()))
            continue;
        pintor.fillRect(r.translated(3, 3), QColor(70, 70, 70));
        pintor.fillRect(r, Qt::white);
        pintor.save();
        pintor.setClipRect(r);
        pintor.translate(r.topLeft());
        pintor.scale(f, f);
        F_Reporte.DibujaPagina(pintor, n, &F_Resaltado);
        pintor.restore();
    }
}

}  // namespace rpt
