#include "platform/jet/TablasGuardadas.h"

#include <sqlite3.h>

#include <cctype>

#include "platform/jet/Comillas.h"
#include "platform/jet/ConexionesJet.h"
#include "platform/jet/CopiaPorMitades.h"

namespace jet {

namespace {

std::string Nombre(const std::string& s) {
    return Entrecomilla(s, '"');
}

std::string Minusculas(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string ColumnasDe(sqlite3* db, const std::string& sSql) {
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

bool CopiaDerivada(sqlite3* db, const std::string& sDestino, const std::string& sSql) {
    // The columns as SQLite describes the statement's; the rows are then
    // copied by one INSERT ... SELECT, which keeps their order and spares a
    // round trip through the API for every value.
    const std::string columnas = ColumnasDe(db, sSql);
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

void TTablasGuardadas::Empieza(sqlite3* db, std::string sNombreBase) {
    db_ = db;
    sNombreBase_ = std::move(sNombreBase);
    bAparteAbierta_ = false;
    const std::lock_guard<std::mutex> cerrojo(m_);
    derivadas_.clear();
    enAparte_.clear();
}

std::string TTablasGuardadas::Compartida(const std::string& sSql) const {
    const std::lock_guard<std::mutex> cerrojo(m_);
    const auto it = derivadas_.find(sSql);
    return it == derivadas_.end() || enAparte_.count(it->second) ? "" : it->second;
}

void TTablasGuardadas::Borra() {
    for (const auto& [sSql, sTabla] : derivadas_)
        if (!sTabla.empty())
            sqlite3_exec(db_, ("DROP TABLE IF EXISTS " + Nombre(sTabla)).c_str(), nullptr, nullptr,
                         nullptr);
    const std::lock_guard<std::mutex> cerrojo(m_);
    derivadas_.clear();
    enAparte_.clear();
}

// The rows of a derived table that several statements share, computed once
// per snapshot. Each column is declared as SQLite would describe the derived
// table's column: its declared type (what tells Booleans, dates and currency
// apart, and the affinity comparisons use) and the JET collation for text and
// computed values. Rows keep their order. Any failure leaves the statement to
// run as written, so it fails (or not) exactly as it would without the copy.
std::string TTablasGuardadas::Materializa(const std::string& sSql, sql::TRanuraError& ranura,
                                          const TLatido* latido) {
    if (!db_)
        return "";
    if (auto it = derivadas_.find(sSql); it != derivadas_.end())
        return it->second;
    const std::string sNombre = "__m" + std::to_string(derivadas_.size() + 1);
    // Unqualified, the name finds the table in either database (names never repeat).
    if (bAparte_ && !bAparteAbierta_) {
        const std::string sAdjunta = "ATTACH '" + NombreEnMemoria("aparte") + "' AS aparte";
        bAparteAbierta_ =
            sqlite3_exec(db_, sAdjunta.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    const bool bAparte = bAparte_ && bAparteAbierta_;
    const std::string sDestino = (bAparte ? "aparte." : "") + Nombre(sNombre);
    const bool bBien = CopiaDerivada(db_, sDestino, sSql);
    // A jet_* function that failed here fails again when the statement runs
    // as written: that is the failure to report.
    ranura.Vacia();
    // Stopped midway, the rows were not all there: the next run tries again
    // (and the statement itself stops at once, as it was asked to).
    if (!bBien && latido && latido->Interrumpido())
        return "";
    const std::lock_guard<std::mutex> cerrojo(m_);
    const std::string sTabla = bBien ? sNombre : "";
    derivadas_[sSql] = sTabla;
    if (bBien && bAparte)
        enAparte_.insert(sNombre);
    return sTabla;
}

std::string TTablasGuardadas::MaterializaPorMitades(const std::string& sSql,
                                                    const sql::ICatalogo::TDaMitades& mitades,
                                                    sql::TRanuraError& ranura, TLatido* latido) {
    // While statements are answered ahead, another connection reads the
    // shared database: its derived tables go apart, and in one piece.
    if (db_ && !bAparte_ && !derivadas_.contains(sSql)) {
        const std::string sNombre = "__m" + std::to_string(derivadas_.size() + 1);
        const bool bBien =
            CopiaPorMitades(db_, sNombreBase_, Nombre(sNombre), sSql, mitades(), latido);
        ranura.Vacia();
        if (bBien) {
            const std::lock_guard<std::mutex> cerrojo(m_);
            derivadas_[sSql] = sNombre;
            ++nPorMitades_;
            return sNombre;
        }
        if (latido && latido->Interrumpido())
            return "";
    }
    return Materializa(sSql, ranura, latido);
}

}  // namespace jet
