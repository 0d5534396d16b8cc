#pragma once

#include <QByteArray>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

#include "platform/report/TTextoEnriquecido.h"
#include "platform/report/TVariablesReporte.h"

namespace rpt {

// A rich-text object of a band, placed in millimetres from the band's corner,
// with an inner gap (in pixels at 96 per inch) between its frame and its text.
struct TObjetoTexto {
    QRectF rectMm;
    QMarginsF huecoPx{2, 1, 2, 1};
    TTextoEnriquecido texto;
};

struct TBanda {
    double dAltoMm = 0;
    std::vector<TObjetoTexto> objetos;
};

// One template page; it prints once, with its header band at the top of the
// printable area and its footer band at the foot.
struct TPaginaPlantilla {
    QSizeF papelMm{215.9, 279.4};
    bool bHorizontal = false;
    QMarginsF margenesMm{10, 10, 10, 10};
    TBanda encabezado;
    TBanda pie;

    QSizeF DameTamanoMm() const { return bHorizontal ? papelMm.transposed() : papelMm; }
};

// A report template as read from its data file (JSON).
struct TPlantillaReporte {
    QString sNombre;  // the template's own report name; empty: the document name rules
    bool bDosPasadas = true;
    std::vector<TEntradaVariable> variables;
    std::vector<TPaginaPlantilla> paginas;

    // Reads a template; on a malformed file returns nullopt and says why in sError.
    static std::optional<TPlantillaReporte> Lee(const QByteArray& datos, QString* sError);
};

}  // namespace rpt
