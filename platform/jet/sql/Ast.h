#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/jet/TValorJet.h"

// The syntax tree of one Access SQL query. The parser fills in what the
// statement says; the binder (Enlazador) then writes down what it means: the
// tables behind each name, every column's kind, every result column's name.
// The rewrites read both; the lowering (BajaSqlite) then turns every Jet
// form into the SQLite form that gives Jet's answer, which is all the
// printer reads.
namespace jet::sql {

struct Consulta;
struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

// What a value holds beyond SQLite's storage class: Jet keeps dates,
// currency and yes/no values apart from plain numbers.
enum class TipoJet { Otro, Fecha, Moneda, Booleano, Decimal, Simple };

// The longest chain (Cadena, or AND/OR in Logica) written for SQLite as it
// stands: SQLite's parser nests a chain as deep as it is long, so longer
// ones are written otherwise (AgrupaLogicas, and jet_cadena in BajaSqlite).
constexpr size_t kCadenaCorta = 16;

enum class TipoExpr {
    Literal,      // valor
    Columna,      // calificador.nombre
    Asterisco,    // calificador.* or * (COUNT(*) too)
    Unaria,       // op: "-", "+", "NOT"
    Binaria,      // op: "+", "-", "*", "/", "\\", "MOD", "^", "&", "=", "<>", "<", ">", "<=", ">="
    Cadena,       // args[0] ops[0] args[1] ops[1] args[2] ...: three or more operands of one
                  // precedence level, evaluated left to right (a flat "1+2-3+..." of any length)
    Logica,       // op: "AND", "OR", "XOR", over every operand of the chain
    Funcion,      // nombre(args)
    Like,         // args[0] LIKE args[1]; negada
    In,           // args[0] IN (args[1..]) or IN (subconsulta); negada
    Between,      // args[0] BETWEEN args[1] AND args[2]; negada
    EsNulo,       // args[0] IS NULL; negada
    Subconsulta,  // (SELECT ...)
    Existe,       // EXISTS (SELECT ...)
    Ventana,      // nombre(args) OVER (ORDER BY orden): RANK(), ROW_NUMBER() or COUNT(*)
                  // over the query's rows; only the rewrites write one
    // The SQLite forms, written only by the lowering. Literals then hold only
    // what SQLite holds (Null, whole numbers, doubles, text); Unaria's op is
    // written as SQLite reads it before its operand ("-", "NOT ", "~" the
    // bitwise complement, "+" the value without affinity); Binaria's op is
    // one of SQLite's own ("-", "*" and the comparisons).
    Llamada,     // nombre(args): a SQLite function as SQLite knows it (jet_suma, COALESCE...)
    Caso,        // CASE WHEN args[0] THEN args[1] ELSE args[2] END
    Cotejo,      // args[0] COLLATE JET
    Verdad,      // a truth as Jet's number: -1 true, 0 false
    Parentesis,  // (args[0])
    Prueba,      // args[0] IS NULL, IS NOT NULL or IS TRUE (op: "NULL", "NOT NULL", "TRUE")
    Rango,       // args[0] BETWEEN args[1] AND args[2], bounds in that order
    Parametro    // ?n, n the literal in valor
};

struct Orden {
    ExprPtr expr;
    bool descendente = false;
    int nColumna = -1;  // bound, for the ORDER BY of a union: the result column it names
};

struct Expr {
    TipoExpr tipo = TipoExpr::Literal;
    std::string op;
    std::vector<std::string> ops;  // Cadena only
    std::string nombre;
    std::string calificador;
    TValor valor;
    bool negada = false;
    std::vector<std::unique_ptr<Expr>> args;
    std::shared_ptr<Consulta> subconsulta;
    std::vector<Orden> orden;  // Ventana only: the order it numbers the rows in
    // Bound: the kind of value the expression yields.
    TipoJet tipoJet = TipoJet::Otro;
    // Written by the rewrites for the engine's own counters (ranks, row
    // numbers, row counts, branch numbers) and for a comparison or product
    // over them: plain SQLite integers, never compared in Jet's collation,
    // and a comparison or product written without parentheses of its own
    // (SQLite multiplies before it compares).
    bool bContador = false;
    // Lowered, for a Llamada: answers anew on each call (Now, Rnd).
    bool bVolatil = false;
};

struct ElementoSelect {
    ExprPtr expr;
    std::string alias;
    // Bound: the result column's name (the alias, the column's own name,
    // "Expr1000"...). A "*" is replaced by one element per column. The
    // rewrites leave it empty for a column passed on under its own name,
    // and write a "*" of their own over a step's columns.
    std::string nombre;
};

enum class TipoOrigen { Tabla, Derivada, Union };
enum class TipoUnion { Interna, Izquierda, Derecha };

struct Origen {
    TipoOrigen tipo = TipoOrigen::Tabla;
    std::string nombre;  // table name
    std::string alias;
    std::shared_ptr<Consulta> subconsulta;
    TipoUnion tipoUnion = TipoUnion::Interna;
    // A derived table a rewrite made: a step of its query (rows ranked, a
    // union's branch), written without a name and never kept on its own.
    bool bPaso = false;
    std::unique_ptr<Origen> izquierdo, derecho;
    ExprPtr condicion;
    // Bound, for a table or derived table: the table as the database spells
    // it (or the kept copy of a derived table), the name the query uses for
    // it, its columns and their kinds.
    std::string sTabla;
    std::string sFuente;
    std::vector<std::string> columnas;
    std::vector<TipoJet> tipos;
};
using OrigenPtr = std::unique_ptr<Origen>;

struct Select {
    bool distinto = false;
    std::optional<double> top;
    bool porcentaje = false;
    std::vector<ElementoSelect> elementos;
    std::vector<OrigenPtr> origenes;
    ExprPtr donde;
    std::vector<ExprPtr> agrupar;
    ExprPtr teniendo;
    std::vector<Orden> orden;
    bool bAgrega = false;  // bound: an aggregate in the result columns
    // Set by the rewrites where a derived query's ORDER BY carries its rows'
    // order outward: written with LIMIT -1, without which SQLite may drop an
    // ORDER BY of a subquery.
    bool bLimite = false;
    // Lowered: the LIMIT the statement is written with, if any.
    std::optional<int64_t> limite;
};

// One SELECT or a chain of them joined by UNION [ALL]; todos[i] joins
// ramas[i] and ramas[i + 1].
struct Consulta {
    std::vector<Select> ramas;
    std::vector<bool> todos;
    // Bound: the result's columns, their kinds (a union column keeps its
    // kind only when every branch agrees).
    std::vector<std::string> columnas;
    std::vector<TipoJet> tipos;
    // Whether its rows must come in order: false for a derived table whose
    // rows the outer query groups, sorts or filters anyway.
    bool bOrdenImporta = true;
};

}  // namespace jet::sql
