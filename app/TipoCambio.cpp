#include "app/TipoCambio.h"

#include <QLocale>
#include <charconv>

double TextoATipoCambio(const QString& sTexto) {
    const QString s = sTexto.trimmed();
    // Sign, digits, at most one point (digits on either side or both),
    // optional exponent.
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    int nDigitos = 0;
    auto tomaDigitos = [&] {
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
            ++i;
            ++nDigitos;
        }
    };
    tomaDigitos();
    if (i < s.size() && s[i] == u'.') {
        ++i;
        tomaDigitos();
    }
    if (nDigitos == 0)
        return 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        const int nAntes = nDigitos;
        tomaDigitos();
        if (nDigitos == nAntes)
            return 0;
    }
    if (i != s.size())
        return 0;
    bool bOk = false;
    const double dValor = QLocale::c().toDouble(s, &bOk);
    return bOk ? dValor : 0;
}

bool TipoCambioVerosimil(double dTCambio) {
    return dTCambio >= kTipoCambioMinimo && dTCambio <= kTipoCambioMaximo;
}

namespace {

// The shortest text that reads back as the same number: 1891, 189.1, 1.891.
std::string Numero(double d) {
    char texto[64];
    const auto r = std::to_chars(texto, texto + sizeof texto, d);
    return std::string(texto, r.ptr);
}

}  // namespace

std::string AvisoTipoCambio(double dTCambio) {
    return "El tipo de cambio " + Numero(dTCambio) +
           " está fuera de lo que vale un dólar en pesos (entre " + Numero(kTipoCambioMinimo) +
           " y " + Numero(kTipoCambioMaximo) +
           "): revise que el punto decimal esté en su lugar. Con un tipo de cambio equivocado, "
           "las cantidades de las operaciones en otras divisas salen equivocadas en el reporte.";
}
