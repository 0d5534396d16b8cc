#include "platform/report/TTextoEnriquecido.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace rpt {

QPaintDevice* DispositivoDiseno() {
    static QImage imagen = [] {
        QImage img(1, 1, QImage::Format_ARGB32);
        img.setDotsPerMeterX(2835);  // 72 dpi
        img.setDotsPerMeterY(2835);
        return img;
    }();
    return &imagen;
}

std::unique_ptr<QTextDocument> TTextoEnriquecido::CreaDocumento(double dAnchoPt) const {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(DispositivoDiseno());
    doc->setDocumentMargin(0);
    doc->setUndoRedoEnabled(false);
    QTextOption opcion = doc->defaultTextOption();
    opcion.setUseDesignMetrics(true);  // advances independent of hinting at 72 dpi
    doc->setDefaultTextOption(opcion);

    QFont fuente(sFuente);
    fuente.setPointSizeF(dPuntos);
    fuente.setHintingPreference(QFont::PreferNoHinting);
    doc->setDefaultFont(fuente);
    doc->setTextWidth(dAnchoPt);

    QTextCharFormat base;
    base.setFont(fuente);
    base.setForeground(color);

    QTextCursor cursor(doc.get());
    bool bPrimero = true;
    for (const TParrafo& p : parrafos) {
        QTextBlockFormat bloque;
        bloque.setAlignment(p.alineacion);
        bloque.setBottomMargin(dEspacioDespues);
        if (dInterlineado != 1)
            bloque.setLineHeight(dInterlineado * 100, QTextBlockFormat::ProportionalHeight);
        if (bPrimero) {
            cursor.setBlockFormat(bloque);
            cursor.setBlockCharFormat(base);
            bPrimero = false;
        } else {
            cursor.insertBlock(bloque, base);
        }
        for (const TTrozo& t : p.trozos) {
            QTextCharFormat formato = base;
            formato.setFontWeight(t.bNegrita ? QFont::Bold : QFont::Normal);
            formato.setFontUnderline(t.bSubrayado);
            cursor.insertText(t.sTexto, formato);
        }
    }
    return doc;
}

}  // namespace rpt
