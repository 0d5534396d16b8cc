#include "platform/jet/sql/Clona.h"

#include <utility>
#include <vector>

namespace jet::sql {

namespace {

OrigenPtr ClonaOrigen(const Origen& o);

std::shared_ptr<Consulta> Subconsulta(const std::shared_ptr<Consulta>& c, bool bPropia) {
    return c && bPropia ? Clona(*c) : c;
}

ExprPtr ClonaOpcional(const ExprPtr& e) {
    return e ? Clona(*e, true) : nullptr;
}

std::vector<Orden> ClonaOrden(const std::vector<Orden>& orden) {
    std::vector<Orden> r;
    for (const auto& o : orden) r.push_back({Clona(*o.expr, true), o.descendente, o.nColumna});
    return r;
}

OrigenPtr ClonaOrigen(const Origen& o) {
    auto c = std::make_unique<Origen>();
    c->tipo = o.tipo;
    c->nombre = o.nombre;
    c->alias = o.alias;
    c->subconsulta = Subconsulta(o.subconsulta, true);
    c->tipoUnion = o.tipoUnion;
    c->bPaso = o.bPaso;
    c->izquierdo = o.izquierdo ? ClonaOrigen(*o.izquierdo) : nullptr;
    c->derecho = o.derecho ? ClonaOrigen(*o.derecho) : nullptr;
    c->condicion = ClonaOpcional(o.condicion);
    c->sTabla = o.sTabla;
    c->sFuente = o.sFuente;
    c->columnas = o.columnas;
    c->tipos = o.tipos;
    return c;
}

Select ClonaSelect(const Select& s) {
    Select c;
    c.distinto = s.distinto;
    c.top = s.top;
    c.porcentaje = s.porcentaje;
    for (const auto& el : s.elementos) {
        ElementoSelect e;
        e.expr = ClonaOpcional(el.expr);
        e.alias = el.alias;
        e.nombre = el.nombre;
        c.elementos.push_back(std::move(e));
    }
    for (const auto& o : s.origenes) c.origenes.push_back(ClonaOrigen(*o));
    c.donde = ClonaOpcional(s.donde);
    for (const auto& a : s.agrupar) c.agrupar.push_back(Clona(*a, true));
    c.teniendo = ClonaOpcional(s.teniendo);
    c.orden = ClonaOrden(s.orden);
    c.bAgrega = s.bAgrega;
    c.bLimite = s.bLimite;
    c.limite = s.limite;
    return c;
}

}  // namespace

ExprPtr Clona(const Expr& e, bool bSubconsultas) {
    auto copia = [&](const Expr& x) {
        auto c = std::make_unique<Expr>();
        c->tipo = x.tipo;
        c->op = x.op;
        c->ops = x.ops;
        c->nombre = x.nombre;
        c->calificador = x.calificador;
        c->valor = x.valor;
        c->negada = x.negada;
        c->subconsulta = Subconsulta(x.subconsulta, bSubconsultas);
        c->tipoJet = x.tipoJet;
        c->bContador = x.bContador;
        c->bVolatil = x.bVolatil;
        return c;
    };
    // An explicit stack, as the walker walks: a chain of any length is no
    // deeper here than anywhere else.
    ExprPtr raiz = copia(e);
    std::vector<std::pair<const Expr*, Expr*>> pila{{&e, raiz.get()}};
    while (!pila.empty()) {
        auto [x, c] = pila.back();
        pila.pop_back();
        for (const auto& a : x->args) {
            c->args.push_back(copia(*a));
            pila.push_back({a.get(), c->args.back().get()});
        }
        for (const auto& o : x->orden) {
            c->orden.push_back({copia(*o.expr), o.descendente, o.nColumna});
            pila.push_back({o.expr.get(), c->orden.back().expr.get()});
        }
    }
    return raiz;
}

std::shared_ptr<Consulta> Clona(const Consulta& c) {
    auto r = std::make_shared<Consulta>();
    for (const auto& s : c.ramas) r->ramas.push_back(ClonaSelect(s));
    r->todos = c.todos;
    r->columnas = c.columnas;
    r->tipos = c.tipos;
    r->bOrdenImporta = c.bOrdenImporta;
    return r;
}

}  // namespace jet::sql
