#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>

// The centre's own answers to the questions the Norvex database cannot
// answer, by question number. Every answer kept has passed its question's
// check and is in its canonical form; an empty answer is no answer.
class TRespuestasCC {
public:
    // Checks and keeps sTexto as the answer to question nPregunta; an empty
    // text removes the answer. Returns an empty text on success, otherwise
    // the reason (nothing changes then).
    QString Asigna(int nPregunta, const QString& sTexto);
    // The answer to nPregunta, empty when there is none.
    QString Dame(int nPregunta) const;
    const std::map<int, QString>& DameTodas() const { return F_Respuestas; }
    bool Vacia() const { return F_Respuestas.empty(); }

    // "pregunta,respuesta" CSV (UTF-8, CR LF, RFC 4180 quoting): the header,
    // then one line per answered question in question order.
    QByteArray ExportaCsv() const;
    // Reads the same format. Refused, with a message that names the line: a
    // malformed file, a header other than "pregunta,respuesta", a line
    // without exactly two fields, a number that is no question the centre
    // answers (out of range, or answered from the database), a question
    // repeated, an answer its question's check refuses. An empty answer is
    // allowed and means none.
    static std::optional<TRespuestasCC> ImportaCsv(const QByteArray& datos, QString& sError);

    bool operator==(const TRespuestasCC&) const = default;

private:
    std::map<int, QString> F_Respuestas;
};
