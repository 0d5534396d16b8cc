#include "tools/jetsql/DivisorGuion.h"

#include <cctype>

#include "platform/jet/EErrorJet.h"

namespace {

using jet::sql::TipoToken;
using jet::sql::Tokenizer;

bool Tokeniza(const std::string& s, std::vector<jet::sql::Token>* tokens = nullptr) {
    try {
        auto t = Tokenizer::Divide(s);
        if (tokens)
            *tokens = std::move(t);
        return true;
    } catch (const jet::EErrorJet&) {
        return false;
    }
}

bool EsPuntoYComa(const jet::sql::Token& t) {
    return t.tipo == TipoToken::Simbolo && t.texto == ";";
}

}  // namespace

void TDivisorGuion::Avanza(size_t nHasta) {
    for (size_t i = nPos_; i < nHasta; ++i)
        if (sTexto_[i] == '\n')
            ++nLinea_;
    nPos_ = nHasta;
}

// The end (past the ';') of the first prefix from nPos_ that tokenizes and
// ends in ';'; npos when none does. Only used when the rest as a whole does
// not tokenize, so an earlier statement is not lost to a later mistake.
size_t TDivisorGuion::FinPorPrefijos() const {
    for (size_t p = sTexto_.find(';', nPos_); p != std::string::npos;
         p = sTexto_.find(';', p + 1)) {
        std::vector<jet::sql::Token> tokens;
        if (Tokeniza(sTexto_.substr(nPos_, p + 1 - nPos_), &tokens) && tokens.size() >= 2 &&
            EsPuntoYComa(tokens[tokens.size() - 2]))
            return p + 1;
    }
    return std::string::npos;
}

// Whether the text from nPos_ to nFin fails only because a text, date or
// bracketed name is still open: one closing character mends it.
bool TDivisorGuion::SoloFaltaCerrar(size_t nFin) const {
    const std::string s = sTexto_.substr(nPos_, nFin - nPos_);
    for (const char* sCierre : {"'", "\"", "]", "#"})
        if (Tokeniza(s + sCierre))
            return true;
    return false;
}

std::optional<TDivisorGuion::TPieza> TDivisorGuion::Siguiente() {
    // ";;" holds no statement: go on to the next piece.
    for (;;) {
        auto pieza = Pieza();
        if (!pieza || !pieza->sTexto.empty())
            return pieza;
    }
}

std::optional<TDivisorGuion::TPieza> TDivisorGuion::Pieza() {
    while (nPos_ < sTexto_.size() && std::isspace(static_cast<unsigned char>(sTexto_[nPos_])))
        Avanza(nPos_ + 1);
    if (nPos_ >= sTexto_.size())
        return std::nullopt;

    TPieza pieza;
    pieza.nLinea = nLinea_;
    if (sTexto_[nPos_] == '.') {
        const size_t nInicioLinea = sTexto_.rfind('\n', nPos_);
        const size_t nDesde = nInicioLinea == std::string::npos ? 0 : nInicioLinea + 1;
        bool bPrimero = true;
        for (size_t i = nDesde; i < nPos_; ++i)
            bPrimero = bPrimero && std::isspace(static_cast<unsigned char>(sTexto_[i]));
        if (bPrimero) {
            size_t nFin = sTexto_.find('\n', nPos_);
            if (nFin == std::string::npos)
                nFin = sTexto_.size();
            pieza.eTipo = TPieza::tpPunto;
            pieza.sTexto = sTexto_.substr(nPos_, nFin - nPos_);
            while (!pieza.sTexto.empty() &&
                   std::isspace(static_cast<unsigned char>(pieza.sTexto.back())))
                pieza.sTexto.pop_back();
            Avanza(nFin);
            // The command's words need not tokenize; what follows starts afresh.
            bTokensValidos_ = false;
            bRestoRoto_ = false;
            return pieza;
        }
    }

    if (!bTokensValidos_ && !bRestoRoto_) {
        nBase_ = nPos_;
        nToken_ = 0;
        bTokensValidos_ = Tokeniza(sTexto_.substr(nPos_), &tokens_);
        bRestoRoto_ = !bTokensValidos_;
    }
    size_t nFin;
    size_t nSiguiente;
    if (bTokensValidos_) {
        // Skip to the first ';' token after nPos_.
        while (tokens_[nToken_].tipo != TipoToken::Fin &&
               nBase_ + tokens_[nToken_].posicion < nPos_)
            ++nToken_;
        while (tokens_[nToken_].tipo != TipoToken::Fin && !EsPuntoYComa(tokens_[nToken_]))
            ++nToken_;
        pieza.bTerminada = tokens_[nToken_].tipo != TipoToken::Fin;
        nFin = nBase_ + tokens_[nToken_].posicion;
        nSiguiente = pieza.bTerminada ? nFin + 1 : sTexto_.size();
        if (pieza.bTerminada)
            ++nToken_;
    } else if ((nSiguiente = FinPorPrefijos()) != std::string::npos) {
        nFin = nSiguiente - 1;
        // The fault lies further on: the next statements are found the
        // same way until it is passed.
    } else if (SoloFaltaCerrar(sTexto_.size())) {
        // An open text may still hold a ';': the rest is one statement,
        // unfinished (a console waits for more lines).
        nFin = nSiguiente = sTexto_.size();
        pieza.bTerminada = false;
    } else {
        // Broken before its end: cut at the first ';' and let the engine
        // say what is wrong, so the statements after it still run. The
        // fault is behind us now: the rest may tokenize as a whole again.
        bRestoRoto_ = false;
        nFin = sTexto_.find(';', nPos_);
        pieza.bTerminada = nFin != std::string::npos;
        if (!pieza.bTerminada)
            nFin = sTexto_.size();
        nSiguiente = pieza.bTerminada ? nFin + 1 : nFin;
    }
    pieza.sTexto = sTexto_.substr(nPos_, nFin - nPos_);
    while (!pieza.sTexto.empty() && std::isspace(static_cast<unsigned char>(pieza.sTexto.back())))
        pieza.sTexto.pop_back();
    Avanza(nSiguiente);
    return pieza;
}
