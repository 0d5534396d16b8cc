#pragma once

#include <sqlite3.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/jet/FormatoNumero.h"
#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/RecursosSqlite.h"

// What every jet_* function needs: reading SQLite's values as Jet reads
// them, writing results, and turning a Jet failure into the statement's.
namespace jet::sql {

// The failure goes to the connection's slot, where the engine takes it
// whole; SQLite's own message says it too, for anyone reading SQLite's.
inline void Falla(sqlite3_context* ctx, const EErrorJet& e) {
    if (auto* ranura = static_cast<TRanuraError*>(sqlite3_user_data(ctx)))
        ranura->Pon(e);
    const std::string s = e.Clase() + " - " + e.Mensaje();
    sqlite3_result_error(ctx, s.c_str(), -1);
}

// A jet_* function runs inside SQLite's C code, through which nothing may
// unwind: its failure becomes the statement's. A lack of memory is SQLite's
// own (SQLITE_NOMEM); any other failure is a fault of ours, said as one.
template <typename F>
void Protegido(sqlite3_context* ctx, F f) {
    try {
        f();
    } catch (const EErrorJet& e) {
        Falla(ctx, e);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception& e) {
        Falla(ctx, ErrorJet(TErrorJet::Interno, {e.what()}));
    }
}

inline bool EsNulo(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_NULL;
}

inline std::string TextoCrudo(sqlite3_value* v) {
    const auto* p = sqlite3_value_text(v);
    return p ? std::string(reinterpret_cast<const char*>(p), sqlite3_value_bytes(v)) : "";
}

// A value as Jet turns it into text: numbers in their general form.
inline std::string Texto(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            return "";
        case SQLITE_INTEGER:
            return std::to_string(sqlite3_value_int64(v));
        case SQLITE_FLOAT:
            return TextoNumero(sqlite3_value_double(v));
        default:
            return TextoCrudo(v);
    }
}

struct Numero {
    bool bEntero = true;
    int64_t n = 0;
    double d = 0;
    double Doble() const { return bEntero ? static_cast<double>(n) : d; }
};

// A number, or text that reads as one; anything else is a type mismatch.
inline Numero LeeNumero(sqlite3_value* v) {
    Numero r;
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            r.n = sqlite3_value_int64(v);
            return r;
        case SQLITE_FLOAT:
            r.bEntero = false;
            r.d = sqlite3_value_double(v);
            return r;
        default: {
            const std::string s = TextoCrudo(v);
            const auto a = s.find_first_not_of(' ');
            if (a == std::string::npos)
                throw ErrorTiposNoCoinciden(s);
            const std::string t = s.substr(a, s.find_last_not_of(' ') - a + 1);
            char* fin = nullptr;
            errno = 0;
            const long long n = std::strtoll(t.c_str(), &fin, 10);
            if (*fin == '\0' && errno == 0) {
                r.n = n;
                return r;
            }
            // strtod also reads "nan", "inf" and hexadecimal, which are no
            // numbers to Jet.
            if (t.find_first_not_of("0123456789+-.eE \t\n\r\v\f") != std::string::npos)
                throw ErrorTiposNoCoinciden(s);
            const double d = std::strtod(t.c_str(), &fin);
            if (*fin != '\0')
                throw ErrorTiposNoCoinciden(s);
            r.bEntero = false;
            r.d = d;
            return r;
        }
    }
}

inline void ResultadoNumero(sqlite3_context* ctx, const Numero& n) {
    if (n.bEntero)
        sqlite3_result_int64(ctx, n.n);
    else
        sqlite3_result_double(ctx, n.d);
}

inline void ResultadoTexto(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

// Round half to even, as Jet rounds to whole numbers.
inline int64_t Entero(sqlite3_value* v, const char* sFuncion, double dMin, double dMax) {
    if (EsNulo(v))
        throw ErrorArgumentoNoValido(sFuncion);
    const Numero n = LeeNumero(v);
    const double d = n.bEntero ? static_cast<double>(n.n) : std::nearbyint(n.d);
    if (d < dMin || d > dMax)
        throw ErrorDesbordamiento(Texto(v));
    return n.bEntero ? n.n : static_cast<int64_t>(d);
}

constexpr double kMinLong = -2147483648.0, kMaxLong = 2147483647.0;

using Funcion = void (*)(sqlite3_context*, int, sqlite3_value**);

}  // namespace jet::sql
