#pragma once

#include <string>
#include <vector>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// What the generator needs to know of the tables a statement names.
class ICatalogo {
public:
    virtual ~ICatalogo() = default;
    struct TablaCatalogo {
        std::string sNombre;                // as the database spells it
        std::vector<std::string> columnas;  // in column order
    };
    // The table by name, letter case ignored (and ready to be read);
    // throws the "table not found" failure when there is none.
    virtual TablaCatalogo DameTabla(const std::string& sNombre) = 0;
};

// Turns an Access SQL syntax tree into one SQLite statement with Jet's
// results. Text comparisons go through the JET collation, Jet operators and
// functions through the jet_* functions; comparisons give -1/0 where a value
// is wanted; TOP keeps the rows tied with the last one; UNION ALL yields its
// branches in order; long AND/OR chains become balanced trees so that
// thousands of conditions stay within SQLite's expression depth.
class SqliteGenerator {
public:
    explicit SqliteGenerator(ICatalogo& catalogo) : catalogo_(catalogo) {}

    struct Resultado {
        std::string sSql;
        std::vector<std::string> columnas;
    };
    Resultado Genera(const Consulta& consulta);

private:
    struct Fuente {
        std::string sAlias;
        std::vector<std::string> columnas;
    };
    struct SelectGenerado;

    ICatalogo& catalogo_;
    int nDerivadas_ = 0;

    Resultado GeneraConsulta(const Consulta& consulta, bool bDerivada);
    SelectGenerado PreparaSelect(const Select& s);
    std::string Ordenada(const SelectGenerado& g, bool bDerivada);
    std::string Clasificada(const SelectGenerado& g);
    static std::string FiltroTop(const SelectGenerado& g);
    std::string GeneraOrigen(const Origen& o, std::vector<Fuente>& fuentes);
    std::string Valor(const Expr& e);
    std::string Condicion(const Expr& e);
    std::string Expresion(const Expr& e, bool bCondicion);
    std::string Funcion(const Expr& e, bool bCondicion);
    std::string Subconsulta(const Consulta& c);
};

}  // namespace jet::sql
