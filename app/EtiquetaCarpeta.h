#pragma once

#include <QLabel>
#include <filesystem>

// The look of a line at the main window's foot: small dark grey text, left
// aligned, at lugar (window coordinates).
void PreparaLineaPie(QLabel& linea, const QRect& lugar);

// The Norvex folder in use, on one line at the foot of the main window, below
// the status line and clear of the four steps: a window installed apart from
// Norvex may be opened on any folder, and the user must see which. A long
// path is shortened in the middle; the whole path is its tooltip.
class TEtiquetaCarpeta : public QLabel {
    Q_OBJECT

public:
    static constexpr const char* sPrefijo = "Carpeta del Norvex: ";

    // Becomes a child of ventana, placed in the free strip at its foot.
    TEtiquetaCarpeta(const std::filesystem::path& sCarpeta, QWidget* ventana);
};
