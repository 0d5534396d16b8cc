#pragma once

#include <QString>

namespace rpt {

// Settings of a report's PDF export: document information and how a viewer
// should open the file. No encryption is ever applied, so every permission
// (printing, modifying, copying, annotating) stays granted.
struct TOpcionesPDF {
    QString sArchivoPropuesto = QStringLiteral("Reporte");  // without ".pdf"
    QString sTitulo;
    QString sAutor;
    QString sAsunto;
    // Viewer preferences.
    bool bOcultarBarraHerramientas = false;
    bool bOcultarMenu = false;
    bool bOcultarControlesVentana = false;
    bool bAjustarVentana = false;
    bool bCentrarVentana = false;
    bool bEscalarAlImprimir = false;  // false: print scaling "None"
    // Export.
    bool bMostrarProgreso = true;
    bool bSobrescribir = true;  // an existing file is replaced without asking
    bool bFondoPagina = false;  // paint the white paper into the file
};

}  // namespace rpt
