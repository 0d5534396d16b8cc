#pragma once

#include <string>
#include <vector>

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// What a result column holds beyond SQLite's storage class: Jet keeps
// dates, currency and yes/no values apart from plain numbers.
enum class TipoJet { Otro, Fecha, Moneda, Booleano, Decimal, Simple };

// What the generator needs to know of the tables a statement names.
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

// Turns an Access SQL syntax tree into one SQLite statement with Jet's
// results. Text comparisons go through the JET collation, Jet operators and
// functions through the jet_* functions; comparisons give -1/0 where a value
// is wanted; TOP keeps the rows tied with the last one; UNION ALL yields its
// branches in order; derived tables become common tables and long AND/OR
// chains are cut into groups, so any nesting and thousands of conditions fit
// SQLite's parser and expression depth. It also tells what each result
// column holds where SQLite cannot (a date from MAX(Fecha) or DATESERIAL).
class SqliteGenerator {
public:
    explicit SqliteGenerator(ICatalogo& catalogo) : catalogo_(catalogo) {}

    struct Resultado {
        std::string sSql;
        std::vector<std::string> columnas;
        std::vector<TipoJet> tipos;
    };
    Resultado Genera(const Consulta& consulta);

private:
    struct Fuente {
        std::string sAlias;
        std::vector<std::string> columnas;
        std::vector<TipoJet> tipos;
    };
    struct SelectGenerado;

    ICatalogo& catalogo_;
    int nDerivadas_ = 0;
    std::vector<std::string> tablasComunes_;  // the WITH clause, in order of need
    bool bEnLinea_ = false;                   // within a subquery of an expression
    const std::vector<Fuente>* fuentes_ = nullptr;
    bool bOrdenImporta_ = true;  // whether the rows of the query being written must keep their
                                 // order  // the FROM of the SELECT being written

    Resultado GeneraConsulta(const Consulta& consulta, bool bDerivada);
    SelectGenerado PreparaSelect(const Select& s);
    std::string Ordenada(const SelectGenerado& g, bool bDerivada, bool bOrden);
    std::string Clasificada(const SelectGenerado& g);
    static std::string FiltroTop(const SelectGenerado& g);
    std::string GeneraOrigen(const Origen& o, std::vector<Fuente>& fuentes);
    std::string Valor(const Expr& e);
    std::string Condicion(const Expr& e);
    std::string Expresion(const Expr& e, bool bCondicion);
    std::string Funcion(const Expr& e, bool bCondicion);
    static TipoJet TipoDe(const Expr& e, const std::vector<Fuente>& fuentes);
    static bool EsAgregado(const Expr& e);
    static bool TieneAgregado(const Expr& e);
    void ExigeAgrupada(const Expr& e, const Select& s);
    std::string Subconsulta(const Consulta& c);
    std::string TablaComun(const std::string& sSql);
    std::string ConTablasComunes(const std::string& sSql) const;
    std::string DerivadaMaterializada(const Consulta& c, const std::string& sAlias,
                                      std::vector<Fuente>& fuentes);
};

}  // namespace jet::sql
