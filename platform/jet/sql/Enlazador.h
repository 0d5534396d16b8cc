#pragma once

#include "platform/jet/sql/Ast.h"
#include "platform/jet/sql/Catalogo.h"

namespace jet::sql {

// The binder: the first pass after the parser. It looks up every table in
// the catalogue, names derived tables that have no alias, replaces each "*"
// with the columns it stands for, names every result column, gives every
// expression its Jet kind, checks every function against the function
// table and enforces Jet's rule on aggregate queries. Names it cannot place
// in the query's own tables are left to SQLite, which also sees the outer
// query's columns. Throws the Jet failure of the first fault it meets.
class Enlazador {
public:
    static void Enlaza(Consulta& consulta, ICatalogo& catalogo);
};

// Whether two expressions are the same expression as Jet reads them (names
// in any letter case).
bool MismaExpresion(const Expr& a, const Expr& b);
// Whether the expression holds an aggregate outside its subqueries.
bool TieneAgregado(const Expr& e);

}  // namespace jet::sql
