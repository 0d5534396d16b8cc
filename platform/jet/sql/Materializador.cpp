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

// A single SELECT grouping the rows of such a source by a column first, its
// groups in GROUP BY's order: two halves of its groups, split by that column,
// give its rows one after the other (TMitades).
bool PorMitades(Consulta& c) {
    if (c.ramas.size() != 1)
        return false;
    Select& s = c.ramas[0];
    if (s.agrupar.empty() || s.agrupar[0]->tipo != TipoExpr::Columna || s.distinto || s.top ||
        !s.orden.empty() || s.bLimite || s.origenes.size() != 1 || !LecturaSimple(*s.origenes[0]))
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

void MaterializaOrigen(Origen& o, ICatalogo& catalogo, bool bMitades) {
    if (o.tipo == TipoOrigen::Union) {
        MaterializaOrigen(*o.izquierdo, catalogo, bMitades);
        MaterializaOrigen(*o.derecho, catalogo, bMitades);
        return;
    }
    if (o.tipo != TipoOrigen::Derivada)
        return;
    Consulta& sub = *o.subconsulta;
    MaterializaDerivadas(sub, catalogo, bMitades);
    // A rewrite's step is part of its query: kept with it or not at all.
    if (o.bPaso || EsUnion(sub) || UsaFuncionVolatil(sub))
        return;
    const std::string sSql = ImpresorSqlite::ImprimeDerivada(sub);
    const std::string sTabla =
        bMitades && PorMitades(sub)
            ? catalogo.MaterializaPorMitades(sSql, ImpresorSqlite::ImprimeMitades(sub))
            : catalogo.Materializa(sSql);
    if (sTabla.empty())
        return;
    o.tipo = TipoOrigen::Tabla;
    o.sTabla = sTabla;
    o.subconsulta.reset();
}

}  // namespace

void MaterializaDerivadas(Consulta& consulta, ICatalogo& catalogo, bool bMitades) {
    for (auto& s : consulta.ramas)
        for (auto& o : s.origenes) MaterializaOrigen(*o, catalogo, bMitades);
}

}  // namespace jet::sql
