#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>
#include <optional>

#include "questionnaire/PreguntasCC.h"

// The centre's own answers to the questions the Norvex database cannot
// answer, by question number, for the questions of one edition. Every answer
// kept has passed its question's check and is in its canonical form; an
// empty answer is no answer.
class TRespuestasCC {
public:
    // preguntas none: the default edition's.
    explicit TRespuestasCC(std::shared_ptr<const TPreguntasCC> preguntas = nullptr);

    // Checks and keeps sTexto as the answer to question nPregunta; an empty
    // text removes the answer. Returns an empty text on success, otherwise
    // the reason (nothing changes then).
    QString Asigna(int nPregunta, const QString& sTexto);
    // The answer to nPregunta, empty when there is none.
    QString Dame(int nPregunta) const;
    const std::map<int, QString>& DameTodas() const { return F_Respuestas; }
    bool Vacia() const { return F_Respuestas.empty(); }
    // The questions these answers are for.
    const std::shared_ptr<const TPreguntasCC>& DamePreguntas() const { return F_Preguntas; }

    // "pregunta,respuesta" CSV (UTF-8, CR LF, RFC 4180 quoting): the header,
    // then one line per answered question in question order.
    QByteArray ExportaCsv() const;
    // Reads the same format. Refused, with a message that names the line: a
    // malformed file, a header other than "pregunta,respuesta", a line
    // without exactly two fields, a number that is no question the centre
    // answers (out of range, or answered from the database), a question
    // repeated, an answer its question's check refuses. An empty answer is
    // allowed and means none.
    static std::optional<TRespuestasCC> ImportaCsv(
        const QByteArray& datos, QString& sError,
        std::shared_ptr<const TPreguntasCC> preguntas = nullptr);

    // The same answers to the same edition's questions.
    bool operator==(const TRespuestasCC& otras) const;

private:
    std::shared_ptr<const TPreguntasCC> F_Preguntas;
    std::map<int, QString> F_Respuestas;
};
