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

std::string ImprimeConsulta(const Consulta& c, bool bDerivada, Contexto ctx);
std::string Expresion(const Expr& e, bool bCondicion, Contexto ctx);

std::string Valor(const Expr& e, Contexto ctx) {
    return Expresion(e, false, ctx);
}
std::string Condicion(const Expr& e, Contexto ctx) {
    return Expresion(e, true, ctx);
}

std::string TerminosOrden(const std::vector<Orden>& orden, Contexto ctx) {
    std::string s;
    for (size_t i = 0; i < orden.size(); ++i) {
        const Expr& e = *orden[i].expr;
        s += (i ? ", " : "") + Valor(e, ctx) + (e.bContador ? "" : " COLLATE JET") +
             (orden[i].descendente ? " DESC" : "");
    }
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
            if (e.bContador) {
                const std::string s = a + " " + e.op + " " + b;
                return EsComparacion(e.op) ? booleano(s) : s;
            }
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
        case TipoExpr::Ventana: {
            std::string s = e.nombre + "(";
            for (size_t i = 0; i < e.args.size(); ++i)
                s += (i ? ", " : "") + Valor(*e.args[i], ctx);
            s += ") OVER (";
            if (!e.orden.empty())
                s += "ORDER BY " + TerminosOrden(e.orden, ctx);
            return s + ")";
        }
    }
    return "";
}

std::string ImprimeOrigen(const Origen& o, Contexto ctx) {
    switch (o.tipo) {
        case TipoOrigen::Tabla:
            return Nombre(o.sTabla) + " AS " + Nombre(o.sFuente);
        case TipoOrigen::Derivada: {
            const std::string sTabla = TablaComun(ImprimeConsulta(*o.subconsulta, true, ctx), ctx);
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
            return izq + tipo + der + " ON " + Condicion(*o.condicion, ctx);
        }
    }
    return "";
}

std::string Elemento(const ElementoSelect& el, Contexto ctx) {
    const Expr& e = *el.expr;
    if (e.tipo == TipoExpr::Asterisco)
        return "*";
    // Computed text compares as Jet compares: DISTINCT, UNION and the
    // queries built on this one inherit the collation.
    std::string s = Valor(e, ctx);
    if (e.tipo != TipoExpr::Columna && !e.bContador)
        s += " COLLATE JET";
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

// Which rows of a derived table with GROUP BY a statement is written for
// (TMitades): all, the sample of its first term, or one half of its groups.
enum class TParte { Entera, Muestra, Menor, Mayor };

std::string ImprimeSelect(const Select& s, bool bDerivada, Contexto ctx,
                          TParte parte = TParte::Entera) {
    // The FROM clause first: its derived tables take their names in the
    // WITH clause in the order they are written.
    std::string desde;
    for (const auto& o : s.origenes) {
        if (!desde.empty())
            desde += ", ";
        const auto it = ctx.salida.adelantadas.find(o.get());
        desde += it != ctx.salida.adelantadas.end() ? it->second : ImprimeOrigen(*o, ctx);
    }
    std::string donde = s.donde ? Condicion(*s.donde, ctx) : "";
    if (parte != TParte::Entera) {
        // Unary plus: a value without affinity, so that it compares with ?1
        // exactly as GROUP BY's sort compares it with other rows' values.
        const std::string k = "(+" + Valor(*s.agrupar[0], ctx) + ")";
        if (parte == TParte::Muestra) {
            const std::string sMuestra = "SELECT " + k + " AS \"k\" FROM " + desde +
                                         (donde.empty() ? "" : " WHERE " + donde) + " LIMIT " +
                                         std::to_string(TMitades::kMuestra);
            return "SELECT \"k\", COUNT(*) FROM (" + sMuestra +
                   ") GROUP BY \"k\" COLLATE JET ORDER BY \"k\" COLLATE JET";
        }
        const std::string sMitad = parte == TParte::Menor
                                       ? "(" + k + " IS NULL OR " + k + " <= ?1 COLLATE JET)"
                                       : "(" + k + " > ?1 COLLATE JET)";
        donde = donde.empty() ? sMitad : "(" + donde + ") AND " + sMitad;
    }
    std::string sql = std::string("SELECT ") + (s.distinto ? "DISTINCT " : "");
    for (size_t i = 0; i < s.elementos.size(); ++i)
        sql += (i ? ", " : "") + Elemento(s.elementos[i], ctx);
    if (!desde.empty())
        sql += " FROM " + desde;
    if (!donde.empty())
        sql += " WHERE " + donde;
    if (!s.agrupar.empty()) {
        sql += " GROUP BY ";
        for (size_t i = 0; i < s.agrupar.size(); ++i)
            sql += (i ? ", " : "") + Valor(*s.agrupar[i], ctx) + " COLLATE JET";
    }
    if (s.teniendo)
        sql += " HAVING " + Condicion(*s.teniendo, ctx);
    if (!s.orden.empty())
        sql += " ORDER BY " + TerminosOrden(s.orden, ctx);
    return bDerivada && s.bLimite ? sql + " LIMIT -1" : sql;
}

std::string ImprimeConsulta(const Consulta& c, bool bDerivada, Contexto ctx) {
    AdelantaFuentes(c, ctx);
    std::string sql;
    for (size_t k = 0; k < c.ramas.size(); ++k) {
        if (k)
            sql += c.todos[k - 1] ? " UNION ALL " : " UNION ";
        sql += ImprimeSelect(c.ramas[k], bDerivada, ctx);
    }
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

TMitades ImpresorSqlite::ImprimeMitades(const Consulta& consulta) {
    const auto Imprime = [&](TParte parte) {
        Salida salida;
        const Contexto ctx{salida};
        AdelantaFuentes(consulta, ctx);
        return ConTablasComunes(ImprimeSelect(consulta.ramas[0], true, ctx, parte), salida);
    };
    return {Imprime(TParte::Muestra), Imprime(TParte::Menor), Imprime(TParte::Mayor)};
}

}  // namespace jet::sql
