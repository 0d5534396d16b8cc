#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/jet/TValorJet.h"

// The syntax tree of one Access SQL query.
namespace jet::sql {

struct Consulta;

enum class TipoExpr {
    Literal,      // valor
    Columna,      // calificador.nombre
    Asterisco,    // calificador.* or * (COUNT(*) too)
    Unaria,       // op: "-", "+", "NOT"
    Binaria,      // op: "+", "-", "*", "/", "\\", "MOD", "^", "&", "=", "<>", "<", ">", "<=", ">="
    Logica,       // op: "AND", "OR", "XOR", over every operand of the chain
    Funcion,      // nombre(args)
    Like,         // args[0] LIKE args[1]; negada
    In,           // args[0] IN (args[1..]) or IN (subconsulta); negada
    Between,      // args[0] BETWEEN args[1] AND args[2]; negada
    EsNulo,       // args[0] IS NULL; negada
    Subconsulta,  // (SELECT ...)
    Existe        // EXISTS (SELECT ...)
};

struct Expr {
    TipoExpr tipo = TipoExpr::Literal;
    std::string op;
    std::string nombre;
    std::string calificador;
    TValor valor;
    bool negada = false;
    std::vector<std::unique_ptr<Expr>> args;
    std::shared_ptr<Consulta> subconsulta;
};
using ExprPtr = std::unique_ptr<Expr>;

struct ElementoSelect {
    ExprPtr expr;
    std::string alias;
};

enum class TipoOrigen { Tabla, Derivada, Union };
enum class TipoUnion { Interna, Izquierda, Derecha };

struct Origen {
    TipoOrigen tipo = TipoOrigen::Tabla;
    std::string nombre;  // table name
    std::string alias;
    std::shared_ptr<Consulta> subconsulta;
    TipoUnion tipoUnion = TipoUnion::Interna;
    std::unique_ptr<Origen> izquierdo, derecho;
    ExprPtr condicion;
};
using OrigenPtr = std::unique_ptr<Origen>;

struct Orden {
    ExprPtr expr;
    bool descendente = false;
};

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
};

// One SELECT or a chain of them joined by UNION [ALL]; todos[i] joins
// ramas[i] and ramas[i + 1].
struct Consulta {
    std::vector<Select> ramas;
    std::vector<bool> todos;
};

}  // namespace jet::sql
