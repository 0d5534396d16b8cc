#include "platform/report/ImpresionReporte.h"

#include <QPrinter>

#include "platform/report/TReporte.h"

namespace rpt {

bool ImprimeReporte(TReporte& reporte, QPrinter& impresora) {
    if (reporte.DameNumPaginas() == 0 && !reporte.Prepara())
        return false;
    impresora.setDocName(reporte.DameNombreDocumento());
    impresora.setFullPage(true);  // the template's margins are in its own geometry
    int nDesde = 1, nHasta = reporte.DameNumPaginas();
    if (impresora.printRange() == QPrinter::PageRange && impresora.fromPage() > 0) {
        nDesde = impresora.fromPage();
        if (impresora.toPage() > 0)
            nHasta = std::min(nHasta, impresora.toPage());
    }
    return reporte.PintaPaginas(impresora, nDesde, nHasta, false, false);
}

}  // namespace rpt
