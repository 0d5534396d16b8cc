#include "questionnaire/RespuestasCC.h"

#include "questionnaire/CsvRespuestasCC.h"
#include "questionnaire/PreguntasCC.h"
#include "questionnaire/ValidaRespuestaCC.h"

TRespuestasCC::TRespuestasCC(std::shared_ptr<const TPreguntasCC> preguntas)
    : F_Preguntas(preguntas ? std::move(preguntas) : PreguntasCCPredeterminadas()) {}

bool TRespuestasCC::operator==(const TRespuestasCC& otras) const {
    return F_Preguntas->sClave == otras.F_Preguntas->sClave && F_Respuestas == otras.F_Respuestas;
}

QString TRespuestasCC::Asigna(int nPregunta, const QString& sTexto) {
    const TPreguntaCC* p = F_Preguntas->Dame(nPregunta);
    const int nUltima = F_Preguntas->nTotal;
    if (!p) {
        if (nPregunta >= 1 && nPregunta <= nUltima)
            return QStringLiteral(
                       "La pregunta %1 se responde con la base de datos del Norvex, "
                       "no a mano.")
                .arg(nPregunta);
        return QStringLiteral("No existe la pregunta %1: el cuestionario va de la 1 a la %2.")
            .arg(nPregunta)
            .arg(nUltima);
    }
    const TRespuestaValidada r = ValidaRespuestaCC(*p, sTexto);
    if (!r.bValida)
        return QStringLiteral("Pregunta %1: %2").arg(nPregunta).arg(r.sMensaje);
    if (r.sValor.isEmpty())
        F_Respuestas.erase(nPregunta);
    else
        F_Respuestas[nPregunta] = r.sValor;
    return {};
}

QString TRespuestasCC::Dame(int nPregunta) const {
    auto it = F_Respuestas.find(nPregunta);
    return it == F_Respuestas.end() ? QString() : it->second;
}

QByteArray TRespuestasCC::ExportaCsv() const {
    QByteArray s = FilaCsvRespuestas(QStringLiteral("pregunta"), QStringLiteral("respuesta"));
    for (const auto& [n, sRespuesta] : F_Respuestas)
        s += FilaCsvRespuestas(QString::number(n), sRespuesta);
    return s;
}

std::optional<TRespuestasCC> TRespuestasCC::ImportaCsv(
    const QByteArray& datos, QString& sError, std::shared_ptr<const TPreguntasCC> preguntas) {
    const auto registros = LeeCsvRespuestas(datos, sError);
    if (!registros)
        return std::nullopt;
    auto fallo = [&](int nLinea, const QString& sQue) {
        sError = QStringLiteral("Línea %1: %2").arg(nLinea).arg(sQue);
        return std::nullopt;
    };
    if (registros->empty())
        return fallo(1, QStringLiteral("falta el encabezado pregunta,respuesta."));
    const TRegistroCsv& encabezado = registros->front();
    if (encabezado.campos.size() != 2 ||
        encabezado.campos[0].trimmed().compare(u"pregunta", Qt::CaseInsensitive) != 0 ||
        encabezado.campos[1].trimmed().compare(u"respuesta", Qt::CaseInsensitive) != 0)
        return fallo(encabezado.nLinea,
                     QStringLiteral("el encabezado debe ser pregunta,respuesta."));

    TRespuestasCC r(std::move(preguntas));
    std::map<int, int> lineaDe;  // question -> the line that answered it
    for (auto it = registros->begin() + 1; it != registros->end(); ++it) {
        if (it->campos.size() != 2)
            return fallo(it->nLinea, QStringLiteral("se esperaban dos campos (pregunta,respuesta) "
                                                    "y hay %1.")
                                         .arg(it->campos.size()));
        bool bNumero = false;
        const QString sNumero = it->campos[0].trimmed();
        const int n = sNumero.toInt(&bNumero);
        if (!bNumero)
            return fallo(it->nLinea,
                         QStringLiteral("«%1» no es un número de pregunta.").arg(sNumero));
        if (auto previa = lineaDe.find(n); previa != lineaDe.end())
            return fallo(it->nLinea, QStringLiteral("la pregunta %1 ya se respondió en la "
                                                    "línea %2.")
                                         .arg(n)
                                         .arg(previa->second));
        lineaDe[n] = it->nLinea;
        const QString sMotivo = r.Asigna(n, it->campos[1]);
        if (!sMotivo.isEmpty())
            return fallo(it->nLinea, sMotivo);
    }
    return r;
}
