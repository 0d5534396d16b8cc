#pragma once

#include <optional>
#include <string>

#include "platform/jet/TArchivoAccess.h"
#include "platform/jet/TValorJet.h"

struct sqlite3;
struct sqlite3_stmt;

namespace jet::sql {

class TRanuraError;

// How the value types beyond Jet's plain numbers, dates and texts live in
// the SQLite copy, and the SQL functions they need:
// - Single: REAL, declared SINGLE, read back as the float it was;
// - Decimal: declared DECIMAL(p,s) (numeric affinity: an integer when whole,
//   else the nearest double, as Currency is), read back rounded to its scale;
//   jet_sumdecimal and jet_avgdecimal add the values as exact decimals;
// - Binary and OLE Object: BLOB; Attachment: a BLOB of the files, declared
//   ATTACHMENT;
// - a type the reader cannot read: a computed column whose every use fails
//   with an error naming table, column and type (jet_ilegible).
class TiposLector {
public:
    static void Registra(sqlite3* db, TRanuraError* ranura);
    // The column's definition for CREATE TABLE: name, declared type and,
    // for an unreadable type, the failing computation. Insertable is false
    // for such a column: it takes no value.
    static std::string DefinicionColumna(const std::string& sTabla, const TColumna& c);
    static bool Insertable(const TColumna& c) { return c.eTipo != TTipoColumna::tcOtro; }
    // While one lives on this thread, jet_ilegible gives null instead of
    // failing: SQLite computes every column of a row it inserts, and the
    // copy of a table must not fail for a column nobody asked for yet.
    class TCopiando {
    public:
        TCopiando();
        ~TCopiando();
        TCopiando(const TCopiando&) = delete;
        TCopiando& operator=(const TCopiando&) = delete;
    };
    // The value of a result column of one of these types, from its declared
    // type (sDeclarado, or DECIMAL for a computed Decimal); nullopt for the
    // others.
    static std::optional<TValor> Lee(sqlite3_stmt* st, int i, const std::string& sDeclarado);
    // The BLOB an attachment value is kept as, and back.
    static std::string CodificaAdjuntos(const TAdjuntos& a);
    static std::optional<TAdjuntos> DecodificaAdjuntos(const void* p, size_t n);
};

}  // namespace jet::sql
