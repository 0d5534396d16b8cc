#include "platform/jet/sql/Evidencia.h"

#include <cctype>

#include "platform/jet/ErroresJet.h"
#include "platform/jet/NombresJet.h"
#include "platform/jet/sql/Enlazador.h"
#include "platform/jet/sql/Recorrido.h"
#include "platform/jet/sql/TextoAscii.h"

namespace jet::sql {

namespace {

bool MismoNombre(const std::string& a, const std::string& b) {
    return MismoNombreJet(a, b);
}

bool Agrega(Select& s) {
    if (!s.agrupar.empty())
        return true;
    for (const auto& el : s.elementos)
        if (el.expr && TieneAgregado(*el.expr))
            return true;
    return false;
}

// The column as the list spells it, or empty when the list lacks it.
std::string Busca(const std::vector<std::string>& columnas, const std::string& sNombre) {
    for (const std::string& s : columnas)
        if (MismoNombre(s, sNombre))
            return s;
    return {};
}

ExprPtr Columna(const std::string& sNombre) {
    auto e = std::make_unique<Expr>();
    e->tipo = TipoExpr::Columna;
    e->nombre = sNombre;
    return e;
}

ExprPtr Maximo(const std::string& sNombre) {
    auto e = std::make_unique<Expr>();
    e->tipo = TipoExpr::Funcion;
    e->nombre = "MAX";
    e->args.push_back(Columna(sNombre));
    return e;
}

bool AgrupaPor(const Select& s, const std::string& sNombre) {
    for (const auto& a : s.agrupar)
        if (a->tipo == TipoExpr::Columna && MismoNombre(a->nombre, sNombre))
            return true;
    return false;
}

// The one source of an aggregate SELECT; the evidence reads its columns.
Origen& FuenteUnica(Select& s) {
    if (s.origenes.size() != 1 || s.origenes[0]->tipo == TipoOrigen::Union)
        throw ErrorJet(TErrorJet::EvidenciaFuenteUnica);
    return *s.origenes[0];
}

// Adds to a UNION ALL source the wanted columns that every branch can give
// without changing its rows; returns the columns the source then has.
std::vector<std::string> Ensancha(Origen& fuente, Origen& fuenteEnlazada,
                                  const std::vector<TColumnaEvidencia>& deseadas) {
    std::vector<std::string> columnas = fuenteEnlazada.columnas;
    if (fuente.tipo != TipoOrigen::Derivada || !fuente.subconsulta || !fuenteEnlazada.subconsulta)
        return columnas;
    Consulta& u = *fuente.subconsulta;
    Consulta& uEnlazada = *fuenteEnlazada.subconsulta;
    if (u.ramas.size() == 1 && uEnlazada.ramas.size() == 1) {
        // A filter that passes every column on ("SELECT * FROM (...) WHERE
        // ..."): what its source gains, it shows.
        Select& r = u.ramas[0];
        Select& rEnlazada = uEnlazada.ramas[0];
        const bool bPasa = r.elementos.size() == 1 &&
                           r.elementos[0].expr->tipo == TipoExpr::Asterisco &&
                           r.elementos[0].expr->calificador.empty() && r.origenes.size() == 1 &&
                           rEnlazada.origenes.size() == 1 && !Agrega(r) && !r.distinto;
        if (!bPasa)
            return columnas;
        for (const std::string& sNueva : Ensancha(*r.origenes[0], *rEnlazada.origenes[0], deseadas))
            if (Busca(columnas, sNueva).empty())
                columnas.push_back(sNueva);
        return columnas;
    }
    if (u.ramas.size() < 2 || u.ramas.size() != uEnlazada.ramas.size())
        return columnas;
    for (bool bTodos : u.todos)
        if (!bTodos)  // UNION removes duplicates: wider rows could stop being duplicates
            return columnas;
    for (const TColumnaEvidencia& d : deseadas) {
        if (!Busca(columnas, d.sOrigen).empty())
            continue;
        bool bTodas = true;
        for (size_t i = 0; i < u.ramas.size() && bTodas; ++i) {
            Select& r = uEnlazada.ramas[i];
            bTodas = r.origenes.size() == 1 && r.origenes[0]->tipo != TipoOrigen::Union &&
                     !Busca(r.origenes[0]->columnas, d.sOrigen).empty() &&
                     (r.agrupar.empty() || AgrupaPor(r, d.sOrigen) || d.bFijaEnGrupo);
        }
        if (!bTodas)
            continue;
        for (Select& r : u.ramas) {
            ElementoSelect el;
            el.expr = r.agrupar.empty() || AgrupaPor(r, d.sOrigen) ? Columna(d.sOrigen)
                                                                   : Maximo(d.sOrigen);
            el.alias = d.sOrigen;
            r.elementos.push_back(std::move(el));
        }
        columnas.push_back(d.sOrigen);
    }
    return columnas;
}

}  // namespace

Select* BuscaAgregado(Consulta& c) {
    Consulta* q = &c;
    while (q && !q->ramas.empty()) {
        Select& s = q->ramas[0];
        if (Agrega(s))
            return &s;
        if (s.origenes.size() != 1 || s.origenes[0]->tipo != TipoOrigen::Derivada)
            return nullptr;
        q = s.origenes[0]->subconsulta.get();
    }
    return nullptr;
}

TFormaAgregado DameFormaAgregado(Consulta& enlazada) {
    Select* s = BuscaAgregado(enlazada);
    if (!s)
        throw ErrorJet(TErrorJet::EvidenciaSinAgregado);
    const Origen& fuente = FuenteUnica(*s);
    TFormaAgregado f;
    std::string sSumada;
    for (auto& el : s->elementos)
        RecorreExpr(*el.expr, [&](Expr& e) {
            if (e.tipo != TipoExpr::Funcion)
                return true;
            const std::string sFuncion = MayusculasAscii(e.nombre);
            if (sFuncion == "COUNT")
                f.bCuenta = true;
            if (sFuncion == "SUM") {
                f.bSuma = true;
                if (sSumada.empty() && e.args.size() == 1 && e.args[0]->tipo == TipoExpr::Columna)
                    sSumada = e.args[0]->nombre;
            }
            return true;
        });
    f.bAgrupa = !s->agrupar.empty();
    if (f.bAgrupa && s->agrupar[0]->tipo == TipoExpr::Columna)
        f.sColumna = Busca(fuente.columnas, s->agrupar[0]->nombre);
    else if (!sSumada.empty())
        f.sColumna = Busca(fuente.columnas, sSumada);
    return f;
}

void ReescribeEvidencia(Consulta& c, Consulta& enlazada,
                        const std::vector<TColumnaEvidencia>& deseadas) {
    const TFormaAgregado forma = DameFormaAgregado(enlazada);
    Select* sEnlazada = BuscaAgregado(enlazada);
    Select* s = BuscaAgregado(c);
    if (!s)  // the same text parses to the same tree
        throw ErrorJet(TErrorJet::EvidenciaSinAgregado);
    const std::vector<std::string> columnas =
        Ensancha(FuenteUnica(*s), FuenteUnica(*sEnlazada), deseadas);

    std::vector<ElementoSelect> elementos;
    std::vector<std::string> tomadas;
    auto toma = [&](const std::string& sOrigen, const std::string& sNombre) {
        const std::string sColumna = Busca(columnas, sOrigen);
        if (sColumna.empty() || !Busca(tomadas, sColumna).empty())
            return;
        ElementoSelect el;
        el.expr = Columna(sColumna);
        el.alias = sNombre;
        elementos.push_back(std::move(el));
        tomadas.push_back(sColumna);
    };
    for (const TColumnaEvidencia& d : deseadas)
        // The calculation's own column keeps its name, the one the index gives.
        toma(d.sOrigen, MismoNombre(d.sOrigen, forma.sColumna) ? forma.sColumna : d.sNombre);
    if (!forma.sColumna.empty())
        toma(forma.sColumna, forma.sColumna);
    if (elementos.empty()) {
        ElementoSelect el;
        el.expr = std::make_unique<Expr>();
        el.expr->tipo = TipoExpr::Asterisco;
        elementos.push_back(std::move(el));
    }

    Select evidencia = std::move(*s);
    evidencia.elementos = std::move(elementos);
    evidencia.agrupar.clear();
    evidencia.teniendo.reset();
    evidencia.orden.clear();
    evidencia.top.reset();
    evidencia.porcentaje = false;
    evidencia.distinto = false;
    evidencia.bAgrega = false;
    c.ramas.clear();
    c.todos.clear();
    c.ramas.push_back(std::move(evidencia));
}

}  // namespace jet::sql
