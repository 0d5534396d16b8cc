#include "platform/jet/sql/Enlazador.h"

#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/Recorrido.h"
#include "platform/jet/sql/TablaFunciones.h"

namespace jet::sql {

namespace {

std::string Mayusculas(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool MismoNombre(const std::string& a, const std::string& b) {
    return Mayusculas(a) == Mayusculas(b);
}

bool EsAgregado(const Expr& e) {
    if (e.tipo != TipoExpr::Funcion)
        return false;
    const FilaFuncion* f = BuscaFuncion(e.nombre);
    return f && f->bAgregado;
}

// The tables a SELECT reads, as its expressions see them.
using Fuentes = std::vector<const Origen*>;

// What travels down the whole statement.
struct Contexto {
    ICatalogo& catalogo;
};

void EnlazaConsulta(Consulta& c, Contexto& ctx);

TipoJet TipoColumna(const Expr& e, const Fuentes& fuentes) {
    for (const Origen* f : fuentes) {
        if (!e.calificador.empty() && !MismoNombre(f->sFuente, e.calificador))
            continue;
        for (size_t k = 0; k < f->columnas.size() && k < f->tipos.size(); ++k)
            if (MismoNombre(f->columnas[k], e.nombre))
                return f->tipos[k];
    }
    return TipoJet::Otro;
}

// A date plus or minus a number is a date; two dates apart are days.
TipoJet TipoAritmetico(const std::string& op, TipoJet a, TipoJet b) {
    if (op == "+" && (a == TipoJet::Fecha) != (b == TipoJet::Fecha))
        return TipoJet::Fecha;
    if (op == "-" && a == TipoJet::Fecha && b != TipoJet::Fecha)
        return TipoJet::Fecha;
    return TipoJet::Otro;
}

TipoJet TipoFuncion(const Expr& e, const FilaFuncion& f) {
    auto esNulo = [](const Expr& x) { return x.tipo == TipoExpr::Literal && EsNulo(x.valor); };
    if (f.eTipo == TipoResultado::Fecha)
        return TipoJet::Fecha;
    if (f.eTipo == TipoResultado::Moneda)
        return TipoJet::Moneda;
    if (e.args.empty())
        return TipoJet::Otro;
    const TipoJet a = e.args[0]->tipoJet;
    if (f.sDecimal && a == TipoJet::Decimal)
        return a;  // Decimal sums and averages stay exact
    switch (f.eTipo) {
        case TipoResultado::ComoArgumento:
            return a;
        case TipoResultado::SumaMoneda:
            return a == TipoJet::Moneda ? a : TipoJet::Otro;
        case TipoResultado::Iif: {
            const TipoJet x = e.args[1]->tipoJet, y = e.args[2]->tipoJet;
            if (x == y || esNulo(*e.args[2]))
                return x == TipoJet::Booleano ? TipoJet::Otro : x;
            if (esNulo(*e.args[1]))
                return y == TipoJet::Booleano ? TipoJet::Otro : y;
            return TipoJet::Otro;
        }
        default:
            return TipoJet::Otro;
    }
}

// Checks e and everything below it in the order the printer writes it,
// then gives each node its kind from its children's.
void EnlazaExpr(Expr& e, const Fuentes& fuentes, Contexto& ctx, bool bCuentaTodo = false) {
    switch (e.tipo) {
        case TipoExpr::Asterisco:
            // Only COUNT(*) and a result column may be "*".
            if (!bCuentaTodo)
                throw ErrorSintaxis("*");
            return;
        case TipoExpr::Funcion: {
            const FilaFuncion* f = BuscaFuncion(e.nombre);
            if (!f)
                throw ErrorFuncionNoDefinida(e.nombre);
            if (e.args.size() < f->nMin || e.args.size() > f->nMax)
                throw ErrorNumeroArgumentos(e.nombre);
            const bool bCuenta = e.nombre == "COUNT";
            for (auto& a : e.args) EnlazaExpr(*a, fuentes, ctx, bCuenta);
            e.tipoJet = TipoFuncion(e, *f);
            return;
        }
        case TipoExpr::Subconsulta:
        case TipoExpr::Existe:
            EnlazaConsulta(*e.subconsulta, ctx);
            return;
        case TipoExpr::In:
            EnlazaExpr(*e.args[0], fuentes, ctx);
            if (e.subconsulta)
                EnlazaConsulta(*e.subconsulta, ctx);
            for (size_t i = 1; i < e.args.size(); ++i) EnlazaExpr(*e.args[i], fuentes, ctx);
            return;
        default:
            break;
    }
    for (auto& a : e.args) EnlazaExpr(*a, fuentes, ctx);
    switch (e.tipo) {
        case TipoExpr::Literal:
            if (std::holds_alternative<TFecha>(e.valor))
                e.tipoJet = TipoJet::Fecha;
            else if (std::holds_alternative<TMoneda>(e.valor))
                e.tipoJet = TipoJet::Moneda;
            break;
        case TipoExpr::Columna:
            e.tipoJet = TipoColumna(e, fuentes);
            break;
        case TipoExpr::Binaria:
            e.tipoJet = TipoAritmetico(e.op, e.args[0]->tipoJet, e.args[1]->tipoJet);
            break;
        case TipoExpr::Cadena: {
            TipoJet t = e.args[0]->tipoJet;
            for (size_t i = 1; i < e.args.size(); ++i)
                t = TipoAritmetico(e.ops[i - 1], t, e.args[i]->tipoJet);
            e.tipoJet = t;
            break;
        }
        default:
            break;
    }
}

// nSinNombre counts the derived tables without alias of one FROM clause:
// their names depend only on their place in it, so the same derived table
// reads the same in every statement, and its kept rows serve them all.
void EnlazaOrigen(Origen& o, Fuentes& fuentes, int& nSinNombre, Contexto& ctx) {
    switch (o.tipo) {
        case TipoOrigen::Tabla: {
            auto t = ctx.catalogo.DameTabla(o.nombre);
            o.sTabla = t.sNombre;
            o.sFuente = o.alias.empty() ? o.nombre : o.alias;
            o.columnas = std::move(t.columnas);
            o.tipos = std::move(t.tipos);
            fuentes.push_back(&o);
            return;
        }
        case TipoOrigen::Derivada:
            o.sFuente = o.alias.empty() ? "__d" + std::to_string(++nSinNombre) : o.alias;
            EnlazaConsulta(*o.subconsulta, ctx);
            o.columnas = o.subconsulta->columnas;
            o.tipos = o.subconsulta->tipos;
            fuentes.push_back(&o);
            return;
        case TipoOrigen::Union:
            EnlazaOrigen(*o.izquierdo, fuentes, nSinNombre, ctx);
            EnlazaOrigen(*o.derecho, fuentes, nSinNombre, ctx);
            EnlazaExpr(*o.condicion, fuentes, ctx);
            return;
    }
}

bool MismaColumna(const Expr& a, const Expr& b) {
    if (a.tipo != TipoExpr::Columna || b.tipo != TipoExpr::Columna ||
        !MismoNombre(a.nombre, b.nombre))
        return false;
    return a.calificador.empty() || b.calificador.empty() ||
           MismoNombre(a.calificador, b.calificador);
}

// In a query that aggregates, Jet takes a value outside an aggregate only
// from what the query groups by; anything else is a failure, never a value
// picked from some row.
void ExigeAgrupada(const Expr& e, const Select& s) {
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
        if (e.tipo != TipoExpr::Columna && e.tipo != TipoExpr::Asterisco && MismaExpresion(e, *a))
            return;
    }
    if (e.tipo == TipoExpr::Columna || e.tipo == TipoExpr::Asterisco) {
        const std::string sNombre = (e.calificador.empty() ? "" : e.calificador + ".") +
                                    (e.tipo == TipoExpr::Asterisco ? "*" : e.nombre);
        throw ErrorJet(TErrorJet::Agregado, {sNombre});
    }
    for (const auto& a : e.args) ExigeAgrupada(*a, s);
}

// "*" or "alias.*": one result column per column of the tables it names; a
// name that two tables share is told apart by its table's.
std::vector<ElementoSelect> ExpandeAsterisco(const Expr& e, const Fuentes& fuentes) {
    std::vector<ElementoSelect> r;
    bool bAlguna = false;
    for (const Origen* f : fuentes) {
        if (!e.calificador.empty() && !MismoNombre(f->sFuente, e.calificador))
            continue;
        bAlguna = true;
        for (size_t k = 0; k < f->columnas.size(); ++k) {
            const std::string& col = f->columnas[k];
            bool bRepetida = false;
            if (e.calificador.empty()) {
                for (const Origen* otra : fuentes) {
                    if (otra == f)
                        continue;
                    for (const auto& c2 : otra->columnas) bRepetida |= MismoNombre(c2, col);
                }
            }
            ElementoSelect el;
            el.expr = std::make_unique<Expr>();
            el.expr->tipo = TipoExpr::Columna;
            el.expr->calificador = f->sFuente;
            el.expr->nombre = col;
            el.expr->tipoJet = k < f->tipos.size() ? f->tipos[k] : TipoJet::Otro;
            el.nombre = bRepetida ? f->sFuente + "." + col : col;
            r.push_back(std::move(el));
        }
    }
    if (!bAlguna)
        throw ErrorTablaNoEncontrada(e.calificador.empty() ? "*" : e.calificador);
    return r;
}

void EnlazaSelect(Select& s, Contexto& ctx) {
    Fuentes fuentes;
    int nSinNombre = 0;
    for (auto& o : s.origenes) EnlazaOrigen(*o, fuentes, nSinNombre, ctx);
    s.bAgrega = false;
    for (const auto& el : s.elementos) s.bAgrega |= TieneAgregado(*el.expr);
    // The columns as written stay aside for the aggregate rule, which names
    // a "*" as such.
    std::vector<ElementoSelect> escritos = std::move(s.elementos);
    s.elementos.clear();
    int nExpr = 1000;
    for (auto& el : escritos) {
        Expr& e = *el.expr;
        if (e.tipo == TipoExpr::Asterisco) {
            for (auto& x : ExpandeAsterisco(e, fuentes)) s.elementos.push_back(std::move(x));
            continue;
        }
        EnlazaExpr(e, fuentes, ctx);
        ElementoSelect nuevo;
        nuevo.alias = el.alias;
        if (!el.alias.empty())
            nuevo.nombre = el.alias;
        else if (e.tipo == TipoExpr::Columna)
            nuevo.nombre = e.nombre;
        else
            nuevo.nombre = "Expr" + std::to_string(nExpr++);
        s.elementos.push_back(std::move(nuevo));
    }
    if (s.donde)
        EnlazaExpr(*s.donde, fuentes, ctx);
    for (auto& a : s.agrupar) EnlazaExpr(*a, fuentes, ctx);
    if (s.teniendo)
        EnlazaExpr(*s.teniendo, fuentes, ctx);
    for (auto& o : s.orden) EnlazaExpr(*o.expr, fuentes, ctx);

    bool bAgregada = s.bAgrega || !s.agrupar.empty() || (s.teniendo && TieneAgregado(*s.teniendo));
    for (const auto& o : s.orden) bAgregada |= TieneAgregado(*o.expr);
    if (bAgregada) {
        for (const auto& el : escritos) ExigeAgrupada(*el.expr, s);
        if (s.teniendo)
            ExigeAgrupada(*s.teniendo, s);
        for (const auto& o : s.orden) ExigeAgrupada(*o.expr, s);
    }
    // Give the written expressions their places back (the "*" ones are gone).
    size_t k = 0;
    for (auto& el : escritos) {
        if (el.expr->tipo == TipoExpr::Asterisco)
            continue;
        while (s.elementos[k].expr) ++k;
        s.elementos[k].expr = std::move(el.expr);
    }
}

void EnlazaConsulta(Consulta& c, Contexto& ctx) {
    for (auto& s : c.ramas) EnlazaSelect(s, ctx);
    c.columnas.clear();
    c.tipos.clear();
    for (const auto& el : c.ramas[0].elementos) {
        c.columnas.push_back(el.nombre);
        c.tipos.push_back(el.expr->tipoJet);
    }
    // A union column keeps its kind only when every branch agrees.
    for (const auto& s : c.ramas)
        for (size_t i = 0; i < c.tipos.size() && i < s.elementos.size(); ++i)
            if (s.elementos[i].expr->tipoJet != c.tipos[i])
                c.tipos[i] = TipoJet::Otro;
    // Jet's TOP over DISTINCT rows ranks the rows the DISTINCT keeps: the
    // keys that repeat a result column are read from that column.
    for (auto& s : c.ramas) {
        if (!s.distinto || !s.top)
            continue;
        for (auto& o : s.orden) {
            for (size_t i = 0; i < s.elementos.size() && o.nColumna < 0; ++i) {
                const auto& el = s.elementos[i];
                const bool bNombre = o.expr->tipo == TipoExpr::Columna &&
                                     o.expr->calificador.empty() && o.expr->nombre == el.nombre;
                if (bNombre || MismaExpresion(*o.expr, *el.expr))
                    o.nColumna = static_cast<int>(i);
            }
        }
    }
    if (c.ramas.size() == 1)
        return;
    // The last branch's ORDER BY sorts the whole union, by column name.
    Select& ultima = c.ramas.back();
    if (ultima.top)
        return;
    for (auto& o : ultima.orden) {
        o.nColumna = -1;
        if (o.expr->tipo == TipoExpr::Columna) {
            for (const Select* s : {&c.ramas[0], &ultima})
                for (size_t i = 0; i < s->elementos.size() && o.nColumna < 0; ++i)
                    if (MismoNombre(s->elementos[i].nombre, o.expr->nombre))
                        o.nColumna = static_cast<int>(i);
        }
        if (o.nColumna < 0)
            throw ErrorParametroSinValor(o.expr->nombre);
    }
}

}  // namespace

bool MismaExpresion(const Expr& a, const Expr& b) {
    if (a.tipo != b.tipo || a.op != b.op || a.ops != b.ops || a.negada != b.negada ||
        !MismoNombre(a.nombre, b.nombre) || !MismoNombre(a.calificador, b.calificador) ||
        !(a.valor == b.valor) || a.subconsulta != b.subconsulta || a.args.size() != b.args.size())
        return false;
    for (size_t i = 0; i < a.args.size(); ++i)
        if (!MismaExpresion(*a.args[i], *b.args[i]))
            return false;
    return true;
}

bool TieneAgregado(const Expr& e) {
    bool b = false;
    RecorreExpr(e, [&](const Expr& x) {
        b |= EsAgregado(x);
        return !b;
    });
    return b;
}

void Enlazador::Enlaza(Consulta& consulta, ICatalogo& catalogo) {
    Contexto ctx{catalogo};
    EnlazaConsulta(consulta, ctx);
}

}  // namespace jet::sql
