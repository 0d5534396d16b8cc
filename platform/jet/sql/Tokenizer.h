#pragma once

#include <string>
#include <vector>

namespace jet::sql {

enum class TipoToken { Nombre, Texto, Numero, Fecha, Simbolo, Fin };

struct Token {
    TipoToken tipo = TipoToken::Fin;
    std::string texto;  // the name, the text's content, the number or date as written, the symbol
    bool corchetes = false;  // a [bracketed] name: never a keyword
    size_t posicion = 0;
};

// Splits Access SQL into tokens: names (bare or [bracketed]), 'text' and
// "text" with doubled quotes, numbers, #dates#, and symbols. Keywords are
// names; the parser tells them apart.
class Tokenizer {
public:
    static std::vector<Token> Divide(const std::string& sSql);
};

}  // namespace jet::sql
