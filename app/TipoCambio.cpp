#include "app/TipoCambio.h"

#include <QLocale>

double TextoATipoCambio(const QString& sTexto) {
    const QString sSeparador = QLocale().decimalPoint();
    const QString s = sTexto.trimmed();
    // Sign, digits, at most one separator (digits on either side or both),
    // optional exponent: the form a locale-aware text-to-float accepts.
    qsizetype i = 0;
    QString sC;  // the same number in the C locale
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        sC += s[i++];
    int nDigitos = 0;
    auto tomaDigitos = [&] {
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            sC += s[i++];
            ++nDigitos;
        }
    };
    tomaDigitos();
    if (s.mid(i).startsWith(sSeparador)) {
        sC += u'.';
        i += sSeparador.size();
        tomaDigitos();
    }
    if (nDigitos == 0)
        return 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        sC += u'e';
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
            sC += s[i++];
        const int nAntes = nDigitos;
        tomaDigitos();
        if (nDigitos == nAntes)
            return 0;
    }
    if (i != s.size())
        return 0;
    bool bOk = false;
    const double dValor = QLocale::c().toDouble(sC, &bOk);
    return bOk ? dValor : 0;
}
