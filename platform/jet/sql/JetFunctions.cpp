#include "platform/jet/sql/JetFunctions.h"

#include <sqlite3.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jet/FormatoNumero.h"
#include "platform/jet/sql/CadenaJet.h"
#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/FechaJet.h"
#include "platform/jet/sql/FuncionesVba.h"
#include "platform/jet/sql/JetCollation.h"
#include "platform/jet/sql/Matematicas.h"
#include "platform/jet/sql/RecursosSqlite.h"
#include "platform/jet/sql/TablaFunciones.h"
#include "platform/jet/sql/ValorSqlite.h"

namespace jet::sql {

namespace {

using Paso = void (*)(sqlite3_context*, int, sqlite3_value**);
using Fin = void (*)(sqlite3_context*);

void Registra(sqlite3* db, TRanuraError* ranura, const char* sNombre, int nArgs, int nBanderas,
              Funcion f, Paso paso, Fin fin) {
    if (sqlite3_create_function(db, sNombre, nArgs, nBanderas, ranura, f, paso, fin) != SQLITE_OK)
        throw ErrorJet(TErrorJet::Motor, {std::string("no se pudo registrar la función ") +
                                          sNombre + ": " + sqlite3_errmsg(db)});
}

// ---- operators ----

void Suma(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]) || EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        const bool t0 = sqlite3_value_type(a[0]) == SQLITE_TEXT;
        const bool t1 = sqlite3_value_type(a[1]) == SQLITE_TEXT;
        if (t0 && t1)
            return ResultadoTexto(ctx, TextoCrudo(a[0]) + TextoCrudo(a[1]));
        const Numero x = LeeNumero(a[0]), y = LeeNumero(a[1]);
        Numero r;
        if (x.bEntero && y.bEntero && !__builtin_add_overflow(x.n, y.n, &r.n))
            return ResultadoNumero(ctx, r);
        sqlite3_result_double(ctx, x.Doble() + y.Doble());
    });
}

void Div(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]) || EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        const double x = LeeNumero(a[0]).Doble(), y = LeeNumero(a[1]).Doble();
        if (y == 0)
            throw ErrorDivisionPorCero();
        sqlite3_result_double(ctx, x / y);
    });
}

void DivEntera(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]) || EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        const int64_t x = Entero(a[0], "\\", -9.2e18, 9.2e18),
                      y = Entero(a[1], "\\", -9.2e18, 9.2e18);
        if (y == 0)
            throw ErrorDivisionPorCero();
        sqlite3_result_int64(ctx, x / y);
    });
}

void Mod(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]) || EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        const int64_t x = Entero(a[0], "Mod", -9.2e18, 9.2e18),
                      y = Entero(a[1], "Mod", -9.2e18, 9.2e18);
        if (y == 0)
            throw ErrorDivisionPorCero();
        sqlite3_result_int64(ctx, x % y);
    });
}

void Potencia(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]) || EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        const double x = LeeNumero(a[0]).Doble(), y = LeeNumero(a[1]).Doble();
        const double r = std::pow(x, y);
        // A negative base to a fractional power has no real value (SQLite
        // would keep NaN as Null); a finite pair past a Double overflows.
        if (std::isnan(r))
            throw ErrorArgumentoNoValido("^");
        if (std::isinf(r) && std::isfinite(x) && std::isfinite(y))
            throw ErrorDesbordamientoOperacion();
        sqlite3_result_double(ctx, r);
    });
}

// Currency: a sum, difference or product that the lowering knows to be
// Currency stays within its range or overflows, instead of passing on as a
// wider Double.
void AcotaMoneda(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        if (!(std::fabs(LeeNumero(a[0]).Doble()) <= 922337203685477.5807))
            throw ErrorDesbordamiento(Texto(a[0]));
        sqlite3_result_value(ctx, a[0]);
    });
}

// A date moved by days stays within Jet's years 100 to 9999.
void AcotaFecha(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        if (!EsSerialJet(LeeNumero(a[0]).Doble()))
            throw ErrorDesbordamiento(Texto(a[0]));
        sqlite3_result_value(ctx, a[0]);
    });
}

void Concatena(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (EsNulo(a[0]) && EsNulo(a[1]))
        return sqlite3_result_null(ctx);
    ResultadoTexto(ctx, Texto(a[0]) + Texto(a[1]));
}

// ---- LIKE with ANSI wildcards: % any run, _ one character, [abc], [!a-z] ----

struct Elemento {
    enum { Cualquiera, Uno, Literal, Clase } tipo = Literal;
    char32_t c = 0;
    std::u32string clase;  // pairs of range ends
    bool bNegada = false;
};

std::vector<Elemento> CompilaPatron(const std::u32string& p) {
    std::vector<Elemento> r;
    for (size_t i = 0; i < p.size(); ++i) {
        Elemento e;
        e.tipo = Elemento::Literal;
        if (p[i] == U'%') {
            e.tipo = Elemento::Cualquiera;
        } else if (p[i] == U'_') {
            e.tipo = Elemento::Uno;
        } else if (p[i] == U'[') {
            size_t j = i + 1;
            e.tipo = Elemento::Clase;
            if (j < p.size() && p[j] == U'!')
                e.bNegada = true, ++j;
            const size_t inicio = j;
            while (j < p.size() && (p[j] != U']' || j == inicio)) {
                char32_t desde = p[j], hasta = p[j];
                if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']')
                    hasta = p[j + 2], j += 2;
                e.clase += desde;
                e.clase += hasta;
                ++j;
            }
            if (j >= p.size())
                throw ErrorJet(TErrorJet::PatronNoValido);
            i = j;
        } else {
            e.c = p[i];
        }
        r.push_back(e);
    }
    return r;
}

bool Coincide(const Elemento& e, char32_t c) {
    switch (e.tipo) {
        case Elemento::Uno:
            return true;
        case Elemento::Literal:
            return e.c == c;
        case Elemento::Clase: {
            bool dentro = false;
            for (size_t k = 0; k + 1 < e.clase.size(); k += 2)
                dentro |= c >= e.clase[k] && c <= e.clase[k + 1];
            return dentro != e.bNegada;
        }
        default:
            return false;
    }
}

// Greedy match with backtracking to the last %: linear for the usual patterns.
bool Like(const std::u32string& s, const std::vector<Elemento>& p) {
    size_t i = 0, j = 0, estrella = std::string::npos, marca = 0;
    while (i < s.size()) {
        if (j < p.size() && p[j].tipo == Elemento::Cualquiera) {
            estrella = j++;
            marca = i;
        } else if (j < p.size() && Coincide(p[j], s[i])) {
            ++i, ++j;
        } else if (estrella != std::string::npos) {
            j = estrella + 1;
            i = ++marca;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j].tipo == Elemento::Cualquiera) ++j;
    return j == p.size();
}

void FuncionLike(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]) || EsNulo(a[1]))
            return sqlite3_result_null(ctx);
        const auto patron = CompilaPatron(JetCollation::Pliega(Texto(a[1])));
        sqlite3_result_int(ctx, Like(JetCollation::Pliega(Texto(a[0])), patron) ? 1 : 0);
    });
}

// ---- text ----

void UCase(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (EsNulo(a[0]))
        return sqlite3_result_null(ctx);
    ResultadoTexto(ctx, JetCollation::Mayusculas(Texto(a[0])));
}
void LCase(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (EsNulo(a[0]))
        return sqlite3_result_null(ctx);
    ResultadoTexto(ctx, JetCollation::Minusculas(Texto(a[0])));
}

// VBA's Str: a blank where the sign of a non-negative number would go, and
// no zero before the decimal point (Str(0.5) is " .5").
void Str(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const Numero n = LeeNumero(a[0]);
        std::string s = n.bEntero ? std::to_string(n.n) : TextoNumero(n.d);
        if (s.starts_with("0."))
            s.erase(0, 1);
        else if (s.starts_with("-0."))
            s.erase(1, 1);
        ResultadoTexto(ctx, s[0] == '-' ? s : " " + s);
    });
}

void CStr(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            throw ErrorArgumentoNoValido("CSTR");
        ResultadoTexto(ctx, Texto(a[0]));
    });
}

void Len(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (EsNulo(a[0]))
        return sqlite3_result_null(ctx);
    if (sqlite3_value_type(a[0]) == SQLITE_BLOB)  // Binary and OLE: their bytes
        return sqlite3_result_int64(ctx, sqlite3_value_bytes(a[0]));
    int64_t n = 0;
    for (char32_t c : JetCollation::PuntosCodigo(Texto(a[0]))) n += c > 0xFFFF ? 2 : 1;
    sqlite3_result_int64(ctx, n);
}

int64_t Longitud(sqlite3_value* v, const char* sFuncion) {
    if (EsNulo(v))
        throw ErrorArgumentoNoValido(sFuncion);
    const int64_t n = Entero(v, sFuncion, -9.2e18, 9.2e18);
    if (n < 0)
        throw ErrorArgumentoNoValido(sFuncion);
    return n;
}

void Left(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const int64_t n = Longitud(a[1], "LEFT");
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const auto s = JetCollation::PuntosCodigo(Texto(a[0]));
        ResultadoTexto(ctx, JetCollation::Utf8(s.substr(0, static_cast<size_t>(n))));
    });
}

void Right(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const int64_t n = Longitud(a[1], "RIGHT");
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const auto s = JetCollation::PuntosCodigo(Texto(a[0]));
        const size_t k = std::min(s.size(), static_cast<size_t>(n));
        ResultadoTexto(ctx, JetCollation::Utf8(s.substr(s.size() - k)));
    });
}

void Mid(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        const int64_t inicio = Longitud(a[1], "MID");
        if (inicio < 1)
            throw ErrorArgumentoNoValido("MID");
        const int64_t largo = nArgs == 3 ? Longitud(a[2], "MID") : INT64_MAX;
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const auto s = JetCollation::PuntosCodigo(Texto(a[0]));
        if (static_cast<size_t>(inicio) > s.size())
            return ResultadoTexto(ctx, "");
        ResultadoTexto(ctx, JetCollation::Utf8(s.substr(static_cast<size_t>(inicio - 1),
                                                        static_cast<size_t>(largo))));
    });
}

void Recorta(sqlite3_context* ctx, sqlite3_value* v, bool bIzq, bool bDer) {
    if (EsNulo(v))
        return sqlite3_result_null(ctx);
    std::string s = Texto(v);
    if (bDer)
        s.erase(s.find_last_not_of(' ') + 1);
    if (bIzq)
        s.erase(0, std::min(s.size(), s.find_first_not_of(' ')));
    ResultadoTexto(ctx, s);
}
void Trim(sqlite3_context* ctx, int, sqlite3_value** a) {
    Recorta(ctx, a[0], true, true);
}
void LTrim(sqlite3_context* ctx, int, sqlite3_value** a) {
    Recorta(ctx, a[0], true, false);
}
void RTrim(sqlite3_context* ctx, int, sqlite3_value** a) {
    Recorta(ctx, a[0], false, true);
}

// InStr([start,] text, sought[, compare]): letter case ignored unless
// compare is 0 (binary).
void InStr(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        int64_t inicio = 1;
        sqlite3_value** t = a;
        if (nArgs >= 3) {
            inicio = Longitud(a[0], "INSTR");
            if (inicio < 1)
                throw ErrorArgumentoNoValido("INSTR");
            t = a + 1;
        }
        const bool bBinaria = nArgs == 4 && !EsNulo(a[3]) && Entero(a[3], "INSTR", 0, 2) == 0;
        if (EsNulo(t[0]) || EsNulo(t[1]))
            return sqlite3_result_null(ctx);
        const auto s =
            bBinaria ? JetCollation::PuntosCodigo(Texto(t[0])) : JetCollation::Pliega(Texto(t[0]));
        const auto b =
            bBinaria ? JetCollation::PuntosCodigo(Texto(t[1])) : JetCollation::Pliega(Texto(t[1]));
        if (static_cast<size_t>(inicio) > s.size() + (b.empty() ? 1 : 0))
            return sqlite3_result_int(ctx, 0);
        const size_t p = s.find(b, static_cast<size_t>(inicio - 1));
        sqlite3_result_int64(ctx, p == std::u32string::npos ? 0 : static_cast<int64_t>(p + 1));
    });
}

void Space(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] { ResultadoTexto(ctx, std::string(Longitud(a[0], "SPACE"), ' ')); });
}

// ---- numbers ----

// ROUND works on the double's exact value, ties to even: printf rounds so.
void Round(sqlite3_context* ctx, int nArgs, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const int64_t nDecimales = nArgs == 2 ? Entero(a[1], "ROUND", -1e9, 1e9) : 0;
        if (nDecimales < 0)
            throw ErrorArgumentoNoValido("ROUND");
        const Numero n = LeeNumero(a[0]);
        if (n.bEntero)
            return ResultadoNumero(ctx, n);
        if (!std::isfinite(n.d))
            return sqlite3_result_double(ctx, n.d);
        if (nDecimales == 0)
            return sqlite3_result_double(ctx, std::nearbyint(n.d));
        if (nDecimales > 300)
            return sqlite3_result_double(ctx, n.d);
        std::vector<char> buf(400 + static_cast<size_t>(nDecimales));
        std::snprintf(buf.data(), buf.size(), "%.*f", static_cast<int>(nDecimales), n.d);
        sqlite3_result_double(ctx, std::strtod(buf.data(), nullptr));
    });
}

template <double (*F)(double)>
void Redondeo(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        Numero n = LeeNumero(a[0]);
        if (!n.bEntero)
            n.d = F(n.d);
        ResultadoNumero(ctx, n);
    });
}

void Abs(sqlite3_context* ctx, int n, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        Numero x = LeeNumero(a[0]);
        if (x.bEntero && x.n == INT64_MIN)
            return sqlite3_result_double(ctx, -static_cast<double>(x.n));
        if (x.bEntero)
            return sqlite3_result_int64(ctx, x.n < 0 ? -x.n : x.n);
        Redondeo<Absoluto>(ctx, n, a);
    });
}

void Sgn(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const double d = LeeNumero(a[0]).Doble();
        sqlite3_result_int(ctx, d > 0 ? 1 : d < 0 ? -1 : 0);
    });
}

void CLng(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] { sqlite3_result_int64(ctx, Entero(a[0], "CLNG", kMinLong, kMaxLong)); });
}
void CInt(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] { sqlite3_result_int64(ctx, Entero(a[0], "CINT", -32768, 32767)); });
}
void CDbl(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            throw ErrorArgumentoNoValido("CDBL");
        sqlite3_result_double(ctx, LeeNumero(a[0]).Doble());
    });
}
// A Single holds up to about 3.4E+38; the value itself is kept as the
// Double it reads as.
void CSng(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            throw ErrorArgumentoNoValido("CSNG");
        const double d = LeeNumero(a[0]).Doble();
        if (!(std::fabs(d) <= std::numeric_limits<float>::max()))
            throw ErrorDesbordamiento(Texto(a[0]));
        sqlite3_result_double(ctx, d);
    });
}
void Sqr(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const double d = LeeNumero(a[0]).Doble();
        if (d < 0)
            throw ErrorArgumentoNoValido("SQR");
        sqlite3_result_double(ctx, std::sqrt(d));
    });
}

// VBA's Val: the number at the start of the text, blanks anywhere skipped;
// 0 when there is none.
void Val(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (EsNulo(a[0]))
        return sqlite3_result_null(ctx);
    std::string s;
    for (char c : Texto(a[0]))
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            s += c;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t k = i + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-'))
            ++k;
        if (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) {
            s[i] = 'e';
            while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k;
            i = k;
        }
    }
    sqlite3_result_double(ctx, std::strtod(s.substr(0, i).c_str(), nullptr));
}

// ---- dates ----

template <int Parte>
void ParteFecha(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]))
            return sqlite3_result_null(ctx);
        const double d = LeeNumero(a[0]).Doble();
        if (!EsSerialJet(d))  // beyond the year 9999 a number is no date
            throw ErrorDesbordamiento(Texto(a[0]));
        const PartesFecha p = PartesDeSerial(d);
        const int64_t valores[] = {p.anio, p.mes, p.dia, p.hora, p.minuto, p.segundo};
        sqlite3_result_int64(ctx, valores[Parte]);
    });
}

void DateSerial(sqlite3_context* ctx, int, sqlite3_value** a) {
    Protegido(ctx, [&] {
        if (EsNulo(a[0]) || EsNulo(a[1]) || EsNulo(a[2]))
            return sqlite3_result_null(ctx);
        int64_t y = Entero(a[0], "DATESERIAL", -1e9, 1e9);
        const int64_t m = Entero(a[1], "DATESERIAL", -1e9, 1e9);
        const int64_t d = Entero(a[2], "DATESERIAL", -1e9, 1e9);
        if (y >= 0 && y < 30)
            y += 2000;
        else if (y >= 30 && y < 100)
            y += 1900;
        const int64_t meses = y * 12 + (m - 1);
        const int64_t anio = meses >= 0 ? meses / 12 : -((-meses + 11) / 12);
        const int64_t mes = meses - anio * 12 + 1;
        const int64_t dias = DiasCiviles(anio, mes, 1) + (d - 1) - kDiasEpocaJet;
        if (!EsSerialJet(static_cast<double>(dias)))
            throw ErrorArgumentoNoValido("DATESERIAL");
        sqlite3_result_double(ctx, static_cast<double>(dias));
    });
}

// ---- FIRST and LAST: the value of the first or last row, Null included ----

template <bool bUltimo>
void PasoExtremo(sqlite3_context* ctx, int, sqlite3_value** a) {
    auto** guardado =
        static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, sizeof(sqlite3_value*) + 1));
    if (!guardado)
        return sqlite3_result_error_nomem(ctx);
    bool* visto = reinterpret_cast<bool*>(guardado + 1);
    if (*visto && !bUltimo)
        return;
    if (*guardado)
        sqlite3_value_free(*guardado);
    *guardado = sqlite3_value_dup(a[0]);
    *visto = true;
}

void FinExtremo(sqlite3_context* ctx) {
    auto** guardado = static_cast<sqlite3_value**>(sqlite3_aggregate_context(ctx, 0));
    if (!guardado || !*guardado)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, *guardado);
    sqlite3_value_free(*guardado);
    *guardado = nullptr;
}

// ---- SUM of currency: exact, in ten-thousandths ----

struct SumaMoneda {
    __int128 nTotal = 0;
    bool bAlguno = false;
};

// SQLite aligns an aggregate's memory to 8 bytes only, less than __int128
// needs: the sum is copied out of it and back, never used in place.
void PasoSumaMoneda(sqlite3_context* ctx, int, sqlite3_value** a) {
    void* pMemoria = sqlite3_aggregate_context(ctx, sizeof(SumaMoneda));
    if (!pMemoria)
        return sqlite3_result_error_nomem(ctx);
    if (EsNulo(a[0]))
        return;
    SumaMoneda suma;
    std::memcpy(&suma, pMemoria, sizeof suma);
    Protegido(ctx, [&] {
        suma.nTotal += std::llround(LeeNumero(a[0]).Doble() * 10000.0);
        suma.bAlguno = true;
    });
    std::memcpy(pMemoria, &suma, sizeof suma);
}

void FinSumaMoneda(sqlite3_context* ctx) {
    const void* pMemoria = sqlite3_aggregate_context(ctx, 0);
    SumaMoneda suma;
    if (pMemoria)
        std::memcpy(&suma, pMemoria, sizeof suma);
    if (!suma.bAlguno)
        return sqlite3_result_null(ctx);
    sqlite3_result_double(ctx, static_cast<double>(suma.nTotal) / 10000.0);
}

// The implementation behind each jet_* name of the function table.
struct Implementacion {
    Funcion f = nullptr;
    Paso paso = nullptr;
    Fin fin = nullptr;
};

const std::map<std::string, Implementacion>& Implementaciones() {
    static const std::map<std::string, Implementacion> m = {
        {"jet_ucase", {UCase}},
        {"jet_lcase", {LCase}},
        {"jet_str", {Str}},
        {"jet_cstr", {CStr}},
        {"jet_len", {Len}},
        {"jet_left", {Left}},
        {"jet_right", {Right}},
        {"jet_mid", {Mid}},
        {"jet_trim", {Trim}},
        {"jet_ltrim", {LTrim}},
        {"jet_rtrim", {RTrim}},
        {"jet_instr", {InStr}},
        {"jet_space", {Space}},
        {"jet_round", {Round}},
        {"jet_int", {Redondeo<Piso>}},
        {"jet_fix", {Redondeo<Trunca>}},
        {"jet_abs", {Abs}},
        {"jet_sgn", {Sgn}},
        {"jet_clng", {CLng}},
        {"jet_cint", {CInt}},
        {"jet_cdbl", {CDbl}},
        {"jet_csng", {CSng}},
        {"jet_sqr", {Sqr}},
        {"jet_val", {Val}},
        {"jet_year", {ParteFecha<0>}},
        {"jet_month", {ParteFecha<1>}},
        {"jet_day", {ParteFecha<2>}},
        {"jet_hour", {ParteFecha<3>}},
        {"jet_minute", {ParteFecha<4>}},
        {"jet_second", {ParteFecha<5>}},
        {"jet_dateserial", {DateSerial}},
        {"jet_summoneda", {nullptr, PasoSumaMoneda, FinSumaMoneda}},
        {"jet_first", {nullptr, PasoExtremo<false>, FinExtremo}},
        {"jet_last", {nullptr, PasoExtremo<true>, FinExtremo}},
    };
    return m;
}

}  // namespace

void JetFunctions::Registra(sqlite3* db, TRanuraError* ranura) {
    const auto Alta = [&](const char* sNombre, int nArgs, Funcion f) {
        jet::sql::Registra(db, ranura, sNombre, nArgs, SQLITE_UTF8 | SQLITE_DETERMINISTIC, f,
                           nullptr, nullptr);
    };
    // Jet's operators.
    Alta("jet_suma", 2, Suma);
    Alta("jet_div", 2, Div);
    Alta("jet_divent", 2, DivEntera);
    Alta("jet_mod", 2, Mod);
    Alta("jet_pot", 2, Potencia);
    Alta("jet_acotamoneda", 1, AcotaMoneda);
    Alta("jet_acotafecha", 1, AcotaFecha);
    Alta("jet_concat", 2, Concatena);
    Alta("jet_like", 2, FuncionLike);
    // The functions, as the function table has them: every arity it allows.
    for (const FilaFuncion& fila : TodasLasFunciones()) {
        if (!*fila.sSqlite)  // written in SQLite's own terms (IIF, ISNULL, NZ)
            continue;
        for (const char* sNombre : {fila.sSqlite, fila.sMoneda}) {
            if (!sNombre || !std::string_view(sNombre).starts_with("jet_"))
                continue;
            Implementacion imp;
            if (auto it = Implementaciones().find(sNombre); it != Implementaciones().end())
                imp = it->second;
            else
                imp.f = ImplementacionVba(sNombre);
            if (!imp.f && !imp.paso)
                throw ErrorJet(TErrorJet::Motor,
                               {std::string("la función ") + sNombre + " no tiene implementación"});
            const int nBanderas = SQLITE_UTF8 | (fila.bVolatil ? 0 : SQLITE_DETERMINISTIC);
            // Long argument lists take SQLite's any-number registration.
            const bool bVariable = fila.nMax >= static_cast<size_t>(kMaxArgumentos);
            const size_t nMax = std::max(fila.nMax, fila.nMaxSqlite);
            for (size_t n = bVariable ? 0 : fila.nMin; n <= (bVariable ? 0 : nMax); ++n) {
                const int nArgs = bVariable ? -1 : static_cast<int>(n);
                if (imp.f)
                    jet::sql::Registra(db, ranura, sNombre, nArgs, nBanderas, imp.f, nullptr,
                                       nullptr);
                else
                    jet::sql::Registra(db, ranura, sNombre, nArgs, SQLITE_UTF8, nullptr, imp.paso,
                                       imp.fin);
            }
        }
    }
    RegistraCadena(db);
}

}  // namespace jet::sql
