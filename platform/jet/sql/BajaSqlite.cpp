#include "platform/jet/sql/BajaSqlite.h"

#include <stdexcept>
#include <utility>

#include "platform/jet/sql/Clona.h"
#include "platform/jet/sql/TablaFunciones.h"

namespace jet::sql {

namespace {

// Where an expression is read: as a condition (a SQLite truth will do) or
// as a value (a truth must be Jet's -1/0).
enum class Uso { Valor, Condicion };

// Lists of operands of a long chain: jet_cadena takes its operands packed
// in lists of lists (jet_lista), so the call nests only a few levels.
constexpr size_t kPorLista = 100;

ExprPtr Nodo(TipoExpr tipo) {
    auto e = std::make_unique<Expr>();
    e->tipo = tipo;
    return e;
}

ExprPtr Envuelve(TipoExpr tipo, ExprPtr x, const char* op = "") {
    auto e = Nodo(tipo);
    e->op = op;
    e->args.push_back(std::move(x));
    return e;
}

ExprPtr Literal(TValor v) {
    auto e = Nodo(TipoExpr::Literal);
    e->valor = std::move(v);
    return e;
}

ExprPtr Llamada(const std::string& sNombre, std::vector<ExprPtr> args) {
    auto e = Nodo(TipoExpr::Llamada);
    e->nombre = sNombre;
    e->args = std::move(args);
    return e;
}

ExprPtr Binaria(const char* op, ExprPtr a, ExprPtr b) {
    auto e = Nodo(TipoExpr::Binaria);
    e->op = op;
    e->args.push_back(std::move(a));
    e->args.push_back(std::move(b));
    return e;
}

ExprPtr Prueba(ExprPtr x, const char* sQue) {
    return Envuelve(TipoExpr::Prueba, std::move(x), sQue);
}

// The value as SQLite stores it: a date as its day serial, currency as its
// amount, yes/no as -1/0; Null, numbers and text as they are.
void ValorSqlite(TValor& v) {
    if (const auto* b = std::get_if<bool>(&v))
        v = int64_t{*b ? -1 : 0};
    else if (const auto* m = std::get_if<TMoneda>(&v))
        v = m->nDiezMilesimos / 10000.0;
    else if (const auto* f = std::get_if<TFecha>(&v))
        v = f->dSerial;
    else if (!std::holds_alternative<std::monostate>(v) && !std::holds_alternative<int64_t>(v) &&
             !std::holds_alternative<double>(v) && !std::holds_alternative<std::string>(v))
        v = std::monostate{};  // the parser writes no literal of the file's own types
}

bool EsComparacion(const std::string& op) {
    return op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=";
}

// Whether a Jet expression is a truth (what NOT negates) rather than a number.
bool EsBooleana(const Expr& e) {
    switch (e.tipo) {
        case TipoExpr::Logica:
        case TipoExpr::Like:
        case TipoExpr::In:
        case TipoExpr::Between:
        case TipoExpr::EsNulo:
        case TipoExpr::Existe:
            return true;
        case TipoExpr::Binaria:
            return EsComparacion(e.op);
        case TipoExpr::Unaria:
            return e.op == "NOT" && EsBooleana(*e.args[0]);
        case TipoExpr::Funcion: {
            const FilaFuncion* f = BuscaFuncion(e.nombre);
            return f && f->eForma == FormaFuncion::EsNulo;
        }
        default:
            return false;
    }
}

// A truth where a value is wanted is Jet's -1/0.
ExprPtr Booleano(ExprPtr x, Uso uso) {
    return uso == Uso::Condicion ? std::move(x) : Envuelve(TipoExpr::Verdad, std::move(x));
}

// Jet's operators: SQLite's own where they agree (- and * on numbers),
// Jet's functions where they do not (+ also concatenates, / is always
// decimal, \ MOD ^ & are Jet's).
ExprPtr Operador(const std::string& op, ExprPtr a, ExprPtr b) {
    if (op == "-" || op == "*")
        return Binaria(op == "-" ? "-" : "*", std::move(a), std::move(b));
    const char* sFuncion = op == "+"     ? "jet_suma"
                           : op == "/"   ? "jet_div"
                           : op == "\\"  ? "jet_divent"
                           : op == "MOD" ? "jet_mod"
                           : op == "^"   ? "jet_pot"
                           : op == "&"   ? "jet_concat"
                                         : nullptr;
    if (!sFuncion)
        throw std::logic_error("operador sin forma en SQLite: " + op);
    std::vector<ExprPtr> args;
    args.push_back(std::move(a));
    args.push_back(std::move(b));
    return Llamada(sFuncion, std::move(args));
}

// Currency and dates have ranges a Double does not: a sum, difference or
// product of Currency (or of Currency and a whole number or yes/no) is
// Currency, a date moved by days a date. The function that holds such a
// result to its range, or none.
const char* Acotacion(const Expr& e) {
    if (e.op != "+" && e.op != "-" && e.op != "*")
        return nullptr;
    if (e.tipoJet == TipoJet::Fecha)
        return "jet_acotafecha";
    auto moneda = [](const Expr& x) { return x.tipoJet == TipoJet::Moneda; };
    auto entera = [&](const Expr& x) {
        return moneda(x) || x.tipoJet == TipoJet::Booleano ||
               (x.tipo == TipoExpr::Literal && std::holds_alternative<int64_t>(x.valor));
    };
    const Expr &a = *e.args[0], &b = *e.args[1];
    return (moneda(a) || moneda(b)) && entera(a) && entera(b) ? "jet_acotamoneda" : nullptr;
}

class Bajada {
public:
    void Consulta_(Consulta& c, bool bAnidada) {
        for (auto& s : c.ramas) Select_(s, bAnidada);
    }

private:
    ExprPtr Valor(ExprPtr e) { return Expresion(std::move(e), Uso::Valor); }
    ExprPtr Condicion(ExprPtr e) { return Expresion(std::move(e), Uso::Condicion); }
    void EnSitio(ExprPtr& e, Uso uso) { e = Expresion(std::move(e), uso); }

    void Select_(Select& s, bool bAnidada) {
        for (auto& o : s.origenes) Origen_(*o);
        for (auto& el : s.elementos) {
            const Expr& e = *el.expr;
            if (e.tipo == TipoExpr::Asterisco)
                continue;
            // Computed text compares as Jet compares: DISTINCT, UNION and the
            // queries built on this one inherit the collation.
            const bool bCotejo = e.tipo != TipoExpr::Columna && !e.bContador;
            el.expr = Valor(std::move(el.expr));
            if (bCotejo)
                el.expr = EnCotejoJet(std::move(el.expr));
        }
        if (s.donde)
            EnSitio(s.donde, Uso::Condicion);
        for (auto& a : s.agrupar) a = EnCotejoJet(Valor(std::move(a)));
        if (s.teniendo)
            EnSitio(s.teniendo, Uso::Condicion);
        Orden_(s.orden);
        if (bAnidada && s.bLimite)
            s.limite = -1;
    }

    void Origen_(Origen& o) {
        switch (o.tipo) {
            case TipoOrigen::Tabla:
                return;
            case TipoOrigen::Derivada:
                return Consulta_(*o.subconsulta, true);
            case TipoOrigen::Union:
                Origen_(*o.izquierdo);
                Origen_(*o.derecho);
                EnSitio(o.condicion, Uso::Condicion);
                return;
        }
    }

    // ORDER BY terms compare in Jet's collation, the engine's counters as
    // the plain integers they are.
    void Orden_(std::vector<Orden>& orden) {
        for (auto& o : orden) {
            const bool bContador = o.expr->bContador;
            o.expr = Valor(std::move(o.expr));
            if (!bContador)
                o.expr = EnCotejoJet(std::move(o.expr));
        }
    }

    ExprPtr Expresion(ExprPtr e, Uso uso);
    ExprPtr Funcion(ExprPtr e, Uso uso);
    ExprPtr Cadena(ExprPtr e);
};

ExprPtr Bajada::Expresion(ExprPtr e, Uso uso) {
    switch (e->tipo) {
        case TipoExpr::Literal:
            ValorSqlite(e->valor);
            return e;
        case TipoExpr::Columna:
        case TipoExpr::Asterisco:
            return e;
        case TipoExpr::Unaria:
            if (e->op != "NOT") {
                EnSitio(e->args[0], Uso::Valor);
                return e;
            }
            if (EsBooleana(*e->args[0])) {
                e->op = "NOT ";
                EnSitio(e->args[0], Uso::Condicion);
                return Booleano(std::move(e), uso);
            }
            // NOT on a number is Jet's bitwise complement: NOT -1 is 0; read
            // as a condition, a number holds when it is not 0.
            e->op = "~";
            EnSitio(e->args[0], Uso::Valor);
            return uso == Uso::Valor ? std::move(e) : Binaria("<>", std::move(e), Literal(0));
        case TipoExpr::Binaria: {
            const char* sAcota = e->bContador ? nullptr : Acotacion(*e);
            for (auto& a : e->args) EnSitio(a, Uso::Valor);
            const bool bComparacion = EsComparacion(e->op);
            if (e->bContador)
                return bComparacion ? Booleano(std::move(e), uso) : std::move(e);
            if (bComparacion) {
                e->args[1] = EnCotejoJet(std::move(e->args[1]));
                return Booleano(std::move(e), uso);
            }
            ExprPtr x = Operador(e->op, std::move(e->args[0]), std::move(e->args[1]));
            if (!sAcota)
                return x;
            std::vector<ExprPtr> args;
            args.push_back(std::move(x));
            return Llamada(sAcota, std::move(args));
        }
        case TipoExpr::Cadena:
            return Cadena(std::move(e));
        case TipoExpr::Logica: {
            if (e->op != "XOR") {
                for (auto& a : e->args) EnSitio(a, Uso::Condicion);
                return Booleano(std::move(e), uso);
            }
            // Null counts as false on either side.
            ExprPtr x = Prueba(Condicion(std::move(e->args[0])), "TRUE");
            for (size_t i = 1; i < e->args.size(); ++i)
                x = Binaria("<>", std::move(x), Prueba(Condicion(std::move(e->args[i])), "TRUE"));
            return Booleano(std::move(x), uso);
        }
        case TipoExpr::Like: {
            std::vector<ExprPtr> args;
            for (auto& a : e->args) args.push_back(Valor(std::move(a)));
            ExprPtr x = Llamada("jet_like", std::move(args));
            x = e->negada ? Envuelve(TipoExpr::Unaria, std::move(x), "NOT ")
                          : Envuelve(TipoExpr::Parentesis, std::move(x));
            return Booleano(std::move(x), uso);
        }
        case TipoExpr::In:
            for (auto& a : e->args) EnSitio(a, Uso::Valor);
            e->args[0] = EnCotejoJet(std::move(e->args[0]));
            if (e->subconsulta)
                Consulta_(*e->subconsulta, true);
            return Booleano(std::move(e), uso);
        case TipoExpr::Between: {
            // Access takes the bounds in either order: 5 BETWEEN 10 AND 1 holds.
            ExprPtr x = Valor(std::move(e->args[0]));
            ExprPtr a = Valor(std::move(e->args[1]));
            ExprPtr b = Valor(std::move(e->args[2]));
            auto rango = [](ExprPtr x, ExprPtr a, ExprPtr b) {
                auto r = Nodo(TipoExpr::Rango);
                r->args.push_back(EnCotejoJet(std::move(x)));
                r->args.push_back(std::move(a));
                r->args.push_back(std::move(b));
                return r;
            };
            auto o = Nodo(TipoExpr::Logica);
            o->op = "OR";
            ExprPtr x2 = Clona(*x), a2 = Clona(*a), b2 = Clona(*b);
            o->args.push_back(rango(std::move(x), std::move(a), std::move(b)));
            o->args.push_back(rango(std::move(x2), std::move(b2), std::move(a2)));
            ExprPtr r = e->negada ? Envuelve(TipoExpr::Unaria, std::move(o), "NOT ")
                                  : Envuelve(TipoExpr::Parentesis, std::move(o));
            return Booleano(std::move(r), uso);
        }
        case TipoExpr::EsNulo:
            return Booleano(Prueba(Valor(std::move(e->args[0])), e->negada ? "NOT NULL" : "NULL"),
                            uso);
        case TipoExpr::Subconsulta:
            Consulta_(*e->subconsulta, true);
            return e;
        case TipoExpr::Existe:
            Consulta_(*e->subconsulta, true);
            return Booleano(std::move(e), uso);
        case TipoExpr::Funcion:
            return Funcion(std::move(e), uso);
        case TipoExpr::Ventana:
            for (auto& a : e->args) EnSitio(a, Uso::Valor);
            Orden_(e->orden);
            return e;
        default:
            return e;  // already a SQLite form
    }
}

ExprPtr Bajada::Funcion(ExprPtr e, Uso uso) {
    const FilaFuncion& f = *BuscaFuncion(e->nombre);  // the binder checked it
    // A date reaches SQLite as its serial: what the function must be told
    // is read before its argument becomes that number.
    const TipoJet tipo = e->args.empty() ? TipoJet::Otro : e->args[0]->tipoJet;
    const bool bFecha = tipo == TipoJet::Fecha;
    std::vector<ExprPtr> args;
    for (size_t i = 0; i < e->args.size(); ++i) {
        ExprPtr& a = e->args[i];
        const bool bPrueba = f.eForma == FormaFuncion::Iif && i == 0;
        args.push_back(a->tipo == TipoExpr::Asterisco ? std::move(a)
                       : bPrueba                      ? Condicion(std::move(a))
                                                      : Valor(std::move(a)));
    }
    switch (f.eForma) {
        case FormaFuncion::Iif: {
            // A Null condition takes the false branch, as CASE does.
            auto c = Nodo(TipoExpr::Caso);
            c->args = std::move(args);
            return c;
        }
        case FormaFuncion::EsNulo:
            return Booleano(Prueba(std::move(args[0]), "NULL"), uso);
        case FormaFuncion::Nz:
            if (args.size() == 1)
                args.push_back(Literal(std::string()));
            return Llamada("COALESCE", std::move(args));
        case FormaFuncion::Formato:
            if (!bFecha)
                break;
            while (args.size() < 4) args.push_back(Literal(std::monostate{}));
            args.push_back(Literal(int64_t{1}));
            return Llamada(f.sSqlite, std::move(args));
        case FormaFuncion::EsFecha:
            if (!bFecha)
                break;
            return Booleano(Prueba(std::move(args[0]), "NOT NULL"), uso);
        case FormaFuncion::EsNumerico:
            if (!bFecha)
                break;
            // A date is no number to IsNumeric.
            return uso == Uso::Valor ? Literal(int64_t{0})
                                     : Envuelve(TipoExpr::Parentesis, Literal(int64_t{0}));
        case FormaFuncion::Llamada:
            break;
    }
    // Jet adds currency exactly, in ten-thousandths, and Decimal as decimals.
    const char* sNombre = f.sMoneda && tipo == TipoJet::Moneda     ? f.sMoneda
                          : f.sDecimal && tipo == TipoJet::Decimal ? f.sDecimal
                                                                   : f.sSqlite;
    if (f.bCotejo)
        for (auto& a : args) a = EnCotejoJet(std::move(a));
    ExprPtr r = Llamada(sNombre, std::move(args));
    r->bVolatil = f.bVolatil;
    return r;
}

// A chain evaluated left to right: nested operators up to kCadenaCorta
// operands, beyond that one jet_cadena call, which SQLite's parser stack
// takes at any length.
ExprPtr Bajada::Cadena(ExprPtr e) {
    std::vector<ExprPtr> valores;
    for (auto& a : e->args) valores.push_back(Valor(std::move(a)));
    if (valores.size() <= kCadenaCorta) {
        ExprPtr x = std::move(valores[0]);
        for (size_t i = 1; i < valores.size(); ++i)
            x = Operador(e->ops[i - 1], std::move(x), std::move(valores[i]));
        return x;
    }
    std::string sOps;
    for (const auto& op : e->ops) sOps += op == "MOD" ? "M" : op;
    while (valores.size() > kPorLista) {
        std::vector<ExprPtr> arriba;
        for (size_t i = 0; i < valores.size(); i += kPorLista) {
            std::vector<ExprPtr> lista;
            for (size_t j = i; j < std::min(valores.size(), i + kPorLista); ++j)
                lista.push_back(std::move(valores[j]));
            arriba.push_back(Llamada("jet_lista", std::move(lista)));
        }
        valores = std::move(arriba);
    }
    std::vector<ExprPtr> args;
    args.push_back(Literal(sOps));
    for (auto& v : valores) args.push_back(std::move(v));
    return Llamada("jet_cadena", std::move(args));
}

}  // namespace

void BajaASqlite(Consulta& consulta) {
    Bajada().Consulta_(consulta, false);
}

ExprPtr EnCotejoJet(ExprPtr x) {
    return Envuelve(TipoExpr::Cotejo, std::move(x));
}

ExprPtr ClaveDeMitad(const Expr& t) {
    // Unary plus: a value without affinity, so that it compares with ?1
    // exactly as GROUP BY's sort compares it with other rows' values.
    const Expr& x = t.tipo == TipoExpr::Cotejo ? *t.args[0] : t;
    return Envuelve(TipoExpr::Unaria, Clona(x), "+");
}

ExprPtr CondicionDeMitad(const Expr& t, bool bMenor) {
    auto valor = [] {
        auto p = Nodo(TipoExpr::Parametro);
        p->valor = int64_t{1};
        return EnCotejoJet(std::move(p));
    };
    if (!bMenor)
        return Binaria(">", ClaveDeMitad(t), valor());
    // GROUP BY sorts Null first: it goes with the lower half.
    auto o = Nodo(TipoExpr::Logica);
    o->op = "OR";
    o->args.push_back(Prueba(ClaveDeMitad(t), "NULL"));
    o->args.push_back(Binaria("<=", ClaveDeMitad(t), valor()));
    return o;
}

}  // namespace jet::sql
