#include "report/ManejadorReportes.h"

#include "platform/report/TVistaPrevia.h"

TManejadorReportes::TManejadorReportes(rpt::TReporte& elReporte, std::string sNombre)
    : F_Reporte(elReporte), F_sNombre(std::move(sNombre)) {}

QString TManejadorReportes::ComoValor(const QString& sDato) {
    if (sDato.contains(QStringLiteral("\r\n")))
        return sDato;
    // Quotes inside are not escaped: the engine shows everything between the
    // outer quotes as it is, so names like O'Brien come out whole.
    return u'\'' + sDato + u'\'';
}

void TManejadorReportes::AgregaDatoReporte(const std::string& sCategoria,
                                           const std::string& sVariable, const std::string& sDato) {
    F_Reporte.Variables().AsignaVariable(QString::fromStdString(sCategoria),
                                         QString::fromStdString(sVariable),
                                         ComoValor(QString::fromStdString(sDato)));
}

void TManejadorReportes::PreparaReporte() {
    F_Reporte.SetNombreDocumento(QString::fromStdString(F_sNombre));
    F_Reporte.LimpiaPaginas();
    F_Reporte.Prepara();
}

void TManejadorReportes::MuestraReporte() {
    PreparaReporte();
    rpt::TVistaPrevia vista(F_Reporte);
    if (F_AlMostrar)
        F_AlMostrar(vista);
    vista.Muestra();
}
