#include "platform/jet/sql/FuncionesVba.h"

#include <langinfo.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <vector>

#include "platform/jet/sql/FechaJet.h"
#include "platform/jet/sql/FechaTexto.h"
#include "platform/jet/sql/FormatoJet.h"
#include "platform/jet/sql/JetCollation.h"
#include "platform/jet/sql/Matematicas.h"
#include "platform/jet/sql/TextoAscii.h"
#include "platform/jet/sql/ValorSqlite.h"

namespace jet::sql {

namespace {

constexpr double kMinEntero = -32768, kMaxEntero = 32767;
// Longer texts than this are refused rather than built: a String or a
// Replace asked for billions of characters would exhaust memory.
constexpr int64_t kMaxCaracteres = 10'000'000;

// ---- day serials split into a day and a time of day ----

struct DiaYHora {
    int64_t nDia = 0;       // days from 1899-12-30
    int64_t nSegundos = 0;  // seconds since that day's midnight
};

DiaYHora Separa(double dSerial) {
    const double dEntero = std::trunc(dSerial);
    DiaYHora r;
    r.nDia = static_cast<int64_t>(dEntero);
    r.nSegundos = std::llround(std::fabs(dSerial - dEntero) * 86400.0);
    if (r.nSegundos >= 86400)
        r.nSegundos = 86399;
    return r;
}

double SerialDeSegundos(int64_t nTotal) {
    const int64_t nDia = nTotal >= 0 ? nTotal / 86400 : -((-nTotal + 86399) / 86400);
    return Serial(nDia, nTotal - nDia * 86400);
}

// Jet keeps dates between the years 100 and 9999.
void ExigeRango(double dSerial, const char* sFuncion) {
    if (!(dSerial >= -657434.0 && dSerial < 2958466.0))
        throw ErrorArgumentoNoValido(sFuncion);
}

// A date argument: a serial, or text that reads as a number or a date.
double LeeSerial(sqlite3_value* v) {
    if (sqlite3_value_type(v) == SQLITE_TEXT) {
        const std::string s = TextoCrudo(v);
        if (auto d = FechaDeTexto(s))
            return *d;
    }
    return LeeNumero(v).Doble();
}

// A date argument within Jet's years: beyond them a serial has no date.
double LeeFecha(sqlite3_value* v, const char* sFuncion) {
    const double d = LeeSerial(v);
    ExigeRango(d, sFuncion);
    return d;
}

// firstdayofweek: 0 is the system's (Sunday here), 1 Sunday .. 7 Saturday.
int PrimerDia(sqlite3_value** a, int nArgs, int i, const char* sFuncion) {
    if (i >= nArgs || EsNulo(a[i]))
        return 1;
    const int64_t n = Entero(a[i], sFuncion, kMinEntero, kMaxEntero);
    if (n < 0 || n > 7)
        throw ErrorArgumentoNoValido(sFuncion);
    return n == 0 ? 1 : static_cast<int>(n);
}

// firstweekofyear: 0 is the system's (the week of January 1), 1 .. 3.
int PrimeraSemana(sqlite3_value** a, int nArgs, int i, const char* sFuncion) {
    if (i >= nArgs || EsNulo(a[i]))
        return 1;
    const int64_t n = Entero(a[i], sFuncion, kMinEntero, kMaxEntero);
    if (n < 0 || n > 3)
        throw ErrorArgumentoNoValido(sFuncion);
    return n == 0 ? 1 : static_cast<int>(n);
}

enum class Intervalo {
    Anio,
    Trimestre,
    Mes,
    DiaDelAnio,
    Dia,
    DiaSemana,
    Semana,
    Hora,
    Minuto,
    Segundo
};

Intervalo LeeIntervalo(sqlite3_value* v, const char* sFuncion) {
    static const std::pair<const char*, Intervalo> kIntervalos[] = {
        {"YYYY", Intervalo::Anio},    {"Q", Intervalo::Trimestre}, {"M", Intervalo::Mes},
        {"Y", Intervalo::DiaDelAnio}, {"D", Intervalo::Dia},       {"W", Intervalo::DiaSemana},
        {"WW", Intervalo::Semana},    {"H", Intervalo::Hora},      {"N", Intervalo::Minuto},
        {"S", Intervalo::Segundo}};
    const std::string s = MayusculasAscii(Recortado(Texto(v)));
    for (const auto& [sNombre, i] : kIntervalos)
        if (s == sNombre)
            return i;
    throw ErrorArgumentoNoValido(sFuncion);
}

// ---- text ----

// Windows-1252, the code page of Chr and Asc, between 0x80 and 0x9F; the
// five codes it leaves free stand for themselves.
constexpr char32_t kCp1252[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                  0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

char32_t DeCodigo(int64_t n) {
    return n >= 0x80 && n < 0xA0 ? kCp1252[n - 0x80] : static_cast<char32_t>(n);
}

int64_t ACodigo(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kCp1252[i] == c)
            return 0x80 + i;
    return '?';  // outside the code page, as Windows converts it
}

void Chr(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const int64_t n = Entero(a[0], "CHR", kMinLong, kMaxLong);
        if (n < 0 || n > 255)
            throw ErrorArgumentoNoValido("CHR");
        ResultadoTexto(ctx, JetCollation::Utf8(std::u32string(1, DeCodigo(n))));
    });
}

void Asc(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            throw ErrorArgumentoNoValido("ASC");
        const auto s = JetCollation::PuntosCodigo(Texto(a[0]));
        if (s.empty())
            throw ErrorArgumentoNoValido("ASC");
        sqlite3_result_int64(ctx, ACodigo(s[0]));
    });
}

// String(number, character): character is a text (its first letter) or a
// character code, taken modulo 256.
void String(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]) || EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        const int64_t n = Entero(a[0], "STRING", kMinLong, kMaxLong);
        if (n < 0 || n > kMaxCaracteres)
            throw ErrorArgumentoNoValido("STRING");
        char32_t c;
        if (sqlite3_value_type(a[1]) == SQLITE_TEXT) {
            const auto s = JetCollation::PuntosCodigo(TextoCrudo(a[1]));
            if (s.empty())
                throw ErrorArgumentoNoValido("STRING");
            c = s[0];
        } else {
            const int64_t k = Entero(a[1], "STRING", kMinLong, kMaxLong);
            c = DeCodigo(((k % 256) + 256) % 256);
        }
        ResultadoTexto(ctx, JetCollation::Utf8(std::u32string(static_cast<size_t>(n), c)));
    });
}

// compare: 0 binary, 1 text (letter case ignored); the text comparison
// is the default, as in Access's queries.
bool Binaria(sqlite3_value** a, int nArgs, int i, const char* sFuncion) {
    if (i >= nArgs || EsNulo(a[i]))
        return false;
    const int64_t n = Entero(a[i], sFuncion, kMinEntero, kMaxEntero);
    if (n < -1 || n > 2)
        throw ErrorArgumentoNoValido(sFuncion);
    return n == 0;
}

std::u32string Letras(sqlite3_value* v, bool bBinaria) {
    return bBinaria ? JetCollation::PuntosCodigo(Texto(v)) : JetCollation::Pliega(Texto(v));
}

void StrComp(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const bool bBinaria = Binaria(a, nArgs, 2, "STRCOMP");
        if (EsNulo(a[0]) || EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        int n;
        if (bBinaria) {
            const auto x = JetCollation::PuntosCodigo(Texto(a[0]));
            const auto y = JetCollation::PuntosCodigo(Texto(a[1]));
            n = x < y ? -1 : x > y ? 1 : 0;
        } else {
            n = JetCollation::Compara(Texto(a[0]), Texto(a[1]));
            n = n < 0 ? -1 : n > 0 ? 1 : 0;
        }
        sqlite3_result_int(ctx, n);
    });
}

// InStrRev(text, sought[, start[, compare]]): start -1 is the end.
void InStrRev(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        int64_t nInicio = -1;
        if (nArgs >= 3) {
            if (EsNulo(a[2]))
                throw ErrorArgumentoNoValido("INSTRREV");
            nInicio = Entero(a[2], "INSTRREV", kMinLong, kMaxLong);
            if (nInicio == 0 || nInicio < -1)
                throw ErrorArgumentoNoValido("INSTRREV");
        }
        const bool bBinaria = Binaria(a, nArgs, 3, "INSTRREV");
        if (EsNulo(a[0]) || EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        const auto s = Letras(a[0], bBinaria), b = Letras(a[1], bBinaria);
        const int64_t nLargo = static_cast<int64_t>(s.size());
        if (nInicio == -1)
            nInicio = nLargo;
        if (nLargo == 0 || nInicio > nLargo)
            return sqlite3_result_int(ctx, 0);
        if (b.empty())
            return sqlite3_result_int64(ctx, nInicio);
        if (static_cast<int64_t>(b.size()) > nInicio)
            return sqlite3_result_int(ctx, 0);
        const size_t p = s.rfind(b, static_cast<size_t>(nInicio) - b.size());
        sqlite3_result_int64(ctx, p == std::u32string::npos ? 0 : static_cast<int64_t>(p + 1));
    });
}

void StrReverse(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            throw ErrorArgumentoNoValido("STRREVERSE");
        auto s = JetCollation::PuntosCodigo(Texto(a[0]));
        std::reverse(s.begin(), s.end());
        ResultadoTexto(ctx, JetCollation::Utf8(s));
    });
}

// Replace(text, find, with[, start[, count[, compare]]]): the answer starts
// at start, as VBA documents; count -1 replaces every occurrence.
void Replace(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        for (int i = 0; i < 3; ++i)
            if (EsNulo(a[i]))
                throw ErrorArgumentoNoValido("REPLACE");
        int64_t nInicio = 1, nCuantos = -1;
        if (nArgs >= 4) {
            nInicio = Entero(a[3], "REPLACE", kMinLong, kMaxLong);
            if (nInicio < 1)
                throw ErrorArgumentoNoValido("REPLACE");
        }
        if (nArgs >= 5) {
            nCuantos = Entero(a[4], "REPLACE", kMinLong, kMaxLong);
            if (nCuantos < -1)
                throw ErrorArgumentoNoValido("REPLACE");
        }
        const bool bBinaria = Binaria(a, nArgs, 5, "REPLACE");
        const auto s = JetCollation::PuntosCodigo(Texto(a[0]));
        const auto buscado = JetCollation::PuntosCodigo(Texto(a[1]));
        const auto con = JetCollation::PuntosCodigo(Texto(a[2]));
        if (static_cast<size_t>(nInicio) > s.size())
            return ResultadoTexto(ctx, "");
        const std::u32string resto = s.substr(static_cast<size_t>(nInicio - 1));
        if (buscado.empty() || nCuantos == 0)
            return ResultadoTexto(ctx, JetCollation::Utf8(resto));
        // Positions are found in the folded text, which keeps one letter
        // for each letter of the original.
        const std::u32string donde =
            bBinaria ? resto
                     : JetCollation::Pliega(Texto(a[0])).substr(static_cast<size_t>(nInicio - 1));
        const std::u32string que = bBinaria ? buscado : JetCollation::Pliega(Texto(a[1]));
        std::u32string r;
        size_t i = 0;
        int64_t n = 0;
        while (nCuantos < 0 || n < nCuantos) {
            const size_t p = donde.find(que, i);
            if (p == std::u32string::npos)
                break;
            r += resto.substr(i, p - i);
            r += con;
            i = p + que.size();
            ++n;
            if (static_cast<int64_t>(r.size()) > kMaxCaracteres)
                throw ErrorArgumentoNoValido("REPLACE");
        }
        r += resto.substr(i);
        ResultadoTexto(ctx, JetCollation::Utf8(r));
    });
}

void MonthName(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const int64_t m = Entero(a[0], "MONTHNAME", kMinLong, kMaxLong);
        if (m < 1 || m > 12)
            throw ErrorArgumentoNoValido("MONTHNAME");
        const bool bCorto = nArgs == 2 && !EsNulo(a[1]) && LeeNumero(a[1]).Doble() != 0;
        ResultadoTexto(ctx, NombreMes(static_cast<int>(m), bCorto));
    });
}

// ---- numbers ----

template <double (*F)(double), bool bPositivo>
void Matematica(sqlite3_context* ctx, int, sqlite3_value** a, const char* sFuncion) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const double d = LeeNumero(a[0]).Doble();
        if (bPositivo && d <= 0)
            throw ErrorArgumentoNoValido(sFuncion);
        const double r = F(d);
        if (!std::isfinite(r))
            throw ErrorDesbordamiento(Texto(a[0]));
        sqlite3_result_double(ctx, r);
    });
}
void Atn(sqlite3_context* ctx, int n, sqlite3_value** a) {
    Matematica<Arcotangente, false>(ctx, n, a, "ATN");
}
void Log(sqlite3_context* ctx, int n, sqlite3_value** a) {
    Matematica<Logaritmo, true>(ctx, n, a, "LOG");
}
void Exp(sqlite3_context* ctx, int n, sqlite3_value** a) {
    Matematica<Exponencial, false>(ctx, n, a, "EXP");
}

// VBA's generator: a 24-bit linear congruence, one for the process as VBA
// keeps one, that starts where VBA's starts, so Rnd(-n) and the sequences
// repeat VBA's.
struct EstadoRnd {
    std::mutex m;
    uint32_t x = 0x50000;
};

EstadoRnd& GeneradorRnd() {
    static EstadoRnd e;
    return e;
}

uint32_t Siguiente(uint32_t x) {
    return (x * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
}

void Rnd(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        EstadoRnd* e = &GeneradorRnd();
        const std::lock_guard<std::mutex> cerrojo(e->m);
        double d = 1;
        if (nArgs == 1) {
            if (EsNulo(a[0]))
                throw ErrorArgumentoNoValido("RND");
            d = LeeNumero(a[0]).Doble();
        }
        if (d < 0) {
            const uint32_t s = std::bit_cast<uint32_t>(static_cast<float>(d));
            e->x = Siguiente((s + (s >> 24)) & 0xFFFFFFu);
        } else if (d > 0) {
            e->x = Siguiente(e->x);
        }
        sqlite3_result_double(ctx, e->x / 16777216.0);
    });
}

// Hex and Oct of a whole number (rounded half to even): negatives in two's
// complement of 16 bits when they fit an Integer, of 32 otherwise.
template <int nBase>
void Base(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        int64_t n = Entero(a[0], nBase == 16 ? "HEX" : "OCT", kMinLong, kMaxLong);
        if (n < 0)
            n += n >= kMinEntero ? 0x10000 : 0x100000000LL;
        char buf[32];
        std::snprintf(buf, sizeof buf, nBase == 16 ? "%llX" : "%llo", static_cast<long long>(n));
        ResultadoTexto(ctx, buf);
    });
}

// Text that VBA's IsNumeric takes: blanks around, a sign, a currency sign,
// digits with thousands commas, a decimal point, an exponent, or &H / &O.
bool EsTextoNumerico(const std::string& sTexto) {
    const std::string s = MayusculasAscii(Recortado(sTexto));
    size_t i = 0;
    if (s.starts_with("&H") || s.starts_with("&O")) {
        const bool bHex = s[1] == 'H';
        if (s.size() == 2)
            return false;
        for (i = 2; i < s.size(); ++i)
            if (!(bHex ? std::isxdigit(static_cast<unsigned char>(s[i]))
                       : s[i] >= '0' && s[i] <= '7'))
                return false;
        return true;
    }
    auto signo = [&] {
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
    };
    signo();
    if (i < s.size() && s[i] == '$')
        ++i;
    signo();
    bool bDigitos = false;
    while (i < s.size() &&
           (std::isdigit(static_cast<unsigned char>(s[i])) || (s[i] == ',' && bDigitos)))
        bDigitos = true, ++i;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i)
            bDigitos = true;
    if (!bDigitos)
        return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'D')) {
        ++i;
        signo();
        const size_t k = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        if (i == k)
            return false;
    }
    return i == s.size();
}

void IsNumeric(sqlite3_context* ctx, int, sqlite3_value** a) {
    switch (sqlite3_value_type(a[0])) {
        case SQLITE_NULL:
            return sqlite3_result_int(ctx, 0);
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_result_int(ctx, -1);
        default:
            return sqlite3_result_int(ctx, EsTextoNumerico(TextoCrudo(a[0])) ? -1 : 0);
    }
}

// ---- conversions ----

void CBool(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            throw ErrorArgumentoNoValido("CBOOL");
        if (sqlite3_value_type(a[0]) == SQLITE_TEXT) {
            const std::string s = MayusculasAscii(Recortado(TextoCrudo(a[0])));
            if (s == "TRUE" || s == "FALSE")
                return sqlite3_result_int(ctx, s == "TRUE" ? -1 : 0);
        }
        sqlite3_result_int(ctx, LeeNumero(a[0]).Doble() != 0 ? -1 : 0);
    });
}

void CByte(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] { sqlite3_result_int64(ctx, Entero(a[0], "CBYTE", 0, 255)); });
}

void CVar(sqlite3_context* ctx, int, sqlite3_value** a) {
    sqlite3_result_value(ctx, a[0]);
}

// Currency keeps four decimals, the fifth rounded half to even; the
// product is read back through 15 digits so that 1.00005 is a half.
void CCur(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            throw ErrorArgumentoNoValido("CCUR");
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", LeeNumero(a[0]).Doble() * 10000.0);
        const double d = std::nearbyint(std::strtod(buf, nullptr));
        if (!(std::fabs(d) <= 9223372036854775807.0))
            throw ErrorDesbordamiento(Texto(a[0]));
        sqlite3_result_double(ctx, d / 10000.0);
    });
}

// ---- dates ----

void ResultadoFecha(sqlite3_context* ctx, double dSerial, const char* sFuncion) {
    ExigeRango(dSerial, sFuncion);
    sqlite3_result_double(ctx, dSerial);
}

// CDate fails on Null; CVDate passes it on.
template <bool bNulo>
void CDate(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const char* sFuncion = bNulo ? "CVDATE" : "CDATE";
        if (EsNulo(a[0])) {
            if (bNulo)
                return sqlite3_result_null(ctx);
            throw ErrorArgumentoNoValido(sFuncion);
        }
        if (sqlite3_value_type(a[0]) == SQLITE_TEXT) {
            const auto d = FechaDeTexto(TextoCrudo(a[0]));
            if (!d && !EsTextoNumerico(TextoCrudo(a[0])))
                throw ErrorTiposNoCoinciden(TextoCrudo(a[0]));
            if (d)
                return ResultadoFecha(ctx, *d, sFuncion);
        }
        ResultadoFecha(ctx, LeeNumero(a[0]).Doble(), sFuncion);
    });
}

void IsDate(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (sqlite3_value_type(a[0]) != SQLITE_TEXT)
        return sqlite3_result_int(ctx, 0);
    const auto d = FechaDeTexto(TextoCrudo(a[0]));
    sqlite3_result_int(ctx, d && *d >= -657434.0 && *d < 2958466.0 ? -1 : 0);
}

// DateValue keeps the day, TimeValue the time of day.
template <bool bDia>
void ParteDeFecha(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const char* sFuncion = bDia ? "DATEVALUE" : "TIMEVALUE";
        if (sqlite3_value_type(a[0]) == SQLITE_TEXT && !FechaDeTexto(TextoCrudo(a[0])))
            throw ErrorTiposNoCoinciden(TextoCrudo(a[0]));
        const double d = LeeFecha(a[0], sFuncion);
        const DiaYHora p = Separa(d);
        sqlite3_result_double(ctx, bDia ? static_cast<double>(p.nDia) : Serial(0, p.nSegundos));
    });
}

void TimeSerial(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]) || EsNulo(a[1]) || EsNulo(a[2]))
            return sqlite3_result_null(ctx);
        const int64_t h = Entero(a[0], "TIMESERIAL", kMinEntero, kMaxEntero);
        const int64_t m = Entero(a[1], "TIMESERIAL", kMinEntero, kMaxEntero);
        const int64_t s = Entero(a[2], "TIMESERIAL", kMinEntero, kMaxEntero);
        ResultadoFecha(ctx, SerialDeSegundos(h * 3600 + m * 60 + s), "TIMESERIAL");
    });
}

// Now, Date and Time read the local clock.
template <int nParte>
void Reloj(sqlite3_context* ctx, int, sqlite3_value**) {
    const std::tm tm = Ahora();
    const int64_t nDia = DiaDe(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    const int64_t nSegundos = tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
    sqlite3_result_double(ctx, nParte == 0   ? Serial(nDia, nSegundos)
                               : nParte == 1 ? static_cast<double>(nDia)
                                             : Serial(0, nSegundos));
}

void Weekday(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const int nPrimerDia = PrimerDia(a, nArgs, 1, "WEEKDAY");
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        sqlite3_result_int(ctx, DiaSemana(Separa(LeeFecha(a[0], "WEEKDAY")).nDia, nPrimerDia));
    });
}

void DateAdd(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const Intervalo i = LeeIntervalo(a[0], "DATEADD");
        if (EsNulo(a[1]) || EsNulo(a[2]))
            return sqlite3_result_null(ctx);
        const int64_t n = Entero(a[1], "DATEADD", kMinLong, kMaxLong);
        const double d = LeeFecha(a[2], "DATEADD");
        const DiaYHora p = Separa(d);
        switch (i) {
            case Intervalo::Anio:
            case Intervalo::Trimestre:
            case Intervalo::Mes: {
                const int64_t k = i == Intervalo::Anio ? 12 : i == Intervalo::Trimestre ? 3 : 1;
                const PartesFecha f = PartesDeSerial(d);
                const int64_t nMeses = f.anio * 12 + (f.mes - 1) + n * k;
                const int64_t nAnio = DivPiso(nMeses, 12), nMes = nMeses - nAnio * 12 + 1;
                if (nAnio < 100 || nAnio > 9999)
                    throw ErrorArgumentoNoValido("DATEADD");
                const int64_t nDia = std::min(f.dia, DiasDelMes(nAnio, nMes));
                return ResultadoFecha(ctx, Serial(DiaDe(nAnio, nMes, nDia), p.nSegundos),
                                      "DATEADD");
            }
            case Intervalo::DiaDelAnio:
            case Intervalo::Dia:
            case Intervalo::DiaSemana:
            case Intervalo::Semana:
                return ResultadoFecha(
                    ctx, Serial(p.nDia + n * (i == Intervalo::Semana ? 7 : 1), p.nSegundos),
                    "DATEADD");
            default: {
                const int64_t k = i == Intervalo::Hora ? 3600 : i == Intervalo::Minuto ? 60 : 1;
                return ResultadoFecha(ctx, SerialDeSegundos(p.nDia * 86400 + p.nSegundos + n * k),
                                      "DATEADD");
            }
        }
    });
}

// Boundaries crossed from the first date to the second: DateDiff("yyyy")
// from Dec 31 to Jan 1 is 1; "w" counts whole weeks, "ww" first days of
// the week.
void DateDiff(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const Intervalo i = LeeIntervalo(a[0], "DATEDIFF");
        const int nPrimerDia = PrimerDia(a, nArgs, 3, "DATEDIFF");
        if (EsNulo(a[1]) || EsNulo(a[2]))
            return sqlite3_result_null(ctx);
        const double d1 = LeeFecha(a[1], "DATEDIFF"), d2 = LeeFecha(a[2], "DATEDIFF");
        const DiaYHora p1 = Separa(d1), p2 = Separa(d2);
        const PartesFecha f1 = PartesDeSerial(d1), f2 = PartesDeSerial(d2);
        const int64_t s1 = p1.nDia * 86400 + p1.nSegundos, s2 = p2.nDia * 86400 + p2.nSegundos;
        int64_t r = 0;
        switch (i) {
            case Intervalo::Anio:
                r = f2.anio - f1.anio;
                break;
            case Intervalo::Trimestre:
                r = (f2.anio * 4 + (f2.mes - 1) / 3) - (f1.anio * 4 + (f1.mes - 1) / 3);
                break;
            case Intervalo::Mes:
                r = (f2.anio * 12 + f2.mes) - (f1.anio * 12 + f1.mes);
                break;
            case Intervalo::DiaDelAnio:
            case Intervalo::Dia:
                r = p2.nDia - p1.nDia;
                break;
            case Intervalo::DiaSemana:
                r = (p2.nDia - p1.nDia) / 7;
                break;
            case Intervalo::Semana:
                r = Semana(p2.nDia, nPrimerDia) - Semana(p1.nDia, nPrimerDia);
                break;
            case Intervalo::Hora:
                r = DivPiso(s2, 3600) - DivPiso(s1, 3600);
                break;
            case Intervalo::Minuto:
                r = DivPiso(s2, 60) - DivPiso(s1, 60);
                break;
            case Intervalo::Segundo:
                r = s2 - s1;
                break;
        }
        sqlite3_result_int64(ctx, r);
    });
}

void DatePart(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const Intervalo i = LeeIntervalo(a[0], "DATEPART");
        const int nPrimerDia = PrimerDia(a, nArgs, 2, "DATEPART");
        const int nPrimeraSemana = PrimeraSemana(a, nArgs, 3, "DATEPART");
        if (EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        const double d = LeeFecha(a[1], "DATEPART");
        const PartesFecha f = PartesDeSerial(d);
        const int64_t nDia = Separa(d).nDia;
        int64_t r = 0;
        switch (i) {
            case Intervalo::Anio:
                r = f.anio;
                break;
            case Intervalo::Trimestre:
                r = (f.mes - 1) / 3 + 1;
                break;
            case Intervalo::Mes:
                r = f.mes;
                break;
            case Intervalo::DiaDelAnio:
                r = nDia - DiaDe(f.anio, 1, 1) + 1;
                break;
            case Intervalo::Dia:
                r = f.dia;
                break;
            case Intervalo::DiaSemana:
                r = DiaSemana(nDia, nPrimerDia);
                break;
            case Intervalo::Semana: {
                r = SemanaDelAnio(nDia, f.anio, nPrimerDia, nPrimeraSemana);
                break;
            }
            case Intervalo::Hora:
                r = f.hora;
                break;
            case Intervalo::Minuto:
                r = f.minuto;
                break;
            case Intervalo::Segundo:
                r = f.segundo;
                break;
        }
        sqlite3_result_int64(ctx, r);
    });
}

// ---- choices ----

// Switch(condition1, value1, ...): the value of the first true condition;
// a Null condition is not true. Every argument was evaluated already, as
// VBA evaluates them all.
void Switch(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (nArgs % 2 != 0)
            throw ErrorArgumentoNoValido("SWITCH");
        for (int i = 0; i < nArgs; i += 2)
            if (!EsNulo(a[i]) && LeeNumero(a[i]).Doble() != 0)
                return sqlite3_result_value(ctx, a[i + 1]);
        sqlite3_result_null(ctx);
    });
}

void Choose(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const int64_t n = Entero(a[0], "CHOOSE", -9.2e18, 9.2e18);
        if (n < 1 || n >= nArgs)
            return sqlite3_result_null(ctx);
        sqlite3_result_value(ctx, a[n]);
    });
}

// ---- Format ----

void Format(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const std::string sFormato = nArgs >= 2 && !EsNulo(a[1]) ? Texto(a[1]) : "";
        ValorFormato v;
        switch (sqlite3_value_type(a[0])) {
            case SQLITE_NULL:
                v.eTipo = ValorFormato::Nulo;
                break;
            case SQLITE_INTEGER:
            case SQLITE_FLOAT:
                v.eTipo = ValorFormato::Numero;
                v.d = LeeNumero(a[0]).Doble();
                v.sTexto = Texto(a[0]);
                break;
            default:
                v.sTexto = TextoCrudo(a[0]);
                if (auto d = FechaDeTexto(v.sTexto)) {
                    v.eTipo = ValorFormato::Fecha;
                    v.d = *d;
                } else if (EsTextoNumerico(v.sTexto) &&
                           v.sTexto.find_first_of("&$,") == std::string::npos) {
                    v.eTipo = ValorFormato::Numero;
                    v.d = LeeNumero(a[0]).Doble();
                }
                break;
        }
        // The generator adds a fifth argument when the value is typed as a
        // date: a date reaches SQLite as its serial, a plain number.
        if (nArgs == 5 && v.eTipo == ValorFormato::Numero)
            v.eTipo = ValorFormato::Fecha;
        const int nPrimerDia = PrimerDia(a, nArgs, 2, "FORMAT");
        const int nPrimeraSemana = PrimeraSemana(a, nArgs, 3, "FORMAT");
        const auto r = FormatoJet(v, sFormato, nPrimerDia, nPrimeraSemana);
        if (!r)
            return sqlite3_result_null(ctx);
        ResultadoTexto(ctx, *r);
    });
}

// The implementation behind each jet_* name the function table gives these
// functions (platform/jet/sql/TablaFunciones.cpp holds their facts).
constexpr FilaImplementacionVba kImplementaciones[] = {
    {"jet_chr", Chr},
    {"jet_asc", Asc},
    {"jet_string", String},
    {"jet_strcomp", StrComp},
    {"jet_instrrev", InStrRev},
    {"jet_strreverse", StrReverse},
    {"jet_replace", Replace},
    {"jet_monthname", MonthName},
    {"jet_atn", Atn},
    {"jet_log", Log},
    {"jet_exp", Exp},
    {"jet_rnd", Rnd},
    {"jet_hex", Base<16>},
    {"jet_oct", Base<8>},
    {"jet_isnumeric", IsNumeric},
    {"jet_isdate", IsDate},
    {"jet_cbool", CBool},
    {"jet_cbyte", CByte},
    {"jet_cvar", CVar},
    {"jet_ccur", CCur},
    {"jet_cdate", CDate<false>},
    {"jet_cvdate", CDate<true>},
    {"jet_datevalue", ParteDeFecha<true>},
    {"jet_timevalue", ParteDeFecha<false>},
    {"jet_timeserial", TimeSerial},
    {"jet_now", Reloj<0>},
    {"jet_date", Reloj<1>},
    {"jet_time", Reloj<2>},
    {"jet_weekday", Weekday},
    {"jet_dateadd", DateAdd},
    {"jet_datediff", DateDiff},
    {"jet_datepart", DatePart},
    {"jet_switch", Switch},
    {"jet_choose", Choose},
    {"jet_format", Format},
};

}  // namespace

FuncionSql ImplementacionVba(const std::string& sSqlite) {
    for (const auto& f : kImplementaciones)
        if (sSqlite == f.sSqlite)
            return f.f;
    return nullptr;
}

}  // namespace jet::sql
