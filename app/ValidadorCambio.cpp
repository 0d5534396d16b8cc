#include "app/ValidadorCambio.h"

#include "app/TipoCambio.h"

namespace {

bool EsDigito(QChar c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

QValidator::State TValidadorCambio::validate(QString& sTexto, int& nCursor) const {
    // A comma is the decimal point, as when it is typed.
    sTexto.replace(u',', u'.');
    qsizetype nPuntos = 0;
    bool bSoloNumero = true;
    for (QChar c : sTexto) {
        if (c == u'.')
            ++nPuntos;
        else if (!EsDigito(c))
            bSoloNumero = false;
    }
    if (bSoloNumero && nPuntos <= 1)
        return Acceptable;

    QString sFiltrado;
    int nNuevoCursor = 0;
    for (qsizetype i = 0; i < sTexto.size(); ++i) {
        const QChar c = sTexto[i];
        const bool bPasa = EsDigito(c) || (c == u'.' && TextoATipoCambio(sFiltrado + u'.') != 0);
        if (!bPasa)
            continue;
        sFiltrado += c;
        if (i < nCursor)
            ++nNuevoCursor;
    }
    sTexto = sFiltrado;
    nCursor = nNuevoCursor;
    return Acceptable;
}
