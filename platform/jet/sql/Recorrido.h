#pragma once

#include <vector>

#include "platform/jet/sql/Ast.h"

// The one way the passes walk the tree. Expressions are walked with an
// explicit stack, so a walk never recurses however the tree is shaped; a
// query walk recurses once per nested query, which the parser bounds.
namespace jet::sql {

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
        for (auto it = x->args.rbegin(); it != x->args.rend(); ++it) pila.push_back(it->get());
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
        for (auto it = p.e->args.rbegin(); it != p.e->args.rend(); ++it)
            pila.push_back({it->get(), false});
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

// f(c) for c and every query nested in it: derived tables and subqueries
// of expressions, outer queries first.
template <class F>
void RecorreConsultas(Consulta& c, F&& f) {
    f(c);
    for (auto& s : c.ramas) {
        std::vector<Origen*> origenes;
        for (auto& o : s.origenes) origenes.push_back(o.get());
        while (!origenes.empty()) {
            Origen* o = origenes.back();
            origenes.pop_back();
            if (o->tipo == TipoOrigen::Derivada && o->subconsulta)
                RecorreConsultas(*o->subconsulta, f);
            if (o->tipo == TipoOrigen::Union) {
                origenes.push_back(o->derecho.get());
                origenes.push_back(o->izquierdo.get());
            }
        }
        RecorreRaices(s, [&](Expr& raiz) {
            RecorreExpr(raiz, [&](Expr& e) {
                if (e.subconsulta)
                    RecorreConsultas(*e.subconsulta, f);
                return true;
            });
        });
    }
}

}  // namespace jet::sql
