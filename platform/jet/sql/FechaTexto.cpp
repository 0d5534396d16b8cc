#include "platform/jet/sql/FechaTexto.h"

#include <cstdio>
#include <vector>

#include "platform/jet/sql/FechaJet.h"
#include "platform/jet/sql/TextoAscii.h"

namespace jet::sql {

namespace {

// The month a name gives, upper case: Spanish or English, whole or in
// three letters, as Access reads them on a Spanish system; 0 for none.
int MesDeNombre(const std::string& s) {
    static const std::pair<const char*, int> kNombres[] = {
        {"ENERO", 1},      {"ENE", 1},        {"JANUARY", 1},   {"JAN", 1},        {"FEBRERO", 2},
        {"FEB", 2},        {"FEBRUARY", 2},   {"MARZO", 3},     {"MAR", 3},        {"MARCH", 3},
        {"ABRIL", 4},      {"ABR", 4},        {"APRIL", 4},     {"APR", 4},        {"MAYO", 5},
        {"MAY", 5},        {"JUNIO", 6},      {"JUN", 6},       {"JUNE", 6},       {"JULIO", 7},
        {"JUL", 7},        {"JULY", 7},       {"AGOSTO", 8},    {"AGO", 8},        {"AUGUST", 8},
        {"AUG", 8},        {"SEPTIEMBRE", 9}, {"SETIEMBRE", 9}, {"SEP", 9},        {"SET", 9},
        {"SEPTEMBER", 9},  {"SEPT", 9},       {"OCTUBRE", 10},  {"OCT", 10},       {"OCTOBER", 10},
        {"NOVIEMBRE", 11}, {"NOV", 11},       {"NOVEMBER", 11}, {"DICIEMBRE", 12}, {"DIC", 12},
        {"DECEMBER", 12},  {"DEC", 12}};
    for (const auto& [sNombre, nMes] : kNombres)
        if (s == sNombre)
            return nMes;
    return 0;
}

struct DiaLeido {
    int64_t nDia;
    size_t nUsados;  // the characters the date took; a time of day may follow
};

// A date with its month in letters, upper case: "15 DE MARZO DE 2017",
// "15-MAR-2017", "MARCH 15, 2017", "15 MAR 2017", "5 DE MARZO" (this year).
// The day comes first unless the first number can only be a year.
std::optional<DiaLeido> FechaConMesEnLetras(const std::string& t) {
    int nMes = 0;
    std::vector<int64_t> numeros;
    size_t i = 0, nFin = 0;
    const auto letra = [](char c) { return c >= 'A' && c <= 'Z'; };
    const auto cifra = [](char c) { return c >= '0' && c <= '9'; };
    while (i < t.size()) {
        const char c = t[i];
        if (c == ' ' || c == '-' || c == '/' || c == '.' || c == ',') {
            ++i;
            continue;
        }
        size_t j = i;
        if (cifra(c)) {
            while (j < t.size() && cifra(t[j])) ++j;
            if (j < t.size() && t[j] == ':')
                break;  // a time of day
            if (numeros.size() == 2 || j - i > 4)
                return std::nullopt;
            numeros.push_back(std::stoll(t.substr(i, j - i)));
        } else if (letra(c)) {
            while (j < t.size() && letra(t[j])) ++j;
            const std::string w = t.substr(i, j - i);
            if (w != "DE") {
                if (nMes)
                    break;  // AM/PM, or what the time's reading rejects
                nMes = MesDeNombre(w);
                if (!nMes)
                    return std::nullopt;
            }
        } else {
            break;
        }
        i = nFin = j;
    }
    if (!nMes || numeros.empty())
        return std::nullopt;
    int64_t dia = numeros[0], anio = 0;
    if (numeros.size() == 1) {
        // Without a year the date is in the current one, as VBA reads it;
        // a lone number that cannot be a day is no date ("marzo 2017").
        if (dia > 31)
            return std::nullopt;
        anio = Ahora().tm_year + 1900;
    } else {
        anio = numeros[1];
        if (dia > 31)
            std::swap(dia, anio);
        if (anio >= 0 && anio < 30)
            anio += 2000;
        else if (anio >= 30 && anio < 100)
            anio += 1900;
    }
    if (dia < 1 || dia > DiasDelMes(anio, nMes) || anio < 100 || anio > 9999)
        return std::nullopt;
    return DiaLeido{DiaDe(anio, nMes, dia), nFin};
}

}  // namespace

std::optional<double> FechaDeTexto(const std::string& sTexto) {
    const std::string texto = MayusculasAscii(Recortado(sTexto));
    if (texto.empty())
        return std::nullopt;
    int a = 0, b = 0, c = 0, usados = 0;
    int64_t nDia = 0;
    size_t resto = 0;
    bool bFecha = false;
    char s1 = 0, s2 = 0;
    if (std::sscanf(texto.c_str(), "%d%c%d%c%d%n", &a, &s1, &b, &s2, &c, &usados) == 5 &&
        s1 == s2 && (s1 == '/' || s1 == '-' || s1 == '.')) {
        int64_t anio, mes, dia;
        if (a > 31)
            anio = a, mes = b, dia = c;
        else if (a > 12 && b <= 12)
            dia = a, mes = b, anio = c;
        else
            mes = a, dia = b, anio = c;
        if (anio >= 0 && anio < 30)
            anio += 2000;
        else if (anio >= 30 && anio < 100)
            anio += 1900;
        if (mes < 1 || mes > 12 || dia < 1 || dia > DiasDelMes(anio, mes) || anio < 100 ||
            anio > 9999)
            return std::nullopt;
        nDia = DiaDe(anio, mes, dia);
        resto = static_cast<size_t>(usados);
        bFecha = true;
    } else if (const auto m = FechaConMesEnLetras(texto)) {
        nDia = m->nDia;
        resto = m->nUsados;
        bFecha = true;
    }
    const std::string hora = Recortado(texto.substr(resto));
    if (hora.empty())
        return bFecha ? std::optional<double>(static_cast<double>(nDia)) : std::nullopt;
    int h = 0, mi = 0, s = 0, n = 0;
    if (std::sscanf(hora.c_str(), "%d:%d%n", &h, &mi, &n) != 2)
        return std::nullopt;
    std::string cola = hora.substr(static_cast<size_t>(n));
    if (cola.starts_with(":")) {
        int k = 0;
        if (std::sscanf(cola.c_str(), ":%d%n", &s, &k) != 1)
            return std::nullopt;
        cola = cola.substr(static_cast<size_t>(k));
    }
    cola = Recortado(cola);
    if (cola == "PM" || cola == "AM") {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (cola == "PM" ? 12 : 0);
    } else if (!cola.empty()) {
        return std::nullopt;
    }
    if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59)
        return std::nullopt;
    return Serial(nDia, h * 3600 + mi * 60 + s);
}

}  // namespace jet::sql
