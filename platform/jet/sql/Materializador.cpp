#include "platform/jet/sql/Materializador.h"

#include "platform/jet/sql/ImpresorSqlite.h"
#include "platform/jet/sql/Recorrido.h"
#include "platform/jet/sql/TablaFunciones.h"

namespace jet::sql {

namespace {

// Rows computed with Now() or Rnd() answer anew each time: never kept.
bool UsaFuncionVolatil(Consulta& c) {
    bool b = false;
    RecorreConsultas(c, [&](Consulta& q) {
        for (auto& s : q.ramas)
            RecorreRaices(s, [&](Expr& raiz) {
                RecorreExpr(raiz, [&](Expr& e) {
                    if (e.tipo == TipoExpr::Funcion)
                        if (const FilaFuncion* f = BuscaFuncion(e.nombre); f && f->bVolatil)
                            b = true;
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

void MaterializaOrigen(Origen& o, ICatalogo& catalogo) {
    if (o.tipo == TipoOrigen::Union) {
        MaterializaOrigen(*o.izquierdo, catalogo);
        MaterializaOrigen(*o.derecho, catalogo);
        return;
    }
    if (o.tipo != TipoOrigen::Derivada)
        return;
    Consulta& sub = *o.subconsulta;
    MaterializaDerivadas(sub, catalogo);
    // A rewrite's step is part of its query: kept with it or not at all.
    if (o.bPaso || EsUnion(sub) || UsaFuncionVolatil(sub))
        return;
    const std::string sTabla = catalogo.Materializa(ImpresorSqlite::ImprimeDerivada(sub));
    if (sTabla.empty())
        return;
    o.tipo = TipoOrigen::Tabla;
    o.sTabla = sTabla;
    o.subconsulta.reset();
}

}  // namespace

void MaterializaDerivadas(Consulta& consulta, ICatalogo& catalogo) {
    if (!catalogo.GuardaDerivadas())
        return;
    for (auto& s : consulta.ramas)
        for (auto& o : s.origenes) MaterializaOrigen(*o, catalogo);
}

}  // namespace jet::sql
