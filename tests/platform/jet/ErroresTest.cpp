// How failures reach the user: every failure the program raises from one
// table of kinds, SQLite's own failures said as Jet says them, a failure
// raised inside a jet_* function carried whole (kind and message) through
// SQLite, never left behind for a later statement, and a failure of the
// heartbeat's own call thrown as it came.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <new>
#include <set>
#include <stdexcept>
#include <system_error>

#include "ArchivoFalso.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/Latido.h"
#include "platform/jet/sql/RecursosSqlite.h"

using jet::TTipoColumna;

namespace {

// Every kind of the enumeration has its row: a kind in the user's words
// (E...), a message, and culprits only where the row names them.
TEST(TablaDeErrores, EveryKindHasItsRow) {
    std::set<std::string> mensajes;
    for (int i = 0; i < static_cast<int>(jet::TErrorJet::kCuantos); ++i) {
        const auto e = static_cast<jet::TErrorJet>(i);
        SCOPED_TRACE(i);
        std::string sClase, sMensaje;
        ASSERT_NO_THROW(sClase = jet::ClaseDe(e));
        ASSERT_NO_THROW(sMensaje = jet::MensajeDe(e));
        EXPECT_TRUE(sClase.size() > 1 && sClase[0] == 'E') << sClase;
        EXPECT_FALSE(sMensaje.empty());
        EXPECT_TRUE(mensajes.insert(sMensaje).second) << "two rows, one message: " << sMensaje;
        const jet::EErrorJet x = jet::ErrorJet(e, {"uno", "dos", "tres"});
        EXPECT_EQ(x.Tipo(), e);
        EXPECT_EQ(x.Clase(), sClase);
        EXPECT_EQ(x.Mensaje().find('%'), std::string::npos) << x.Mensaje();
    }
    EXPECT_THROW(jet::ClaseDe(jet::TErrorJet::kCuantos), std::logic_error);
}

// Where nothing may pass, a lack of memory (an allocation, a thread the
// system could not start) is EMemoria; ours stays as it was; the rest is
// our own fault, said as one.
TEST(TablaDeErrores, ACaughtFailureIsSaidAsItsKind) {
    const struct {
        std::exception_ptr fallo;
        const char* sClase;
    } casos[] = {
        {std::make_exception_ptr(std::bad_alloc()), "EMemoria"},
        {std::make_exception_ptr(
             std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again))),
         "EMemoria"},
        {std::make_exception_ptr(
             std::system_error(std::make_error_code(std::errc::permission_denied))),
         "EInterno"},
        {std::make_exception_ptr(std::runtime_error("x")), "EInterno"},
        {std::make_exception_ptr(jet::ErrorJet(jet::TErrorJet::Interrumpida)),
         jet::ClaseDe(jet::TErrorJet::Interrumpida)},
        {std::make_exception_ptr(42), "EInterno"},
    };
    for (const auto& c : casos) EXPECT_EQ(jet::ErrorDeFallo(c.fallo).Clase(), c.sClase);
}

// The heartbeat's call runs inside SQLite: what it throws stops the work and
// reaches the caller as it came, a lack of memory as one.
TEST(TablaDeErrores, TheHeartbeatsOwnFailureComesOutAsItWas) {
    auto a = std::make_shared<TArchivoFalso>();
    std::vector<TArchivoFalso::Fila> filas;
    for (int i = 0; i < 5000; ++i) filas.push_back({int64_t{i}});
    a->Tabla("t", {{"N", TTipoColumna::tcEnteroLargo, 4}}, filas);
    auto motor = MotorSobre(a);
    int nLlamadas = 0;
    motor->PonLatido(std::make_shared<jet::TLatido>(
        [&] {
            if (++nLlamadas == 3)
                throw std::bad_alloc();
        },
        std::chrono::milliseconds(0)));
    EXPECT_THROW(motor->Ejecuta("SELECT COUNT(*) FROM t AS x, t AS y"), std::bad_alloc);
    // The next statement runs.
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT COUNT(*) FROM t WHERE N < 3")), "3");
}

struct CasoFallo {
    int nCodigo;
    const char* sMensajeSqlite;
    const char* sClase;
    const char* sMensaje;
};
std::ostream& operator<<(std::ostream& o, const CasoFallo& c) {
    return o << c.nCodigo << " " << c.sMensajeSqlite;
}

class FalloSqlite : public ::testing::TestWithParam<CasoFallo> {};

TEST_P(FalloSqlite, SaidAsJetSaysIt) {
    const auto e = jet::sql::FalloDeSqlite(GetParam().nCodigo, GetParam().sMensajeSqlite);
    EXPECT_EQ(e.Clase(), GetParam().sClase);
    EXPECT_EQ(e.Mensaje(), GetParam().sMensaje);
}

INSTANTIATE_TEST_SUITE_P(
    Motor, FalloSqlite,
    ::testing::Values(
        CasoFallo{SQLITE_ERROR, "no such column: t.Id", "EParametroSinValor",
                  "No se ha especificado un valor para el parámetro 't.Id': no hay ninguna "
                  "columna con ese nombre."},
        CasoFallo{SQLITE_ERROR, "ambiguous column name: Id", "ECampoAmbiguo",
                  "El campo 'Id' puede referirse a más de una tabla de la cláusula FROM."},
        CasoFallo{SQLITE_ERROR, "no such table: tX", "ETablaNoEncontrada",
                  "No se encuentra la tabla o consulta 'tX'."},
        CasoFallo{SQLITE_ERROR, "misuse of aggregate: COUNT()", "ESintaxis",
                  "No se puede usar la función de agregado COUNT en esa parte de la "
                  "instrucción."},
        CasoFallo{SQLITE_ERROR, "parser stack overflow", "EAnidamiento",
                  "La instrucción SQL es demasiado compleja para el motor: parser stack overflow."},
        CasoFallo{SQLITE_ERROR, "Expression tree is too large (maximum depth 1000)", "EAnidamiento",
                  "La instrucción SQL es demasiado compleja para el motor: Expression tree is too "
                  "large (maximum depth 1000)."},
        CasoFallo{SQLITE_ERROR, "too many terms in compound SELECT", "EAnidamiento",
                  "La instrucción SQL es demasiado compleja para el motor: too many terms in "
                  "compound SELECT."},
        CasoFallo{SQLITE_ERROR, "too many arguments on function jet_x", "EAnidamiento",
                  "La instrucción SQL es demasiado compleja para el motor: too many arguments on "
                  "function jet_x."},
        CasoFallo{SQLITE_ERROR,
                  "SELECTs to the left and right of UNION ALL do not have the same number of "
                  "result columns",
                  "ESintaxis", "El número de columnas de las consultas de la unión no coincide."},
        CasoFallo{SQLITE_ERROR, "integer overflow", "EDesbordamiento",
                  "Desbordamiento al convertir 'SUM'."},
        CasoFallo{SQLITE_ERROR, "near \"x\": syntax error", "EMotorSql",
                  "Error al ejecutar la instrucción: near \"x\": syntax error"},
        CasoFallo{SQLITE_NOMEM, "out of memory", "EMemoria",
                  "No hay memoria suficiente para ejecutar la instrucción."},
        CasoFallo{SQLITE_INTERRUPT, "interrupted", "EInterrumpida",
                  "Se interrumpió la ejecución de la instrucción."},
        CasoFallo{SQLITE_TOOBIG, "string or blob too big", "ELongitud",
                  "Un valor del resultado es demasiado grande para el motor: string or blob too "
                  "big."},
        CasoFallo{SQLITE_CONSTRAINT_UNIQUE, "UNIQUE constraint failed: t.x", "EMotorSql",
                  "Error al ejecutar la instrucción: UNIQUE constraint failed: t.x"}));

std::shared_ptr<TArchivoFalso> Datos() {
    auto a = std::make_shared<TArchivoFalso>();
    a->Tabla("tMov", {{"Id", TTipoColumna::tcEnteroLargo, 4}, {"Tipo", TTipoColumna::tcTexto, 1}},
             {{int64_t{1}, std::string("C")}, {int64_t{2}, std::string("V")}});
    return a;
}

std::string Falla(jet::TMotorJet& motor, const std::string& sSql) {
    try {
        motor.Ejecuta(sSql);
    } catch (const jet::EErrorJet& e) {
        return e.Clase() + " - " + e.Mensaje();
    }
    return "sin fallo";
}

// The failure of a jet_* function, inside a derived table the engine tries
// to keep, inside a long chain's own statements, then a failure of SQLite's
// own: each statement reports its own failure.
TEST(FalloEnFuncion, TravelsWholeAndOnlyOnce) {
    auto motor = MotorSobre(Datos());
    const std::string sCadena = "1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1 + 1";
    EXPECT_EQ(Falla(*motor, "SELECT Id / (Id - 1) FROM tMov"),
              "EDivisionPorCero - División por cero.");
    EXPECT_EQ(Falla(*motor, "SELECT MAX(x) FROM (SELECT Tipo + 1 AS x FROM tMov)"),
              "ETiposNoCoinciden - No coinciden los tipos de datos en la expresión: 'C'.");
    EXPECT_EQ(Falla(*motor, "SELECT " + sCadena + " + Tipo FROM tMov"),
              "ETiposNoCoinciden - No coinciden los tipos de datos en la expresión: 'C'.");
    EXPECT_EQ(Falla(*motor, "SELECT Importe FROM tMov"),
              "EParametroSinValor - No se ha especificado un valor para el parámetro 'Importe': "
              "no hay ninguna columna con ese nombre.");
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT " + sCadena + " + Id FROM tMov")), "17; 18");
}

}  // namespace
