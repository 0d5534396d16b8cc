#pragma once

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
