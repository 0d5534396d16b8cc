#pragma once

#include <vector>

#include "platform/jet/sql/Ast.h"

// The one way the passes walk the tree. Expressions are walked with an
// explicit stack, so a walk never recurses however the tree is shaped; a
// query walk recurses once per nested query, which the parser bounds.
namespace jet::sql {

// The children of e, last first: its arguments, then the order terms of a
// window function.
template <class E, class G>
void HijosInvertidos(E& e, G&& g) {
    for (auto it = e.orden.rbegin(); it != e.orden.rend(); ++it) g(it->expr.get());
    for (auto it = e.args.rbegin(); it != e.args.rend(); ++it) g(it->get());
}

// f(e) for e and every expression below it, parents first; f returns false
// to leave a node's children out. Subqueries are not entered.
template <class E, class F>
void RecorreExpr(E& e, F&& f) {
    std::vector<E*> pila{&e};
    while (!pila.empty()) {
        E* x = pila.back();
        pila.pop_back();
        if (!f(*x))
            continue;
        HijosInvertidos(*x, [&](E* h) { pila.push_back(h); });
    }
}

// f(e) for every expression below e and then e, children first, so that f
// may replace a node's children without the walk seeing the replacements.
template <class F>
void RecorreExprPostorden(Expr& e, F&& f) {
    struct Paso {
        Expr* e;
        bool bHijos;
    };
    std::vector<Paso> pila{{&e, false}};
    while (!pila.empty()) {
        Paso p = pila.back();
        pila.pop_back();
        if (p.bHijos) {
            f(*p.e);
            continue;
        }
        pila.push_back({p.e, true});
        HijosInvertidos(*p.e, [&](Expr* h) { pila.push_back({h, false}); });
    }
}

// f(raiz) for every expression written directly in s (join conditions,
// result columns, WHERE, GROUP BY, HAVING, ORDER BY, in that order); the
// roots of its subqueries are not included.
template <class F>
void RecorreRaices(Select& s, F&& f) {
    std::vector<Origen*> origenes;
    for (auto& o : s.origenes) origenes.push_back(o.get());
    while (!origenes.empty()) {
        Origen* o = origenes.back();
        origenes.pop_back();
        if (o->tipo != TipoOrigen::Union)
            continue;
        origenes.push_back(o->derecho.get());
        origenes.push_back(o->izquierdo.get());
        f(*o->condicion);
    }
    for (auto& el : s.elementos) f(*el.expr);
    if (s.donde)
        f(*s.donde);
    for (auto& a : s.agrupar) f(*a);
    if (s.teniendo)
        f(*s.teniendo);
    for (auto& o : s.orden) f(*o.expr);
}

// g(q) for every query nested directly in c: its derived tables and the
// subqueries of its expressions.
template <class G>
void ConsultasHijas(Consulta& c, G&& g) {
    for (auto& s : c.ramas) {
        std::vector<Origen*> origenes;
        for (auto& o : s.origenes) origenes.push_back(o.get());
        while (!origenes.empty()) {
            Origen* o = origenes.back();
            origenes.pop_back();
            if (o->tipo == TipoOrigen::Derivada && o->subconsulta)
                g(*o->subconsulta);
            if (o->tipo == TipoOrigen::Union) {
                origenes.push_back(o->derecho.get());
                origenes.push_back(o->izquierdo.get());
            }
        }
        RecorreRaices(s, [&](Expr& raiz) {
            RecorreExpr(raiz, [&](Expr& e) {
                if (e.subconsulta)
                    g(*e.subconsulta);
                return true;
            });
        });
    }
}

// f(c) for c and every query nested in it: derived tables and subqueries
// of expressions, outer queries first.
template <class F>
void RecorreConsultas(Consulta& c, F&& f) {
    f(c);
    ConsultasHijas(c, [&](Consulta& q) { RecorreConsultas(q, f); });
}

// The same, inner queries first: f may rewrite a query into new nested
// queries, which the walk does not enter.
template <class F>
void RecorreConsultasPostorden(Consulta& c, F&& f) {
    ConsultasHijas(c, [&](Consulta& q) { RecorreConsultasPostorden(q, f); });
    f(c);
}

}  // namespace jet::sql
