#include "platform/jet/sql/Reescrituras.h"

#include <algorithm>

#include "platform/jet/sql/Clona.h"
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

// The name a rewrite gives the i-th column of a step: positional, so that a
// union's branches and a ranked query's columns line up whatever they are
// called.
std::string Posicional(size_t i) {
    return "__c" + std::to_string(i + 1);
}

ExprPtr Columna(const std::string& sNombre, TipoJet tipo) {
    auto e = std::make_unique<Expr>();
    e->tipo = TipoExpr::Columna;
    e->nombre = sNombre;
    e->tipoJet = tipo;
    return e;
}

// A rank, row number, row count or branch number of the engine's own.
ExprPtr Contador(const std::string& sColumna) {
    auto e = Columna(sColumna, TipoJet::Otro);
    e->bContador = true;
    return e;
}

ExprPtr Numero(TValor v, bool bContador) {
    auto e = std::make_unique<Expr>();
    e->valor = std::move(v);
    e->bContador = bContador;
    return e;
}

ExprPtr Operacion(const char* op, ExprPtr a, ExprPtr b, bool bContador) {
    auto e = std::make_unique<Expr>();
    e->tipo = TipoExpr::Binaria;
    e->op = op;
    e->args.push_back(std::move(a));
    e->args.push_back(std::move(b));
    e->bContador = bContador;
    return e;
}

ExprPtr Ventana(const char* sNombre, const std::vector<Orden>& orden) {
    auto e = std::make_unique<Expr>();
    e->tipo = TipoExpr::Ventana;
    e->nombre = sNombre;
    e->bContador = true;
    for (const auto& o : orden) e->orden.push_back({Clona(*o.expr), o.descendente, o.nColumna});
    return e;
}

// "*": every column of the one source, or every row for COUNT(*).
ExprPtr Todo() {
    auto e = std::make_unique<Expr>();
    e->tipo = TipoExpr::Asterisco;
    return e;
}

ElementoSelect Elemento(ExprPtr e, const std::string& sNombre) {
    ElementoSelect el;
    el.expr = std::move(e);
    el.nombre = sNombre;
    return el;
}

// A step's rows as a derived table without a name.
OrigenPtr Paso(Consulta c) {
    // Whoever reads a step orders its rows by the step's counters.
    c.bOrdenImporta = false;
    auto o = std::make_unique<Origen>();
    o->tipo = TipoOrigen::Derivada;
    o->bPaso = true;
    o->columnas = c.columnas;
    o->tipos = c.tipos;
    o->subconsulta = std::make_shared<Consulta>(std::move(c));
    return o;
}

// A step of one SELECT or a union of them; its columns are those of the
// first SELECT, a "*" standing for the columns of the step below.
OrigenPtr Paso(std::vector<Select> ramas, std::vector<bool> todos = {}) {
    Consulta c;
    for (const auto& el : ramas[0].elementos) {
        if (el.expr->tipo == TipoExpr::Asterisco) {
            const Origen& abajo = *ramas[0].origenes[0];
            c.columnas.insert(c.columnas.end(), abajo.columnas.begin(), abajo.columnas.end());
            c.tipos.insert(c.tipos.end(), abajo.tipos.begin(), abajo.tipos.end());
        } else {
            c.columnas.push_back(el.nombre);
            c.tipos.push_back(el.expr->tipoJet);
        }
    }
    c.ramas = std::move(ramas);
    c.todos = std::move(todos);
    return Paso(std::move(c));
}

OrigenPtr Paso(Select s) {
    std::vector<Select> ramas;
    ramas.push_back(std::move(s));
    return Paso(std::move(ramas));
}

// Which rows of a ranked step TOP keeps: Jet keeps the rows tied with the
// last one, so it counts by rank (__rk), and TOP n PERCENT takes the rows
// whose rank falls within that share of the row count (__nt). Without TOP
// (a union's branch with an ORDER BY of its own) every row.
ExprPtr FiltroTop(const Select& s) {
    if (!s.top)
        return Numero(int64_t{1}, true);
    if (!s.porcentaje)
        return Operacion("<=", Contador("__rk"), Numero(*s.top, true), true);
    auto antes = Operacion("-", Contador("__rk"), Numero(int64_t{1}, true), false);
    return Operacion("<", Operacion("*", std::move(antes), Numero(100.0, true), true),
                     Operacion("*", Numero(*s.top, true), Contador("__nt"), true), true);
}

// The rows of s without TOP and ORDER BY, its columns named by position,
// each with its rank in s's order (__rk: ties share it), its place in that
// order (__rn) and the row count (__nt).
Select Clasificada(Select s) {
    // Window functions run before DISTINCT: a ranked DISTINCT reads its
    // keys from the columns they repeat.
    std::vector<Orden> claves;
    for (auto& o : s.orden) {
        ExprPtr e = s.distinto && o.nColumna >= 0
                        ? Columna(Posicional(o.nColumna), s.elementos[o.nColumna].expr->tipoJet)
                        : std::move(o.expr);
        claves.push_back({std::move(e), o.descendente, o.nColumna});
    }
    s.orden.clear();
    s.top.reset();
    s.porcentaje = false;
    for (size_t i = 0; i < s.elementos.size(); ++i) s.elementos[i].nombre = Posicional(i);
    std::vector<ElementoSelect> ventanas;
    ventanas.push_back(Elemento(Ventana(claves.empty() ? "ROW_NUMBER" : "RANK", claves), "__rk"));
    ventanas.push_back(Elemento(Ventana("ROW_NUMBER", claves), "__rn"));
    auto cuenta = Ventana("COUNT", {});
    cuenta->args.push_back(Todo());
    ventanas.push_back(Elemento(std::move(cuenta), "__nt"));
    Select r;
    if (s.distinto) {
        r.elementos.push_back(Elemento(Todo(), ""));
        r.origenes.push_back(Paso(std::move(s)));
    } else {
        r = std::move(s);
    }
    for (auto& v : ventanas) r.elementos.push_back(std::move(v));
    return r;
}

// A TOP query: its ranked rows filtered by rank; in s's order where its
// rows' order counts.
void ReescribeTopDe(Consulta& c) {
    if (c.ramas.size() != 1 || !c.ramas[0].top)
        return;
    Select& s = c.ramas[0];
    Select fuera;
    for (size_t i = 0; i < s.elementos.size(); ++i)
        fuera.elementos.push_back(
            Elemento(Columna(Posicional(i), s.elementos[i].expr->tipoJet), s.elementos[i].nombre));
    fuera.donde = FiltroTop(s);
    fuera.origenes.push_back(Paso(Clasificada(std::move(s))));
    if (c.bOrdenImporta) {
        fuera.orden.push_back({Contador("__rn"), false, -1});
        fuera.bLimite = true;
    }
    c.ramas[0] = std::move(fuera);
}

// A union as one SELECT over its branches: each branch its own step (so
// that SQLite treats it as one unit), with the columns by position, the
// branch's number (__b) and its rows' place in it (__o). The last branch's
// ORDER BY sorts the whole union, by position; a UNION ALL otherwise yields
// its branches in order, each in its own; a branch's TOP or an ORDER BY not
// in the last branch apply to that branch alone. Where some branch joins by
// UNION, which removes duplicates across branches, there is no branch order
// to keep: the branch numbers are 0.
void OrdenaUnion(Consulta& c) {
    if (c.ramas.size() < 2)
        return;
    const Select& ultima = c.ramas.back();
    const bool bOrdenFinal = !ultima.top && !ultima.orden.empty();
    std::vector<Orden> ordenFinal;
    if (bOrdenFinal)
        for (const auto& o : ultima.orden)
            ordenFinal.push_back(
                {Columna(Posicional(o.nColumna), c.tipos[o.nColumna]), o.descendente, -1});
    bool bSoloTodos = true;
    for (bool b : c.todos) bSoloTodos &= b;
    std::vector<Select> unidades;
    for (size_t k = 0; k < c.ramas.size(); ++k) {
        Select& g = c.ramas[k];
        auto rama = [&]() -> TValor { return bSoloTodos ? static_cast<int64_t>(k) : int64_t{0}; };
        Select r;
        if (g.top || (!g.orden.empty() && k + 1 < c.ramas.size())) {
            for (size_t i = 0; i < g.elementos.size(); ++i)
                r.elementos.push_back(
                    Elemento(Columna(Posicional(i), g.elementos[i].expr->tipoJet), ""));
            r.elementos.push_back(Elemento(Numero(rama(), true), "__b"));
            r.elementos.push_back(
                Elemento(bSoloTodos ? Contador("__rn") : Numero(int64_t{0}, true), "__o"));
            r.donde = FiltroTop(g);
            r.origenes.push_back(Paso(Clasificada(std::move(g))));
        } else {
            r = std::move(g);
            r.orden.clear();
            for (size_t i = 0; i < r.elementos.size(); ++i) r.elementos[i].nombre = Posicional(i);
            r.elementos.push_back(Elemento(Numero(rama(), true), "__b"));
            r.elementos.push_back(Elemento(Numero(int64_t{0}, true), "__o"));
        }
        Select u;
        u.elementos.push_back(Elemento(Todo(), ""));
        u.origenes.push_back(Paso(std::move(r)));
        unidades.push_back(std::move(u));
    }
    Select fuera;
    for (size_t i = 0; i < c.columnas.size(); ++i)
        fuera.elementos.push_back(Elemento(Columna(Posicional(i), c.tipos[i]), c.columnas[i]));
    fuera.origenes.push_back(Paso(std::move(unidades), std::move(c.todos)));
    if (bOrdenFinal) {
        fuera.orden = std::move(ordenFinal);
        fuera.bLimite = true;
    } else if (bSoloTodos && c.bOrdenImporta) {
        fuera.orden.push_back({Contador("__b"), false, -1});
        fuera.orden.push_back({Contador("__o"), false, -1});
        fuera.bLimite = true;
    }
    c.todos.clear();
    c.ramas.clear();
    c.ramas.push_back(std::move(fuera));
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

void OrdenaUniones(Consulta& c) {
    RecorreConsultasPostorden(c, OrdenaUnion);
}

void ReescribeTop(Consulta& c) {
    RecorreConsultasPostorden(c, ReescribeTopDe);
}

}  // namespace jet::sql
