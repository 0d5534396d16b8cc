#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// A derived table whose first GROUP BY term may split its groups in two:
// the rows with that term at most a value (or Null) and those above it, so
// that two connections can compute one half each. ?1 is the value.
struct TMitades {
    // That term for the first rows the query reads (at most kMuestra), one
    // row per value with how many rows hold it, in the order GROUP BY sorts.
    std::string sMuestra;
    std::string sMenor;  // the derived table's rows with the term Null or <= ?1
    std::string sMayor;  // and those with the term > ?1
    static constexpr int kMuestra = 4096;
};

// What the engine needs to know of the tables a statement names, and where
// it may keep the rows of derived tables that several statements share.
class ICatalogo {
public:
    virtual ~ICatalogo() = default;
    struct TablaCatalogo {
        std::string sNombre;                // as the database spells it
        std::vector<std::string> columnas;  // in column order
        std::vector<TipoJet> tipos;         // one per column
    };
    // Called once per statement, after it parses and before it is bound: a
    // catalogue that follows a file brings itself up to date with it.
    virtual void Actualiza() {}
    // The table by name, letter case ignored (and ready to be read);
    // throws the "table not found" failure when there is none.
    virtual TablaCatalogo DameTabla(const std::string& sNombre) = 0;
    // The name of a table that already holds the rows of the standalone
    // SELECT sSql, when the catalogue keeps such copies; empty otherwise.
    virtual std::string Materializa(const std::string& /*sSql*/) { return ""; }
    // The same, for a derived table the catalogue may compute in two halves:
    // mitades gives them, written only when the rows are to be computed (a
    // table kept already needs none).
    using TDaMitades = std::function<TMitades()>;
    virtual std::string MaterializaPorMitades(const std::string& sSql,
                                              const TDaMitades& /*mitades*/) {
        return Materializa(sSql);
    }
};

}  // namespace jet::sql
