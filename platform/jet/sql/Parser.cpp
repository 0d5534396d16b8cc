#include "platform/jet/sql/Parser.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "platform/jet/sql/ErroresSql.h"
#include "platform/jet/sql/FechaTexto.h"
#include "platform/jet/sql/TextoAscii.h"
#include "platform/jet/sql/Tokenizer.h"

namespace jet::sql {

namespace {

// Words that end a name list or start a clause: never taken for an alias.
const std::set<std::string> kReservadas = {
    "SELECT", "FROM", "WHERE", "GROUP", "BY",     "HAVING",  "ORDER",      "UNION", "ALL",
    "INNER",  "LEFT", "RIGHT", "OUTER", "JOIN",   "ON",      "AS",         "INTO",  "AND",
    "OR",     "XOR",  "NOT",   "LIKE",  "IN",     "BETWEEN", "IS",         "NULL",  "DISTINCT",
    "TOP",    "MOD",  "ASC",   "DESC",  "EXISTS", "PERCENT", "DISTINCTROW"};

// A #date# literal, read as every date written as text is read.
double LeeFecha(const std::string& sTexto) {
    if (const auto d = FechaDeTexto(sTexto))
        return *d;
    throw ErrorSintaxis("#" + sTexto + "#");
}

class Analizador {
public:
    explicit Analizador(std::vector<Token> tokens) : t_(std::move(tokens)) {}

    // Every nested expression, NOT, sign, function call or query costs one
    // level; the parser and the passes after it recurse once per level, so
    // a statement nested deeper is refused before it can exhaust the stack.
    static constexpr int kNivelesMaximos = kProfundidadMaxima;

    std::shared_ptr<Consulta> Instruccion() {
        const Token& primero = t_[0];
        const std::string palabra = primero.tipo == TipoToken::Nombre && !primero.corchetes
                                        ? MayusculasAscii(primero.texto)
                                        : "";
        static const std::set<std::string> kModifican = {"INSERT", "UPDATE", "DELETE",
                                                         "CREATE", "ALTER",  "DROP"};
        if (kModifican.count(palabra))
            throw ErrorSoloLectura(palabra);
        if (palabra != "SELECT" && !Es("("))
            throw ErrorInstruccionNoValida();
        auto consulta = LeeConsulta();
        // One statement per call: nothing may follow its semicolon.
        if (Acepta(";") && t_[p_].tipo != TipoToken::Fin)
            throw ErrorJet(TErrorJet::CaracteresTrasFin);
        if (t_[p_].tipo != TipoToken::Fin)
            throw Error();
        return consulta;
    }

private:
    std::vector<Token> t_;
    size_t p_ = 0;
    int nNivel_ = 0;

    struct Nivel {
        explicit Nivel(Analizador& a) : a_(a) {
            if (++a_.nNivel_ > kNivelesMaximos)
                throw ErrorAnidamiento(kNivelesMaximos);
        }
        ~Nivel() { --a_.nNivel_; }
        Nivel(const Nivel&) = delete;
        Nivel& operator=(const Nivel&) = delete;
        Analizador& a_;
    };

    const Token& Actual() const { return t_[p_]; }
    bool EsPalabra(const char* s, size_t d = 0) const {
        const Token& t = t_[std::min(p_ + d, t_.size() - 1)];
        return t.tipo == TipoToken::Nombre && !t.corchetes && MayusculasAscii(t.texto) == s;
    }
    bool Es(const char* s, size_t d = 0) const {
        const Token& t = t_[std::min(p_ + d, t_.size() - 1)];
        return t.tipo == TipoToken::Simbolo && t.texto == s;
    }
    bool AceptaPalabra(const char* s) {
        if (!EsPalabra(s))
            return false;
        ++p_;
        return true;
    }
    bool Acepta(const char* s) {
        if (!Es(s))
            return false;
        ++p_;
        return true;
    }
    EErrorJet Error() const {
        const Token& t = Actual();
        if (t.tipo == TipoToken::Fin)
            return ErrorSintaxis("fin de la instrucción");
        return ErrorSintaxis(t.tipo == TipoToken::Texto ? "'" + t.texto + "'" : t.texto);
    }
    void Espera(const char* s) {
        if (!Acepta(s))
            throw Error();
    }
    void EsperaPalabra(const char* s) {
        if (!AceptaPalabra(s))
            throw Error();
    }
    bool EsNombreLibre(size_t d = 0) const {
        const Token& t = t_[std::min(p_ + d, t_.size() - 1)];
        return t.tipo == TipoToken::Nombre &&
               (t.corchetes || !kReservadas.count(MayusculasAscii(t.texto)));
    }
    std::string Nombre() {
        if (Actual().tipo != TipoToken::Nombre)
            throw Error();
        return t_[p_++].texto;
    }

    // A SELECT, or a parenthesised query, followed by UNION branches.
    std::shared_ptr<Consulta> LeeConsulta() {
        Nivel nivel(*this);
        auto consulta = std::make_shared<Consulta>();
        for (;;) {
            if (Acepta("(")) {
                auto interna = LeeConsulta();
                Espera(")");
                if (interna->ramas.size() != 1)
                    throw Error();
                consulta->ramas.push_back(std::move(interna->ramas[0]));
            } else {
                consulta->ramas.push_back(LeeSelect());
            }
            if (!AceptaPalabra("UNION"))
                break;
            consulta->todos.push_back(AceptaPalabra("ALL"));
        }
        return consulta;
    }

    Select LeeSelect() {
        EsperaPalabra("SELECT");
        Select s;
        if (AceptaPalabra("DISTINCT") || AceptaPalabra("DISTINCTROW"))
            s.distinto = true;
        else
            AceptaPalabra("ALL");
        if (AceptaPalabra("TOP")) {
            if (Actual().tipo != TipoToken::Numero)
                throw Error();
            s.top = std::strtod(t_[p_++].texto.c_str(), nullptr);
            s.porcentaje = AceptaPalabra("PERCENT");
        }
        do {
            s.elementos.push_back(LeeElemento());
        } while (Acepta(","));
        if (EsPalabra("INTO"))
            throw ErrorSoloLectura("SELECT INTO");
        if (AceptaPalabra("FROM")) {
            do {
                s.origenes.push_back(LeeOrigenConUniones());
            } while (Acepta(","));
        }
        if (AceptaPalabra("WHERE"))
            s.donde = Expresion();
        if (AceptaPalabra("GROUP")) {
            EsperaPalabra("BY");
            do {
                s.agrupar.push_back(Expresion());
            } while (Acepta(","));
        }
        if (AceptaPalabra("HAVING"))
            s.teniendo = Expresion();
        if (AceptaPalabra("ORDER")) {
            EsperaPalabra("BY");
            do {
                Orden o;
                o.expr = Expresion();
                if (AceptaPalabra("DESC"))
                    o.descendente = true;
                else
                    AceptaPalabra("ASC");
                s.orden.push_back(std::move(o));
            } while (Acepta(","));
        }
        return s;
    }

    ElementoSelect LeeElemento() {
        ElementoSelect e;
        if (Es("*")) {
            ++p_;
            e.expr = std::make_unique<Expr>();
            e.expr->tipo = TipoExpr::Asterisco;
            return e;
        }
        e.expr = Expresion();
        if (AceptaPalabra("AS"))
            e.alias = Nombre();
        else if (EsNombreLibre())
            e.alias = Nombre();
        return e;
    }

    std::string AliasOpcional() {
        if (AceptaPalabra("AS"))
            return Nombre();
        if (EsNombreLibre())
            return Nombre();
        return "";
    }

    OrigenPtr LeeOrigenSimple() {
        auto o = std::make_unique<Origen>();
        if (Acepta("(")) {
            if (EsPalabra("SELECT") || (Es("(") && EsPalabra("SELECT", 1))) {
                o->tipo = TipoOrigen::Derivada;
                o->subconsulta = LeeConsulta();
                Espera(")");
                o->alias = AliasOpcional();
                return o;
            }
            auto interno = LeeOrigenConUniones();
            Espera(")");
            return interno;
        }
        o->tipo = TipoOrigen::Tabla;
        o->nombre = Nombre();
        o->alias = AliasOpcional();
        return o;
    }

    OrigenPtr LeeOrigenConUniones() {
        auto izquierdo = LeeOrigenSimple();
        for (;;) {
            TipoUnion tipo;
            if (AceptaPalabra("INNER"))
                tipo = TipoUnion::Interna;
            else if (AceptaPalabra("LEFT"))
                tipo = TipoUnion::Izquierda;
            else if (AceptaPalabra("RIGHT"))
                tipo = TipoUnion::Derecha;
            else
                break;
            if (tipo != TipoUnion::Interna)
                AceptaPalabra("OUTER");
            EsperaPalabra("JOIN");
            auto u = std::make_unique<Origen>();
            u->tipo = TipoOrigen::Union;
            u->tipoUnion = tipo;
            u->izquierdo = std::move(izquierdo);
            u->derecho = LeeOrigenSimple();
            EsperaPalabra("ON");
            u->condicion = Expresion();
            izquierdo = std::move(u);
        }
        return izquierdo;
    }

    // Precedence, loosest first: OR, XOR, AND, NOT, comparisons, &, + -,
    // MOD, \, * /, unary minus, ^.
    ExprPtr Expresion() {
        Nivel nivel(*this);
        return Logica(0);
    }

    ExprPtr Logica(int nivel) {
        static const char* ops[] = {"OR", "XOR", "AND"};
        if (nivel == 3)
            return Negacion();
        auto primero = Logica(nivel + 1);
        if (!EsPalabra(ops[nivel]))
            return primero;
        auto e = std::make_unique<Expr>();
        e->tipo = TipoExpr::Logica;
        e->op = ops[nivel];
        e->args.push_back(std::move(primero));
        while (AceptaPalabra(ops[nivel])) e->args.push_back(Logica(nivel + 1));
        return e;
    }

    ExprPtr Negacion() {
        if (AceptaPalabra("NOT")) {
            Nivel nivel(*this);
            return Unaria("NOT", Negacion());
        }
        return Comparacion();
    }

    static ExprPtr Unaria(const char* op, ExprPtr x) {
        auto e = std::make_unique<Expr>();
        e->tipo = TipoExpr::Unaria;
        e->op = op;
        e->args.push_back(std::move(x));
        return e;
    }
    static ExprPtr Binaria(std::string op, ExprPtr a, ExprPtr b) {
        auto e = std::make_unique<Expr>();
        e->tipo = TipoExpr::Binaria;
        e->op = std::move(op);
        e->args.push_back(std::move(a));
        e->args.push_back(std::move(b));
        return e;
    }

    ExprPtr Comparacion() {
        auto izq = Concatenacion();
        for (const char* op : {"=", "<>", "<=", ">=", "<", ">"}) {
            if (Acepta(op))
                return Binaria(op, std::move(izq), Concatenacion());
        }
        const bool negada = EsPalabra("NOT") &&
                            (EsPalabra("LIKE", 1) || EsPalabra("IN", 1) || EsPalabra("BETWEEN", 1));
        if (negada)
            ++p_;
        auto e = std::make_unique<Expr>();
        e->negada = negada;
        if (AceptaPalabra("LIKE")) {
            e->tipo = TipoExpr::Like;
            e->args.push_back(std::move(izq));
            e->args.push_back(Concatenacion());
        } else if (AceptaPalabra("IN")) {
            e->tipo = TipoExpr::In;
            e->args.push_back(std::move(izq));
            Espera("(");
            if (EsPalabra("SELECT")) {
                e->subconsulta = LeeConsulta();
            } else {
                do {
                    e->args.push_back(Expresion());
                } while (Acepta(","));
            }
            Espera(")");
        } else if (AceptaPalabra("BETWEEN")) {
            e->tipo = TipoExpr::Between;
            e->args.push_back(std::move(izq));
            e->args.push_back(Concatenacion());
            EsperaPalabra("AND");
            e->args.push_back(Concatenacion());
        } else if (AceptaPalabra("IS")) {
            e->tipo = TipoExpr::EsNulo;
            e->negada = AceptaPalabra("NOT");
            EsperaPalabra("NULL");
            e->args.push_back(std::move(izq));
        } else {
            if (negada)
                throw Error();
            return izq;
        }
        return e;
    }

    // One precedence level's operands and operators, left to right: two
    // operands make a Binaria, more a flat Cadena, so that a chain of any
    // length is as shallow as one operation.
    template <class Operando, class Operador>
    ExprPtr Encadena(Operando operando, Operador operador) {
        auto primero = operando();
        std::string op = operador();
        if (op.empty())
            return primero;
        std::vector<ExprPtr> args;
        std::vector<std::string> ops;
        args.push_back(std::move(primero));
        while (!op.empty()) {
            ops.push_back(op);
            args.push_back(operando());
            op = operador();
        }
        if (ops.size() == 1)
            return Binaria(ops[0], std::move(args[0]), std::move(args[1]));
        auto e = std::make_unique<Expr>();
        e->tipo = TipoExpr::Cadena;
        e->args = std::move(args);
        e->ops = std::move(ops);
        return e;
    }
    std::string Operador(std::initializer_list<const char*> simbolos) {
        for (const char* s : simbolos)
            if (Acepta(s))
                return s;
        return "";
    }

    ExprPtr Concatenacion() {
        return Encadena([this] { return Suma(); }, [this] { return Operador({"&"}); });
    }
    ExprPtr Suma() {
        return Encadena([this] { return Modulo(); }, [this] { return Operador({"+", "-"}); });
    }
    ExprPtr Modulo() {
        return Encadena([this] { return DivisionEntera(); },
                        [this] { return std::string(AceptaPalabra("MOD") ? "MOD" : ""); });
    }
    ExprPtr DivisionEntera() {
        return Encadena([this] { return Producto(); }, [this] { return Operador({"\\"}); });
    }
    ExprPtr Producto() {
        return Encadena([this] { return Signo(); }, [this] { return Operador({"*", "/"}); });
    }
    ExprPtr Signo() {
        if (Acepta("-")) {
            Nivel nivel(*this);
            return Unaria("-", Signo());
        }
        if (Acepta("+")) {
            Nivel nivel(*this);
            return Signo();
        }
        return Potencia();
    }
    ExprPtr Potencia() {
        return Encadena(
            [this, bPrimero = true]() mutable {
                const bool bSigno = !bPrimero && Acepta("-");
                bPrimero = false;
                return bSigno ? Unaria("-", Primario()) : Primario();
            },
            [this] { return Operador({"^"}); });
    }

    static ExprPtr Literal(TValor v) {
        auto e = std::make_unique<Expr>();
        e->tipo = TipoExpr::Literal;
        e->valor = std::move(v);
        return e;
    }

    ExprPtr Primario() {
        const Token& t = Actual();
        switch (t.tipo) {
            case TipoToken::Texto:
                ++p_;
                return Literal(t.texto);
            case TipoToken::Fecha:
                ++p_;
                return Literal(TFecha{LeeFecha(t.texto)});
            case TipoToken::Numero: {
                ++p_;
                const bool entero = t.texto.find_first_of(".eE") == std::string::npos;
                if (entero) {
                    errno = 0;
                    const long long n = std::strtoll(t.texto.c_str(), nullptr, 10);
                    if (errno == 0)
                        return Literal(static_cast<int64_t>(n));
                }
                const double d = std::strtod(t.texto.c_str(), nullptr);
                // Beyond Double's range: Jet's overflow, not an infinity.
                if (std::isinf(d))
                    throw ErrorDesbordamiento(t.texto);
                return Literal(d);
            }
            case TipoToken::Simbolo:
                if (Acepta("(")) {
                    if (EsPalabra("SELECT")) {
                        auto e = std::make_unique<Expr>();
                        e->tipo = TipoExpr::Subconsulta;
                        e->subconsulta = LeeConsulta();
                        Espera(")");
                        return e;
                    }
                    auto e = Expresion();
                    Espera(")");
                    return e;
                }
                throw Error();
            case TipoToken::Fin:
                throw Error();
            case TipoToken::Nombre:
                break;
        }
        if (!t.corchetes) {
            const std::string palabra = MayusculasAscii(t.texto);
            if (palabra == "TRUE" || palabra == "YES")
                return ++p_, Literal(int64_t{-1});
            if (palabra == "FALSE" || palabra == "NO")
                return ++p_, Literal(int64_t{0});
            if (palabra == "NULL")
                return ++p_, Literal(std::monostate{});
            if (palabra == "EXISTS") {
                ++p_;
                Espera("(");
                auto e = std::make_unique<Expr>();
                e->tipo = TipoExpr::Existe;
                e->subconsulta = LeeConsulta();
                Espera(")");
                return e;
            }
            if (kReservadas.count(palabra) && !Es("(", 1))
                throw Error();
        }
        std::string nombre = Nombre();
        auto e = std::make_unique<Expr>();
        if (!t_[p_ - 1].corchetes && Acepta("(")) {
            e->tipo = TipoExpr::Funcion;
            e->nombre = MayusculasAscii(nombre);
            if (Acepta(")"))
                return e;
            do {
                if (Es("*")) {
                    ++p_;
                    auto a = std::make_unique<Expr>();
                    a->tipo = TipoExpr::Asterisco;
                    e->args.push_back(std::move(a));
                } else {
                    e->args.push_back(Expresion());
                }
            } while (Acepta(","));
            Espera(")");
            return e;
        }
        e->tipo = TipoExpr::Columna;
        e->nombre = nombre;
        if (Acepta(".")) {
            e->calificador = nombre;
            if (Acepta("*")) {
                e->tipo = TipoExpr::Asterisco;
                e->nombre.clear();
            } else {
                e->nombre = Nombre();
            }
        }
        return e;
    }
};

}  // namespace

std::shared_ptr<Consulta> Parser::Analiza(const std::string& sSql) {
    if (sSql.size() > kLongitudMaxima)
        throw ErrorLongitud(kLongitudMaxima);
    Analizador a(Tokenizer::Divide(sSql));
    return a.Instruccion();
}

}  // namespace jet::sql
