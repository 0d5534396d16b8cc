#include "platform/jet/sql/Enlazador.h"

#include <algorithm>

#include "platform/jet/NombresJet.h"
#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/Recorrido.h"
#include "platform/jet/sql/TablaFunciones.h"

namespace jet::sql {

namespace {

bool MismoNombre(const std::string& a, const std::string& b) {
    return MismoNombreJet(a, b);
}

// SQLite finds a name in ASCII letters of any case only: one that Jet
// matches otherwise ("AÑO" for "Año") is written as its source spells it.
void Grafia(std::string& sEscrita, const std::string& sPropia) {
    if (!MismoNombreSqlite(sEscrita, sPropia))
        sEscrita = sPropia;
}

bool EsAgregado(const Expr& e) {
    if (e.tipo != TipoExpr::Funcion)
        return false;
    const FilaFuncion* f = BuscaFuncion(e.nombre);
    return f && f->bAgregado;
}

// The tables a SELECT reads, as its expressions see them.
using Fuentes = std::vector<const Origen*>;

// What travels down the whole statement.
struct Contexto {
    ICatalogo& catalogo;
};

// The clause of a SELECT being bound: where an aggregate may stand, and
// whether the SELECT's result columns can be read by name.
enum class Lugar { Resultado, Union, Donde, Agrupar, Teniendo, Orden };

// Where a name is looked up, as SQLite looks it up in the statement the
// printer writes: the SELECT's own sources; then, by their names, its
// result columns, from its join conditions, WHERE, GROUP BY, HAVING and
// ORDER BY on; then the query around a subquery of an expression, as that
// query stands in the clause that holds the subquery. A derived table of a
// FROM clause sees only the queries around its SELECT, never its siblings.
struct Ambito {
    const Fuentes& fuentes;
    const Ambito* exterior;
    Lugar lugar = Lugar::Resultado;
    const std::vector<ElementoSelect>* resultado = nullptr;  // once visible by name
};

void EnlazaConsulta(Consulta& c, Contexto& ctx, const Ambito* exterior);

// The first aggregate of e, outside its subqueries; null when none.
const Expr* PrimerAgregado(const Expr& e);

// Where an aggregate cannot stand, said as the failure says it.
const char* SinAgregados(Lugar lugar) {
    switch (lugar) {
        case Lugar::Donde:
            return "la cláusula WHERE";
        case Lugar::Union:
            return "la condición ON de una combinación";
        case Lugar::Agrupar:
            return "la cláusula GROUP BY";
        default:
            return nullptr;
    }
}

EErrorJet ErrorAgregadoMalUsado(const Expr& agregado, const char* sDonde) {
    return ErrorJet(TErrorJet::AgregadoMalUsado, {agregado.nombre, sDonde});
}

// The kind of the column e names, found where SQLite finds it; the Jet
// failure when no column or result column has that name, or two sources
// of one SELECT have it.
TipoJet Resuelve(Expr& e, const Ambito& ambito) {
    const std::string sNombre = (e.calificador.empty() ? "" : e.calificador + ".") + e.nombre;
    for (const Ambito* a = &ambito; a; a = a->exterior) {
        int n = 0;
        TipoJet tipo = TipoJet::Otro;
        const Origen* fuente = nullptr;
        size_t nColumna = 0;
        for (const Origen* f : a->fuentes) {
            if (!e.calificador.empty() && !MismoNombre(f->sFuente, e.calificador))
                continue;
            // A source's columns count once, repeated names and all.
            for (size_t k = 0; k < f->columnas.size(); ++k)
                if (MismoNombre(f->columnas[k], e.nombre)) {
                    tipo = k < f->tipos.size() ? f->tipos[k] : TipoJet::Otro;
                    fuente = f;
                    nColumna = k;
                    ++n;
                    break;
                }
        }
        if (n > 1)
            throw ErrorCampoAmbiguo(sNombre);
        if (n == 1) {
            if (!e.calificador.empty())
                Grafia(e.calificador, fuente->sFuente);
            Grafia(e.nombre, fuente->columnas[nColumna]);
            return tipo;
        }
        if (!a->resultado || !e.calificador.empty())
            continue;
        for (const ElementoSelect& el : *a->resultado) {
            if (!el.expr || !MismoNombre(el.nombre, e.nombre))
                continue;
            if (const char* sDonde = SinAgregados(a->lugar))
                if (const Expr* ag = PrimerAgregado(*el.expr))
                    throw ErrorAgregadoMalUsado(*ag, sDonde);
            Grafia(e.nombre, el.nombre);
            return el.expr->tipoJet;
        }
    }
    throw ErrorParametroSinValor(sNombre);
}

// A scalar subquery or IN's gives one value per row: one column.
void ExigeUnaColumna(const Consulta& c) {
    if (!c.columnas.empty() && c.columnas.size() != 1)
        throw ErrorJet(TErrorJet::SubconsultaVariasColumnas);
}

// A date plus or minus a number is a date; two dates apart are days.
TipoJet TipoAritmetico(const std::string& op, TipoJet a, TipoJet b) {
    if (op == "+" && (a == TipoJet::Fecha) != (b == TipoJet::Fecha))
        return TipoJet::Fecha;
    if (op == "-" && a == TipoJet::Fecha && b != TipoJet::Fecha)
        return TipoJet::Fecha;
    return TipoJet::Otro;
}

TipoJet TipoFuncion(const Expr& e, const FilaFuncion& f) {
    auto esNulo = [](const Expr& x) { return x.tipo == TipoExpr::Literal && EsNulo(x.valor); };
    if (f.eTipo == TipoResultado::Fecha)
        return TipoJet::Fecha;
    if (f.eTipo == TipoResultado::Moneda)
        return TipoJet::Moneda;
    if (e.args.empty())
        return TipoJet::Otro;
    const TipoJet a = e.args[0]->tipoJet;
    if (f.sDecimal && a == TipoJet::Decimal)
        return a;  // Decimal sums and averages stay exact
    switch (f.eTipo) {
        case TipoResultado::ComoArgumento:
            return a;
        case TipoResultado::SumaMoneda:
            return a == TipoJet::Moneda ? a : TipoJet::Otro;
        case TipoResultado::Iif: {
            const TipoJet x = e.args[1]->tipoJet, y = e.args[2]->tipoJet;
            if (x == y || esNulo(*e.args[2]))
                return x == TipoJet::Booleano ? TipoJet::Otro : x;
            if (esNulo(*e.args[1]))
                return y == TipoJet::Booleano ? TipoJet::Otro : y;
            return TipoJet::Otro;
        }
        default:
            return TipoJet::Otro;
    }
}

// Checks e and everything below it, then gives each node its kind from its
// children's. bEnAgregado: e is an argument of an aggregate.
void EnlazaExpr(Expr& e, const Ambito& ambito, Contexto& ctx, bool bCuentaTodo = false,
                bool bEnAgregado = false) {
    switch (e.tipo) {
        case TipoExpr::Asterisco:
            // Only COUNT(*) and a result column may be "*".
            if (!bCuentaTodo)
                throw ErrorSintaxis("*");
            return;
        case TipoExpr::Funcion: {
            const FilaFuncion* f = BuscaFuncion(e.nombre);
            if (!f)
                throw ErrorFuncionNoDefinida(e.nombre);
            if (e.args.size() < f->nMin || e.args.size() > f->nMax)
                throw ErrorNumeroArgumentos(e.nombre);
            if (f->bAgregado) {
                if (bEnAgregado)
                    throw ErrorAgregadoMalUsado(e, "otra función de agregado");
                if (const char* sDonde = SinAgregados(ambito.lugar))
                    throw ErrorAgregadoMalUsado(e, sDonde);
            }
            const bool bCuenta = e.nombre == "COUNT";
            for (auto& a : e.args)
                EnlazaExpr(*a, ambito, ctx, bCuenta, bEnAgregado || f->bAgregado);
            e.tipoJet = TipoFuncion(e, *f);
            return;
        }
        case TipoExpr::Subconsulta:
            EnlazaConsulta(*e.subconsulta, ctx, &ambito);
            ExigeUnaColumna(*e.subconsulta);
            // Its one column's kind.
            e.tipoJet = e.subconsulta->tipos.empty() ? TipoJet::Otro : e.subconsulta->tipos[0];
            return;
        case TipoExpr::Existe:
            EnlazaConsulta(*e.subconsulta, ctx, &ambito);
            return;
        case TipoExpr::In:
            EnlazaExpr(*e.args[0], ambito, ctx, false, bEnAgregado);
            if (e.subconsulta) {
                EnlazaConsulta(*e.subconsulta, ctx, &ambito);
                ExigeUnaColumna(*e.subconsulta);
            }
            for (size_t i = 1; i < e.args.size(); ++i)
                EnlazaExpr(*e.args[i], ambito, ctx, false, bEnAgregado);
            return;
        case TipoExpr::Columna:
            e.tipoJet = Resuelve(e, ambito);
            return;
        default:
            break;
    }
    for (auto& a : e.args) EnlazaExpr(*a, ambito, ctx, false, bEnAgregado);
    switch (e.tipo) {
        case TipoExpr::Literal:
            if (std::holds_alternative<TFecha>(e.valor))
                e.tipoJet = TipoJet::Fecha;
            else if (std::holds_alternative<TMoneda>(e.valor))
                e.tipoJet = TipoJet::Moneda;
            break;
        case TipoExpr::Binaria:
            e.tipoJet = TipoAritmetico(e.op, e.args[0]->tipoJet, e.args[1]->tipoJet);
            break;
        case TipoExpr::Cadena: {
            TipoJet t = e.args[0]->tipoJet;
            for (size_t i = 1; i < e.args.size(); ++i)
                t = TipoAritmetico(e.ops[i - 1], t, e.args[i]->tipoJet);
            e.tipoJet = t;
            break;
        }
        default:
            break;
    }
}

// nSinNombre counts the derived tables without alias of one FROM clause:
// their names depend only on their place in it, so the same derived table
// reads the same in every statement, and its kept rows serve them all.
// The join conditions wait in uniones until every source of the SELECT is
// known: SQLite reads them as it reads WHERE.
void EnlazaOrigen(Origen& o, Fuentes& fuentes, int& nSinNombre, Contexto& ctx,
                  const Ambito* exterior, std::vector<Origen*>& uniones) {
    switch (o.tipo) {
        case TipoOrigen::Tabla: {
            auto t = ctx.catalogo.DameTabla(o.nombre);
            o.sTabla = t.sNombre;
            o.sFuente = o.alias.empty() ? o.nombre : o.alias;
            o.columnas = std::move(t.columnas);
            o.tipos = std::move(t.tipos);
            fuentes.push_back(&o);
            return;
        }
        case TipoOrigen::Derivada:
            o.sFuente = o.alias.empty() ? "__d" + std::to_string(++nSinNombre) : o.alias;
            EnlazaConsulta(*o.subconsulta, ctx, exterior);
            o.columnas = o.subconsulta->columnas;
            o.tipos = o.subconsulta->tipos;
            fuentes.push_back(&o);
            return;
        case TipoOrigen::Union:
            EnlazaOrigen(*o.izquierdo, fuentes, nSinNombre, ctx, exterior, uniones);
            EnlazaOrigen(*o.derecho, fuentes, nSinNombre, ctx, exterior, uniones);
            uniones.push_back(&o);
            return;
    }
}

bool MismaColumna(const Expr& a, const Expr& b) {
    if (a.tipo != TipoExpr::Columna || b.tipo != TipoExpr::Columna ||
        !MismoNombre(a.nombre, b.nombre))
        return false;
    return a.calificador.empty() || b.calificador.empty() ||
           MismoNombre(a.calificador, b.calificador);
}

// In a query that aggregates, Jet takes a value outside an aggregate only
// from what the query groups by; anything else is a failure, never a value
// picked from some row.
void ExigeAgrupada(const Expr& e, const Select& s) {
    switch (e.tipo) {
        case TipoExpr::Literal:
        case TipoExpr::Subconsulta:
        case TipoExpr::Existe:
            return;
        case TipoExpr::Funcion:
            if (EsAgregado(e))
                return;
            break;
        default:
            break;
    }
    for (const auto& a : s.agrupar) {
        if (MismaColumna(e, *a))
            return;
        if (e.tipo != TipoExpr::Columna && e.tipo != TipoExpr::Asterisco && MismaExpresion(e, *a))
            return;
    }
    if (e.tipo == TipoExpr::Columna || e.tipo == TipoExpr::Asterisco) {
        const std::string sNombre = (e.calificador.empty() ? "" : e.calificador + ".") +
                                    (e.tipo == TipoExpr::Asterisco ? "*" : e.nombre);
        throw ErrorJet(TErrorJet::Agregado, {sNombre});
    }
    for (const auto& a : e.args) ExigeAgrupada(*a, s);
}

// "*" or "alias.*": one result column per column of the tables it names; a
// name that two tables share is told apart by its table's.
std::vector<ElementoSelect> ExpandeAsterisco(const Expr& e, const Fuentes& fuentes) {
    std::vector<ElementoSelect> r;
    bool bAlguna = false;
    for (const Origen* f : fuentes) {
        if (!e.calificador.empty() && !MismoNombre(f->sFuente, e.calificador))
            continue;
        bAlguna = true;
        for (size_t k = 0; k < f->columnas.size(); ++k) {
            const std::string& col = f->columnas[k];
            bool bRepetida = false;
            if (e.calificador.empty()) {
                for (const Origen* otra : fuentes) {
                    if (otra == f)
                        continue;
                    for (const auto& c2 : otra->columnas) bRepetida |= MismoNombre(c2, col);
                }
            }
            ElementoSelect el;
            el.expr = std::make_unique<Expr>();
            el.expr->tipo = TipoExpr::Columna;
            el.expr->calificador = f->sFuente;
            el.expr->nombre = col;
            el.expr->tipoJet = k < f->tipos.size() ? f->tipos[k] : TipoJet::Otro;
            el.nombre = bRepetida ? f->sFuente + "." + col : col;
            r.push_back(std::move(el));
        }
    }
    if (!bAlguna)
        throw ErrorTablaNoEncontrada(e.calificador.empty() ? "*" : e.calificador);
    return r;
}

// bOrdenDeUnion: s is a union's last SELECT, whose ORDER BY sorts the whole
// union by the union's column names (EnlazaConsulta).
void EnlazaSelect(Select& s, Contexto& ctx, const Ambito* exterior, bool bOrdenDeUnion) {
    Fuentes fuentes;
    int nSinNombre = 0;
    std::vector<Origen*> uniones;
    for (auto& o : s.origenes) EnlazaOrigen(*o, fuentes, nSinNombre, ctx, exterior, uniones);
    Ambito ambito{fuentes, exterior};
    s.bAgrega = false;
    for (const auto& el : s.elementos) s.bAgrega |= TieneAgregado(*el.expr);
    // The columns as written stay aside for the aggregate rule, which names
    // a "*" as such.
    std::vector<ElementoSelect> escritos = std::move(s.elementos);
    std::vector<const Expr*> comoEscritos;
    s.elementos.clear();
    int nExpr = 1000;
    for (auto& el : escritos) {
        Expr& e = *el.expr;
        comoEscritos.push_back(&e);
        if (e.tipo == TipoExpr::Asterisco) {
            for (auto& x : ExpandeAsterisco(e, fuentes)) s.elementos.push_back(std::move(x));
            continue;
        }
        // A column names its result as it is written, whatever spelling it
        // is written with for SQLite.
        const std::string sEscrito = e.nombre;
        EnlazaExpr(e, ambito, ctx);
        ElementoSelect nuevo;
        nuevo.alias = el.alias;
        if (!el.alias.empty())
            nuevo.nombre = el.alias;
        else if (e.tipo == TipoExpr::Columna)
            nuevo.nombre = sEscrito;
        else
            nuevo.nombre = "Expr" + std::to_string(nExpr++);
        nuevo.expr = std::move(el.expr);
        s.elementos.push_back(std::move(nuevo));
    }
    // From here on the result columns are read by name too.
    ambito.resultado = &s.elementos;
    ambito.lugar = Lugar::Union;
    for (Origen* u : uniones) EnlazaExpr(*u->condicion, ambito, ctx);
    ambito.lugar = Lugar::Donde;
    if (s.donde)
        EnlazaExpr(*s.donde, ambito, ctx);
    ambito.lugar = Lugar::Agrupar;
    for (auto& a : s.agrupar) EnlazaExpr(*a, ambito, ctx);
    ambito.lugar = Lugar::Teniendo;
    if (s.teniendo)
        EnlazaExpr(*s.teniendo, ambito, ctx);
    ambito.lugar = Lugar::Orden;
    for (auto& o : s.orden) {
        Expr& e = *o.expr;
        if (e.tipo == TipoExpr::Columna && e.calificador.empty()) {
            if (bOrdenDeUnion)
                continue;
            // A bare name of a result column sorts by that column.
            const auto it = std::find_if(
                s.elementos.begin(), s.elementos.end(),
                [&](const ElementoSelect& el) { return MismoNombre(el.nombre, e.nombre); });
            if (it != s.elementos.end()) {
                Grafia(e.nombre, it->nombre);
                e.tipoJet = it->expr->tipoJet;
                continue;
            }
        }
        EnlazaExpr(e, ambito, ctx);
    }

    bool bAgregada = s.bAgrega || !s.agrupar.empty() || (s.teniendo && TieneAgregado(*s.teniendo));
    for (const auto& o : s.orden) bAgregada |= TieneAgregado(*o.expr);
    if (bAgregada) {
        for (const Expr* e : comoEscritos) ExigeAgrupada(*e, s);
        if (s.teniendo)
            ExigeAgrupada(*s.teniendo, s);
        for (const auto& o : s.orden) ExigeAgrupada(*o.expr, s);
    }
    // Only a SELECT that aggregates in its columns or groups is one SQLite
    // aggregates: an aggregate in its HAVING or ORDER BY alone it cannot take.
    if (!s.bAgrega && s.agrupar.empty()) {
        const Expr* ag = s.teniendo ? PrimerAgregado(*s.teniendo) : nullptr;
        for (const auto& o : s.orden)
            if (!ag)
                ag = PrimerAgregado(*o.expr);
        if (ag)
            throw ErrorAgregadoMalUsado(
                *ag, "una consulta que no agrupa ni tiene funciones de agregado en sus columnas");
        if (s.teniendo)
            throw ErrorJet(TErrorJet::TeniendoSinAgrupar);
    }
}

void EnlazaConsulta(Consulta& c, Contexto& ctx, const Ambito* exterior) {
    const bool bUnionOrdenada = c.ramas.size() > 1 && !c.ramas.back().top;
    for (size_t k = 0; k < c.ramas.size(); ++k)
        EnlazaSelect(c.ramas[k], ctx, exterior, bUnionOrdenada && k + 1 == c.ramas.size());
    for (const auto& s : c.ramas)
        if (s.elementos.size() != c.ramas[0].elementos.size())
            throw ErrorJet(TErrorJet::ColumnasUnion);
    c.columnas.clear();
    c.tipos.clear();
    for (const auto& el : c.ramas[0].elementos) {
        c.columnas.push_back(el.nombre);
        c.tipos.push_back(el.expr->tipoJet);
    }
    // A union column keeps its kind only when every branch agrees.
    for (const auto& s : c.ramas)
        for (size_t i = 0; i < c.tipos.size() && i < s.elementos.size(); ++i)
            if (s.elementos[i].expr->tipoJet != c.tipos[i])
                c.tipos[i] = TipoJet::Otro;
    // Jet's TOP over DISTINCT rows ranks the rows the DISTINCT keeps: the
    // keys that repeat a result column are read from that column.
    for (auto& s : c.ramas) {
        if (!s.distinto || !s.top)
            continue;
        for (auto& o : s.orden) {
            for (size_t i = 0; i < s.elementos.size() && o.nColumna < 0; ++i) {
                const auto& el = s.elementos[i];
                const bool bNombre = o.expr->tipo == TipoExpr::Columna &&
                                     o.expr->calificador.empty() && o.expr->nombre == el.nombre;
                if (bNombre || MismaExpresion(*o.expr, *el.expr))
                    o.nColumna = static_cast<int>(i);
            }
        }
    }
    if (c.ramas.size() == 1)
        return;
    // The last branch's ORDER BY sorts the whole union, by column name.
    Select& ultima = c.ramas.back();
    if (ultima.top)
        return;
    for (auto& o : ultima.orden) {
        o.nColumna = -1;
        if (o.expr->tipo == TipoExpr::Columna) {
            for (const Select* s : {&c.ramas[0], &ultima})
                for (size_t i = 0; i < s->elementos.size() && o.nColumna < 0; ++i)
                    if (MismoNombre(s->elementos[i].nombre, o.expr->nombre))
                        o.nColumna = static_cast<int>(i);
        }
        if (o.nColumna < 0)
            throw ErrorParametroSinValor(o.expr->nombre);
    }
}

const Expr* PrimerAgregado(const Expr& e) {
    const Expr* r = nullptr;
    RecorreExpr(e, [&](const Expr& x) {
        if (!r && EsAgregado(x))
            r = &x;
        return !r;
    });
    return r;
}

}  // namespace

bool MismaExpresion(const Expr& a, const Expr& b) {
    if (a.tipo != b.tipo || a.op != b.op || a.ops != b.ops || a.negada != b.negada ||
        !MismoNombre(a.nombre, b.nombre) || !MismoNombre(a.calificador, b.calificador) ||
        !(a.valor == b.valor) || a.subconsulta != b.subconsulta || a.args.size() != b.args.size())
        return false;
    for (size_t i = 0; i < a.args.size(); ++i)
        if (!MismaExpresion(*a.args[i], *b.args[i]))
            return false;
    return true;
}

bool TieneAgregado(const Expr& e) {
    return PrimerAgregado(e) != nullptr;
}

void Enlazador::Enlaza(Consulta& consulta, ICatalogo& catalogo) {
    Contexto ctx{catalogo};
    EnlazaConsulta(consulta, ctx, nullptr);
}

}  // namespace jet::sql
