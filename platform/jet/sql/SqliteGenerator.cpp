#include "platform/jet/sql/SqliteGenerator.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "platform/jet/Comillas.h"
#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/FuncionesVba.h"

namespace jet::sql {

namespace {

std::string Mayusculas(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

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

// A chain of one operator as groups of about sqrt(n) terms: SQLite parses a
// flat chain into a tree as deep as the chain, and each parenthesis costs
// parser stack, so thousands of ORs stay within both limits this way.
std::string Encadena(const std::vector<std::string>& partes, const char* op) {
    size_t nGrupo = 1;
    while (nGrupo * nGrupo < partes.size()) ++nGrupo;
    if (partes.size() <= 16)
        nGrupo = partes.size();
    std::string s = "(";
    for (size_t i = 0; i < partes.size(); i += nGrupo) {
        if (i)
            s += op;
        if (nGrupo < partes.size())
            s += "(";
        for (size_t j = i; j < std::min(partes.size(), i + nGrupo); ++j)
            s += (j > i ? op : "") + partes[j];
        if (nGrupo < partes.size())
            s += ")";
    }
    return s + ")";
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

struct FuncionJet {
    const char* sSqlite;
    size_t nMin, nMax;
};

const std::map<std::string, FuncionJet>& Funciones() {
    static const std::map<std::string, FuncionJet> f = {
        {"UCASE", {"jet_ucase", 1, 1}},   {"LCASE", {"jet_lcase", 1, 1}},
        {"STR", {"jet_str", 1, 1}},       {"ROUND", {"jet_round", 1, 2}},
        {"INT", {"jet_int", 1, 1}},       {"FIX", {"jet_fix", 1, 1}},
        {"ABS", {"jet_abs", 1, 1}},       {"SGN", {"jet_sgn", 1, 1}},
        {"LEN", {"jet_len", 1, 1}},       {"LEFT", {"jet_left", 2, 2}},
        {"RIGHT", {"jet_right", 2, 2}},   {"MID", {"jet_mid", 2, 3}},
        {"TRIM", {"jet_trim", 1, 1}},     {"LTRIM", {"jet_ltrim", 1, 1}},
        {"RTRIM", {"jet_rtrim", 1, 1}},   {"INSTR", {"jet_instr", 2, 4}},
        {"CSTR", {"jet_cstr", 1, 1}},     {"CLNG", {"jet_clng", 1, 1}},
        {"CINT", {"jet_cint", 1, 1}},     {"CDBL", {"jet_cdbl", 1, 1}},
        {"CSNG", {"jet_cdbl", 1, 1}},     {"CCUR", {"jet_ccur", 1, 1}},
        {"VAL", {"jet_val", 1, 1}},       {"YEAR", {"jet_year", 1, 1}},
        {"MONTH", {"jet_month", 1, 1}},   {"DAY", {"jet_day", 1, 1}},
        {"HOUR", {"jet_hour", 1, 1}},     {"MINUTE", {"jet_minute", 1, 1}},
        {"SECOND", {"jet_second", 1, 1}}, {"DATESERIAL", {"jet_dateserial", 3, 3}},
        {"SPACE", {"jet_space", 1, 1}},   {"SQR", {"jet_sqr", 1, 1}},
    };
    return f;
}

}  // namespace

struct SqliteGenerator::SelectGenerado {
    const Select* s = nullptr;
    std::vector<std::string> exprs;
    std::vector<std::string> nombres;
    std::vector<TipoJet> tipos;
    std::string sCuerpo;              // FROM ... HAVING
    std::vector<std::string> claves;  // ORDER BY terms
    std::vector<std::string> clavesSinCotejo;
};

SqliteGenerator::Resultado SqliteGenerator::Genera(const Consulta& consulta) {
    nDerivadas_ = 0;
    tablasComunes_.clear();
    bOrdenImporta_ = true;
    Resultado r = GeneraConsulta(consulta, false);
    r.sSql = ConTablasComunes(r.sSql);
    return r;
}

std::string SqliteGenerator::ConTablasComunes(const std::string& sSql) const {
    if (tablasComunes_.empty())
        return sSql;
    std::string con = "WITH ";
    for (size_t i = 0; i < tablasComunes_.size(); ++i) con += (i ? ", " : "") + tablasComunes_[i];
    return con + " " + sSql;
}

// A derived table of a FROM clause cannot see the outer query's rows, so its
// rows depend only on its own text: the catalogue may keep them from an
// earlier statement. Unions stay out: their columns take their kind from the
// first branch only, which a stored copy could not keep for the others.
std::string SqliteGenerator::DerivadaMaterializada(const Consulta& c, const std::string& sAlias,
                                                   std::vector<Fuente>& fuentes) {
    if (bEnLinea_ || c.ramas.size() != 1 || !catalogo_.GuardaDerivadas())
        return "";
    SqliteGenerator aparte(catalogo_);
    aparte.bOrdenImporta_ = bOrdenImporta_;
    Resultado r = aparte.GeneraConsulta(c, true);
    if (UsaFuncionVolatil(r.sSql))
        return "";  // Now() or Rnd() answer anew: such rows are never kept
    const std::string sTabla = catalogo_.Materializa(aparte.ConTablasComunes(r.sSql));
    if (sTabla.empty())
        return "";
    fuentes.push_back(Fuente{sAlias, r.columnas, r.tipos});
    return Nombre(sTabla) + " AS " + Nombre(sAlias);
}

// Every table in a FROM clause becomes a common table of the statement's
// WITH clause instead of a nested subquery: SQLite's parser has a fixed
// stack, and the questionnaire nests its derived tables a dozen deep.
std::string SqliteGenerator::TablaComun(const std::string& sSql) {
    // A subquery inside an expression may refer to the outer query's rows,
    // which a common table cannot see: it stays where it is.
    if (bEnLinea_)
        return "(" + sSql + ")";
    const std::string sNombre = Nombre("__t" + std::to_string(tablasComunes_.size() + 1));
    tablasComunes_.push_back(sNombre + " AS (" + sSql + ")");
    return sNombre;
}

std::string SqliteGenerator::Subconsulta(const Consulta& c) {
    const bool bAntes = bEnLinea_, bOrdenAntes = bOrdenImporta_;
    bEnLinea_ = true;
    bOrdenImporta_ = true;  // a scalar subquery reads its first row
    std::string sql = GeneraConsulta(c, true).sSql;
    bEnLinea_ = bAntes;
    bOrdenImporta_ = bOrdenAntes;
    return sql;
}

SqliteGenerator::SelectGenerado SqliteGenerator::PreparaSelect(const Select& s) {
    SelectGenerado g;
    g.s = &s;
    std::vector<Fuente> fuentes;
    std::string desde;
    // The order of a derived table matters only to a query that passes its
    // rows on as they come: one source, no grouping, sorting or DISTINCT.
    const bool bOrdenPadre = bOrdenImporta_;
    bool bAgrega = false;
    for (const auto& el : s.elementos) bAgrega |= TieneAgregado(*el.expr);
    bOrdenImporta_ = (bOrdenPadre || (s.top && s.orden.empty())) && s.origenes.size() == 1 &&
                     s.origenes[0]->tipo == TipoOrigen::Derivada && s.agrupar.empty() &&
                     s.orden.empty() && !s.distinto && !bAgrega;
    for (const auto& o : s.origenes) {
        if (!desde.empty())
            desde += ", ";
        desde += GeneraOrigen(*o, fuentes);
    }
    bOrdenImporta_ = bOrdenPadre;
    const auto* fuentesAntes = fuentes_;
    fuentes_ = &fuentes;
    int nExpr = 1000;
    for (const auto& el : s.elementos) {
        const Expr& e = *el.expr;
        if (e.tipo == TipoExpr::Asterisco) {
            bool bAlguna = false;
            for (const auto& f : fuentes) {
                if (!e.calificador.empty() && Mayusculas(f.sAlias) != Mayusculas(e.calificador))
                    continue;
                bAlguna = true;
                for (size_t k = 0; k < f.columnas.size(); ++k) {
                    const std::string& col = f.columnas[k];
                    g.tipos.push_back(k < f.tipos.size() ? f.tipos[k] : TipoJet::Otro);
                    bool bRepetida = false;
                    if (e.calificador.empty()) {
                        for (const auto& otra : fuentes) {
                            if (&otra == &f)
                                continue;
                            for (const auto& c2 : otra.columnas)
                                bRepetida |= Mayusculas(c2) == Mayusculas(col);
                        }
                    }
                    g.exprs.push_back(Nombre(f.sAlias) + "." + Nombre(col));
                    g.nombres.push_back(bRepetida ? f.sAlias + "." + col : col);
                }
            }
            if (!bAlguna)
                throw ErrorTablaNoEncontrada(e.calificador.empty() ? "*" : e.calificador);
            continue;
        }
        g.tipos.push_back(TipoDe(e, fuentes));
        if (e.tipo == TipoExpr::Columna) {
            g.exprs.push_back(Valor(e));
            g.nombres.push_back(el.alias.empty() ? e.nombre : el.alias);
        } else {
            // Computed text compares as Jet compares: DISTINCT, UNION and the
            // queries built on this one inherit the collation.
            g.exprs.push_back(Valor(e) + " COLLATE JET");
            g.nombres.push_back(el.alias.empty() ? "Expr" + std::to_string(nExpr++) : el.alias);
        }
    }
    if (!desde.empty())
        g.sCuerpo += " FROM " + desde;
    if (s.donde)
        g.sCuerpo += " WHERE " + Condicion(*s.donde);
    if (!s.agrupar.empty()) {
        g.sCuerpo += " GROUP BY ";
        for (size_t i = 0; i < s.agrupar.size(); ++i)
            g.sCuerpo += (i ? ", " : "") + Valor(*s.agrupar[i]) + " COLLATE JET";
    }
    if (s.teniendo)
        g.sCuerpo += " HAVING " + Condicion(*s.teniendo);
    for (const auto& o : s.orden) {
        std::string v = Valor(*o.expr);
        g.clavesSinCotejo.push_back(v);
        g.claves.push_back(v + " COLLATE JET" + (o.descendente ? " DESC" : ""));
    }
    bool bAgregada = bAgrega || !s.agrupar.empty() || (s.teniendo && TieneAgregado(*s.teniendo));
    for (const auto& o : s.orden) bAgregada |= TieneAgregado(*o.expr);
    if (bAgregada) {
        for (const auto& el : s.elementos) ExigeAgrupada(*el.expr, s);
        if (s.teniendo)
            ExigeAgrupada(*s.teniendo, s);
        for (const auto& o : s.orden) ExigeAgrupada(*o.expr, s);
    }
    fuentes_ = fuentesAntes;
    return g;
}

// The rows of one SELECT with positional columns __c1.. plus its rank
// (__rk: Jet's ties share it), its place (__rn) and the row count (__nt).
std::string SqliteGenerator::Clasificada(const SelectGenerado& g) {
    std::string orden;
    for (size_t i = 0; i < g.claves.size(); ++i) orden += (i ? ", " : "") + g.claves[i];
    const bool bDistinto = g.s->distinto;
    std::string columnas;
    for (size_t i = 0; i < g.exprs.size(); ++i)
        columnas += (i ? ", " : "") + g.exprs[i] + " AS " + Columna(static_cast<int>(i));
    if (bDistinto) {
        // Window functions run before DISTINCT: rank the distinct rows
        // outside, with the keys taken from the columns they repeat.
        orden.clear();
        for (size_t k = 0; k < g.claves.size(); ++k) {
            std::string clave = g.claves[k];
            for (size_t i = 0; i < g.exprs.size(); ++i) {
                const std::string& sin = g.clavesSinCotejo[k];
                std::string expr = g.exprs[i];
                const std::string cola = " COLLATE JET";
                if (expr.size() > cola.size() && expr.ends_with(cola))
                    expr.resize(expr.size() - cola.size());
                if (sin == expr || sin == Nombre(g.nombres[i])) {
                    clave = Columna(static_cast<int>(i)) + clave.substr(sin.size());
                    break;
                }
            }
            orden += (k ? ", " : "") + clave;
        }
    }
    const std::string rk =
        orden.empty() ? "ROW_NUMBER() OVER ()" : "RANK() OVER (ORDER BY " + orden + ")";
    const std::string rn =
        orden.empty() ? "ROW_NUMBER() OVER ()" : "ROW_NUMBER() OVER (ORDER BY " + orden + ")";
    const std::string ventanas =
        rk + " AS \"__rk\", " + rn + " AS \"__rn\", COUNT(*) OVER () AS \"__nt\"";
    if (bDistinto)
        return "SELECT *, " + ventanas + " FROM " +
               TablaComun("SELECT DISTINCT " + columnas + g.sCuerpo);
    return "SELECT " + columnas + ", " + ventanas + g.sCuerpo;
}

std::string SqliteGenerator::FiltroTop(const SelectGenerado& g) {
    if (!g.s->top)
        return "1";
    const std::string n = Real(*g.s->top);
    if (g.s->porcentaje)
        return "(\"__rk\" - 1) * 100.0 < " + n + " * \"__nt\"";
    return "\"__rk\" <= " + n;
}

// One SELECT on its own, with its names.
std::string SqliteGenerator::Ordenada(const SelectGenerado& g, bool bDerivada, bool bOrden) {
    if (!g.s->top) {
        std::string sql = std::string("SELECT ") + (g.s->distinto ? "DISTINCT " : "");
        for (size_t i = 0; i < g.exprs.size(); ++i)
            sql += (i ? ", " : "") + g.exprs[i] + " AS " + Nombre(g.nombres[i]);
        sql += g.sCuerpo;
        if (!g.claves.empty()) {
            sql += " ORDER BY ";
            for (size_t i = 0; i < g.claves.size(); ++i) sql += (i ? ", " : "") + g.claves[i];
        }
        return sql;
    }
    std::string sql = "SELECT ";
    for (size_t i = 0; i < g.exprs.size(); ++i)
        sql += (i ? ", " : "") + Columna(static_cast<int>(i)) + " AS " + Nombre(g.nombres[i]);
    sql += " FROM " + TablaComun(Clasificada(g)) + " WHERE " + FiltroTop(g);
    if (!bOrden)
        return sql;
    sql += " ORDER BY \"__rn\"";
    return bDerivada ? sql + " LIMIT -1" : sql;
}

SqliteGenerator::Resultado SqliteGenerator::GeneraConsulta(const Consulta& c, bool bDerivada) {
    const bool bOrden = bOrdenImporta_;
    std::vector<SelectGenerado> ramas;
    for (const auto& s : c.ramas) ramas.push_back(PreparaSelect(s));
    Resultado r;
    r.columnas = ramas[0].nombres;
    r.tipos = ramas[0].tipos;
    // A union column keeps its kind only when every branch agrees.
    for (const auto& g : ramas)
        for (size_t i = 0; i < r.tipos.size() && i < g.tipos.size(); ++i)
            if (g.tipos[i] != r.tipos[i])
                r.tipos[i] = TipoJet::Otro;
    if (ramas.size() == 1) {
        r.sSql = Ordenada(ramas[0], bDerivada, bOrden);
        return r;
    }
    const SelectGenerado& ultima = ramas.back();
    const bool bOrdenFinal = !ultima.s->top && !ultima.claves.empty();
    // The last branch's ORDER BY sorts the whole union, by column name.
    std::string ordenFinal;
    if (bOrdenFinal) {
        for (const auto& o : ultima.s->orden) {
            int nCol = -1;
            if (o.expr->tipo == TipoExpr::Columna) {
                for (const std::vector<std::string>* nombres :
                     std::initializer_list<const std::vector<std::string>*>{&ramas[0].nombres,
                                                                            &ultima.nombres})
                    for (size_t i = 0; i < nombres->size() && nCol < 0; ++i)
                        if (Mayusculas((*nombres)[i]) == Mayusculas(o.expr->nombre))
                            nCol = static_cast<int>(i);
            }
            if (nCol < 0)
                throw ErrorParametroSinValor(o.expr->nombre);
            ordenFinal += std::string(ordenFinal.empty() ? "" : ", ") + Columna(nCol) +
                          " COLLATE JET" + (o.descendente ? " DESC" : "");
        }
    }
    bool bSoloTodos = true;
    for (bool b : c.todos) bSoloTodos &= b;
    std::string cuerpo;
    for (size_t k = 0; k < ramas.size(); ++k) {
        const SelectGenerado& g = ramas[k];
        const bool bPropia = g.s->top || (!g.claves.empty() && k + 1 < ramas.size());
        if (k)
            cuerpo += c.todos[k - 1] ? " UNION ALL " : " UNION ";
        std::string rama;
        if (bPropia) {
            rama = "SELECT ";
            for (size_t i = 0; i < g.exprs.size(); ++i) rama += Columna(static_cast<int>(i)) + ", ";
            rama += (bSoloTodos ? std::to_string(k) + " AS \"__b\", \"__rn\" AS \"__o\""
                                : std::string("0 AS \"__b\", 0 AS \"__o\"")) +
                    " FROM " + TablaComun(Clasificada(g)) + " WHERE " + FiltroTop(g);
        } else {
            rama = std::string("SELECT ") + (g.s->distinto ? "DISTINCT " : "");
            for (size_t i = 0; i < g.exprs.size(); ++i)
                rama += g.exprs[i] + " AS " + Columna(static_cast<int>(i)) + ", ";
            rama += (bSoloTodos ? std::to_string(k) : std::string("0")) +
                    " AS \"__b\", 0 AS \"__o\"" + g.sCuerpo;
        }
        // A branch is a subquery so that SQLite treats it as one unit.
        cuerpo += "SELECT * FROM " + TablaComun(rama);
    }
    std::string sql = "SELECT ";
    for (size_t i = 0; i < r.columnas.size(); ++i)
        sql += (i ? ", " : "") + Columna(static_cast<int>(i)) + " AS " + Nombre(r.columnas[i]);
    sql += " FROM " + TablaComun(cuerpo);
    if (bOrdenFinal)
        sql += " ORDER BY " + ordenFinal;
    else if (bSoloTodos && bOrden)
        sql += " ORDER BY \"__b\", \"__o\"";
    if (bDerivada && (bOrdenFinal || (bSoloTodos && bOrden)))
        sql += " LIMIT -1";
    r.sSql = sql;
    return r;
}

std::string SqliteGenerator::GeneraOrigen(const Origen& o, std::vector<Fuente>& fuentes) {
    switch (o.tipo) {
        case TipoOrigen::Tabla: {
            auto t = catalogo_.DameTabla(o.nombre);
            Fuente f{o.alias.empty() ? o.nombre : o.alias, t.columnas, t.tipos};
            fuentes.push_back(f);
            return Nombre(t.sNombre) + " AS " + Nombre(f.sAlias);
        }
        case TipoOrigen::Derivada: {
            const std::string sAlias =
                o.alias.empty() ? "__d" + std::to_string(++nDerivadas_) : o.alias;
            std::string sGuardada = DerivadaMaterializada(*o.subconsulta, sAlias, fuentes);
            if (!sGuardada.empty())
                return sGuardada;
            auto r = GeneraConsulta(*o.subconsulta, true);
            Fuente f{sAlias, r.columnas, r.tipos};
            fuentes.push_back(f);
            return TablaComun(r.sSql) + " AS " + Nombre(f.sAlias);
        }
        case TipoOrigen::Union: {
            std::string izq = GeneraOrigen(*o.izquierdo, fuentes);
            std::string der = GeneraOrigen(*o.derecho, fuentes);
            if (o.derecho->tipo == TipoOrigen::Union)
                der = "(" + der + ")";
            const char* tipo = o.tipoUnion == TipoUnion::Interna     ? " INNER JOIN "
                               : o.tipoUnion == TipoUnion::Izquierda ? " LEFT JOIN "
                                                                     : " RIGHT JOIN ";
            return izq + tipo + der + " ON " + Condicion(*o.condicion);
        }
    }
    return "";
}

namespace {

bool MismaColumna(const Expr& a, const Expr& b) {
    if (a.tipo != TipoExpr::Columna || b.tipo != TipoExpr::Columna ||
        Mayusculas(a.nombre) != Mayusculas(b.nombre))
        return false;
    return a.calificador.empty() || b.calificador.empty() ||
           Mayusculas(a.calificador) == Mayusculas(b.calificador);
}

}  // namespace

// In a query that aggregates, Jet takes a value outside an aggregate only
// from what the query groups by; anything else is a failure, never a value
// picked from some row.
void SqliteGenerator::ExigeAgrupada(const Expr& e, const Select& s) {
    switch (e.tipo) {
        case TipoExpr::Literal:
        case TipoExpr::Subconsulta:
        case TipoExpr::Existe:
            return;
        case TipoExpr::Funcion:
            if (EsAgregado(e))
                return;
            break;
        default:
            break;
    }
    for (const auto& a : s.agrupar) {
        if (MismaColumna(e, *a))
            return;
        if (e.tipo != TipoExpr::Columna && e.tipo != TipoExpr::Asterisco && Valor(e) == Valor(*a))
            return;
    }
    if (e.tipo == TipoExpr::Columna || e.tipo == TipoExpr::Asterisco) {
        const std::string sNombre = (e.calificador.empty() ? "" : e.calificador + ".") +
                                    (e.tipo == TipoExpr::Asterisco ? "*" : e.nombre);
        throw EErrorJet("EAgregado",
                        "Intentó ejecutar una consulta que no incluye la expresión "
                        "especificada '" +
                            sNombre + "' como parte de una función de agregado.");
    }
    for (const auto& a : e.args) ExigeAgrupada(*a, s);
}

bool SqliteGenerator::EsAgregado(const Expr& e) {
    static const std::set<std::string> agregados = {"COUNT", "SUM",   "AVG", "MIN",
                                                    "MAX",   "FIRST", "LAST"};
    return e.tipo == TipoExpr::Funcion && agregados.count(e.nombre);
}

bool SqliteGenerator::TieneAgregado(const Expr& e) {
    if (EsAgregado(e))
        return true;
    for (const auto& a : e.args)
        if (TieneAgregado(*a))
            return true;
    return false;
}

TipoJet SqliteGenerator::TipoDe(const Expr& e, const std::vector<Fuente>& fuentes) {
    auto esNulo = [](const Expr& x) { return x.tipo == TipoExpr::Literal && EsNulo(x.valor); };
    switch (e.tipo) {
        case TipoExpr::Literal:
            if (std::holds_alternative<TFecha>(e.valor))
                return TipoJet::Fecha;
            if (std::holds_alternative<TMoneda>(e.valor))
                return TipoJet::Moneda;
            return TipoJet::Otro;
        case TipoExpr::Columna:
            for (const auto& f : fuentes) {
                if (!e.calificador.empty() && Mayusculas(f.sAlias) != Mayusculas(e.calificador))
                    continue;
                for (size_t k = 0; k < f.columnas.size() && k < f.tipos.size(); ++k)
                    if (Mayusculas(f.columnas[k]) == Mayusculas(e.nombre))
                        return f.tipos[k];
            }
            return TipoJet::Otro;
        case TipoExpr::Binaria: {
            // A date plus or minus a number is a date; two dates apart are days.
            const TipoJet a = TipoDe(*e.args[0], fuentes), b = TipoDe(*e.args[1], fuentes);
            if (e.op == "+" && (a == TipoJet::Fecha) != (b == TipoJet::Fecha))
                return TipoJet::Fecha;
            if (e.op == "-" && a == TipoJet::Fecha && b != TipoJet::Fecha)
                return TipoJet::Fecha;
            return TipoJet::Otro;
        }
        case TipoExpr::Funcion: {
            const std::string& f = e.nombre;
            const FuncionVba* vba = BuscaFuncionVba(f);
            if (f == "DATESERIAL" || (vba && vba->bFecha))
                return TipoJet::Fecha;
            if (f == "CCUR")
                return TipoJet::Moneda;
            if (e.args.empty())
                return TipoJet::Otro;
            const TipoJet a = TipoDe(*e.args[0], fuentes);
            if (f == "MIN" || f == "MAX" || f == "FIRST" || f == "LAST" || f == "CVAR")
                return a;
            if (f == "SUM" && a == TipoJet::Moneda)
                return a;
            if (f == "IIF" && e.args.size() == 3) {
                const TipoJet x = TipoDe(*e.args[1], fuentes), y = TipoDe(*e.args[2], fuentes);
                if (x == y || esNulo(*e.args[2]))
                    return x == TipoJet::Booleano ? TipoJet::Otro : x;
                if (esNulo(*e.args[1]))
                    return y == TipoJet::Booleano ? TipoJet::Otro : y;
            }
            return TipoJet::Otro;
        }
        default:
            return TipoJet::Otro;
    }
}

std::string SqliteGenerator::Valor(const Expr& e) {
    return Expresion(e, false);
}
std::string SqliteGenerator::Condicion(const Expr& e) {
    return Expresion(e, true);
}

std::string SqliteGenerator::Expresion(const Expr& e, bool bCondicion) {
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
                    else
                        return Texto(v);
                },
                e.valor);
        case TipoExpr::Columna:
            return e.calificador.empty() ? Nombre(e.nombre)
                                         : Nombre(e.calificador) + "." + Nombre(e.nombre);
        case TipoExpr::Asterisco:
            throw ErrorSintaxis("*");
        case TipoExpr::Unaria:
            if (e.op == "-")
                return "(-" + Valor(*e.args[0]) + ")";
            if (EsBooleana(*e.args[0]))
                return booleano("(NOT " + Condicion(*e.args[0]) + ")");
            // NOT on a number is Jet's bitwise complement: NOT -1 is 0.
            return bCondicion ? "((~" + Valor(*e.args[0]) + ") <> 0)"
                              : "(~" + Valor(*e.args[0]) + ")";
        case TipoExpr::Binaria: {
            const std::string a = Valor(*e.args[0]), b = Valor(*e.args[1]);
            if (EsComparacion(e.op))
                return booleano("(" + a + " " + e.op + " " + b + " COLLATE JET)");
            if (e.op == "-" || e.op == "*")
                return "(" + a + " " + e.op + " " + b + ")";
            static const std::map<std::string, std::string> funciones = {
                {"+", "jet_suma"},  {"/", "jet_div"}, {"\\", "jet_divent"},
                {"MOD", "jet_mod"}, {"^", "jet_pot"}, {"&", "jet_concat"}};
            return funciones.at(e.op) + "(" + a + ", " + b + ")";
        }
        case TipoExpr::Logica: {
            if (e.op == "XOR") {
                std::string s = "(" + Condicion(*e.args[0]) + " IS TRUE)";
                for (size_t i = 1; i < e.args.size(); ++i)
                    s = "(" + s + " <> (" + Condicion(*e.args[i]) + " IS TRUE))";
                return booleano(s);
            }
            std::vector<std::string> partes;
            for (const auto& a : e.args) partes.push_back(Condicion(*a));
            return booleano(Encadena(partes, e.op == "AND" ? " AND " : " OR "));
        }
        case TipoExpr::Like:
            return booleano(std::string("(") + (e.negada ? "NOT " : "") + "jet_like(" +
                            Valor(*e.args[0]) + ", " + Valor(*e.args[1]) + "))");
        case TipoExpr::In: {
            std::string s =
                "(" + Valor(*e.args[0]) + " COLLATE JET" + (e.negada ? " NOT IN (" : " IN (");
            if (e.subconsulta) {
                s += Subconsulta(*e.subconsulta);
            } else {
                for (size_t i = 1; i < e.args.size(); ++i)
                    s += (i > 1 ? ", " : "") + Valor(*e.args[i]);
            }
            return booleano(s + "))");
        }
        case TipoExpr::Between: {
            // Access takes the bounds in either order: 5 BETWEEN 10 AND 1 holds.
            const std::string x = Valor(*e.args[0]) + " COLLATE JET BETWEEN ",
                              a = Valor(*e.args[1]), b = Valor(*e.args[2]);
            return booleano(std::string("(") + (e.negada ? "NOT " : "") + "(" + x + a + " AND " +
                            b + " OR " + x + b + " AND " + a + "))");
        }
        case TipoExpr::EsNulo:
            return booleano("(" + Valor(*e.args[0]) + (e.negada ? " IS NOT NULL)" : " IS NULL)"));
        case TipoExpr::Subconsulta:
            return "(" + Subconsulta(*e.subconsulta) + ")";
        case TipoExpr::Existe:
            return booleano("(EXISTS (" + Subconsulta(*e.subconsulta) + "))");
        case TipoExpr::Funcion:
            return Funcion(e, bCondicion);
    }
    return "";
}

std::string SqliteGenerator::Funcion(const Expr& e, bool bCondicion) {
    const std::string& f = e.nombre;
    const size_t n = e.args.size();
    auto aridad = [&](size_t a, size_t b) {
        if (n < a || n > b)
            throw ErrorNumeroArgumentos(f);
    };
    auto arg = [&](size_t i) { return Valor(*e.args[i]); };
    if (f == "IIF") {
        aridad(3, 3);
        // A Null condition takes the false branch, as CASE does.
        return "(CASE WHEN " + Condicion(*e.args[0]) + " THEN " + arg(1) + " ELSE " + arg(2) +
               " END)";
    }
    if (f == "ISNULL") {
        aridad(1, 1);
        const std::string s = "(" + arg(0) + " IS NULL)";
        return bCondicion ? s : "(-" + s + ")";
    }
    if (f == "NZ") {
        aridad(1, 2);
        return "COALESCE(" + arg(0) + ", " + (n == 2 ? arg(1) : std::string("''")) + ")";
    }
    if (f == "COUNT") {
        aridad(1, 1);
        return e.args[0]->tipo == TipoExpr::Asterisco ? "COUNT(*)" : "COUNT(" + arg(0) + ")";
    }
    if (f == "SUM" || f == "AVG") {
        aridad(1, 1);
        // Jet adds currency exactly, in ten-thousandths.
        if (f == "SUM" && fuentes_ && TipoDe(*e.args[0], *fuentes_) == TipoJet::Moneda)
            return "jet_summoneda(" + arg(0) + ")";
        return f + "(" + arg(0) + ")";
    }
    if (f == "MIN" || f == "MAX") {
        aridad(1, 1);
        return f + "(" + arg(0) + " COLLATE JET)";
    }
    if (f == "FIRST" || f == "LAST") {
        aridad(1, 1);
        return (f == "FIRST" ? "jet_first(" : "jet_last(") + arg(0) + ")";
    }
    // A date reaches SQLite as its serial: Format, IsDate and IsNumeric are told.
    const bool bFecha = (f == "FORMAT" || f == "ISDATE" || f == "ISNUMERIC") && n >= 1 &&
                        fuentes_ && TipoDe(*e.args[0], *fuentes_) == TipoJet::Fecha;
    if (f == "FORMAT" && bFecha && n <= 2)
        return "jet_format(" + arg(0) + ", " + (n == 2 ? arg(1) : "NULL") + ", 1)";
    if (f == "ISDATE" && bFecha && n == 1)
        return bCondicion ? "(" + arg(0) + " IS NOT NULL)" : "(-(" + arg(0) + " IS NOT NULL))";
    if (f == "ISNUMERIC" && bFecha && n == 1)
        return bCondicion ? "(0)" : "0";  // a date is no number to IsNumeric
    auto it = Funciones().find(f);
    const FuncionVba* vba = it == Funciones().end() ? BuscaFuncionVba(f) : nullptr;
    if (it == Funciones().end() && !vba)
        throw ErrorFuncionNoDefinida(f);
    aridad(vba ? vba->nMin : it->second.nMin, vba ? vba->nMax : it->second.nMax);
    std::string s = std::string(vba ? vba->sSqlite : it->second.sSqlite) + "(";
    for (size_t i = 0; i < n; ++i) s += (i ? ", " : "") + arg(i);
    return s + ")";
}

}  // namespace jet::sql
