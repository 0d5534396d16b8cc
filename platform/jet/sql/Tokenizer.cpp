#include "platform/jet/sql/Tokenizer.h"

#include <cctype>

#include "platform/jet/sql/ErroresSql.h"

namespace jet::sql {

namespace {

bool EsInicioNombre(unsigned char c) {
    return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool EsParteNombre(unsigned char c) {
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

}  // namespace

std::vector<Token> Tokenizer::Divide(const std::string& sSql) {
    std::vector<Token> tokens;
    size_t i = 0;
    const size_t n = sSql.size();
    auto cerca = [&](size_t p) { return sSql.substr(p, 20); };
    while (i < n) {
        unsigned char c = sSql[i];
        if (std::isspace(c)) {
            ++i;
            continue;
        }
        Token t;
        t.posicion = i;
        if (c == '\'' || c == '"') {
            t.tipo = TipoToken::Texto;
            size_t j = i + 1;
            for (;;) {
                if (j >= n)
                    throw ErrorSintaxis(cerca(i));
                if (sSql[j] == static_cast<char>(c)) {
                    if (j + 1 < n && sSql[j + 1] == static_cast<char>(c)) {
                        t.texto += static_cast<char>(c);
                        j += 2;
                        continue;
                    }
                    break;
                }
                t.texto += sSql[j++];
            }
            i = j + 1;
        } else if (c == '[') {
            size_t j = sSql.find(']', i + 1);
            if (j == std::string::npos)
                throw ErrorSintaxis(cerca(i));
            t.tipo = TipoToken::Nombre;
            t.corchetes = true;
            t.texto = sSql.substr(i + 1, j - i - 1);
            i = j + 1;
        } else if (c == '#') {
            size_t j = sSql.find('#', i + 1);
            if (j == std::string::npos)
                throw ErrorSintaxis(cerca(i));
            t.tipo = TipoToken::Fecha;
            t.texto = sSql.substr(i + 1, j - i - 1);
            i = j + 1;
        } else if (std::isdigit(c) ||
                   (c == '.' && i + 1 < n && std::isdigit((unsigned char)sSql[i + 1]))) {
            size_t j = i;
            while (j < n && std::isdigit((unsigned char)sSql[j])) ++j;
            if (j < n && sSql[j] == '.') {
                ++j;
                while (j < n && std::isdigit((unsigned char)sSql[j])) ++j;
            }
            if (j < n && (sSql[j] == 'e' || sSql[j] == 'E')) {
                size_t k = j + 1;
                if (k < n && (sSql[k] == '+' || sSql[k] == '-'))
                    ++k;
                if (k < n && std::isdigit((unsigned char)sSql[k])) {
                    while (k < n && std::isdigit((unsigned char)sSql[k])) ++k;
                    j = k;
                }
            }
            t.tipo = TipoToken::Numero;
            t.texto = sSql.substr(i, j - i);
            i = j;
        } else if (EsInicioNombre(c)) {
            size_t j = i;
            while (j < n && EsParteNombre(sSql[j])) ++j;
            t.tipo = TipoToken::Nombre;
            t.texto = sSql.substr(i, j - i);
            i = j;
        } else {
            static const char* dobles[] = {"<>", "<=", ">="};
            t.tipo = TipoToken::Simbolo;
            for (const char* d : dobles) {
                if (sSql.compare(i, 2, d) == 0)
                    t.texto = d;
            }
            if (t.texto.empty()) {
                if (std::string("(),.*+-/\\^&=<>;").find(static_cast<char>(c)) == std::string::npos)
                    throw ErrorSintaxis(cerca(i));
                t.texto = std::string(1, static_cast<char>(c));
            }
            i += t.texto.size();
        }
        tokens.push_back(std::move(t));
    }
    Token fin;
    fin.posicion = n;
    tokens.push_back(fin);
    return tokens;
}

}  // namespace jet::sql
