#include "report/DataModule.h"

#include <stdexcept>

#include "questionnaire/CatalogoEdiciones.h"
#include "questionnaire/Edicion.h"

TdmMain* dmMain = nullptr;

TdmMain::TdmMain() : TdmMain(*EdicionPredeterminada()) {}

TdmMain::TdmMain(const TEdicion& edicion) {
    CargaEdicion(edicion);
}

void TdmMain::CargaEdicion(const TEdicion& edicion) {
    if (!repGeneral.CargaPlantilla(QByteArray::fromStdString(edicion.sPlantilla)))
        throw std::runtime_error("El reporte de la edición " + edicion.sClave +
                                 " no se puede usar: " + repGeneral.DameError().toStdString());

    // What the edition names; the rest is how the program exports any PDF.
    rpt::TOpcionesPDF pdf;
    pdf.sArchivoPropuesto = QString::fromStdString(edicion.pdf.sArchivo);
    pdf.sTitulo = QString::fromStdString(edicion.pdf.sTitulo);
    pdf.sAutor = QString::fromStdString(edicion.pdf.sAutor);
    pdf.sAsunto = QString::fromStdString(edicion.pdf.sAsunto);
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
