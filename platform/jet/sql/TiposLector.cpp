#include "platform/jet/sql/TiposLector.h"

#include <sqlite3.h>

#include <cstring>

#include "platform/jet/Comillas.h"
#include "platform/jet/Decimal.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/ErroresLector.h"
#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/RecursosSqlite.h"
#include "platform/jet/sql/ValorSqlite.h"

namespace jet::sql {

namespace {

std::string Texto(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return std::string(p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v)));
}

// A value of the copy as an exact decimal: integers as they are, doubles by
// their shortest text, texts when they hold a number. nullopt otherwise.
std::optional<TDecimal> DecimalDe(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return TDecimal{sqlite3_value_int64(v), 0};
        case SQLITE_FLOAT:
            return DecimalDeDoble(sqlite3_value_double(v));
        case SQLITE_TEXT:
            return DecimalDeTexto(Texto(v));
        default:
            return std::nullopt;
    }
}

// The running state of jet_sumdecimal/jet_avgdecimal. SQLite aligns an
// aggregate's memory to 8 bytes only, less than __int128 needs: the state
// is copied out of it and back, never used in place.
struct TSuma {
    TDecimal suma;
    int64_t nCuenta = 0;
    bool bFallo = false;
};

void PasoSuma(sqlite3_context* ctx, int, sqlite3_value** a) {
    void* pMemoria = sqlite3_aggregate_context(ctx, sizeof(TSuma));
    if (!pMemoria)
        return sqlite3_result_error_nomem(ctx);
    if (sqlite3_value_type(a[0]) == SQLITE_NULL)
        return;
    TSuma s;
    std::memcpy(&s, pMemoria, sizeof s);
    const auto d = DecimalDe(a[0]);
    const auto total = d ? SumaDecimal(s.suma, *d) : std::nullopt;
    if (total)
        s.suma = *total;
    else
        s.bFallo = true;
    ++s.nCuenta;
    std::memcpy(pMemoria, &s, sizeof s);
}

// A whole sum that fits is an integer; any other the double nearest to it.
template <bool bPromedio>
void FinSuma(sqlite3_context* ctx) {
    const void* pMemoria = sqlite3_aggregate_context(ctx, 0);
    TSuma s;
    if (pMemoria)
        std::memcpy(&s, pMemoria, sizeof s);
    if (s.nCuenta == 0)
        return sqlite3_result_null(ctx);
    if (s.bFallo)
        return Falla(ctx, ErrorDesbordamiento(bPromedio ? "AVG" : "SUM"));
    if (bPromedio)
        return sqlite3_result_double(ctx, DobleDeDecimal(s.suma) / static_cast<double>(s.nCuenta));
    const auto entero = ConEscala(s.suma, 0);
    if (entero && *entero == s.suma && entero->nValor >= INT64_MIN && entero->nValor <= INT64_MAX)
        return sqlite3_result_int64(ctx, static_cast<int64_t>(entero->nValor));
    sqlite3_result_double(ctx, DobleDeDecimal(s.suma));
}

thread_local int nCopias = 0;

void Ilegible(sqlite3_context* ctx, int, sqlite3_value** a) {
    if (nCopias > 0)
        return sqlite3_result_null(ctx);
    Falla(ctx, ErrorTipoNoLegible(Texto(a[0]), Texto(a[1]), Texto(a[2])));
}

void PonU32(std::string& s, size_t n) {
    const auto v = static_cast<uint32_t>(n);
    s.append(reinterpret_cast<const char*>(&v), sizeof v);
}

}  // namespace

TiposLector::TCopiando::TCopiando() {
    ++nCopias;
}
TiposLector::TCopiando::~TCopiando() {
    --nCopias;
}

void TiposLector::Registra(sqlite3* db, TRanuraError* ranura) {
    // Failures go to the connection's slot, as those of every jet_* function.
    auto alta = [&](const char* sNombre, int nArgs, int nBanderas, auto f, auto paso, auto fin) {
        if (sqlite3_create_function(db, sNombre, nArgs, nBanderas, ranura, f, paso, fin) !=
            SQLITE_OK)
            throw ErrorJet(TErrorJet::Motor, {std::string("no se pudo registrar la función ") +
                                              sNombre + ": " + sqlite3_errmsg(db)});
    };
    alta("jet_sumdecimal", 1, SQLITE_UTF8, nullptr, PasoSuma, FinSuma<false>);
    alta("jet_avgdecimal", 1, SQLITE_UTF8, nullptr, PasoSuma, FinSuma<true>);
    // Used by computed columns, which take only deterministic functions.
    alta("jet_ilegible", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, Ilegible,
         nullptr, nullptr);
}

std::string TiposLector::DefinicionColumna(const std::string& sTabla, const TColumna& c) {
    const std::string sNombre = Entrecomilla(c.sNombre, '"');
    switch (c.eTipo) {
        case TTipoColumna::tcSimple:
            return sNombre + " SINGLE REAL";
        case TTipoColumna::tcEnteroGrande:
            return sNombre + " INTEGER";
        case TTipoColumna::tcDecimal:
            return sNombre + " DECIMAL(" + std::to_string(c.nPrecision) + "," +
                   std::to_string(c.nEscala) + ")";
        case TTipoColumna::tcBinario:
            return sNombre + " BINARY BLOB";
        case TTipoColumna::tcGuid:
            return sNombre + " TEXT COLLATE JET";
        case TTipoColumna::tcAdjunto:
            return sNombre + " ATTACHMENT BLOB";
        case TTipoColumna::tcOtro:
            return sNombre + " GENERATED ALWAYS AS (jet_ilegible(" + Entrecomilla(sTabla, '\'') +
                   ", " + Entrecomilla(c.sNombre, '\'') + ", " +
                   Entrecomilla(NombreTipoNoLegible(c.nCodigoTipo), '\'') + ")) VIRTUAL";
        default:
            return "";
    }
}

std::optional<TValor> TiposLector::Lee(sqlite3_stmt* st, int i, const std::string& sDeclarado) {
    const int nTipo = sqlite3_column_type(st, i);
    if (nTipo == SQLITE_BLOB) {
        const void* p = sqlite3_column_blob(st, i);
        const auto n = static_cast<size_t>(sqlite3_column_bytes(st, i));
        if (sDeclarado.starts_with("ATTACHMENT"))
            if (auto a = DecodificaAdjuntos(p, n))
                return *a;
        return TBytes{std::string(static_cast<const char*>(p), n)};
    }
    if (sDeclarado.starts_with("SINGLE") && nTipo == SQLITE_FLOAT)
        return TSimple{static_cast<float>(sqlite3_column_double(st, i))};
    if (sDeclarado.starts_with("DECIMAL") && (nTipo == SQLITE_INTEGER || nTipo == SQLITE_FLOAT)) {
        // The column's scale when it has one, "DECIMAL(18,4)"; a computed
        // value keeps the digits its double shows.
        int nEscala = -1;
        if (const auto p = sDeclarado.find(','); p != std::string::npos)
            nEscala = std::atoi(sDeclarado.c_str() + p + 1);
        std::optional<TDecimal> d = nTipo == SQLITE_INTEGER
                                        ? TDecimal{sqlite3_column_int64(st, i), 0}
                                        : DecimalDeDoble(sqlite3_column_double(st, i), nEscala);
        if (d && nEscala >= 0)
            d = ConEscala(*d, nEscala);
        if (d)
            return *d;
    }
    return std::nullopt;
}

// Per file: the name's length and the name, the bytes' length and the bytes.
std::string TiposLector::CodificaAdjuntos(const TAdjuntos& a) {
    std::string s;
    for (const auto& archivo : a.archivos) {
        PonU32(s, archivo.sNombre.size());
        s += archivo.sNombre;
        PonU32(s, archivo.bytes.size());
        s += archivo.bytes;
    }
    return s;
}

std::optional<TAdjuntos> TiposLector::DecodificaAdjuntos(const void* p, size_t n) {
    const auto* c = static_cast<const char*>(p);
    TAdjuntos a;
    size_t i = 0;
    auto trozo = [&](std::string& destino) {
        uint32_t nLargo;
        if (n - i < sizeof nLargo)
            return false;
        std::memcpy(&nLargo, c + i, sizeof nLargo);
        i += sizeof nLargo;
        if (n - i < nLargo)
            return false;
        destino.assign(c + i, nLargo);
        i += nLargo;
        return true;
    };
    while (i < n) {
        TAdjunto archivo;
        if (!trozo(archivo.sNombre) || !trozo(archivo.bytes))
            return std::nullopt;
        a.archivos.push_back(std::move(archivo));
    }
    return a;
}

}  // namespace jet::sql
