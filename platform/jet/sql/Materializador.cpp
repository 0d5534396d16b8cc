#include "platform/jet/sql/Materializador.h"

#include "platform/jet/sql/ImpresorSqlite.h"

namespace jet::sql {

namespace {

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
    if (sub.ramas.size() != 1)
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
