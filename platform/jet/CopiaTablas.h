#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/jet/Latido.h"
#include "platform/jet/TArchivoAccess.h"
#include "platform/jet/sql/Catalogo.h"

struct sqlite3;

namespace jet {

// Copies an Access file's tables into a SQLite connection, each on first use,
// with exact values: doubles bit for bit, currency as its 4-decimal amount,
// dates as day serials, Booleans as -1/0, text as UTF-8. Column types are
// declared so that results can tell Booleans, dates and currency apart, and
// text columns compare with the JET collation.
//
// A file made of parts (IArchivoPorPartes) gives each part's rows of a table
// rowids of a range of their own, in the part's order, so that the rows of
// some parts can be read again where they were (RecargaPartes).
//
// Used on the snapshot's thread; Copiada also from any other.
class TCopiaTablas {
public:
    // The connection the tables go to; every table copied before is gone with
    // the connection it was in.
    void Empieza(sqlite3* db);
    // Creates the table and copies its rows; stopped (the heartbeat's
    // interruption) or failed, nothing of it stays and the failure is thrown.
    void Copia(const TArchivoAccess& archivo, const TTabla& tabla, TLatido* latido);
    // Whether the table (as the file spells it) is copied. From any thread.
    bool Copiada(const std::string& sTabla) const;
    // Whether every table copied has its parts' rows in ranges, and is still
    // in the file: only then can some parts be read again.
    bool PorPartes(const TArchivoAccess& archivo) const;
    // The rows of the parts releer, deleted and read again in every table
    // copied, all in one savepoint: stopped or failed, the tables keep their
    // rows as they were and the failure is thrown.
    void RecargaPartes(const TArchivoAccess& archivo, const std::set<size_t>& releer,
                       TLatido* latido);
    // A table's columns and their Jet kinds, as the binder sees them.
    static sql::ICatalogo::TablaCatalogo Describe(const TTabla& tabla);

private:
    sqlite3* db_ = nullptr;
    std::vector<std::string> orden_;  // the tables copied, in the order they were
    mutable std::mutex m_;
    std::set<std::string> copiadas_;  // guarded by m_: another thread asks

    // Inserts the rows of the file (nParte none) or of one of its parts.
    void CopiaFilas(const TArchivoAccess& archivo, const TTabla& tabla,
                    std::optional<size_t> nParte, TLatido* latido);
};

}  // namespace jet
