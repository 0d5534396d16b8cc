#pragma once

#include <QString>

#include "questionnaire/PreguntasCC.h"

// What the check of one answer gives: the answer as it is kept and printed
// (trimmed, in its canonical form), or the reason it does not fit.
struct TRespuestaValidada {
    bool bValida = false;
    QString sValor;    // when valid; empty means "not answered"
    QString sMensaje;  // when not: a sentence in Spanish for the user
};

// Longest free-text answer, in characters: enough for a list of branches or a
// reason, short enough that a page of answers still fits its frame.
inline constexpr int kMaxCaracteresRespuestaCC = 1000;

// Checks sTexto as the answer to pregunta. An empty (or blank) text is always
// valid: the question stays unanswered. Canonical forms: amounts and counts as
// plain digits ("1500000"), dates as dd/mm/aaaa, "SI" or "NO", the option as
// the question lists it, free text with its line breaks as "\n".
TRespuestaValidada ValidaRespuestaCC(const TPreguntaCC& pregunta, const QString& sTexto);
