#include "platform/jet/CopiaPorMitades.h"

#include <sqlite3.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "platform/jet/ConexionesJet.h"
#include "platform/jet/TablasGuardadas.h"
#include "platform/jet/sql/RecursosSqlite.h"

namespace jet {

namespace {

struct LiberaValor {
    void operator()(sqlite3_value* v) const { sqlite3_value_free(v); }
};
using TValorSqlite = std::unique_ptr<sqlite3_value, LiberaValor>;

bool Ejecuta(sqlite3* db, const std::string& sSql) {
    return sqlite3_exec(db, sSql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The value that splits the sample most evenly, itself in the lower half;
// none if the sample is short (a small table: not worth a thread) or holds
// one value (besides Null, which always goes to the lower half).
TValorSqlite Pivote(sqlite3* db, const std::string& sMuestra) {
    sqlite3_stmt* p = nullptr;
    if (sqlite3_prepare_v2(db, sMuestra.c_str(), static_cast<int>(sMuestra.size()), &p, nullptr) !=
        SQLITE_OK)
        return nullptr;
    const sql::TSentenciaSqlite st(p);
    struct TValorContado {
        TValorSqlite valor;
        long long nHasta;  // rows of the sample up to this value, inclusive
    };
    std::vector<TValorContado> valores;
    long long n = 0;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        n += sqlite3_column_int64(st.get(), 1);
        valores.push_back({TValorSqlite(sqlite3_value_dup(sqlite3_column_value(st.get(), 0))), n});
    }
    if (rc != SQLITE_DONE || n < sql::TMitades::kMuestra)
        return nullptr;
    size_t nMejor = valores.size();
    for (size_t i = 0; i + 1 < valores.size(); ++i) {
        if (!valores[i].valor || sqlite3_value_type(valores[i].valor.get()) == SQLITE_NULL)
            continue;
        if (nMejor == valores.size() ||
            std::llabs(2 * valores[i].nHasta - n) < std::llabs(2 * valores[nMejor].nHasta - n))
            nMejor = i;
    }
    return nMejor < valores.size() ? std::move(valores[nMejor].valor) : nullptr;
}

bool CopiaMitad(sqlite3* db, const std::string& sDestino, const std::string& sSql,
                sqlite3_value* pivote) {
    const std::string inserta = "INSERT INTO " + sDestino + " " + sSql;
    sqlite3_stmt* p = nullptr;
    if (sqlite3_prepare_v2(db, inserta.c_str(), static_cast<int>(inserta.size()), &p, nullptr) !=
        SQLITE_OK)
        return false;
    const sql::TSentenciaSqlite st(p);
    return sqlite3_bind_value(st.get(), 1, pivote) == SQLITE_OK &&
           sqlite3_step(st.get()) == SQLITE_DONE;
}

// The upper half, on a thread and a connection of its own. The caller's
// thread waits for Hecha, beating the heartbeat; stopping the thread (its
// stop token: a failure of the lower half, an interruption, or the thread
// going out of scope on any path) stops its statement at the next progress
// call.
class TSegunda {
public:
    TSegunda(std::string sCompartida, std::string sMitad, std::string sSql, sqlite3_value* pivote,
             TLatido* latido)
        : sCompartida_(std::move(sCompartida)),
          sMitad_(std::move(sMitad)),
          sSql_(std::move(sSql)),
          pivote_(pivote),
          latido_(latido) {}

    void Trabaja(const std::stop_token& parar) {
        parar_ = &parar;
        sql::TRanuraError ranura;
        const sql::TConexionSqlite conexion = AbreSegunda(sCompartida_, &ranura);
        sqlite3* db = conexion.get();
        if (db)
            sqlite3_progress_handler(
                db, 1000, [](void* s) { return static_cast<TSegunda*>(s)->Detener() ? 1 : 0; },
                this);
        const bool bBien = db && Ejecuta(db, "ATTACH '" + sMitad_ + "' AS mitad") &&
                           CopiaMitad(db, "mitad.\"t\"", sSql_, pivote_);
        {
            const std::lock_guard<std::mutex> cerrojo(m_);
            eEstado_ = bBien ? TEstado::Hecha : TEstado::Fallida;
        }
        cambio_.notify_all();
    }

    // Whether the upper half is there, once the thread is done; meanwhile
    // the heartbeat is beaten at its interval (an interruption stops the
    // thread through parar).
    bool Espera(std::jthread& hilo) {
        std::unique_lock<std::mutex> cerrojo(m_);
        const auto hecho = [&] { return eEstado_ != TEstado::EnCurso; };
        if (!latido_) {
            cambio_.wait(cerrojo, hecho);
        } else {
            while (!cambio_.wait_for(cerrojo, latido_->Espera(), hecho)) {
                // The heartbeat may run a window's events: never under the lock.
                cerrojo.unlock();
                latido_->Late();
                if (latido_->Interrumpido())
                    hilo.request_stop();
                cerrojo.lock();
            }
        }
        return eEstado_ == TEstado::Hecha;
    }

private:
    enum class TEstado { EnCurso, Hecha, Fallida };
    const std::string sCompartida_, sMitad_, sSql_;
    sqlite3_value* const pivote_;
    TLatido* const latido_;
    const std::stop_token* parar_ = nullptr;  // the thread's own, set before its first statement
    std::mutex m_;
    std::condition_variable cambio_;
    TEstado eEstado_ = TEstado::EnCurso;  // guarded by m_

    bool Detener() const {
        return parar_->stop_requested() || (latido_ && latido_->Interrumpido());
    }
};

}  // namespace

bool CopiaPorMitades(sqlite3* db, const std::string& sCompartida, const std::string& sDestino,
                     const std::string& sSql, const sql::TMitades& mitades, TLatido* latido) {
    if (sCompartida.empty())
        return false;
    const TValorSqlite pivote = Pivote(db, mitades.sMuestra);
    const std::string columnas = pivote ? ColumnasDe(db, sSql) : "";
    if (columnas.empty())
        return false;
    // Each half in a database of its own, attached here, so that it lives
    // until the rows are copied; the second connection attaches its own.
    const std::string sMenor = NombreEnMemoria("mitad");
    const std::string sMayor = NombreEnMemoria("mitad");
    struct TSuelta {
        sqlite3* db;
        ~TSuelta() {
            sqlite3_exec(db, "DETACH \"__mitad1\"", nullptr, nullptr, nullptr);
            sqlite3_exec(db, "DETACH \"__mitad2\"", nullptr, nullptr, nullptr);
        }
    } suelta{db};
    if (!Ejecuta(db, "ATTACH '" + sMenor + "' AS \"__mitad1\"") ||
        !Ejecuta(db, "ATTACH '" + sMayor + "' AS \"__mitad2\"") ||
        !Ejecuta(db, "CREATE TABLE \"__mitad1\".\"t\" " + columnas) ||
        !Ejecuta(db, "CREATE TABLE \"__mitad2\".\"t\" " + columnas))
        return false;

    const TValorSqlite pivoteSegunda(sqlite3_value_dup(pivote.get()));  // its own: no value shared
    if (!pivoteSegunda)
        return false;
    TSegunda segunda(sCompartida, sMayor, mitades.sMayor, pivoteSegunda.get(), latido);
    bool bBien;
    {
        // Joined when this block ends, whichever way: a failure here stops it first.
        std::jthread hilo([&segunda](const std::stop_token& parar) { segunda.Trabaja(parar); });
        bBien = CopiaMitad(db, "\"__mitad1\".\"t\"", mitades.sMenor, pivote.get());
        if (!bBien)
            hilo.request_stop();
        bBien = segunda.Espera(hilo) && bBien;
    }
    bBien = bBien && Ejecuta(db, "CREATE TABLE " + sDestino + " " + columnas);
    if (!bBien)
        return false;
    // Same columns, no index: SQLite copies the rows as they are stored,
    // each after the last, so the table reads them in this order.
    if (Ejecuta(db, "SAVEPOINT mitades") &&
        Ejecuta(db, "INSERT INTO " + sDestino + " SELECT * FROM \"__mitad1\".\"t\"") &&
        Ejecuta(db, "INSERT INTO " + sDestino + " SELECT * FROM \"__mitad2\".\"t\"") &&
        Ejecuta(db, "RELEASE mitades"))
        return true;
    Ejecuta(db, "ROLLBACK TO mitades; RELEASE mitades");
    Ejecuta(db, "DROP TABLE IF EXISTS " + sDestino);
    return false;
}

}  // namespace jet
