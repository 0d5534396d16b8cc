#include "platform/jet/sql/FormatoJet.h"

#include <langinfo.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/jet/FormatoNumero.h"
#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/FechaJet.h"
#include "platform/jet/sql/JetCollation.h"

namespace jet::sql {

namespace {

std::string Minusculas(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// ---- the locale's conventions ----

struct Separadores {
    std::string sDecimal = ".";
    std::string sMiles = ",";
    std::string sMoneda = "$";
    bool bMonedaAntes = true;  // "$1.00" rather than "1.00 €"
};

// The C locale has no grouping and no currency sign; a format that asks for
// them still gets the usual ones.
Separadores DameSeparadores() {
    Separadores s;
    const std::lconv* l = std::localeconv();
    if (l->decimal_point && *l->decimal_point)
        s.sDecimal = l->decimal_point;
    if (l->thousands_sep && *l->thousands_sep)
        s.sMiles = l->thousands_sep;
    else if (s.sDecimal == ",")
        s.sMiles = ".";
    if (l->currency_symbol && *l->currency_symbol) {
        s.sMoneda = l->currency_symbol;
        s.bMonedaAntes = l->p_cs_precedes != 0;
    }
    return s;
}

// Whether the locale writes the day before the month, and with what
// separator, from its short date.
struct OrdenFecha {
    bool bDiaPrimero = false;
    char cSeparador = '/';
};

OrdenFecha DameOrdenFecha() {
    OrdenFecha o;
    const std::string f = nl_langinfo(D_FMT);
    const auto d = f.find("%d"), m = f.find("%m");
    o.bDiaPrimero = d != std::string::npos && m != std::string::npos && d < m;
    for (size_t i = 0; i + 2 < f.size(); ++i)
        if (f[i] == '%' && std::strchr("dmyY", f[i + 1]) && f[i + 2] != '%')
            return o.cSeparador = f[i + 2], o;
    return o;
}

// ---- numbers ----

// The decimal digits of |d| rounded half away from zero to nDecimales,
// read from 15 significant digits as VBA reads a Double: integer digits
// (without leading zeros) and exactly nDecimales decimals.
void Digitos(double d, int nDecimales, std::string& sEntero, std::string& sDecimales) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(d));
    std::string m;
    for (char* p = buf; *p && *p != 'e'; ++p)
        if (std::isdigit(static_cast<unsigned char>(*p)))
            m += *p;
    const int nExp = std::atoi(std::strchr(buf, 'e') + 1);
    // m holds 15 digits, the first one in the place 10^nExp.
    std::string todo;  // digits from 10^max(nExp,0) down to 10^-nDecimales
    const int nAlto = std::max(nExp, 0);
    for (int k = nAlto; k >= -nDecimales; --k) {
        const int i = nExp - k;
        todo += i >= 0 && i < static_cast<int>(m.size()) ? m[static_cast<size_t>(i)] : '0';
    }
    const int iSiguiente = nExp + nDecimales + 1;
    if (iSiguiente >= 0 && iSiguiente < static_cast<int>(m.size()) &&
        m[static_cast<size_t>(iSiguiente)] >= '5') {
        int i = static_cast<int>(todo.size()) - 1;
        while (i >= 0 && todo[static_cast<size_t>(i)] == '9') todo[static_cast<size_t>(i--)] = '0';
        if (i < 0)
            todo.insert(todo.begin(), '1');
        else
            ++todo[static_cast<size_t>(i)];
    }
    if (d == 0)
        todo.assign(todo.size(), '0');
    sDecimales = todo.substr(todo.size() - static_cast<size_t>(nDecimales));
    sEntero = todo.substr(0, todo.size() - static_cast<size_t>(nDecimales));
    const auto p = sEntero.find_first_not_of('0');
    sEntero = p == std::string::npos ? "" : sEntero.substr(p);
}

std::string Agrupa(const std::string& s, const std::string& sMiles) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        if (i && (s.size() - i) % 3 == 0)
            r += sMiles;
        r += s[i];
    }
    return r;
}

struct Pieza {
    enum { Literal, Digito, Punto, Coma, Porcentaje, Exponente } tipo = Literal;
    std::string s;  // the literal, the placeholder ('0' or '#'), or "E+"/"E-"/"e+"/"e-"
};

std::vector<Pieza> Piezas(const std::string& f) {
    std::vector<Pieza> r;
    auto literal = [&](const std::string& s) {
        if (!r.empty() && r.back().tipo == Pieza::Literal)
            r.back().s += s;
        else
            r.push_back({Pieza::Literal, s});
    };
    for (size_t i = 0; i < f.size(); ++i) {
        const char c = f[i];
        if (c == '\\' && i + 1 < f.size()) {
            literal(std::string(1, f[++i]));
        } else if (c == '"') {
            const size_t fin = f.find('"', i + 1);
            literal(f.substr(i + 1, (fin == std::string::npos ? f.size() : fin) - i - 1));
            i = fin == std::string::npos ? f.size() : fin;
        } else if (c == '0' || c == '#') {
            r.push_back({Pieza::Digito, std::string(1, c)});
        } else if (c == '.') {
            r.push_back({Pieza::Punto, "."});
        } else if (c == ',') {
            r.push_back({Pieza::Coma, ","});
        } else if (c == '%') {
            r.push_back({Pieza::Porcentaje, "%"});
        } else if ((c == 'E' || c == 'e') && i + 1 < f.size() &&
                   (f[i + 1] == '+' || f[i + 1] == '-')) {
            r.push_back({Pieza::Exponente, f.substr(i, 2)});
            ++i;
        } else {
            literal(std::string(1, c));
        }
    }
    return r;
}

// One section of a number pattern applied to |d|.
std::string FormateaSeccion(double d, const std::string& sSeccion, const Separadores& sep) {
    const auto piezas = Piezas(sSeccion);
    size_t iPunto = piezas.size(), iExp = piezas.size();
    bool bPorcentaje = false;
    for (size_t i = 0; i < piezas.size(); ++i) {
        if (piezas[i].tipo == Pieza::Punto && iPunto == piezas.size() && iExp == piezas.size())
            iPunto = i;
        if (piezas[i].tipo == Pieza::Exponente && iExp == piezas.size())
            iExp = i;
        bPorcentaje |= piezas[i].tipo == Pieza::Porcentaje;
    }
    const size_t iFinMantisa = std::min(iExp, piezas.size());
    std::vector<size_t> enteros, decimales;
    size_t nCerosEnteros = 0;
    bool bAgrupa = false;
    int nEscala = 0;
    for (size_t i = 0; i < iFinMantisa; ++i) {
        if (piezas[i].tipo == Pieza::Digito) {
            (i < iPunto ? enteros : decimales).push_back(i);
        } else if (piezas[i].tipo == Pieza::Coma && i < iPunto) {
            // A comma between digit placeholders groups thousands; commas
            // right after the last one divide by a thousand each.
            bool bDigitoDespues = false;
            for (size_t k = i + 1; k < std::min(iPunto, iFinMantisa); ++k)
                bDigitoDespues |= piezas[k].tipo == Pieza::Digito;
            if (bDigitoDespues && !enteros.empty())
                bAgrupa = true;
            else if (!enteros.empty())
                ++nEscala;
        }
    }
    for (size_t k = 0; k < enteros.size(); ++k)
        if (piezas[enteros[k]].s == "0") {
            nCerosEnteros = enteros.size() - k;
            break;
        }
    if (bPorcentaje)
        d *= 100;
    for (int i = 0; i < nEscala; ++i) d /= 1000;
    std::string sExponente;
    if (iExp < piezas.size() && d != 0) {
        const int nEnteros = std::max<int>(1, static_cast<int>(enteros.size()));
        int e = static_cast<int>(std::floor(std::log10(std::fabs(d)))) - (nEnteros - 1);
        std::string se, sd;
        Digitos(d / std::pow(10.0, e), static_cast<int>(decimales.size()), se, sd);
        if (static_cast<int>(se.size()) > nEnteros) {  // 9.99 rounded to 10.0
            ++e;
            Digitos(d / std::pow(10.0, e), static_cast<int>(decimales.size()), se, sd);
        }
        d = d / std::pow(10.0, e);
        size_t nCerosExp = 0;
        for (size_t k = iExp + 1; k < piezas.size() && piezas[k].tipo == Pieza::Digito; ++k)
            nCerosExp += piezas[k].s == "0";
        std::string n = std::to_string(std::abs(e));
        while (n.size() < nCerosExp) n = "0" + n;
        sExponente = std::string(1, piezas[iExp].s[0]) +
                     (e < 0                      ? "-"
                      : piezas[iExp].s[1] == '+' ? "+"
                                                 : "") +
                     n;
    } else if (iExp < piezas.size()) {
        size_t nCerosExp = 0;
        for (size_t k = iExp + 1; k < piezas.size() && piezas[k].tipo == Pieza::Digito; ++k)
            nCerosExp += piezas[k].s == "0";
        sExponente = std::string(1, piezas[iExp].s[0]) + (piezas[iExp].s[1] == '+' ? "+" : "") +
                     std::string(std::max<size_t>(nCerosExp, 1), '0');
    }
    std::string sEntero, sDecimales;
    Digitos(d, static_cast<int>(decimales.size()), sEntero, sDecimales);
    while (sEntero.size() < nCerosEnteros) sEntero = "0" + sEntero;
    // Trailing zeros under # disappear.
    size_t nDecimales = sDecimales.size();
    while (nDecimales > 0 && sDecimales[nDecimales - 1] == '0' &&
           piezas[decimales[nDecimales - 1]].s == "#")
        --nDecimales;
    std::string r;
    size_t iDigitoEntero = 0;
    // Digits beyond the placeholders go to the first one; the others take
    // one digit each, counted from the right.
    const size_t nSobran = sEntero.size() > enteros.size() ? sEntero.size() - enteros.size() : 0;
    const size_t nFaltan = enteros.size() > sEntero.size() ? enteros.size() - sEntero.size() : 0;
    size_t iDecimal = 0;
    for (size_t i = 0; i < piezas.size(); ++i) {
        const Pieza& p = piezas[i];
        if (i >= iExp) {
            if (i == iExp)
                r += sExponente;
            else if (p.tipo != Pieza::Digito)
                r += p.tipo == Pieza::Literal ? p.s : p.tipo == Pieza::Porcentaje ? "%" : "";
            continue;
        }
        switch (p.tipo) {
            case Pieza::Literal:
                r += p.s;
                break;
            case Pieza::Porcentaje:
                r += "%";
                break;
            case Pieza::Coma:
                break;
            case Pieza::Punto:
                if (i == iPunto)
                    r += sep.sDecimal;
                break;
            case Pieza::Digito:
                if (i < iPunto) {
                    if (bAgrupa) {
                        if (iDigitoEntero++ == 0)
                            r += Agrupa(sEntero, sep.sMiles);
                    } else if (iDigitoEntero == 0) {
                        ++iDigitoEntero;
                        if (nFaltan == 0)
                            r += sEntero.substr(0, nSobran + 1);
                    } else {
                        const size_t k = iDigitoEntero++;
                        if (k >= nFaltan)
                            r += sEntero[k - nFaltan + nSobran];
                    }
                } else {
                    if (iDecimal < nDecimales)
                        r += sDecimales[iDecimal];
                    ++iDecimal;
                }
                break;
            case Pieza::Exponente:
                break;
        }
    }
    return r;
}

// Sections split at semicolons outside quotes and escapes.
std::vector<std::string> Secciones(const std::string& f) {
    std::vector<std::string> r(1);
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '\\' && i + 1 < f.size()) {
            r.back() += f.substr(i, 2);
            ++i;
        } else if (f[i] == '"') {
            const size_t fin = f.find('"', i + 1);
            const size_t n = fin == std::string::npos ? f.size() - i : fin - i + 1;
            r.back() += f.substr(i, n);
            i += n - 1;
        } else if (f[i] == ';') {
            r.emplace_back();
        } else {
            r.back() += f[i];
        }
    }
    return r;
}

bool SeccionVacia(const std::vector<std::string>& s, size_t i) {
    return i >= s.size() || s[i].empty();
}

std::optional<std::string> FormateaNumero(const ValorFormato& v, const std::string& sFormato,
                                          const Separadores& sep) {
    const auto s = Secciones(sFormato);
    if (v.eTipo == ValorFormato::Nulo) {
        if (SeccionVacia(s, 3))
            return std::nullopt;
        return FormateaSeccion(0, s[3], sep);
    }
    const double d = v.d;
    if (d < 0 && !SeccionVacia(s, 1))
        return FormateaSeccion(-d, s[1], sep);
    if (d == 0 && !SeccionVacia(s, 2))
        return FormateaSeccion(0, s[2], sep);
    const std::string r = FormateaSeccion(std::fabs(d), s[0], sep);
    // A negative number that rounds to nothing but zeros has no sign.
    return d < 0 && r.find_first_of("123456789") != std::string::npos ? "-" + r : r;
}

// A pattern with @ or & placeholders shows any value as text.
bool EsPatronTexto(const std::string& f) {
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] == '\\') {
            ++i;
        } else if (f[i] == '"') {
            const size_t fin = f.find('"', i + 1);
            i = fin == std::string::npos ? f.size() : fin;
        } else if (f[i] == '@' || f[i] == '&') {
            return true;
        }
    }
    return false;
}

// ---- dates ----

bool EsPatronFecha(const std::string& f) {
    for (size_t i = 0; i < f.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(f[i])));
        if (f[i] == '\\') {
            ++i;
        } else if (f[i] == '"') {
            const size_t fin = f.find('"', i + 1);
            i = fin == std::string::npos ? f.size() : fin;
        } else if (std::strchr("dmyhnswqc", c) || f.compare(i, 5, "AM/PM") == 0 ||
                   f.compare(i, 3, "A/P") == 0 || Minusculas(f.substr(i, 4)) == "ampm") {
            return true;
        }
    }
    return false;
}

struct Fecha {
    PartesFecha p;
    int64_t nDia = 0;
    int nDiaSemana = 1;  // 1 Sunday
    double dSerial = 0;
    int nPrimerDia = 1, nPrimeraSemana = 1;  // what "w" and "ww" count from
};

Fecha Parte(double dSerial) {
    Fecha f;
    f.dSerial = dSerial;
    f.p = PartesDeSerial(dSerial);
    f.nDia = static_cast<int64_t>(std::trunc(dSerial));
    f.nDiaSemana = static_cast<int>(((f.nDia + 6) % 7 + 7) % 7) + 1;
    return f;
}

std::string DosCifras(int64_t n) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%02lld", static_cast<long long>(n));
    return buf;
}

std::string FormateaFecha(const Fecha& f, const std::string& sPatron);

std::string FechaCorta(const Fecha& f) {
    const OrdenFecha o = DameOrdenFecha();
    const std::string s(1, o.cSeparador);
    const std::string a = std::to_string(f.p.anio);
    return o.bDiaPrimero ? DosCifras(f.p.dia) + s + DosCifras(f.p.mes) + s + a
                         : std::to_string(f.p.mes) + s + std::to_string(f.p.dia) + s + a;
}

std::string FechaLarga(const Fecha& f) {
    return DameOrdenFecha().bDiaPrimero ? FormateaFecha(f, "dddd, d \"de\" mmmm \"de\" yyyy")
                                        : FormateaFecha(f, "dddd, mmmm d, yyyy");
}

std::string HoraLarga(const Fecha& f) {
    return DameOrdenFecha().bDiaPrimero ? FormateaFecha(f, "hh:nn:ss")
                                        : FormateaFecha(f, "h:nn:ss AM/PM");
}

std::string FechaGeneral(const Fecha& f) {
    const bool bHora = f.p.hora || f.p.minuto || f.p.segundo;
    if (f.nDia == 0 && bHora)
        return HoraLarga(f);
    return bHora ? FechaCorta(f) + " " + HoraLarga(f) : FechaCorta(f);
}

// An m or mm just before the seconds (":" and blanks between) is minutes.
bool SiguenSegundos(const std::string& b, size_t i) {
    const size_t k = b.find_first_not_of(" :", i);
    return k != std::string::npos && b[k] == 's';
}

std::string FormateaFecha(const Fecha& f, const std::string& sPatron) {
    const std::string b = Minusculas(sPatron);
    bool bDoce = false;
    for (const char* s : {"am/pm", "a/p", "ampm"}) bDoce |= b.find(s) != std::string::npos;
    std::string r;
    bool bTrasHora = false;  // an m right after h is minutes
    auto repite = [&](size_t i) {
        size_t n = 1;
        while (i + n < b.size() && b[i + n] == b[i]) ++n;
        return n;
    };
    for (size_t i = 0; i < b.size();) {
        const char c = b[i];
        if (sPatron[i] == '\\' && i + 1 < b.size()) {
            r += sPatron[i + 1];
            i += 2;
            continue;
        }
        if (sPatron[i] == '"') {
            const size_t fin = sPatron.find('"', i + 1);
            const size_t k = fin == std::string::npos ? sPatron.size() : fin;
            r += sPatron.substr(i + 1, k - i - 1);
            i = k + 1;
            continue;
        }
        if (b.compare(i, 5, "am/pm") == 0) {
            const bool bMay = sPatron[i] == 'A';
            r += f.p.hora < 12 ? (bMay ? "AM" : "am") : (bMay ? "PM" : "pm");
            i += 5;
            continue;
        }
        if (b.compare(i, 3, "a/p") == 0) {
            const bool bMay = sPatron[i] == 'A';
            r += f.p.hora < 12 ? (bMay ? "A" : "a") : (bMay ? "P" : "p");
            i += 3;
            continue;
        }
        if (b.compare(i, 4, "ampm") == 0) {
            r += f.p.hora < 12 ? nl_langinfo(AM_STR) : nl_langinfo(PM_STR);
            i += 4;
            continue;
        }
        const size_t n = repite(i);
        bool bToken = true;
        switch (c) {
            case 'c':
                r += FechaGeneral(f);
                break;
            case 'd':
                if (n == 1)
                    r += std::to_string(f.p.dia);
                else if (n == 2)
                    r += DosCifras(f.p.dia);
                else if (n == 3 || n == 4)
                    r += NombreDia(f.nDiaSemana, n == 3);
                else
                    r += n == 5 ? FechaCorta(f) : FechaLarga(f);
                break;
            case 'w':
                if (n == 1)
                    r += std::to_string(DiaSemana(f.nDia, f.nPrimerDia));
                else
                    r += std::to_string(
                        SemanaDelAnio(f.nDia, f.p.anio, f.nPrimerDia, f.nPrimeraSemana));
                break;
            case 'm':
                if (n <= 2 && (bTrasHora || SiguenSegundos(b, i + n))) {
                    r += n == 1 ? std::to_string(f.p.minuto) : DosCifras(f.p.minuto);
                } else if (n <= 2) {
                    r += n == 1 ? std::to_string(f.p.mes) : DosCifras(f.p.mes);
                } else {
                    r += NombreMes(static_cast<int>(f.p.mes), n == 3);
                }
                break;
            case 'q':
                r += std::to_string((f.p.mes - 1) / 3 + 1);
                break;
            case 'y':
                if (n == 1 || n == 3)
                    r += std::to_string(f.nDia - (DiasCiviles(f.p.anio, 1, 1) - kDiasEpocaJet) + 1);
                else if (n == 2)
                    r += DosCifras(f.p.anio % 100);
                else
                    r += std::to_string(f.p.anio);
                break;
            case 'h': {
                const int h = bDoce ? (f.p.hora % 12 == 0 ? 12 : f.p.hora % 12) : f.p.hora;
                r += n == 1 ? std::to_string(h) : DosCifras(h);
                break;
            }
            case 'n':
                r += n == 1 ? std::to_string(f.p.minuto) : DosCifras(f.p.minuto);
                break;
            case 's':
                r += n == 1 ? std::to_string(f.p.segundo) : DosCifras(f.p.segundo);
                break;
            case 't':
                if (n == 5) {
                    r += HoraLarga(f);
                    break;
                }
                [[fallthrough]];
            default:
                bToken = false;
                r += sPatron.substr(i, n);
                break;
        }
        if (bToken)
            bTrasHora = c == 'h';
        i += n;
    }
    return r;
}

std::optional<std::string> FormatoConNombre(const ValorFormato& v, const std::string& sNombre,
                                            const Separadores& sep) {
    const std::string n = Minusculas(sNombre);
    auto f = [&] {
        if (!(v.d >= -657434.0 && v.d < 2958466.0))  // the years 100 to 9999
            throw ErrorDesbordamiento(TextoNumero(v.d));
        return Parte(v.d);
    };
    if (n == "general date")
        return FechaGeneral(f());
    if (n == "long date")
        return FechaLarga(f());
    if (n == "medium date")
        return FormateaFecha(f(), "dd-mmm-yy");
    if (n == "short date")
        return FechaCorta(f());
    if (n == "long time")
        return HoraLarga(f());
    if (n == "medium time")
        return FormateaFecha(f(), "hh:nn AM/PM");
    if (n == "short time")
        return FormateaFecha(f(), "hh:nn");
    if (v.eTipo == ValorFormato::Fecha)
        return std::nullopt;
    if (n == "general number") {
        std::string s = TextoNumero(v.d);
        const auto p = s.find('.');
        return p == std::string::npos ? s : s.replace(p, 1, sep.sDecimal);
    }
    // The currency sign is a literal of the pattern, quoted; negatives go
    // in parentheses where the sign leads, as Windows writes dollars.
    if (n == "currency") {
        const std::string m = "\"" + sep.sMoneda + "\"";
        return FormateaNumero(v,
                              sep.bMonedaAntes ? m + "#,##0.00;(" + m + "#,##0.00)"
                                               : "#,##0.00\" " + sep.sMoneda + "\"",
                              sep);
    }
    if (n == "fixed")
        return FormateaNumero(v, "0.00", sep);
    if (n == "standard")
        return FormateaNumero(v, "#,##0.00", sep);
    if (n == "percent")
        return FormateaNumero(v, "0.00%", sep);
    if (n == "scientific")
        return FormateaNumero(v, "0.00E+00", sep);
    if (n == "yes/no")
        return std::string(v.d != 0 ? "Yes" : "No");
    if (n == "true/false")
        return std::string(v.d != 0 ? "True" : "False");
    if (n == "on/off")
        return std::string(v.d != 0 ? "On" : "Off");
    return std::nullopt;
}

bool EsNombre(const std::string& s) {
    static const char* kNombres[] = {"general date", "long date",   "medium date", "short date",
                                     "long time",    "medium time", "short time",  "general number",
                                     "currency",     "fixed",       "standard",    "percent",
                                     "scientific",   "yes/no",      "true/false",  "on/off"};
    const std::string n = Minusculas(s);
    for (const char* k : kNombres)
        if (n == k)
            return true;
    return false;
}

// Text that is neither number nor date: > upper case, < lower case; each
// @ takes a letter or shows a blank, each & a letter or nothing, filled
// from the right unless ! asks for the left. Letters beyond the
// placeholders go with the first (or, with !, the last) one.
std::string FormateaTexto(const std::string& sTexto, const std::string& sFormato) {
    std::u32string s = JetCollation::PuntosCodigo(sTexto);
    const auto f = JetCollation::PuntosCodigo(Secciones(sFormato)[0]);
    struct Elemento {
        bool bHueco;
        char32_t c;  // '@' or '&' for a placeholder, else the literal
    };
    std::vector<Elemento> e;
    bool bIzquierda = false, bMayusculas = false, bMinusculas = false;
    size_t nHuecos = 0;
    for (size_t i = 0; i < f.size(); ++i) {
        const char32_t c = f[i];
        if (c == U'\\' && i + 1 < f.size()) {
            e.push_back({false, f[++i]});
        } else if (c == U'"') {
            for (++i; i < f.size() && f[i] != U'"'; ++i) e.push_back({false, f[i]});
        } else if (c == U'@' || c == U'&') {
            e.push_back({true, c});
            ++nHuecos;
        } else if (c == U'!') {
            bIzquierda = true;
        } else if (c == U'>') {
            bMayusculas = true;
        } else if (c == U'<') {
            bMinusculas = true;
        } else {
            e.push_back({false, c});
        }
    }
    std::string t = JetCollation::Utf8(s);
    if (bMayusculas)
        t = JetCollation::Mayusculas(t);
    else if (bMinusculas)
        t = JetCollation::Minusculas(t);
    if (nHuecos == 0)
        return t;
    s = JetCollation::PuntosCodigo(t);
    // The letter each placeholder takes, counted in its filling order.
    std::vector<std::u32string> toma(nHuecos);
    const size_t nSobran = s.size() > nHuecos ? s.size() - nHuecos : 0;
    for (size_t k = 0; k < std::min(nHuecos, s.size()); ++k) {
        if (bIzquierda)
            toma[k] = s.substr(k, 1);
        else
            toma[nHuecos - 1 - k] = s.substr(s.size() - 1 - k, 1);
    }
    if (nSobran)
        bIzquierda ? toma[nHuecos - 1] += s.substr(nHuecos) : toma[0] = s.substr(0, nSobran + 1);
    std::u32string r;
    size_t k = 0;
    for (const auto& x : e) {
        if (!x.bHueco) {
            r += x.c;
            continue;
        }
        const std::u32string& l = toma[k++];
        r += l.empty() ? (x.c == U'@' ? U" " : U"") : l;
    }
    return JetCollation::Utf8(r);
}

}  // namespace

std::string NombreMes(int nMes, bool bCorto) {
    return nl_langinfo(static_cast<nl_item>((bCorto ? ABMON_1 : MON_1) + nMes - 1));
}

std::string NombreDia(int nDia, bool bCorto) {
    return nl_langinfo(static_cast<nl_item>((bCorto ? ABDAY_1 : DAY_1) + nDia - 1));
}

std::optional<std::string> FormatoJet(const ValorFormato& v, const std::string& sFormato,
                                      int nPrimerDia, int nPrimeraSemana) {
    const Separadores sep = DameSeparadores();
    // An infinite product of SQLite's arithmetic has no digits to show.
    if (v.eTipo != ValorFormato::Texto && !std::isfinite(v.d))
        throw ErrorDesbordamiento(TextoNumero(v.d));
    if (v.eTipo == ValorFormato::Nulo)
        return sFormato.empty() || EsPatronTexto(sFormato) ? std::nullopt
                                                           : FormateaNumero(v, sFormato, sep);
    if (v.eTipo == ValorFormato::Texto || EsPatronTexto(sFormato))
        return FormateaTexto(v.sTexto, sFormato);
    if (sFormato.empty()) {
        if (v.eTipo == ValorFormato::Fecha && v.d >= -657434.0 && v.d < 2958466.0)
            return FechaGeneral(Parte(v.d));
        return FormatoConNombre(v, "General Number", sep);
    }
    if (EsNombre(sFormato)) {
        auto r = FormatoConNombre(v, sFormato, sep);
        if (r)
            return r;
        // A date under a number's name is its serial under that name.
        ValorFormato n = v;
        n.eTipo = ValorFormato::Numero;
        return FormatoConNombre(n, sFormato, sep);
    }
    if (EsPatronFecha(sFormato)) {
        if (!(v.d >= -657434.0 && v.d < 2958466.0))  // the years 100 to 9999
            throw ErrorDesbordamiento(TextoNumero(v.d));
        const auto s = Secciones(sFormato);
        Fecha f = Parte(v.d);
        f.nPrimerDia = nPrimerDia;
        f.nPrimeraSemana = nPrimeraSemana;
        return FormateaFecha(f, s[0]);
    }
    return FormateaNumero(v, sFormato, sep);
}

}  // namespace jet::sql
