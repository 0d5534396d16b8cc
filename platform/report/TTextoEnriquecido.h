#pragma once

#include <QColor>
#include <QString>
#include <memory>
#include <vector>

class QTextDocument;
class QPaintDevice;

namespace rpt {

struct TTrozo {
    QString sTexto;
    bool bNegrita = false;
    bool bSubrayado = false;
};

struct TParrafo {
    Qt::Alignment alineacion = Qt::AlignLeft;
    std::vector<TTrozo> trozos;
};

// Formatted text of a report object: one font for the object, paragraphs of
// runs that may be bold or underlined. Sizes are in points.
struct TTextoEnriquecido {
    QString sFuente = QStringLiteral("Times New Roman");
    double dPuntos = 10;
    QColor color = Qt::black;
    double dEspacioDespues = 0;  // points after each paragraph
    double dInterlineado = 1;    // line spacing in lines
    std::vector<TParrafo> parrafos;

    // A document laid out in points (72 per inch) on a fixed device, so the
    // same pages come out on screen, printer and PDF whatever their resolution.
    std::unique_ptr<QTextDocument> CreaDocumento(double dAnchoPt) const;
};

// The device every report document is laid out on: 72 dots per inch.
QPaintDevice* DispositivoDiseno();

}  // namespace rpt
