#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/jet/sql/Tokenizer.h"

// Cuts a script into its statements and dot commands, in order. Statements
// end at a ';' the engine's own tokenizer sees as a symbol, so a ';' inside
// a text, a date or a [bracketed] name does not cut. A dot command is a line
// whose first character (after blanks) is '.', where a statement may start.
class TDivisorGuion {
public:
    struct TPieza {
        enum TTipo { tpInstruccion, tpPunto } eTipo = tpInstruccion;
        std::string sTexto;      // without the ending ';'; a dot command without its line end
        int nLinea = 1;          // of its first character, from 1
        bool bTerminada = true;  // a statement ended by ';' (not by the end of the text)
    };

    explicit TDivisorGuion(std::string sTexto) : sTexto_(std::move(sTexto)) {}

    // The next piece; nullopt when only blanks are left.
    std::optional<TPieza> Siguiente();
    // What is left after the pieces taken so far.
    std::string Resto() const { return sTexto_.substr(nPos_); }

private:
    std::optional<TPieza> Pieza();
    size_t FinPorPrefijos() const;
    bool SoloFaltaCerrar(size_t nFin) const;
    void Avanza(size_t nHasta);

    std::string sTexto_;
    size_t nPos_ = 0;
    int nLinea_ = 1;
    // The tokens of the text from nBase_, when it all tokenized; a failure
    // further on leaves it empty and each statement is found on its own.
    std::vector<jet::sql::Token> tokens_;
    size_t nBase_ = 0;
    size_t nToken_ = 0;
    bool bTokensValidos_ = false;
    // The rest failed to tokenize as a whole and the fault is still ahead:
    // trying again would cost the whole rest once per statement.
    bool bRestoRoto_ = false;
};
