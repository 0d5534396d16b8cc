#pragma once

#include <QWidget>

#include "platform/report/TReporte.h"

namespace rpt {

// The preview's paper: the prepared pages one under the other at a zoom
// factor (1 = real size on the screen), with an optional highlighted hit.
class TLienzoPaginas : public QWidget {
    Q_OBJECT
public:
    explicit TLienzoPaginas(const TReporte& reporte, QWidget* padre = nullptr);

    void SetZoom(double dZoom);
    double DameZoom() const { return F_dZoom; }
    void SetResaltado(const TCoincidencia& c);
    // Page n's rectangle and a point's page, in this widget's coordinates.
    QRect DameRectPagina(int n) const;
    int DamePaginaEn(int nY) const;
    QPoint DamePuntoEnPagina(int n, const QPointF& puntoPt) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    double DamePixelesPorPunto() const;

    const TReporte& F_Reporte;
    double F_dZoom = 1;
    TCoincidencia F_Resaltado;
};

}  // namespace rpt
