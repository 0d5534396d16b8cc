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
    if (sub.ramas.size() != 1 || UsaFuncionVolatil(sub))
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
