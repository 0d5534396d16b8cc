#include "questionnaire/ValidaRespuestaCC.h"

#include <QDate>
#include <QRegularExpression>

namespace {

TRespuestaValidada Valida(QString s) {
    return {true, std::move(s), {}};
}
TRespuestaValidada Rechaza(QString sMensaje) {
    return {false, {}, std::move(sMensaje)};
}

// Upper case without accents, the form the questionnaire asks answers in.
QString SinAcentos(const QString& s) {
    QString r;
    for (QChar c : s.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            r += c;
    return r.toUpper();
}

// Digits, optionally grouped by thousands with commas ("1,500,000"); the
// groups must be whole so that "1,50" is not read as 150.
std::optional<QString> Entero(const QString& s) {
    static const QRegularExpression kEntero(QStringLiteral(R"(^(\d+|\d{1,3}(,\d{3})+)$)"));
    if (!kEntero.match(s).hasMatch())
        return std::nullopt;
    QString r = s;
    r.remove(u',');
    while (r.size() > 1 && r.front() == u'0') r.remove(0, 1);
    return r;
}

TRespuestaValidada ValidaMonto(const TPreguntaCC& p, QString s) {
    const QString sEjemplo = QStringLiteral(
                                 "Escriba la cantidad en %1, sin centavos, "
                                 "por ejemplo 1500000.")
                                 .arg(p.sMoneda);
    if (s.startsWith(u'$'))
        s = s.mid(1).trimmed();
    if (s.startsWith(u'-'))
        return Rechaza(QStringLiteral("La cantidad no puede ser negativa. ") + sEjemplo);
    if (s.contains(u'.'))
        return Rechaza(QStringLiteral("La cantidad va sin centavos. ") + sEjemplo);
    const auto n = Entero(s);
    if (!n)
        return Rechaza(QStringLiteral("«%1» no es una cantidad. ").arg(s) + sEjemplo);
    // Fifteen digits are far beyond any centre's figures and still exact in
    // every program that reads the file back as a number.
    if (n->size() > 15)
        return Rechaza(QStringLiteral("La cantidad es demasiado grande. ") + sEjemplo);
    return Valida(*n);
}

TRespuestaValidada ValidaConteo(const QString& s) {
    const QString sEjemplo = QStringLiteral("Escriba un número entero, por ejemplo 12.");
    if (s.startsWith(u'-'))
        return Rechaza(QStringLiteral("El número no puede ser negativo. ") + sEjemplo);
    const auto n = Entero(s);
    if (!n)
        return Rechaza(QStringLiteral("«%1» no es un número entero. ").arg(s) + sEjemplo);
    if (n->size() > 9)
        return Rechaza(QStringLiteral("El número es demasiado grande. ") + sEjemplo);
    return Valida(*n);
}

TRespuestaValidada ValidaFecha(const QString& s) {
    static const QRegularExpression kFecha(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{4})$)"));
    const auto m = kFecha.match(s);
    if (!m.hasMatch())
        return Rechaza(QStringLiteral("Escriba la fecha como dd/mm/aaaa, por ejemplo 15/03/2017."));
    const QDate fecha(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!fecha.isValid())
        return Rechaza(QStringLiteral("La fecha %1 no existe en el calendario.").arg(s));
    if (fecha.year() < 1900 || fecha.year() > 2100)
        return Rechaza(QStringLiteral("El año %1 está fuera de lugar: escriba la fecha como "
                                      "dd/mm/aaaa.")
                           .arg(fecha.year()));
    return Valida(fecha.toString(QStringLiteral("dd/MM/yyyy")));
}

TRespuestaValidada ValidaOpcion(const TPreguntaCC& p, const QString& s) {
    const QString sLlana = SinAcentos(s);
    for (const QString& o : p.opciones)
        if (sLlana == o)
            return Valida(o);
    return Rechaza(QStringLiteral("Responda con una de estas opciones: %1.")
                       .arg(p.opciones.join(QStringLiteral(", "))));
}

TRespuestaValidada ValidaTexto(QString s) {
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    for (QChar c : s)
        if ((c.unicode() < 32 && c != u'\n' && c != u'\t') || c.unicode() == 127)
            return Rechaza(
                QStringLiteral("La respuesta contiene caracteres de control; "
                               "escriba solo texto."));
    if (s.size() > kMaxCaracteresRespuestaCC)
        return Rechaza(QStringLiteral("La respuesta es demasiado larga: tiene %1 caracteres y "
                                      "el máximo es %2.")
                           .arg(s.size())
                           .arg(kMaxCaracteresRespuestaCC));
    return Valida(s);
}

}  // namespace

TRespuestaValidada ValidaRespuestaCC(const TPreguntaCC& pregunta, const QString& sTexto) {
    const QString s = sTexto.trimmed();
    if (s.isEmpty())
        return Valida({});
    // Only free text spans lines; a line break in any other value is a slip.
    if (pregunta.tipo != trTexto && (s.contains(u'\n') || s.contains(u'\r')))
        return Rechaza(QStringLiteral("Esta respuesta va en una sola línea."));
    switch (pregunta.tipo) {
        case trMonto:
            return ValidaMonto(pregunta, s);
        case trConteo:
            return ValidaConteo(s);
        case trFecha:
            return ValidaFecha(s);
        case trSiNo: {
            const QString sLlana = SinAcentos(s);
            if (sLlana == u"SI" || sLlana == u"NO")
                return Valida(sLlana);
            return Rechaza(QStringLiteral("Responda SI o NO."));
        }
        case trOpcion:
            return ValidaOpcion(pregunta, s);
        case trTexto:
            return ValidaTexto(s);
    }
    return Rechaza(QStringLiteral("Tipo de respuesta desconocido."));
}
