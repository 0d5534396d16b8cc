#include "platform/jet/sql/CadenaJet.h"

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/jet/ErroresJet.h"
#include "platform/jet/sql/RecursosSqlite.h"

namespace jet::sql {

namespace {

constexpr unsigned kSubtipoLista = 'L';

int Banderas(bool bDaSubtipo) {
    int n = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
#ifdef SQLITE_SUBTYPE
    n |= SQLITE_SUBTYPE;
#endif
#ifdef SQLITE_RESULT_SUBTYPE
    if (bDaSubtipo)
        n |= SQLITE_RESULT_SUBTYPE;
#else
    (void)bDaSubtipo;
#endif
    return n;
}

// One value, exactly as SQLite held it.
struct Valor {
    int tipo = SQLITE_NULL;
    int64_t n = 0;
    double d = 0;
    std::string s;
};

bool EsLista(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_BLOB && sqlite3_value_subtype(v) == kSubtipoLista;
}

template <class T>
void Escribe(std::string& b, const T& x) {
    b.append(reinterpret_cast<const char*>(&x), sizeof x);
}

// A list is its values one after another: a type byte, then 8 bytes of a
// number or a 4-byte length and the bytes of text or a blob.
void Empaqueta(std::string& b, sqlite3_value* v) {
    if (EsLista(v)) {
        b.append(static_cast<const char*>(sqlite3_value_blob(v)),
                 static_cast<size_t>(sqlite3_value_bytes(v)));
        return;
    }
    const int tipo = sqlite3_value_type(v);
    b.push_back(static_cast<char>(tipo));
    switch (tipo) {
        case SQLITE_INTEGER:
            Escribe(b, static_cast<int64_t>(sqlite3_value_int64(v)));
            break;
        case SQLITE_FLOAT:
            Escribe(b, sqlite3_value_double(v));
            break;
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const void* p = tipo == SQLITE_TEXT ? static_cast<const void*>(sqlite3_value_text(v))
                                                : sqlite3_value_blob(v);
            const auto n = static_cast<uint32_t>(sqlite3_value_bytes(v));
            Escribe(b, n);
            if (n)
                b.append(static_cast<const char*>(p), n);
            break;
        }
        default:
            break;
    }
}

template <class T>
T Lee(const char*& p) {
    T x;
    std::memcpy(&x, p, sizeof x);
    p += sizeof x;
    return x;
}

void Desempaqueta(const char* p, const char* fin, std::vector<Valor>& r) {
    while (p < fin) {
        Valor v;
        v.tipo = static_cast<unsigned char>(*p++);
        if (v.tipo == SQLITE_INTEGER) {
            v.n = Lee<int64_t>(p);
        } else if (v.tipo == SQLITE_FLOAT) {
            v.d = Lee<double>(p);
        } else if (v.tipo == SQLITE_TEXT || v.tipo == SQLITE_BLOB) {
            const auto n = Lee<uint32_t>(p);
            v.s.assign(p, n);
            p += n;
        }
        r.push_back(std::move(v));
    }
}

Valor DeSqlite(sqlite3_value* x) {
    Valor v;
    v.tipo = sqlite3_value_type(x);
    if (v.tipo == SQLITE_INTEGER)
        v.n = sqlite3_value_int64(x);
    else if (v.tipo == SQLITE_FLOAT)
        v.d = sqlite3_value_double(x);
    else if (v.tipo == SQLITE_TEXT)
        v.s.assign(reinterpret_cast<const char*>(sqlite3_value_text(x)),
                   static_cast<size_t>(sqlite3_value_bytes(x)));
    else if (v.tipo == SQLITE_BLOB)
        v.s.assign(static_cast<const char*>(sqlite3_value_blob(x)),
                   static_cast<size_t>(sqlite3_value_bytes(x)));
    return v;
}

int Vincula(sqlite3_stmt* st, int i, const Valor& v) {
    switch (v.tipo) {
        case SQLITE_INTEGER:
            return sqlite3_bind_int64(st, i, v.n);
        case SQLITE_FLOAT:
            return sqlite3_bind_double(st, i, v.d);
        case SQLITE_TEXT:
            return sqlite3_bind_text(st, i, v.s.data(), static_cast<int>(v.s.size()),
                                     SQLITE_TRANSIENT);
        case SQLITE_BLOB:
            return sqlite3_bind_blob(st, i, v.s.data(), static_cast<int>(v.s.size()),
                                     SQLITE_TRANSIENT);
        default:
            return sqlite3_bind_null(st, i);
    }
}

void Lista(sqlite3_context* ctx, int n, sqlite3_value** a) {
    std::string b;
    for (int i = 0; i < n; ++i) Empaqueta(b, a[i]);
    sqlite3_result_blob(ctx, b.data(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    sqlite3_result_subtype(ctx, kSubtipoLista);
}

const char* Instruccion(char op) {
    switch (op) {
        case '+':
            return "SELECT jet_suma(?1, ?2)";
        case '-':
            return "SELECT ?1 - ?2";
        case '*':
            return "SELECT ?1 * ?2";
        case '/':
            return "SELECT jet_div(?1, ?2)";
        case '\\':
            return "SELECT jet_divent(?1, ?2)";
        case 'M':
            return "SELECT jet_mod(?1, ?2)";
        case '^':
            return "SELECT jet_pot(?1, ?2)";
        case '&':
            return "SELECT jet_concat(?1, ?2)";
        default:
            return nullptr;
    }
}

// Each step runs the very operator the short form would write, on the
// same connection, so a long chain answers exactly as a short one.
void Cadena(sqlite3_context* ctx, int n, sqlite3_value** a) {
    if (n < 2 || sqlite3_value_type(a[0]) != SQLITE_TEXT)
        return sqlite3_result_error(ctx, "jet_cadena: argumentos no válidos", -1);
    const std::string ops(reinterpret_cast<const char*>(sqlite3_value_text(a[0])));
    std::vector<Valor> valores;
    for (int i = 1; i < n; ++i) {
        if (EsLista(a[i])) {
            const auto* p = static_cast<const char*>(sqlite3_value_blob(a[i]));
            Desempaqueta(p, p + sqlite3_value_bytes(a[i]), valores);
        } else {
            valores.push_back(DeSqlite(a[i]));
        }
    }
    if (valores.size() != ops.size() + 1)
        return sqlite3_result_error(ctx, "jet_cadena: argumentos no válidos", -1);
    sqlite3* db = sqlite3_context_db_handle(ctx);
    TSentenciaSqlite sentencias[256];
    Valor acumulado = valores[0];
    for (size_t i = 0; i < ops.size(); ++i) {
        const auto c = static_cast<unsigned char>(ops[i]);
        const char* sSql = Instruccion(ops[i]);
        if (!sSql)
            return sqlite3_result_error(ctx, "jet_cadena: operador no válido", -1);
        if (!sentencias[c]) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(db, sSql, -1, &st, nullptr) != SQLITE_OK) {
                sqlite3_finalize(st);
                return sqlite3_result_error(ctx, sqlite3_errmsg(db), -1);
            }
            sentencias[c].reset(st);
        }
        sqlite3_stmt* st = sentencias[c].get();
        if (Vincula(st, 1, acumulado) != SQLITE_OK || Vincula(st, 2, valores[i + 1]) != SQLITE_OK)
            return sqlite3_result_error(ctx, sqlite3_errmsg(db), -1);
        if (sqlite3_step(st) != SQLITE_ROW) {
            const std::string sError = sqlite3_errmsg(db);
            sqlite3_reset(st);
            return sqlite3_result_error(ctx, sError.c_str(), -1);
        }
        acumulado = DeSqlite(sqlite3_column_value(st, 0));
        sqlite3_reset(st);
    }
    switch (acumulado.tipo) {
        case SQLITE_INTEGER:
            return sqlite3_result_int64(ctx, acumulado.n);
        case SQLITE_FLOAT:
            return sqlite3_result_double(ctx, acumulado.d);
        case SQLITE_TEXT:
            return sqlite3_result_text(ctx, acumulado.s.data(),
                                       static_cast<int>(acumulado.s.size()), SQLITE_TRANSIENT);
        case SQLITE_BLOB:
            return sqlite3_result_blob(ctx, acumulado.s.data(),
                                       static_cast<int>(acumulado.s.size()), SQLITE_TRANSIENT);
        default:
            return sqlite3_result_null(ctx);
    }
}

}  // namespace

void RegistraCadena(sqlite3* db) {
    if (sqlite3_create_function(db, "jet_lista", -1, Banderas(true), nullptr, Lista, nullptr,
                                nullptr) != SQLITE_OK ||
        sqlite3_create_function(db, "jet_cadena", -1, Banderas(false), nullptr, Cadena, nullptr,
                                nullptr) != SQLITE_OK)
        throw ErrorJet(TErrorJet::Motor,
                       {std::string("no se pudo registrar jet_cadena: ") + sqlite3_errmsg(db)});
}

}  // namespace jet::sql
