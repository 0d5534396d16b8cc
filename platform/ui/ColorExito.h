#pragma once

#include <QColor>

namespace ui {

// The colour of news of something done ("Se guardaron…", "El reporte se
// generó…"): a dark green, apart from the red of errors and warnings.
inline QColor ColorExito() {
    return QColor(0x00, 0x66, 0x33);
}

}  // namespace ui
