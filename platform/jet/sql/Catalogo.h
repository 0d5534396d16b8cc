#pragma once

#include <string>
#include <vector>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

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
    // The table by name, letter case ignored (and ready to be read);
    // throws the "table not found" failure when there is none.
    virtual TablaCatalogo DameTabla(const std::string& sNombre) = 0;
    // The name of a table that already holds the rows of the standalone
    // SELECT sSql, when the catalogue keeps such copies; empty otherwise.
    virtual bool GuardaDerivadas() const { return false; }
    virtual std::string Materializa(const std::string& /*sSql*/) { return ""; }
};

}  // namespace jet::sql
