#include "platform/jet/sql/Reescrituras.h"

#include <algorithm>

#include "platform/jet/sql/Recorrido.h"

namespace jet::sql {

namespace {

void MarcaOrdenDesde(Consulta& c, bool bImporta) {
    c.bOrdenImporta = bImporta;
    for (auto& s : c.ramas) {
        const bool bPasa = (bImporta || (s.top && s.orden.empty())) && s.origenes.size() == 1 &&
                           s.origenes[0]->tipo == TipoOrigen::Derivada && s.agrupar.empty() &&
                           s.orden.empty() && !s.distinto && !s.bAgrega;
        std::vector<Origen*> origenes;
        for (auto& o : s.origenes) origenes.push_back(o.get());
        while (!origenes.empty()) {
            Origen* o = origenes.back();
            origenes.pop_back();
            if (o->tipo == TipoOrigen::Derivada)
                MarcaOrdenDesde(*o->subconsulta, bPasa);
            else if (o->tipo == TipoOrigen::Union)
                origenes.insert(origenes.end(), {o->derecho.get(), o->izquierdo.get()});
        }
        // A subquery of an expression reads its first row: its order counts.
        RecorreRaices(s, [](Expr& raiz) {
            RecorreExpr(raiz, [](Expr& e) {
                if (e.subconsulta)
                    MarcaOrdenDesde(*e.subconsulta, true);
                return true;
            });
        });
    }
}

// The queries whose rows reach the statement's result in their order: the
// statement and the derived tables it passes on as they come.
void OrdenaDistintasDesde(Consulta& c) {
    if (!c.bOrdenImporta)
        return;
    if (c.ramas.size() == 1) {
        Select& s = c.ramas[0];
        if (s.distinto && s.orden.empty()) {
            for (size_t i = 0; i < s.elementos.size(); ++i) {
                // By position: a result column may be a constant, which
                // SQLite would read as a column number in ORDER BY.
                Orden o;
                o.expr = std::make_unique<Expr>();
                o.expr->valor = static_cast<int64_t>(i + 1);
                o.nColumna = static_cast<int>(i);
                s.orden.push_back(std::move(o));
            }
        }
    }
    for (auto& s : c.ramas)
        for (auto& o : s.origenes)
            if (o->tipo == TipoOrigen::Derivada)
                OrdenaDistintasDesde(*o->subconsulta);
}

constexpr size_t kCadenaCorta = 16;

void AgrupaLogica(Expr& e) {
    if (e.tipo != TipoExpr::Logica || e.op == "XOR" || e.args.size() <= kCadenaCorta)
        return;
    size_t nGrupo = 1;
    while (nGrupo * nGrupo < e.args.size()) ++nGrupo;
    std::vector<ExprPtr> grupos;
    for (size_t i = 0; i < e.args.size(); i += nGrupo) {
        auto g = std::make_unique<Expr>();
        g->tipo = TipoExpr::Logica;
        g->op = e.op;
        for (size_t j = i; j < std::min(e.args.size(), i + nGrupo); ++j)
            g->args.push_back(std::move(e.args[j]));
        grupos.push_back(std::move(g));
    }
    e.args = std::move(grupos);
}

}  // namespace

void MarcaOrden(Consulta& c) {
    MarcaOrdenDesde(c, true);
}

void OrdenaDistintas(Consulta& c) {
    OrdenaDistintasDesde(c);
}

void AgrupaLogicas(Consulta& c) {
    RecorreConsultas(c, [](Consulta& q) {
        for (auto& s : q.ramas)
            RecorreRaices(s, [](Expr& raiz) { RecorreExprPostorden(raiz, AgrupaLogica); });
    });
}

void Reescribe(Consulta& c) {
    MarcaOrden(c);
    OrdenaDistintas(c);
    AgrupaLogicas(c);
}

}  // namespace jet::sql
