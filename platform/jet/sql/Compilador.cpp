#include "platform/jet/sql/Compilador.h"

#include <stdexcept>

#include "platform/jet/sql/BajaSqlite.h"
#include "platform/jet/sql/Clona.h"
#include "platform/jet/sql/Enlazador.h"
#include "platform/jet/sql/ImpresorSqlite.h"
#include "platform/jet/sql/Materializador.h"
#include "platform/jet/sql/Parser.h"
#include "platform/jet/sql/Reescrituras.h"

namespace jet::sql {

namespace {

const TPaso kPasos[] = {
    {"analiza", false, "el texto al árbol (Tokenizer, Parser)"},
    {"enlaza", false, "tablas, columnas, tipos y funciones (Enlazador)"},
    {"orden", true, "qué consultas conservan el orden de sus filas (MarcaOrden)"},
    {"distintas", true, "SELECT DISTINCT sin ORDER BY ordenado por sus columnas"},
    {"logicas", true, "cadenas largas de AND/OR en grupos"},
    {"uniones", true, "una unión como un SELECT sobre sus ramas, en el orden de Jet"},
    {"top", true, "TOP con empates como filas clasificadas"},
    {"baja", false, "cada forma de Jet como la forma de SQLite que da su resultado (BajaSqlite)"},
    {"guarda", true, "tablas derivadas guardadas por instantánea (Materializador)"},
    {"mitades", true, "una tabla derivada agrupada calculada en dos mitades a la vez"},
    {"imprime", false, "el árbol como SQL de SQLite (ImpresorSqlite)"},
};

// Each derived table the plan names, innermost first, printed and handed to
// the catalogue; a kept one becomes the table that holds its rows, so the
// text of an outer one reads the inner ones kept. The catalogue keys what it
// keeps by that text: two derived tables written alike hold the same rows.
void Guarda(Consulta& consulta, ICatalogo& catalogo, bool bMitades) {
    for (Origen* o : DerivadasGuardables(consulta)) {
        Consulta& sub = *o->subconsulta;
        const std::string sSql = ImpresorSqlite::Imprime(sub);
        const std::string sTabla =
            bMitades && PorMitades(sub)
                ? catalogo.MaterializaPorMitades(sSql,
                                                 [&] {
                                                     const TArbolesMitades m = Mitades(sub);
                                                     return TMitades{
                                                         ImpresorSqlite::Imprime(*m.muestra),
                                                         ImpresorSqlite::Imprime(*m.menor),
                                                         ImpresorSqlite::Imprime(*m.mayor)};
                                                 })
                : catalogo.Materializa(sSql);
        if (sTabla.empty())
            continue;
        o->tipo = TipoOrigen::Tabla;
        o->sTabla = sTabla;
        o->subconsulta.reset();
    }
}

}  // namespace

std::span<const TPaso> Pasos() {
    return kPasos;
}

const TPaso* BuscaPaso(const std::string& sNombre) {
    for (const TPaso& p : kPasos)
        if (sNombre == p.sNombre)
            return &p;
    return nullptr;
}

void TOpciones::Pon(const std::string& sPaso, bool bActivo) {
    const TPaso* p = BuscaPaso(sPaso);
    if (!p || !p->bOpcional)
        throw std::invalid_argument(sPaso);
    if (bActivo)
        apagados.erase(sPaso);
    else
        apagados.insert(sPaso);
}

TCompilada Compila(const std::string& sSql, ICatalogo& catalogo, const TOpciones& opciones) {
    std::shared_ptr<Consulta> consulta = Parser::Analiza(sSql);
    catalogo.Actualiza();
    TCompilada r;
    if (opciones.evidencia) {
        // Bound once to learn each source's columns; the evidence is then
        // written over an unbound copy (the binder leaves its marks).
        std::shared_ptr<Consulta> enlazada = Clona(*consulta);
        Enlazador::Enlaza(*enlazada, catalogo);
        ReescribeEvidencia(*consulta, *enlazada, *opciones.evidencia);
        r.forma = DameFormaAgregado(*enlazada);
    }
    Enlazador::Enlaza(*consulta, catalogo);
    if (opciones.Activo("orden"))
        MarcaOrden(*consulta);
    if (opciones.Activo("distintas"))
        OrdenaDistintas(*consulta);
    if (opciones.Activo("logicas"))
        AgrupaLogicas(*consulta);
    if (opciones.Activo("uniones"))
        OrdenaUniones(*consulta);
    if (opciones.Activo("top"))
        ReescribeTop(*consulta);
    BajaASqlite(*consulta);
    if (opciones.Activo("guarda"))
        Guarda(*consulta, catalogo, opciones.Activo("mitades"));
    r.sSql = ImpresorSqlite::Imprime(*consulta);
    r.columnas = std::move(consulta->columnas);
    r.tipos = std::move(consulta->tipos);
    return r;
}

}  // namespace jet::sql
