#include "platform/jet/sql/ImpresorSqlite.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/jet/Comillas.h"
#include "platform/jet/sql/TablaFunciones.h"

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

std::string Columna(int i) {
    return Nombre("__c" + std::to_string(i + 1));
}

bool EsComparacion(const std::string& op) {
    return op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
}

bool EsBooleana(const Expr& e) {
    switch (e.tipo) {
        case TipoExpr::Logica:
        case TipoExpr::Like:
        case TipoExpr::In:
        case TipoExpr::Between:
        case TipoExpr::EsNulo:
        case TipoExpr::Existe:
            return true;
        case TipoExpr::Binaria:
            return EsComparacion(e.op);
        case TipoExpr::Unaria:
            return e.op == "NOT" && EsBooleana(*e.args[0]);
        case TipoExpr::Funcion:
            return e.nombre == "ISNULL";
        default:
            return false;
    }
}

// Chains up to this many operands are written as nested calls; longer ones
// go through jet_cadena, which SQLite's parser stack takes at any length.
constexpr size_t kCadenaCorta = 16;
constexpr size_t kPorLista = 100;

// The statement being written: its WITH clause, filled in order of need.
struct Salida {
    std::vector<std::string> tablasComunes;
};

// Where the printer stands: inside a subquery of an expression (which may
// read the outer query's rows, so its FROM cannot become common tables).
struct Contexto {
    Salida& salida;
    bool bEnLinea = false;
};

std::string ImprimeConsulta(const Consulta& c, bool bDerivada, Contexto ctx);
std::string Expresion(const Expr& e, bool bCondicion, Contexto ctx);

std::string Valor(const Expr& e, Contexto ctx) {
    return Expresion(e, false, ctx);
}
std::string Condicion(const Expr& e, Contexto ctx) {
    return Expresion(e, true, ctx);
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
    return ImprimeConsulta(c, true, ctx);
}

std::string Binaria(const std::string& op, const std::string& a, const std::string& b) {
    if (op == "-" || op == "*")
        return "(" + a + " " + op + " " + b + ")";
    static const std::map<std::string, std::string> funciones = {
        {"+", "jet_suma"},  {"/", "jet_div"}, {"\\", "jet_divent"},
        {"MOD", "jet_mod"}, {"^", "jet_pot"}, {"&", "jet_concat"}};
    return funciones.at(op) + "(" + a + ", " + b + ")";
}

// A long chain: its operands packed in lists of lists (jet_lista), so the
// call nests only a few levels, and folded left to right by jet_cadena.
std::string CadenaLarga(const Expr& e, Contexto ctx) {
    std::string sOps;
    for (const auto& op : e.ops) sOps += op == "MOD" ? "M" : op;
    std::vector<std::string> nivel;
    for (const auto& a : e.args) nivel.push_back(Valor(*a, ctx));
    while (nivel.size() > kPorLista) {
        std::vector<std::string> arriba;
        for (size_t i = 0; i < nivel.size(); i += kPorLista) {
            std::string s = "jet_lista(";
            for (size_t j = i; j < std::min(nivel.size(), i + kPorLista); ++j)
                s += (j > i ? ", " : "") + nivel[j];
            arriba.push_back(s + ")");
        }
        nivel = std::move(arriba);
    }
    std::string s = "jet_cadena(" + Texto(sOps);
    for (const auto& x : nivel) s += ", " + x;
    return s + ")";
}

std::string Funcion(const Expr& e, bool bCondicion, Contexto ctx) {
    const FilaFuncion& f = *BuscaFuncion(e.nombre);
    auto arg = [&](size_t i) { return Valor(*e.args[i], ctx); };
    switch (f.eForma) {
        case FormaFuncion::Iif:
            // A Null condition takes the false branch, as CASE does.
            return "(CASE WHEN " + Condicion(*e.args[0], ctx) + " THEN " + arg(1) + " ELSE " +
                   arg(2) + " END)";
        case FormaFuncion::EsNulo: {
            const std::string s = "(" + arg(0) + " IS NULL)";
            return bCondicion ? s : "(-" + s + ")";
        }
        case FormaFuncion::Nz:
            return "COALESCE(" + arg(0) + ", " + (e.args.size() == 2 ? arg(1) : std::string("''")) +
                   ")";
        case FormaFuncion::DiceFecha: {
            // A date reaches SQLite as its serial: Format, IsDate and
            // IsNumeric are told.
            if (e.args[0]->tipoJet != TipoJet::Fecha)
                break;
            if (e.nombre == "FORMAT") {
                std::string s = std::string(f.sSqlite) + "(" + arg(0);
                for (size_t i = 1; i < 4; ++i)
                    s += ", " + (i < e.args.size() ? arg(i) : std::string("NULL"));
                return s + ", 1)";
            }
            if (e.nombre == "ISDATE") {
                const std::string s = "(" + arg(0) + " IS NOT NULL)";
                return bCondicion ? s : "(-" + s + ")";
            }
            if (e.nombre == "ISNUMERIC")
                return bCondicion ? "(0)" : "0";  // a date is no number to IsNumeric
            break;
        }
        case FormaFuncion::Llamada:
            break;
    }
    // Jet adds currency exactly, in ten-thousandths, and Decimal as decimals.
    const bool bMoneda = f.sMoneda && e.args[0]->tipoJet == TipoJet::Moneda;
    const bool bDecimal = f.sDecimal && e.args[0]->tipoJet == TipoJet::Decimal;
    std::string s = std::string(bMoneda ? f.sMoneda : bDecimal ? f.sDecimal : f.sSqlite) + "(";
    for (size_t i = 0; i < e.args.size(); ++i) {
        s += i ? ", " : "";
        s += e.args[i]->tipo == TipoExpr::Asterisco ? "*" : arg(i);
        if (f.bCotejo)
            s += " COLLATE JET";
    }
    return s + ")";
}

std::string Expresion(const Expr& e, bool bCondicion, Contexto ctx) {
    // A truth value is -1/0 where Jet wants a value, a SQLite truth in WHERE.
    auto booleano = [&](const std::string& s) { return bCondicion ? s : "(-" + s + ")"; };
    switch (e.tipo) {
        case TipoExpr::Literal:
            return std::visit(
                [](const auto& v) -> std::string {
                    using T = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<T, std::monostate>)
                        return "NULL";
                    else if constexpr (std::is_same_v<T, bool>)
                        return v ? "-1" : "0";
                    else if constexpr (std::is_same_v<T, int64_t>)
                        return std::to_string(v);
                    else if constexpr (std::is_same_v<T, double>)
                        return Real(v);
                    else if constexpr (std::is_same_v<T, TMoneda>)
                        return Real(v.nDiezMilesimos / 10000.0);
                    else if constexpr (std::is_same_v<T, TFecha>)
                        return Real(v.dSerial);
                    else if constexpr (std::is_same_v<T, std::string>)
                        return Texto(v);
                    else
                        return "NULL";  // the parser writes no literal of the file's own types
                },
                e.valor);
        case TipoExpr::Columna:
            return e.calificador.empty() ? Nombre(e.nombre)
                                         : Nombre(e.calificador) + "." + Nombre(e.nombre);
        case TipoExpr::Asterisco:
            return "*";
        case TipoExpr::Unaria:
            if (e.op == "-")
                return "(-" + Valor(*e.args[0], ctx) + ")";
            if (EsBooleana(*e.args[0]))
                return booleano("(NOT " + Condicion(*e.args[0], ctx) + ")");
            // NOT on a number is Jet's bitwise complement: NOT -1 is 0.
            return bCondicion ? "((~" + Valor(*e.args[0], ctx) + ") <> 0)"
                              : "(~" + Valor(*e.args[0], ctx) + ")";
        case TipoExpr::Binaria: {
            const std::string a = Valor(*e.args[0], ctx), b = Valor(*e.args[1], ctx);
            if (EsComparacion(e.op))
                return booleano("(" + a + " " + e.op + " " + b + " COLLATE JET)");
            return Binaria(e.op, a, b);
        }
        case TipoExpr::Cadena: {
            if (e.args.size() > kCadenaCorta)
                return CadenaLarga(e, ctx);
            std::string s = Valor(*e.args[0], ctx);
            for (size_t i = 1; i < e.args.size(); ++i)
                s = Binaria(e.ops[i - 1], s, Valor(*e.args[i], ctx));
            return s;
        }
        case TipoExpr::Logica: {
            if (e.op == "XOR") {
                std::string s = "(" + Condicion(*e.args[0], ctx) + " IS TRUE)";
                for (size_t i = 1; i < e.args.size(); ++i)
                    s = "(" + s + " <> (" + Condicion(*e.args[i], ctx) + " IS TRUE))";
                return booleano(s);
            }
            const std::string op = e.op == "AND" ? " AND " : " OR ";
            std::string s = "(";
            for (size_t i = 0; i < e.args.size(); ++i)
                s += (i ? op : "") + Condicion(*e.args[i], ctx);
            return booleano(s + ")");
        }
        case TipoExpr::Like:
            return booleano(std::string("(") + (e.negada ? "NOT " : "") + "jet_like(" +
                            Valor(*e.args[0], ctx) + ", " + Valor(*e.args[1], ctx) + "))");
        case TipoExpr::In: {
            std::string s =
                "(" + Valor(*e.args[0], ctx) + " COLLATE JET" + (e.negada ? " NOT IN (" : " IN (");
            if (e.subconsulta) {
                s += Subconsulta(*e.subconsulta, ctx);
            } else {
                for (size_t i = 1; i < e.args.size(); ++i)
                    s += (i > 1 ? ", " : "") + Valor(*e.args[i], ctx);
            }
            return booleano(s + "))");
        }
        case TipoExpr::Between: {
            // Access takes the bounds in either order: 5 BETWEEN 10 AND 1 holds.
            const std::string x = Valor(*e.args[0], ctx) + " COLLATE JET BETWEEN ",
                              a = Valor(*e.args[1], ctx), b = Valor(*e.args[2], ctx);
            return booleano(std::string("(") + (e.negada ? "NOT " : "") + "(" + x + a + " AND " +
                            b + " OR " + x + b + " AND " + a + "))");
        }
        case TipoExpr::EsNulo:
            return booleano("(" + Valor(*e.args[0], ctx) +
                            (e.negada ? " IS NOT NULL)" : " IS NULL)"));
        case TipoExpr::Subconsulta:
            return "(" + Subconsulta(*e.subconsulta, ctx) + ")";
        case TipoExpr::Existe:
            return booleano("(EXISTS (" + Subconsulta(*e.subconsulta, ctx) + "))");
        case TipoExpr::Funcion:
            return Funcion(e, bCondicion, ctx);
    }
    return "";
}

std::string ImprimeOrigen(const Origen& o, Contexto ctx) {
    switch (o.tipo) {
        case TipoOrigen::Tabla:
            return Nombre(o.sTabla) + " AS " + Nombre(o.sFuente);
        case TipoOrigen::Derivada:
            return TablaComun(ImprimeConsulta(*o.subconsulta, true, ctx), ctx) + " AS " +
                   Nombre(o.sFuente);
        case TipoOrigen::Union: {
            std::string izq = ImprimeOrigen(*o.izquierdo, ctx);
            std::string der = ImprimeOrigen(*o.derecho, ctx);
            if (o.derecho->tipo == TipoOrigen::Union)
                der = "(" + der + ")";
            const char* tipo = o.tipoUnion == TipoUnion::Interna     ? " INNER JOIN "
                               : o.tipoUnion == TipoUnion::Izquierda ? " LEFT JOIN "
                                                                     : " RIGHT JOIN ";
            return izq + tipo + der + " ON " + Condicion(*o.condicion, ctx);
        }
    }
    return "";
}

// One SELECT's pieces, written once and put together as its place needs.
struct SelectImpreso {
    const Select* s = nullptr;
    std::vector<std::string> exprs;
    std::string sCuerpo;              // FROM ... HAVING
    std::vector<std::string> claves;  // ORDER BY terms
};

SelectImpreso PreparaSelect(const Select& s, Contexto ctx) {
    SelectImpreso g;
    g.s = &s;
    std::string desde;
    for (const auto& o : s.origenes) {
        if (!desde.empty())
            desde += ", ";
        desde += ImprimeOrigen(*o, ctx);
    }
    for (const auto& el : s.elementos) {
        // Computed text compares as Jet compares: DISTINCT, UNION and the
        // queries built on this one inherit the collation.
        g.exprs.push_back(el.expr->tipo == TipoExpr::Columna
                              ? Valor(*el.expr, ctx)
                              : Valor(*el.expr, ctx) + " COLLATE JET");
    }
    if (!desde.empty())
        g.sCuerpo += " FROM " + desde;
    if (s.donde)
        g.sCuerpo += " WHERE " + Condicion(*s.donde, ctx);
    if (!s.agrupar.empty()) {
        g.sCuerpo += " GROUP BY ";
        for (size_t i = 0; i < s.agrupar.size(); ++i)
            g.sCuerpo += (i ? ", " : "") + Valor(*s.agrupar[i], ctx) + " COLLATE JET";
    }
    if (s.teniendo)
        g.sCuerpo += " HAVING " + Condicion(*s.teniendo, ctx);
    for (const auto& o : s.orden) {
        // Window functions run before DISTINCT: a ranked DISTINCT reads its
        // keys from the columns they repeat.
        const std::string v =
            s.distinto && s.top && o.nColumna >= 0 ? Columna(o.nColumna) : Valor(*o.expr, ctx);
        g.claves.push_back(v + " COLLATE JET" + (o.descendente ? " DESC" : ""));
    }
    return g;
}

// The rows of one SELECT with positional columns __c1.. plus its rank
// (__rk: Jet's ties share it), its place (__rn) and the row count (__nt).
std::string Clasificada(const SelectImpreso& g, Contexto ctx) {
    std::string orden;
    for (size_t i = 0; i < g.claves.size(); ++i) orden += (i ? ", " : "") + g.claves[i];
    std::string columnas;
    for (size_t i = 0; i < g.exprs.size(); ++i)
        columnas += (i ? ", " : "") + g.exprs[i] + " AS " + Columna(static_cast<int>(i));
    const std::string rk =
        orden.empty() ? "ROW_NUMBER() OVER ()" : "RANK() OVER (ORDER BY " + orden + ")";
    const std::string rn =
        orden.empty() ? "ROW_NUMBER() OVER ()" : "ROW_NUMBER() OVER (ORDER BY " + orden + ")";
    const std::string ventanas =
        rk + " AS \"__rk\", " + rn + " AS \"__rn\", COUNT(*) OVER () AS \"__nt\"";
    if (g.s->distinto)
        return "SELECT *, " + ventanas + " FROM " +
               TablaComun("SELECT DISTINCT " + columnas + g.sCuerpo, ctx);
    return "SELECT " + columnas + ", " + ventanas + g.sCuerpo;
}

std::string FiltroTop(const SelectImpreso& g) {
    if (!g.s->top)
        return "1";
    const std::string n = Real(*g.s->top);
    if (g.s->porcentaje)
        return "(\"__rk\" - 1) * 100.0 < " + n + " * \"__nt\"";
    return "\"__rk\" <= " + n;
}

// One SELECT on its own, with its names.
std::string Ordenada(const SelectImpreso& g, bool bDerivada, bool bOrden, Contexto ctx) {
    const auto& elementos = g.s->elementos;
    if (!g.s->top) {
        std::string sql = std::string("SELECT ") + (g.s->distinto ? "DISTINCT " : "");
        for (size_t i = 0; i < g.exprs.size(); ++i)
            sql += (i ? ", " : "") + g.exprs[i] + " AS " + Nombre(elementos[i].nombre);
        sql += g.sCuerpo;
        if (!g.claves.empty()) {
            sql += " ORDER BY ";
            for (size_t i = 0; i < g.claves.size(); ++i) sql += (i ? ", " : "") + g.claves[i];
        }
        return sql;
    }
    std::string sql = "SELECT ";
    for (size_t i = 0; i < g.exprs.size(); ++i)
        sql +=
            (i ? ", " : "") + Columna(static_cast<int>(i)) + " AS " + Nombre(elementos[i].nombre);
    sql += " FROM " + TablaComun(Clasificada(g, ctx), ctx) + " WHERE " + FiltroTop(g);
    if (!bOrden)
        return sql;
    sql += " ORDER BY \"__rn\"";
    return bDerivada ? sql + " LIMIT -1" : sql;
}

std::string ImprimeConsulta(const Consulta& c, bool bDerivada, Contexto ctx) {
    const bool bOrden = c.bOrdenImporta;
    std::vector<SelectImpreso> ramas;
    for (const auto& s : c.ramas) ramas.push_back(PreparaSelect(s, ctx));
    if (ramas.size() == 1)
        return Ordenada(ramas[0], bDerivada, bOrden, ctx);
    const SelectImpreso& ultima = ramas.back();
    const bool bOrdenFinal = !ultima.s->top && !ultima.claves.empty();
    // The last branch's ORDER BY sorts the whole union, by column name.
    std::string ordenFinal;
    if (bOrdenFinal) {
        for (const auto& o : ultima.s->orden)
            ordenFinal += std::string(ordenFinal.empty() ? "" : ", ") + Columna(o.nColumna) +
                          " COLLATE JET" + (o.descendente ? " DESC" : "");
    }
    bool bSoloTodos = true;
    for (bool b : c.todos) bSoloTodos &= b;
    std::string cuerpo;
    for (size_t k = 0; k < ramas.size(); ++k) {
        const SelectImpreso& g = ramas[k];
        const bool bPropia = g.s->top || (!g.claves.empty() && k + 1 < ramas.size());
        if (k)
            cuerpo += c.todos[k - 1] ? " UNION ALL " : " UNION ";
        std::string rama;
        if (bPropia) {
            rama = "SELECT ";
            for (size_t i = 0; i < g.exprs.size(); ++i) rama += Columna(static_cast<int>(i)) + ", ";
            rama += (bSoloTodos ? std::to_string(k) + " AS \"__b\", \"__rn\" AS \"__o\""
                                : std::string("0 AS \"__b\", 0 AS \"__o\"")) +
                    " FROM " + TablaComun(Clasificada(g, ctx), ctx) + " WHERE " + FiltroTop(g);
        } else {
            rama = std::string("SELECT ") + (g.s->distinto ? "DISTINCT " : "");
            for (size_t i = 0; i < g.exprs.size(); ++i)
                rama += g.exprs[i] + " AS " + Columna(static_cast<int>(i)) + ", ";
            rama += (bSoloTodos ? std::to_string(k) : std::string("0")) +
                    " AS \"__b\", 0 AS \"__o\"" + g.sCuerpo;
        }
        // A branch is a subquery so that SQLite treats it as one unit.
        cuerpo += "SELECT * FROM " + TablaComun(rama, ctx);
    }
    std::string sql = "SELECT ";
    for (size_t i = 0; i < c.columnas.size(); ++i)
        sql += (i ? ", " : "") + Columna(static_cast<int>(i)) + " AS " + Nombre(c.columnas[i]);
    sql += " FROM " + TablaComun(cuerpo, ctx);
    if (bOrdenFinal)
        sql += " ORDER BY " + ordenFinal;
    else if (bSoloTodos && bOrden)
        sql += " ORDER BY \"__b\", \"__o\"";
    if (bDerivada && (bOrdenFinal || (bSoloTodos && bOrden)))
        sql += " LIMIT -1";
    return sql;
}

}  // namespace

std::string ImpresorSqlite::Imprime(const Consulta& consulta) {
    Salida salida;
    const std::string sql = ImprimeConsulta(consulta, false, Contexto{salida});
    return ConTablasComunes(sql, salida);
}

std::string ImpresorSqlite::ImprimeDerivada(const Consulta& consulta) {
    Salida salida;
    const std::string sql = ImprimeConsulta(consulta, true, Contexto{salida});
    return ConTablasComunes(sql, salida);
}

}  // namespace jet::sql
