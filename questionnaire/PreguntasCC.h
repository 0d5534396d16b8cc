#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "questionnaire/TipoRespuestaCC.h"

struct TEdicion;

// One of the questions the Norvex database cannot answer: its number, its
// text as the report prints it, and the kind of answer it asks for. The kind
// is the edition's data ("centro" in preguntas.toml), read from the wording
// once (a date "(dd/mm/aaaa)", "(en pesos, sin centavos)", a yes/no question,
// "¿Cuántos...?", a list in parentheses), so the checks never depend on
// parsing texts at run time.
struct TPreguntaCC {
    int nNumero = 0;
    QString sTexto;
    TTipoRespuestaCC tipo = trTexto;
    QString sMoneda;       // trMonto: "pesos" or "dólares"
    QStringList opciones;  // trOpcion: the canonical answers, upper case, no accents
};

// The questions an edition leaves to the centre.
struct TPreguntasCC {
    std::string sClave;                  // the edition's key
    int nTotal = 0;                      // how many questions the edition has in all
    std::vector<TPreguntaCC> preguntas;  // in question order
    // The question with that number, or null when the centre does not answer it.
    const TPreguntaCC* Dame(int nNumero) const;
};

std::shared_ptr<const TPreguntasCC> PreguntasCCDe(const TEdicion& edicion);
// The default edition's, read once.
std::shared_ptr<const TPreguntasCC> PreguntasCCPredeterminadas();

// The default edition's questions, in question order.
const std::vector<TPreguntaCC>& DamePreguntasCC();
// The default edition's question with that number, or null when the centre
// does not answer it.
const TPreguntaCC* DamePreguntaCC(int nNumero);
