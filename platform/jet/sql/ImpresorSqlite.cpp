#include "platform/jet/sql/ImpresorSqlite.h"

#include <cstdio>
#include <map>
#include <stdexcept>

#include "platform/jet/Comillas.h"

namespace jet::sql {

namespace {

std::string Nombre(const std::string& s) {
    return Entrecomilla(s, '"');
}

std::string Texto(const std::string& s) {
    return Entrecomilla(s, '\'');
}

std::string Real(double d) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    std::string s = buf;
    if (s.find_first_of(".en") == std::string::npos)
        s += ".0";
    return s;
}

// The statement being written: its WITH clause, filled in order of need,
// and the sources of a query written ahead of the steps over them.
struct Salida {
    std::vector<std::string> tablasComunes;
    std::map<const Origen*, std::string> adelantadas;
};

// Where the printer stands: inside a subquery of an expression (which may
// read the outer query's rows, so its FROM cannot become common tables).
struct Contexto {
    Salida& salida;
    bool bEnLinea = false;
};

std::string ImprimeConsulta(const Consulta& c, Contexto ctx);
std::string Expresion(const Expr& e, Contexto ctx);

std::string Lista(const std::vector<ExprPtr>& args, size_t desde, Contexto ctx) {
    std::string s;
    for (size_t i = desde; i < args.size(); ++i)
        s += (i > desde ? ", " : "") + Expresion(*args[i], ctx);
    return s;
}

std::string TerminosOrden(const std::vector<Orden>& orden, Contexto ctx) {
    std::string s;
    for (size_t i = 0; i < orden.size(); ++i)
        s += (i ? ", " : "") + Expresion(*orden[i].expr, ctx) +
             (orden[i].descendente ? " DESC" : "");
    return s;
}

std::string TablaComun(const std::string& sSql, Contexto ctx) {
    if (ctx.bEnLinea)
        return "(" + sSql + ")";
    auto& tablas = ctx.salida.tablasComunes;
    const std::string sNombre = Nombre("__t" + std::to_string(tablas.size() + 1));
    tablas.push_back(sNombre + " AS (" + sSql + ")");
    return sNombre;
}

std::string ConTablasComunes(const std::string& sSql, const Salida& salida) {
    if (salida.tablasComunes.empty())
        return sSql;
    std::string con = "WITH ";
    for (size_t i = 0; i < salida.tablasComunes.size(); ++i)
        con += (i ? ", " : "") + salida.tablasComunes[i];
    return con + " " + sSql;
}

std::string Subconsulta(const Consulta& c, Contexto ctx) {
    ctx.bEnLinea = true;
    return ImprimeConsulta(c, ctx);
}

std::string Literal(const TValor& v) {
    return std::visit(
        [](const auto& x) -> std::string {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, int64_t>)
                return std::to_string(x);
            else if constexpr (std::is_same_v<T, double>)
                return Real(x);
            else if constexpr (std::is_same_v<T, std::string>)
                return Texto(x);
            else
                return "NULL";  // the lowering leaves only SQLite's values
        },
        v);
}

std::string Expresion(const Expr& e, Contexto ctx) {
    auto hijo = [&](size_t i) { return Expresion(*e.args[i], ctx); };
    switch (e.tipo) {
        case TipoExpr::Literal:
            return Literal(e.valor);
        case TipoExpr::Columna:
            return e.calificador.empty() ? Nombre(e.nombre)
                                         : Nombre(e.calificador) + "." + Nombre(e.nombre);
        case TipoExpr::Asterisco:
            return "*";
        case TipoExpr::Unaria:
            return "(" + e.op + hijo(0) + ")";
        case TipoExpr::Binaria: {
            // The engine's counters go without parentheses of their own:
            // SQLite multiplies before it compares.
            const std::string s = hijo(0) + " " + e.op + " " + hijo(1);
            return e.bContador ? s : "(" + s + ")";
        }
        case TipoExpr::Logica: {
            std::string s = "(";
            for (size_t i = 0; i < e.args.size(); ++i) s += (i ? " " + e.op + " " : "") + hijo(i);
            return s + ")";
        }
        case TipoExpr::In:
            return "(" + hijo(0) + (e.negada ? " NOT IN (" : " IN (") +
                   (e.subconsulta ? Subconsulta(*e.subconsulta, ctx) : Lista(e.args, 1, ctx)) +
                   "))";
        case TipoExpr::Subconsulta:
            return "(" + Subconsulta(*e.subconsulta, ctx) + ")";
        case TipoExpr::Existe:
            return "(EXISTS (" + Subconsulta(*e.subconsulta, ctx) + "))";
        case TipoExpr::Ventana:
            return e.nombre + "(" + Lista(e.args, 0, ctx) + ") OVER (" +
                   (e.orden.empty() ? "" : "ORDER BY " + TerminosOrden(e.orden, ctx)) + ")";
        case TipoExpr::Llamada:
            return e.nombre + "(" + Lista(e.args, 0, ctx) + ")";
        case TipoExpr::Caso:
            return "(CASE WHEN " + hijo(0) + " THEN " + hijo(1) + " ELSE " + hijo(2) + " END)";
        case TipoExpr::Cotejo:
            return hijo(0) + " COLLATE JET";
        case TipoExpr::Verdad:
            return "(-" + hijo(0) + ")";
        case TipoExpr::Parentesis:
            return "(" + hijo(0) + ")";
        case TipoExpr::Prueba:
            return "(" + hijo(0) + " IS " + e.op + ")";
        case TipoExpr::Rango:
            return hijo(0) + " BETWEEN " + hijo(1) + " AND " + hijo(2);
        case TipoExpr::Parametro:
            return "?" + Literal(e.valor);
        case TipoExpr::Cadena:
        case TipoExpr::Funcion:
        case TipoExpr::Like:
        case TipoExpr::Between:
        case TipoExpr::EsNulo:
            break;
    }
    throw std::logic_error("una forma de Jet llegó al impresor sin pasar por BajaSqlite");
}

std::string ImprimeOrigen(const Origen& o, Contexto ctx) {
    switch (o.tipo) {
        case TipoOrigen::Tabla:
            return Nombre(o.sTabla) + " AS " + Nombre(o.sFuente);
        case TipoOrigen::Derivada: {
            const std::string sTabla = TablaComun(ImprimeConsulta(*o.subconsulta, ctx), ctx);
            return o.bPaso ? sTabla : sTabla + " AS " + Nombre(o.sFuente);
        }
        case TipoOrigen::Union: {
            std::string izq = ImprimeOrigen(*o.izquierdo, ctx);
            std::string der = ImprimeOrigen(*o.derecho, ctx);
            if (o.derecho->tipo == TipoOrigen::Union)
                der = "(" + der + ")";
            const char* tipo = o.tipoUnion == TipoUnion::Interna     ? " INNER JOIN "
                               : o.tipoUnion == TipoUnion::Izquierda ? " LEFT JOIN "
                                                                     : " RIGHT JOIN ";
            return izq + tipo + der + " ON " + Expresion(*o.condicion, ctx);
        }
    }
    return "";
}

std::string Elemento(const ElementoSelect& el, Contexto ctx) {
    const Expr& e = *el.expr;
    if (e.tipo == TipoExpr::Asterisco)
        return "*";
    const std::string s = Expresion(e, ctx);
    return el.nombre.empty() ? s : s + " AS " + Nombre(el.nombre);
}

// A query's own sources are written before the steps a rewrite made over
// them (a union's branches, ranked rows), so that the WITH clause lists
// every branch's derived tables first, then the steps, in order.
void AdelantaFuentes(const Consulta& c, Contexto ctx) {
    for (const auto& s : c.ramas) {
        for (const auto& o : s.origenes) {
            if (o->bPaso)
                AdelantaFuentes(*o->subconsulta, ctx);
            else if (!ctx.salida.adelantadas.contains(o.get()))
                ctx.salida.adelantadas[o.get()] = ImprimeOrigen(*o, ctx);
        }
    }
}

std::string ImprimeSelect(const Select& s, Contexto ctx) {
    // The FROM clause first: its derived tables take their names in the
    // WITH clause in the order they are written.
    std::string desde;
    for (const auto& o : s.origenes) {
        if (!desde.empty())
            desde += ", ";
        const auto it = ctx.salida.adelantadas.find(o.get());
        desde += it != ctx.salida.adelantadas.end() ? it->second : ImprimeOrigen(*o, ctx);
    }
    std::string sql = std::string("SELECT ") + (s.distinto ? "DISTINCT " : "");
    for (size_t i = 0; i < s.elementos.size(); ++i)
        sql += (i ? ", " : "") + Elemento(s.elementos[i], ctx);
    if (!desde.empty())
        sql += " FROM " + desde;
    if (s.donde)
        sql += " WHERE " + Expresion(*s.donde, ctx);
    if (!s.agrupar.empty())
        sql += " GROUP BY " + Lista(s.agrupar, 0, ctx);
    if (s.teniendo)
        sql += " HAVING " + Expresion(*s.teniendo, ctx);
    if (!s.orden.empty())
        sql += " ORDER BY " + TerminosOrden(s.orden, ctx);
    if (s.limite)
        sql += " LIMIT " + std::to_string(*s.limite);
    return sql;
}

std::string ImprimeConsulta(const Consulta& c, Contexto ctx) {
    AdelantaFuentes(c, ctx);
    std::string sql;
    for (size_t k = 0; k < c.ramas.size(); ++k) {
        if (k)
            sql += c.todos[k - 1] ? " UNION ALL " : " UNION ";
        sql += ImprimeSelect(c.ramas[k], ctx);
    }
    return sql;
}

}  // namespace

std::string ImpresorSqlite::Imprime(const Consulta& consulta) {
    Salida salida;
    const std::string sql = ImprimeConsulta(consulta, Contexto{salida});
    return ConTablasComunes(sql, salida);
}

}  // namespace jet::sql
