#include "platform/jet/Instantanea.h"

#include <sqlite3.h>
#include <strings.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "platform/jet/Comillas.h"
#include "platform/jet/CopiaPorMitades.h"
#include "platform/jet/Decimal.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/Latido.h"
#include "platform/jet/LecturaSolapada.h"
#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/JetCollation.h"
#include "platform/jet/sql/JetFunctions.h"
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

std::string Minusculas(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
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
// the usual name. Empty when the file's columns take every name.
std::string NombreRowid(const TTabla& tabla) {
    for (const char* s : {"rowid", "_rowid_", "oid"})
        if (std::none_of(tabla.columnas.begin(), tabla.columnas.end(),
                         [&](const TColumna& c) { return strcasecmp(c.sNombre.c_str(), s) == 0; }))
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

}  // namespace

TInstantanea::TInstantanea(TAbreArchivo abre, TFirmaEnDisco firmaEnDisco,
                           std::function<void()> antesDeRecargar)
    : abre_(std::move(abre)),
      firmaEnDisco_(std::move(firmaEnDisco)),
      antesDeRecargar_(std::move(antesDeRecargar)) {}

TInstantanea::~TInstantanea() {
    CierraBase();
}

void TInstantanea::AbreBase() {
    // SQLite's memory statistics take a process-wide mutex on every
    // allocation, and nothing here reads them. Only possible before SQLite
    // starts up; if something else started it first, it stays on (harmless).
    static std::once_flag sinEstadisticas;
    std::call_once(sinEstadisticas, [] { sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0); });
    // Each connection is used by one thread at a time: SQLite's own locking
    // per call would only cost time (a tenth of a run). The database lives in
    // SQLite's memdb VFS under a name of its own, so that a second connection
    // of this process can read it (TAnticipador).
    sqlite3* db = nullptr;
    static std::atomic<unsigned> nBases{0};
    const std::string sNombre = "file:/kova-instantanea-" + std::to_string(++nBases) + "?vfs=memdb";
    const int rc = sqlite3_open_v2(
        sNombre.c_str(), &db,
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI,
        nullptr);
    {
        const std::lock_guard<std::mutex> cerrojo(mCompartido_);
        sNombreBase_ = sNombre;
    }
    base_.reset(db);
    db_ = db;
    if (rc != SQLITE_OK) {
        CierraBase();
        throw ErrorJet(TErrorJet::BaseNoCreada);
    }
    PreparaConexion(db_, &ranura_);
    // Every thousand steps of a statement, so that no statement holds the
    // heartbeat back for long, nor an asked interruption.
    sqlite3_progress_handler(
        db_, 1000,
        [](void* pYo) {
            const auto* yo = static_cast<TInstantanea*>(pYo);
            if (!yo->latido_)
                return 0;
            yo->latido_->Late();
            return yo->Interrumpido() ? 1 : 0;
        },
        this);
    // A second connection reading the database (TAnticipador) holds off this
    // one's writes until its statement ends: wait for it, beating.
    sqlite3_busy_handler(
        db_,
        [](void* pYo, int) {
            const auto* yo = static_cast<TInstantanea*>(pYo);
            if (yo->latido_)
                yo->latido_->Late();
            if (yo->Interrumpido())
                return 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return 1;
        },
        this);
}

sql::TConexionSqlite TInstantanea::AbreSegunda(const std::string& sNombre,
                                               sql::TRanuraError* ranura) {
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(sNombre.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI, nullptr);
    sql::TConexionSqlite conexion(db);
    if (rc != SQLITE_OK)
        return nullptr;
    try {
        PreparaConexion(db, ranura);
    } catch (const EErrorJet&) {
        return nullptr;
    }
    return conexion;
}

void TInstantanea::PreparaConexion(sqlite3* db, sql::TRanuraError* ranura) {
    // A quoted name that matches no column must fail, never turn into text.
    if (sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr) != SQLITE_OK ||
        sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr) != SQLITE_OK)
        throw ErrorJet(TErrorJet::CopiaNoPreparada, {sqlite3_errmsg(db)});
    // sqlite3_limit answers the previous limit: nothing to check.
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 1 << 30);
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 10000);
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 100000);  // capped at SQLite's build maximum
    sql::JetCollation::Registra(db);
    sql::JetFunctions::Registra(db, ranura);
    sql::TiposLector::Registra(db, ranura);
}

void TInstantanea::CierraBase() {
    base_.reset();
    db_ = nullptr;
    ranura_.Vacia();
    bAparteAbierta_ = false;
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    sNombreBase_.clear();
    cargadas_.clear();
    ordenCarga_.clear();
    derivadas_.clear();
    enAparte_.clear();
}

void TInstantanea::Actualiza() {
    if (archivo_ && !bRecargaEntera_ && firmaEnDisco_(archivo_->Ruta()) == archivo_->Firma())
        return;
    // A reload of parts writes the shared database and reopens files that
    // another connection's catalogue reads: it stops first, as for a whole one.
    antesDeRecargar_();
    if (archivo_ && !bRecargaEntera_ && RecargaPartes())
        return;
    bRecargaEntera_ = false;
    CierraBase();
    {
        const std::lock_guard<std::mutex> cerrojo(mCompartido_);
        archivo_.reset();
    }
    auto archivo = abre_();
    {
        const std::lock_guard<std::mutex> cerrojo(mCompartido_);
        archivo_ = std::move(archivo);
    }
    AbreBase();
}

sql::ICatalogo::TablaCatalogo TInstantanea::DameTabla(const std::string& sNombre) {
    if (!archivo_)
        Actualiza();
    const TTabla* tabla = archivo_->BuscaTabla(sNombre);
    if (!tabla)
        throw sql::ErrorTablaNoEncontrada(sNombre);
    if (!cargadas_.count(Minusculas(tabla->sNombre)))
        Carga(*tabla);
    return Describe(*tabla);
}

std::string TInstantanea::NombreCompartido() const {
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    return sNombreBase_;
}

std::optional<sql::ICatalogo::TablaCatalogo> TInstantanea::TablaCopiada(
    const std::string& sNombre) const {
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    const TTabla* tabla = archivo_ ? archivo_->BuscaTabla(sNombre) : nullptr;
    if (!tabla || !cargadas_.count(Minusculas(tabla->sNombre)))
        return std::nullopt;
    return Describe(*tabla);
}

std::string TInstantanea::DerivadaCompartida(const std::string& sSql) const {
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    const auto it = derivadas_.find(sSql);
    return it == derivadas_.end() || enAparte_.count(it->second) ? "" : it->second;
}

sql::ICatalogo::TablaCatalogo TInstantanea::Describe(const TTabla& tabla) {
    TablaCatalogo t{tabla.sNombre, {}, {}};
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

bool TInstantanea::RecargaPartes() {
    auto* partes = dynamic_cast<IArchivoPorPartes*>(archivo_.get());
    if (!partes || !db_)
        return false;
    const std::set<size_t> cambiadas = partes->PartesCambiadas();
    if (cambiadas.empty())
        return false;
    std::set<size_t> releer;
    try {
        // The parts change under the lock that another connection's
        // catalogue takes to look a table up (TablaCopiada), though its
        // reader was stopped already (antesDeRecargar_).
        const std::lock_guard<std::mutex> cerrojo(mCompartido_);
        releer = partes->ReabrePartes(cambiadas);
    } catch (const EErrorJet&) {
        return false;  // opened anew whole, the file fails (or not) as it fails alone
    }
    if (releer.size() >= partes->NumeroPartes())
        return false;
    for (const std::string& sTabla : ordenCarga_)
        if (const TTabla* tabla = archivo_->BuscaTabla(sTabla);
            !tabla || NombreRowid(*tabla).empty())
            return false;  // copied without ranges, or gone
    BorraDerivadas();
    // One savepoint for every table: stopped midway, no table holds some
    // parts' rows new and others' old.
    Ejecuta(db_, "SAVEPOINT recarga");
    try {
        for (const std::string& sTabla : ordenCarga_) {
            const TTabla* tabla = archivo_->BuscaTabla(sTabla);
            for (size_t n : releer) {
                if (Interrumpido())
                    throw ErrorJet(TErrorJet::Interrumpida);
                const std::string sRowid = NombreRowid(*tabla);
                Ejecuta(db_, "DELETE FROM " + Nombre(tabla->sNombre) + " WHERE " + sRowid +
                                 " >= " + std::to_string(PrimeraFila(n)) + " AND " + sRowid +
                                 " < " + std::to_string(PrimeraFila(n + 1)));
                CopiaFilas(*tabla, n);
            }
        }
        Ejecuta(db_, "RELEASE recarga");
    } catch (...) {
        // Undone whatever the failure, which is then thrown as it came; a
        // failure of the rollback itself would only hide it.
        sqlite3_exec(db_, "ROLLBACK TO recarga; RELEASE recarga", nullptr, nullptr, nullptr);
        // The parts are open anew and the tables hold the old rows.
        bRecargaEntera_ = true;
        // Stopped inside SQLite (deleting), the failure is SQLite's own.
        if (Interrumpido())
            throw ErrorJet(TErrorJet::Interrumpida);
        throw;
    }
    return true;
}

// Their rows came from the tables as they were.
void TInstantanea::BorraDerivadas() {
    for (const auto& [sSql, sTabla] : derivadas_)
        if (!sTabla.empty())
            sqlite3_exec(db_, ("DROP TABLE IF EXISTS " + Nombre(sTabla)).c_str(), nullptr, nullptr,
                         nullptr);
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    derivadas_.clear();
    enAparte_.clear();
}

void TInstantanea::Carga(const TTabla& tabla) {
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
        const auto* partes = dynamic_cast<const IArchivoPorPartes*>(archivo_.get());
        if (partes && !NombreRowid(tabla).empty())
            for (size_t n = 0; n < partes->NumeroPartes(); ++n) CopiaFilas(tabla, n);
        else
            CopiaFilas(tabla, std::nullopt);
    } catch (...) {
        // Undone whatever the failure, which is then thrown as it came; a
        // failure of the rollback itself would only hide it.
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(db_, ("DROP TABLE " + Nombre(tabla.sNombre)).c_str(), nullptr, nullptr,
                     nullptr);
        throw;
    }
    Ejecuta(db_, "COMMIT");
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    cargadas_.insert(Minusculas(tabla.sNombre));
    ordenCarga_.push_back(tabla.sNombre);
}

void TInstantanea::CopiaFilas(const TTabla& tabla, std::optional<size_t> nParte) {
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
        throw ErrorJet(TErrorJet::TablaNoCopiada, {tabla.sNombre, sqlite3_errmsg(db_)});
    auto lee = [&](const TLecturaSolapada::TFila& f) {
        if (nParte)
            dynamic_cast<const IArchivoPorPartes&>(*archivo_).LeeFilasParte(*nParte, tabla.sNombre,
                                                                            f);
        else
            archivo_->LeeFilas(tabla.sNombre, f);
    };
    TLecturaSolapada::LeeFilas(lee, [&](const std::vector<TValor>& fila) {
        if (latido_)
            latido_->Late();
        if (Interrumpido())
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
            throw ErrorJet(TErrorJet::TablaNoCopiada, {tabla.sNombre, sqlite3_errmsg(db_)});
    });
}

std::string TInstantanea::Columnas(sqlite3* db, const std::string& sSql) {
    sqlite3_stmt* p = nullptr;
    if (sqlite3_prepare_v2(db, sSql.c_str(), static_cast<int>(sSql.size()), &p, nullptr) !=
        SQLITE_OK)
        return "";
    const sql::TSentenciaSqlite st(p);
    const int n = sqlite3_column_count(st.get());
    std::string columnas = "(";
    for (int i = 0; i < n; ++i) {
        const char* d = sqlite3_column_decltype(st.get(), i);
        const std::string sTipo = d ? d : "";
        columnas += (i ? ", " : "") + Nombre(sqlite3_column_name(st.get(), i)) +
                    (sTipo.empty() ? "" : " " + sTipo) +
                    (sTipo.empty() || Minusculas(sTipo) == "text" ? " COLLATE JET" : "");
    }
    return columnas + ")";
}

bool TInstantanea::CopiaDerivada(sqlite3* db, const std::string& sDestino,
                                 const std::string& sSql) {
    // The columns as SQLite describes the statement's; the rows are then
    // copied by one INSERT ... SELECT, which keeps their order and spares a
    // round trip through the API for every value.
    const std::string columnas = Columnas(db, sSql);
    bool bBien =
        !columnas.empty() && sqlite3_exec(db, ("CREATE TABLE " + sDestino + " " + columnas).c_str(),
                                          nullptr, nullptr, nullptr) == SQLITE_OK;
    if (bBien && sqlite3_exec(db, "SAVEPOINT deriv", nullptr, nullptr, nullptr) == SQLITE_OK) {
        const std::string inserta = "INSERT INTO " + sDestino + " " + sSql;
        sqlite3_stmt* p = nullptr;
        bBien = sqlite3_prepare_v2(db, inserta.c_str(), static_cast<int>(inserta.size()), &p,
                                   nullptr) == SQLITE_OK;
        sql::TSentenciaSqlite st(p);
        bBien = bBien && sqlite3_step(st.get()) == SQLITE_DONE;
        st.reset();
        if (bBien)
            bBien = sqlite3_exec(db, "RELEASE deriv", nullptr, nullptr, nullptr) == SQLITE_OK;
        else
            sqlite3_exec(db, "ROLLBACK TO deriv; RELEASE deriv", nullptr, nullptr, nullptr);
    } else {
        bBien = false;
    }
    if (!bBien)
        sqlite3_exec(db, ("DROP TABLE IF EXISTS " + sDestino).c_str(), nullptr, nullptr, nullptr);
    return bBien;
}

// The rows of a derived table that several statements share, computed once
// per snapshot. Each column is declared as SQLite would describe the derived
// table's column: its declared type (what tells Booleans, dates and currency
// apart, and the affinity comparisons use) and the JET collation for text and
// computed values. Rows keep their order. Any failure leaves the statement to
// run as written, so it fails (or not) exactly as it would without the copy.
std::string TInstantanea::Materializa(const std::string& sSql) {
    if (!db_)
        return "";
    if (auto it = derivadas_.find(sSql); it != derivadas_.end())
        return it->second;
    const std::string sNombre = "__m" + std::to_string(derivadas_.size() + 1);
    // Unqualified, the name finds the table in either database (names never repeat).
    if (bAparte_ && !bAparteAbierta_) {
        static std::atomic<unsigned> nAparte{0};
        const std::string sAdjunta =
            "ATTACH 'file:/kova-aparte-" + std::to_string(++nAparte) + "?vfs=memdb' AS aparte";
        bAparteAbierta_ =
            sqlite3_exec(db_, sAdjunta.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    const bool bAparte = bAparte_ && bAparteAbierta_;
    const std::string sDestino = (bAparte ? "aparte." : "") + Nombre(sNombre);
    const bool bBien = CopiaDerivada(db_, sDestino, sSql);
    // A jet_* function that failed here fails again when the statement runs
    // as written: that is the failure to report.
    ranura_.Vacia();
    // Stopped midway, the rows were not all there: the next run tries again
    // (and the statement itself stops at once, as it was asked to).
    if (!bBien && Interrumpido())
        return "";
    const std::lock_guard<std::mutex> cerrojo(mCompartido_);
    const std::string sTabla = bBien ? sNombre : "";
    derivadas_[sSql] = sTabla;
    if (bBien && bAparte)
        enAparte_.insert(sNombre);
    return sTabla;
}

std::string TInstantanea::MaterializaPorMitades(const std::string& sSql,
                                                const TDaMitades& mitades) {
    // While statements are answered ahead, another connection reads the
    // shared database: its derived tables go apart, and in one piece.
    if (db_ && !bAparte_ && !derivadas_.contains(sSql)) {
        const std::string sNombre = "__m" + std::to_string(derivadas_.size() + 1);
        const bool bBien =
            CopiaPorMitades(db_, sNombreBase_, Nombre(sNombre), sSql, mitades(), latido_.get());
        ranura_.Vacia();
        if (bBien) {
            const std::lock_guard<std::mutex> cerrojo(mCompartido_);
            derivadas_[sSql] = sNombre;
            ++nPorMitades_;
            return sNombre;
        }
        if (Interrumpido())
            return "";
    }
    return Materializa(sSql);
}

}  // namespace jet
