#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// The kind of value a question the centre answers asks for; it decides how
// the answer is checked and which field the form offers.
enum TTipoRespuestaCC {
    trMonto,   // a whole amount in the question's currency, no cents
    trFecha,   // dd/mm/aaaa
    trSiNo,    // SI or NO
    trConteo,  // a whole number of things
    trOpcion,  // one of the options the question names
    trTexto    // free text, one or several lines
};

// One of the questions the Norvex database cannot answer: its number, its
// text as the report prints it, and the kind of answer it asks for. The kind
// was read once from the wording (a date "(dd/mm/aaaa)", "(en pesos, sin
// centavos)", a yes/no question, "¿Cuántos...?", a list in parentheses) and is
// fixed in the table, so the checks never depend on parsing texts at run time.
struct TPreguntaCC {
    int nNumero = 0;
    QString sTexto;
    TTipoRespuestaCC tipo = trTexto;
    QString sMoneda;       // trMonto: "pesos" or "dólares"
    QStringList opciones;  // trOpcion: the canonical answers, upper case, no accents
};

// The 35 questions, in question order.
const std::vector<TPreguntaCC>& DamePreguntasCC();
// The question with that number, or null when the centre does not answer it.
const TPreguntaCC* DamePreguntaCC(int nNumero);
