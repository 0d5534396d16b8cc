#include "platform/report/TExportadorPDF.h"

#include <QBuffer>
#include <QFile>
#include <QPdfWriter>
#include <QSaveFile>
#include <exception>

#define POINTERHOLDER_TRANSITION 4  // qpdf: std::shared_ptr everywhere, no legacy holder
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include "platform/report/TReporte.h"

namespace rpt {

namespace {

std::string Utf8(const QString& s) {
    return s.toStdString();
}

// Document information and viewer preferences are set through qpdf's object
// model; Qt's writer offers neither author, subject nor viewer preferences.
QByteArray AjustaDocumento(const QByteArray& pdf, const TOpcionesPDF& o) {
    QPDF documento;
    documento.processMemoryFile("reporte.pdf", pdf.constData(), pdf.size());

    QPDFObjectHandle trailer = documento.getTrailer();
    QPDFObjectHandle info = trailer.getKey("/Info");
    if (!info.isDictionary()) {
        info = documento.makeIndirectObject(QPDFObjectHandle::newDictionary());
        trailer.replaceKey("/Info", info);
    }
    info.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(Utf8(o.sTitulo)));
    info.replaceKey("/Author", QPDFObjectHandle::newUnicodeString(Utf8(o.sAutor)));
    info.replaceKey("/Subject", QPDFObjectHandle::newUnicodeString(Utf8(o.sAsunto)));

    QPDFObjectHandle preferencias = QPDFObjectHandle::newDictionary();
    preferencias.replaceKey("/HideToolbar", QPDFObjectHandle::newBool(o.bOcultarBarraHerramientas));
    preferencias.replaceKey("/HideMenubar", QPDFObjectHandle::newBool(o.bOcultarMenu));
    preferencias.replaceKey("/HideWindowUI", QPDFObjectHandle::newBool(o.bOcultarControlesVentana));
    preferencias.replaceKey("/FitWindow", QPDFObjectHandle::newBool(o.bAjustarVentana));
    preferencias.replaceKey("/CenterWindow", QPDFObjectHandle::newBool(o.bCentrarVentana));
    preferencias.replaceKey(
        "/PrintScaling", QPDFObjectHandle::newName(o.bEscalarAlImprimir ? "/AppDefault" : "/None"));
    QPDFObjectHandle raiz = documento.getRoot();
    raiz.replaceKey("/ViewerPreferences", preferencias);
    raiz.removeKey("/Outlines");
    raiz.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseNone"));

    QPDFWriter escritor(documento);
    escritor.setOutputMemory();
    escritor.setPreserveEncryption(false);
    escritor.setMinimumPDFVersion("1.6");  // PrintScaling needs 1.6
    escritor.write();
    auto buffer = escritor.getBufferSharedPointer();
    return QByteArray(reinterpret_cast<const char*>(buffer->getBuffer()),
                      static_cast<qsizetype>(buffer->getSize()));
}

}  // namespace

bool ExportaPDF(TReporte& reporte, const QString& sArchivo, const TOpcionesPDF& opciones,
                const std::function<bool(int, int)>& progreso, QString* sError) {
    QString sSinUso;
    if (!sError)
        sError = &sSinUso;
    if (reporte.DameNumPaginas() == 0) {
        *sError = QStringLiteral("El reporte no tiene páginas preparadas.");
        return false;
    }
    if (!opciones.bSobrescribir && QFile::exists(sArchivo)) {
        *sError = QStringLiteral("El archivo ya existe: ") + sArchivo;
        return false;
    }
    // Qt paints into memory; qpdf then completes the document.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter escritor(&buffer);
        escritor.setTitle(opciones.sTitulo);
        escritor.setPageMargins(QMarginsF(0, 0, 0, 0));
        if (!reporte.PintaPaginas(escritor, 1, reporte.DameNumPaginas(), true,
                                  opciones.bFondoPagina, progreso)) {
            *sError = reporte.DameError();
            return false;
        }
    }
    try {
        pdf = AjustaDocumento(pdf, opciones);
    } catch (const std::exception& e) {
        *sError = QStringLiteral("No fue posible completar el documento PDF: ") +
                  QString::fromUtf8(e.what());
        return false;
    }
    QSaveFile archivo(sArchivo);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(pdf) != pdf.size() ||
        !archivo.commit()) {
        *sError = QStringLiteral("No fue posible escribir el archivo ") + sArchivo +
                  QStringLiteral(": ") + archivo.errorString();
        return false;
    }
    return true;
}

}  // namespace rpt
