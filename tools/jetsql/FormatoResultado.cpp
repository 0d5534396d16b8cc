#include "tools/jetsql/FormatoResultado.h"

#include <algorithm>

#include "platform/jet/TextoValor.h"
#include "tools/jetsql/CsvJetsql.h"
#include "tools/jetsql/ValoresJetsql.h"

namespace {

// Characters on screen: UTF-8 continuation bytes take no room.
size_t Ancho(const std::string& s) {
    return std::count_if(s.begin(), s.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xc0) != 0x80; });
}

// A cell's text on one line, at most nMaximo characters.
std::string Celda(const std::string& sTexto, size_t nMaximo) {
    std::string s;
    for (const char c : sTexto) {
        if (c == '\n')
            s += "↵";
        else if (c == '\t')
            s += ' ';
        else if (c != '\r')
            s += c;
    }
    if (Ancho(s) <= nMaximo)
        return s;
    size_t nCaracteres = 0, i = 0;
    for (; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xc0) != 0x80 && ++nCaracteres == nMaximo)
            break;
    }
    return s.substr(0, i) + "…";
}

std::string Relleno(const std::string& s, size_t nAncho, bool bDerecha) {
    const std::string sBlancos(nAncho - std::min(nAncho, Ancho(s)), ' ');
    return bDerecha ? sBlancos + s : s + sBlancos;
}

void EscribeTabla(const jet::TResultado& r, bool bEncabezados, std::ostream& salida,
                  size_t nMaximo) {
    const size_t nColumnas = r.columnas.size();
    std::vector<size_t> anchos(nColumnas, 0);
    std::vector<bool> derecha(nColumnas, false);
    std::vector<std::vector<std::string>> celdas;
    for (size_t c = 0; c < nColumnas; ++c)
        if (bEncabezados)
            anchos[c] = Ancho(Celda(r.columnas[c], nMaximo));
    for (const auto& fila : r.filas) {
        auto& textos = celdas.emplace_back();
        for (size_t c = 0; c < nColumnas; ++c) {
            textos.push_back(Celda(jet::TextoValor(fila[c]), nMaximo));
            anchos[c] = std::max(anchos[c], Ancho(textos.back()));
            if (EsNumerico(fila[c]))
                derecha[c] = true;
        }
    }
    auto linea = [&](auto texto) {
        std::string s;
        for (size_t c = 0; c < nColumnas; ++c) s += (c ? "  " : "") + texto(c);
        while (!s.empty() && s.back() == ' ') s.pop_back();
        salida << s << '\n';
    };
    if (bEncabezados) {
        linea([&](size_t c) {
            return Relleno(Celda(r.columnas[c], nMaximo), anchos[c], derecha[c]);
        });
        linea([&](size_t c) { return std::string(anchos[c], '-'); });
    }
    for (const auto& textos : celdas)
        linea([&](size_t c) { return Relleno(textos[c], anchos[c], derecha[c]); });
    salida << '(' << r.filas.size() << (r.filas.size() == 1 ? " fila)" : " filas)") << '\n';
}

void EscribeJson(const jet::TResultado& r, std::ostream& salida) {
    salida << '[';
    for (size_t f = 0; f < r.filas.size(); ++f) {
        salida << (f ? ",\n " : "") << '{';
        for (size_t c = 0; c < r.columnas.size(); ++c)
            salida << (c ? "," : "") << CadenaJson(r.columnas[c]) << ':'
                   << ValorJson(r.filas[f][c]);
        salida << '}';
    }
    salida << "]\n";
}

void EscribeLineas(const jet::TResultado& r, std::ostream& salida) {
    size_t nAncho = 0;
    for (const auto& s : r.columnas) nAncho = std::max(nAncho, Ancho(s));
    for (size_t f = 0; f < r.filas.size(); ++f) {
        if (f)
            salida << '\n';
        for (size_t c = 0; c < r.columnas.size(); ++c)
            salida << Relleno(r.columnas[c], nAncho, true) << " = "
                   << jet::TextoValor(r.filas[f][c]) << '\n';
    }
}

}  // namespace

std::optional<TModoSalida> LeeModoSalida(const std::string& s) {
    if (s == "csv")
        return TModoSalida::msCsv;
    if (s == "tabla")
        return TModoSalida::msTabla;
    if (s == "json")
        return TModoSalida::msJson;
    if (s == "lineas")
        return TModoSalida::msLineas;
    return std::nullopt;
}

void EscribeResultado(const jet::TResultado& resultado, TModoSalida eModo, bool bEncabezados,
                      std::ostream& salida, size_t nAnchoMaximo) {
    switch (eModo) {
        case TModoSalida::msCsv:
            EscribeCsv(resultado, salida, bEncabezados);
            break;
        case TModoSalida::msTabla:
            EscribeTabla(resultado, bEncabezados, salida, nAnchoMaximo);
            break;
        case TModoSalida::msJson:
            EscribeJson(resultado, salida);
            break;
        case TModoSalida::msLineas:
            EscribeLineas(resultado, salida);
            break;
    }
}
