#include "report/DataModule.h"

#include <stdexcept>

TdmMain* dmMain = nullptr;

TdmMain::TdmMain() {
    if (!repGeneral.CargaPlantillaDeArchivo(QString::fromLatin1(kPlantillaCuestionario)))
        throw std::runtime_error(repGeneral.DameError().toStdString());

    rpt::TOpcionesPDF pdf;
    pdf.sArchivoPropuesto = QStringLiteral("CuestionarioKOVA");
    pdf.sTitulo = QStringLiteral("Cuestionario KOVA");
    pdf.sAutor = QStringLiteral("Norvex");
    pdf.sAsunto = QStringLiteral("Cuestionario KOVA");
    pdf.bOcultarBarraHerramientas = false;
    pdf.bOcultarMenu = false;
    pdf.bOcultarControlesVentana = false;
    pdf.bAjustarVentana = false;
    pdf.bCentrarVentana = false;
    pdf.bEscalarAlImprimir = false;
    pdf.bMostrarProgreso = true;
    pdf.bSobrescribir = true;
    pdf.bFondoPagina = false;
    repGeneral.SetOpcionesPDF(pdf);
}
