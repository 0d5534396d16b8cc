#include "report/DataModule.h"

#include <stdexcept>

TdmMain* dmMain = nullptr;

TdmMain::TdmMain() {
    if (!repGeneral.CargaPlantillaDeArchivo(QString::fromLatin1(kPlantillaCuestionario)))
        throw std::runtime_error(repGeneral.DameError().toStdString());

    PDFExport.sArchivoPropuesto = QStringLiteral("CuestionarioKOVA");
    PDFExport.sTitulo = QStringLiteral("Cuestionario KOVA");
    PDFExport.sAutor = QStringLiteral("Norvex");
    PDFExport.sAsunto = QStringLiteral("Cuestionario KOVA");
    PDFExport.bOcultarBarraHerramientas = false;
    PDFExport.bOcultarMenu = false;
    PDFExport.bOcultarControlesVentana = false;
    PDFExport.bAjustarVentana = false;
    PDFExport.bCentrarVentana = false;
    PDFExport.bEscalarAlImprimir = false;
    PDFExport.bMostrarProgreso = true;
    PDFExport.bSobrescribir = true;
    PDFExport.bFondoPagina = false;
    repGeneral.SetOpcionesPDF(PDFExport);
}
