#include "questionnaire/ConsultaPropia.h"

namespace {

// A text literal of Access SQL: quotes doubled.
std::string Literal(const std::string& s) {
    std::string r = "'";
    for (char c : s) {
        r += c;
        if (c == '\'')
            r += '\'';
    }
    return r + "'";
}

// A column as SQL names it: a name, a table's column, or a name between
// brackets; nothing that could end the condition or start another.
bool EsColumna(const std::string& s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (c == '\'' || c == '"' || c == '(' || c == ')' || c == ';' || c == '{' || c == '}' ||
            c == '#' || c == ',' || c == '\n' || c == '\r' || c == '=' || c == '<' || c == '>')
            return false;
    return s.front() != ' ' && s.back() != ' ';
}

}  // namespace

std::optional<std::string> ExpandeConsulta(const std::string& sConsulta,
                                           const TContextoConsulta& contexto,
                                           TFalloConsulta& fallo) {
    std::string r;
    r.reserve(sConsulta.size());
    for (std::size_t i = 0; i < sConsulta.size(); ++i) {
        const char c = sConsulta[i];
        if ((c == '{' || c == '}') && i + 1 < sConsulta.size() && sConsulta[i + 1] == c) {
            r += c;
            ++i;
            continue;
        }
        if (c == '}') {
            fallo = {i, "hay una «}» sin su «{» (una llave se escribe «}}»)."};
            return std::nullopt;
        }
        if (c != '{') {
            r += c;
            continue;
        }
        const std::size_t nFin = sConsulta.find('}', i);
        if (nFin == std::string::npos) {
            fallo = {i, "hay una «{» sin su «}» (una llave se escribe «{{»)."};
            return std::nullopt;
        }
        const std::string sMarca = sConsulta.substr(i + 1, nFin - i - 1);
        const std::size_t nParen = sMarca.find('(');
        const std::string sNombre = sMarca.substr(0, nParen);
        std::string sColumna;
        if (nParen != std::string::npos) {
            if (sMarca.back() != ')') {
                fallo = {i, "{" + sMarca + "} no termina en «)»."};
                return std::nullopt;
            }
            sColumna = sMarca.substr(nParen + 1, sMarca.size() - nParen - 2);
        }
        const bool bConColumna = sNombre == "periodo" || sNombre == "pep";
        if (sNombre != "empresa" && sNombre != "tipo_cambio" && !bConColumna) {
            fallo = {i, "{" + sMarca +
                            "} no es un dato que la consulta pueda usar: {empresa}, "
                            "{tipo_cambio}, {periodo(COLUMNA)} o {pep(COLUMNA)}."};
            return std::nullopt;
        }
        if (bConColumna != (nParen != std::string::npos)) {
            fallo = {i, bConColumna ? "{" + sNombre + "} lleva la columna entre paréntesis: {" +
                                          sNombre + "(COLUMNA)}."
                                    : "{" + sNombre + "} no lleva paréntesis."};
            return std::nullopt;
        }
        if (bConColumna && !EsColumna(sColumna)) {
            fallo = {i, "«" + sColumna + "» no es el nombre de una columna en {" + sMarca + "}."};
            return std::nullopt;
        }
        if (sNombre == "empresa") {
            r += contexto.sEmpresa;
        } else if (sNombre == "tipo_cambio") {
            r += contexto.sTipoCambio;
        } else if (sNombre == "periodo") {
            r += "(" + sColumna + " >= #" + contexto.sFIni + "# AND " + sColumna + " < #" +
                 contexto.sFDespues + "#)";
        } else if (contexto.clavesPEP.empty()) {
            r += "(1 = 0)";
        } else {
            std::string sLista;
            for (const std::string& sClave : contexto.clavesPEP)
                sLista += (sLista.empty() ? "" : ", ") + Literal(sClave);
            r += "(" + sColumna + " IN (" + sLista + "))";
        }
        i = nFin;
    }
    return r;
}
