#include "platform/jet/sql/Materializador.h"

#include "platform/jet/sql/BajaSqlite.h"
#include "platform/jet/sql/Catalogo.h"
#include "platform/jet/sql/Clona.h"
#include "platform/jet/sql/Recorrido.h"

namespace jet::sql {

namespace {

// Rows computed with Now() or Rnd() answer anew each time: never kept.
bool UsaFuncionVolatil(Consulta& c) {
    bool b = false;
    RecorreConsultas(c, [&](Consulta& q) {
        for (auto& s : q.ramas)
            RecorreRaices(s, [&](Expr& raiz) {
                RecorreExpr(raiz, [&](Expr& e) {
                    b = b || e.bVolatil;
                    return !b;
                });
            });
    });
    return b;
}

// A union, rewritten or not: its first SELECT reads the union's step.
bool EsUnion(const Consulta& c) {
    if (c.ramas.size() != 1)
        return true;
    const auto& origenes = c.ramas[0].origenes;
    return origenes.size() == 1 && origenes[0]->bPaso && EsUnion(*origenes[0]->subconsulta);
}

// Reads its rows from one table, or from derived tables that each do (a
// union's branches among them), without a join: an added condition then
// cannot change the order in which the rows are read, nor so the order in
// which GROUP BY meets the rows of each group.
bool LecturaSimple(const Origen& o) {
    if (o.tipo != TipoOrigen::Derivada)
        return o.tipo == TipoOrigen::Tabla;
    for (const auto& s : o.subconsulta->ramas)
        if (s.origenes.size() != 1 || !LecturaSimple(*s.origenes[0]))
            return false;
    return true;
}

}  // namespace

bool PorMitades(Consulta& c) {
    if (c.ramas.size() != 1)
        return false;
    Select& s = c.ramas[0];
    if (s.agrupar.empty() || s.distinto || s.top || !s.orden.empty() || s.bLimite ||
        s.origenes.size() != 1 || !LecturaSimple(*s.origenes[0]))
        return false;
    // GROUP BY's terms are lowered to compare in Jet's collation.
    const Expr& t = *s.agrupar[0];
    if ((t.tipo == TipoExpr::Cotejo ? t.args[0]->tipo : t.tipo) != TipoExpr::Columna)
        return false;
    bool bVentana = false;
    RecorreRaices(s, [&](Expr& raiz) {
        RecorreExpr(raiz, [&](Expr& e) {
            bVentana = bVentana || e.tipo == TipoExpr::Ventana;
            return !bVentana;
        });
    });
    return !bVentana;
}

namespace {

bool Guardables(Consulta& c, std::vector<Origen*>& r);

// The derived tables of o that may be kept, into r; whether any of o's
// rows are computed with a volatile function.
bool GuardablesDe(Origen& o, std::vector<Origen*>& r) {
    if (o.tipo == TipoOrigen::Union) {
        const bool bIzquierdo = GuardablesDe(*o.izquierdo, r);
        return GuardablesDe(*o.derecho, r) || bIzquierdo;
    }
    if (o.tipo != TipoOrigen::Derivada)
        return false;
    Consulta& sub = *o.subconsulta;
    const bool bVolatil = Guardables(sub, r);
    // A rewrite's step is part of its query: kept with it or not at all.
    if (!o.bPaso && !EsUnion(sub) && !bVolatil)
        r.push_back(&o);
    return bVolatil;
}

// One walk, inner queries first: whether c computes anything with a
// volatile function is known from its own expressions and its children's.
bool Guardables(Consulta& c, std::vector<Origen*>& r) {
    bool bVolatil = false;
    for (auto& s : c.ramas) {
        for (auto& o : s.origenes) bVolatil = GuardablesDe(*o, r) || bVolatil;
        RecorreRaices(s, [&](Expr& raiz) {
            RecorreExpr(raiz, [&](Expr& e) {
                // An expression's subquery may read the outer rows: its
                // derived tables are never kept, but its rows count.
                if (e.subconsulta && !bVolatil)
                    bVolatil = UsaFuncionVolatil(*e.subconsulta);
                bVolatil = bVolatil || e.bVolatil;
                return !bVolatil;
            });
        });
    }
    return bVolatil;
}

ElementoSelect Elemento(ExprPtr e, const std::string& sNombre = "") {
    ElementoSelect el;
    el.expr = std::move(e);
    el.nombre = sNombre;
    return el;
}

ExprPtr Columna(const std::string& sNombre) {
    auto e = std::make_unique<Expr>();
    e->tipo = TipoExpr::Columna;
    e->nombre = sNombre;
    return e;
}

std::shared_ptr<Consulta> Una(Select s) {
    auto c = std::make_shared<Consulta>();
    c->ramas.push_back(std::move(s));
    return c;
}

// The derived table's rows of one half: its own condition and the half's.
std::shared_ptr<Consulta> Mitad(const Consulta& derivada, bool bMenor) {
    std::shared_ptr<Consulta> c = Clona(derivada);
    Select& s = c->ramas[0];
    ExprPtr mitad = CondicionDeMitad(*s.agrupar[0], bMenor);
    if (s.donde) {
        auto y = std::make_unique<Expr>();
        y->tipo = TipoExpr::Logica;
        y->op = "AND";
        y->args.push_back(std::move(s.donde));
        y->args.push_back(std::move(mitad));
        mitad = std::move(y);
    }
    s.donde = std::move(mitad);
    return c;
}

// The first rows the derived table reads, one row per value of its first
// GROUP BY term with how many rows hold it, in the order GROUP BY sorts.
std::shared_ptr<Consulta> Muestra(const Consulta& derivada) {
    const Select& s = derivada.ramas[0];
    Select primeras;
    primeras.elementos.push_back(Elemento(ClaveDeMitad(*s.agrupar[0]), "k"));
    std::shared_ptr<Consulta> copia = Clona(derivada);
    primeras.origenes = std::move(copia->ramas[0].origenes);
    primeras.donde = std::move(copia->ramas[0].donde);
    primeras.limite = TMitades::kMuestra;
    auto paso = std::make_unique<Origen>();
    paso->tipo = TipoOrigen::Derivada;
    paso->bPaso = true;
    paso->subconsulta = Una(std::move(primeras));
    Select cuenta;
    cuenta.elementos.push_back(Elemento(Columna("k")));
    auto todas = std::make_unique<Expr>();
    todas->tipo = TipoExpr::Llamada;
    todas->nombre = "COUNT";
    todas->args.push_back(std::make_unique<Expr>());
    todas->args[0]->tipo = TipoExpr::Asterisco;
    cuenta.elementos.push_back(Elemento(std::move(todas)));
    cuenta.origenes.push_back(std::move(paso));
    cuenta.agrupar.push_back(EnCotejoJet(Columna("k")));
    cuenta.orden.push_back({EnCotejoJet(Columna("k")), false, -1});
    return Una(std::move(cuenta));
}

}  // namespace

std::vector<Origen*> DerivadasGuardables(Consulta& consulta) {
    std::vector<Origen*> r;
    Guardables(consulta, r);
    return r;
}

TArbolesMitades Mitades(const Consulta& derivada) {
    return {Muestra(derivada), Mitad(derivada, true), Mitad(derivada, false)};
}

}  // namespace jet::sql
