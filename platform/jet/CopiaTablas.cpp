#include "platform/jet/CopiaTablas.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/jet/ArchivoPorPartes.h"
#include "platform/jet/Comillas.h"
#include "platform/jet/Decimal.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/LecturaSolapada.h"
#include "platform/jet/sql/RecursosSqlite.h"
#include "platform/jet/sql/TiposLector.h"

namespace jet {

namespace {

std::string Nombre(const std::string& s) {
    return Entrecomilla(s, '"');
}

// The declared type tells the result reader what a column holds; the
// words REAL/INT/TEXT give SQLite the storage affinity that keeps values exact.
const char* TipoDeclarado(TTipoColumna t) {
    switch (t) {
        case TTipoColumna::tcBooleano:
            return "BOOLEAN INT";
        case TTipoColumna::tcByte:
        case TTipoColumna::tcEntero:
        case TTipoColumna::tcEnteroLargo:
            return "INTEGER";
        case TTipoColumna::tcMoneda:
            return "CURRENCY REAL";
        case TTipoColumna::tcSimple:
        case TTipoColumna::tcDoble:
            return "DOUBLE";
        case TTipoColumna::tcFechaHora:
            return "DATETIME REAL";
        case TTipoColumna::tcTexto:
        case TTipoColumna::tcMemo:
            return "TEXT COLLATE JET";
        default:
            break;
    }
    return "BLOB";
}

// Each part's rows of a table take rowids of their own range, so that a
// part read again takes its place back among the others and full scans keep
// the order Jet gives (the parts' rows one part after another). An Access
// file of 2 GB holds far fewer rows than a range.
constexpr int kBitsPorParte = 40;

int64_t PrimeraFila(size_t nParte) {
    return static_cast<int64_t>(nParte) << kBitsPorParte;
}

// How SQLite's rowid is named in a table: a column of the file may take
// the usual name (as SQLite compares names). Empty when the file's columns
// take every name.
std::string NombreRowid(const TTabla& tabla) {
    for (const char* s : {"rowid", "_rowid_", "oid"})
        if (std::none_of(tabla.columnas.begin(), tabla.columnas.end(), [&](const TColumna& c) {
                return sqlite3_stricmp(c.sNombre.c_str(), s) == 0;
            }))
            return s;
    return "";
}

void Ejecuta(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string s = error ? error : "";
        sqlite3_free(error);
        throw ErrorJet(TErrorJet::CopiaNoPreparada, {s});
    }
}

// A table SQLite could not take: short of memory is said as that.
EErrorJet NoCopiada(sqlite3* db, const std::string& sTabla) {
    if ((sqlite3_errcode(db) & 0xff) == SQLITE_NOMEM)
        return ErrorJet(TErrorJet::Memoria);
    return ErrorJet(TErrorJet::TablaNoCopiada, {sTabla, sqlite3_errmsg(db)});
}

}  // namespace

void TCopiaTablas::Empieza(sqlite3* db) {
    db_ = db;
    orden_.clear();
    const std::lock_guard<std::mutex> cerrojo(m_);
    copiadas_.clear();
}

bool TCopiaTablas::Copiada(const std::string& sTabla) const {
    const std::lock_guard<std::mutex> cerrojo(m_);
    return copiadas_.contains(sTabla);
}

bool TCopiaTablas::PorPartes(const TArchivoAccess& archivo) const {
    for (const std::string& sTabla : orden_)
        if (const TTabla* tabla = archivo.BuscaTabla(sTabla); !tabla || NombreRowid(*tabla).empty())
            return false;  // copied without ranges, or gone
    return true;
}

void TCopiaTablas::RecargaPartes(const TArchivoAccess& archivo, const std::set<size_t>& releer,
                                 TLatido* latido) {
    // One savepoint for every table: stopped midway, no table holds some
    // parts' rows new and others' old.
    Ejecuta(db_, "SAVEPOINT recarga");
    try {
        for (const std::string& sTabla : orden_) {
            const TTabla* tabla = archivo.BuscaTabla(sTabla);
            for (size_t n : releer) {
                if (latido && latido->Interrumpido())
                    throw ErrorJet(TErrorJet::Interrumpida);
                const std::string sRowid = NombreRowid(*tabla);
                Ejecuta(db_, "DELETE FROM " + Nombre(tabla->sNombre) + " WHERE " + sRowid +
                                 " >= " + std::to_string(PrimeraFila(n)) + " AND " + sRowid +
                                 " < " + std::to_string(PrimeraFila(n + 1)));
                CopiaFilas(archivo, *tabla, n, latido);
            }
        }
        Ejecuta(db_, "RELEASE recarga");
    } catch (...) {
        // Undone whatever the failure, which is then thrown as it came; a
        // failure of the rollback itself would only hide it.
        sqlite3_exec(db_, "ROLLBACK TO recarga; RELEASE recarga", nullptr, nullptr, nullptr);
        // Stopped inside SQLite (deleting), the failure is SQLite's own.
        if (latido && latido->Interrumpido())
            throw ErrorJet(TErrorJet::Interrumpida);
        throw;
    }
}

sql::ICatalogo::TablaCatalogo TCopiaTablas::Describe(const TTabla& tabla) {
    sql::ICatalogo::TablaCatalogo t{tabla.sNombre, {}, {}};
    for (const auto& c : tabla.columnas) {
        t.columnas.push_back(c.sNombre);
        t.tipos.push_back(c.eTipo == TTipoColumna::tcFechaHora  ? sql::TipoJet::Fecha
                          : c.eTipo == TTipoColumna::tcMoneda   ? sql::TipoJet::Moneda
                          : c.eTipo == TTipoColumna::tcBooleano ? sql::TipoJet::Booleano
                          : c.eTipo == TTipoColumna::tcDecimal  ? sql::TipoJet::Decimal
                          : c.eTipo == TTipoColumna::tcSimple   ? sql::TipoJet::Simple
                                                                : sql::TipoJet::Otro);
    }
    return t;
}

void TCopiaTablas::Copia(const TArchivoAccess& archivo, const TTabla& tabla, TLatido* latido) {
    std::string crea = "CREATE TABLE " + Nombre(tabla.sNombre) + " (";
    for (size_t i = 0; i < tabla.columnas.size(); ++i) {
        const TColumna& c = tabla.columnas[i];
        const std::string sPropia = sql::TiposLector::DefinicionColumna(tabla.sNombre, c);
        crea += (i ? ", " : "") +
                (sPropia.empty() ? Nombre(c.sNombre) + " " + TipoDeclarado(c.eTipo) : sPropia);
    }
    Ejecuta(db_, crea + ")");
    Ejecuta(db_, "BEGIN");
    try {
        const auto* partes = dynamic_cast<const IArchivoPorPartes*>(&archivo);
        if (partes && !NombreRowid(tabla).empty())
            for (size_t n = 0; n < partes->NumeroPartes(); ++n)
                CopiaFilas(archivo, tabla, n, latido);
        else
            CopiaFilas(archivo, tabla, std::nullopt, latido);
    } catch (...) {
        // Undone whatever the failure, which is then thrown as it came; a
        // failure of the rollback itself would only hide it.
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(db_, ("DROP TABLE " + Nombre(tabla.sNombre)).c_str(), nullptr, nullptr,
                     nullptr);
        throw;
    }
    Ejecuta(db_, "COMMIT");
    const std::lock_guard<std::mutex> cerrojo(m_);
    copiadas_.insert(tabla.sNombre);
    orden_.push_back(tabla.sNombre);
}

void TCopiaTablas::CopiaFilas(const TArchivoAccess& archivo, const TTabla& tabla,
                              std::optional<size_t> nParte, TLatido* latido) {
    std::string sColumnas, sValores;
    // Each value's parameter; 0 for a column that takes none.
    std::vector<int> parametros;
    for (size_t i = 0; i < tabla.columnas.size(); ++i) {
        const TColumna& c = tabla.columnas[i];
        parametros.push_back(0);
        if (!sql::TiposLector::Insertable(c))
            continue;
        sColumnas += (sColumnas.empty() ? "" : ", ") + Nombre(c.sNombre);
        sValores += sValores.empty() ? "?" : ", ?";
        parametros.back() = static_cast<int>(std::count_if(parametros.begin(), parametros.end(),
                                                           [](int p) { return p != 0; })) +
                            1;
    }
    // A part's rows say their rowid, in the part's range, as the last value.
    const int nRowid = 1 + static_cast<int>(std::count_if(parametros.begin(), parametros.end(),
                                                          [](int p) { return p != 0; }));
    if (nParte) {
        sColumnas += (sColumnas.empty() ? "" : ", ") + NombreRowid(tabla);
        sValores += sValores.empty() ? "?" : ", ?";
    }
    int64_t nFila = nParte ? PrimeraFila(*nParte) : 0;
    const std::string inserta =
        "INSERT INTO " + Nombre(tabla.sNombre) + " (" + sColumnas + ") VALUES (" + sValores;
    const sql::TiposLector::TCopiando copiando;
    sqlite3_stmt* pSt = nullptr;
    const int rc = sqlite3_prepare_v2(db_, (inserta + ")").c_str(), -1, &pSt, nullptr);
    sql::TSentenciaSqlite sentencia(pSt);
    sqlite3_stmt* st = pSt;
    if (rc != SQLITE_OK)
        throw NoCopiada(db_, tabla.sNombre);
    auto lee = [&](const TLecturaSolapada::TFila& f) {
        if (nParte)
            dynamic_cast<const IArchivoPorPartes&>(archivo).LeeFilasParte(*nParte, tabla.sNombre,
                                                                          f);
        else
            archivo.LeeFilas(tabla.sNombre, f);
    };
    TLecturaSolapada::LeeFilas(lee, [&](const std::vector<TValor>& fila) {
        if (latido)
            latido->Late();
        if (latido && latido->Interrumpido())
            throw ErrorJet(TErrorJet::Interrumpida);
        // Text and bytes are bound without a copy (SQLITE_STATIC): the row
        // outlives the step that stores them. Only the attachments' encoding
        // is a temporary, so SQLite copies it.
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
        int rcBind = SQLITE_OK;
        if (nParte)
            rcBind |= sqlite3_bind_int64(st, nRowid, ++nFila);
        for (size_t i = 0; i < fila.size() && i < tabla.columnas.size(); ++i) {
            const int p = parametros[i];
            if (p == 0)
                continue;
            std::visit(
                [&](const auto& v) {
                    using T = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<T, std::monostate>)
                        rcBind |= sqlite3_bind_null(st, p);
                    else if constexpr (std::is_same_v<T, TSimple>)
                        rcBind |= sqlite3_bind_double(st, p, v.fValor);
                    else if constexpr (std::is_same_v<T, TDecimal>) {
                        // Whole values stay exact integers; others are
                        // the nearest double, as currency is.
                        const auto entero = ConEscala(v, 0);
                        if (entero && *entero == v && entero->nValor >= INT64_MIN &&
                            entero->nValor <= INT64_MAX)
                            rcBind |=
                                sqlite3_bind_int64(st, p, static_cast<int64_t>(entero->nValor));
                        else
                            rcBind |= sqlite3_bind_double(st, p, DobleDeDecimal(v));
                    } else if constexpr (std::is_same_v<T, TBytes>)
                        rcBind |= sqlite3_bind_blob64(st, p, v.bytes.data(), v.bytes.size(),
                                                      SQLITE_STATIC);
                    else if constexpr (std::is_same_v<T, TAdjuntos>) {
                        const std::string b = sql::TiposLector::CodificaAdjuntos(v);
                        rcBind |= sqlite3_bind_blob64(st, p, b.data(), b.size(), SQLITE_TRANSIENT);
                    } else if constexpr (std::is_same_v<T, bool>)
                        rcBind |= sqlite3_bind_int(st, p, v ? -1 : 0);
                    else if constexpr (std::is_same_v<T, int64_t>)
                        rcBind |= sqlite3_bind_int64(st, p, v);
                    else if constexpr (std::is_same_v<T, double>)
                        rcBind |= sqlite3_bind_double(st, p, v);
                    else if constexpr (std::is_same_v<T, TMoneda>)
                        rcBind |= sqlite3_bind_double(
                            st, p, static_cast<double>(v.nDiezMilesimos) / 10000.0);
                    else if constexpr (std::is_same_v<T, TFecha>)
                        rcBind |= sqlite3_bind_double(st, p, v.dSerial);
                    else if constexpr (std::is_same_v<T, std::string>)
                        rcBind |= sqlite3_bind_text(st, p, v.data(), static_cast<int>(v.size()),
                                                    SQLITE_STATIC);
                },
                fila[i]);
        }
        if (rcBind != SQLITE_OK || sqlite3_step(st) != SQLITE_DONE)
            throw NoCopiada(db_, tabla.sNombre);
    });
}

}  // namespace jet
