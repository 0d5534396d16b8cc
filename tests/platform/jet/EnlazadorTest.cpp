// The binder places every name itself, outer references included, and
// reports what SQLite would otherwise report in its own words: the
// statements are compiled against a catalogue that is no database at all.
#include <gtest/gtest.h>

#include <string>

#include "ArchivoFalso.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/sql/Catalogo.h"
#include "platform/jet/sql/Compilador.h"
#include "platform/jet/sql/ErroresSql.h"

namespace {

using jet::sql::TipoJet;

// t(N, S, F a date) and u(N, G).
class TCatalogo : public jet::sql::ICatalogo {
public:
    TablaCatalogo DameTabla(const std::string& sNombre) override {
        if (sNombre == "t")
            return {"t", {"N", "S", "F"}, {TipoJet::Otro, TipoJet::Otro, TipoJet::Fecha}};
        if (sNombre == "u")
            return {"u", {"N", "G"}, {TipoJet::Otro, TipoJet::Otro}};
        throw jet::sql::ErrorTablaNoEncontrada(sNombre);
    }
};

std::string Falla(const std::string& sSql) {
    TCatalogo catalogo;
    try {
        jet::sql::Compila(sSql, catalogo, {});
    } catch (const jet::EErrorJet& e) {
        return e.Clase() + ": " + e.Mensaje();
    }
    return "sin fallo";
}

TEST(Enlazador, ReportsWhatSqliteWouldOtherwiseSay) {
    const struct {
        const char* sSql;
        const char* sFallo;  // its start
    } casos[] = {
        {"SELECT N FROM t, u", "ECampoAmbiguo: El campo 'N'"},
        {"SELECT x.N FROM t AS x, t AS x", "ECampoAmbiguo: El campo 'x.N'"},
        {"SELECT t.N FROM t AS x",
         "EParametroSinValor: No se ha especificado un valor para el "
         "parámetro 't.N'"},
        {"SELECT N FROM t WHERE EXISTS (SELECT 1 FROM u WHERE u.G = t.Q)",
         "EParametroSinValor: No se ha especificado un valor para el parámetro 't.Q'"},
        // A derived table sees the queries around its SELECT, never its siblings.
        {"SELECT * FROM t, (SELECT t.N AS M FROM u) AS d",
         "EParametroSinValor: No se ha especificado un valor para el parámetro 't.N'"},
        {"SELECT N FROM t UNION SELECT N, G FROM u",
         "ESintaxis: El número de columnas de las consultas de la unión no coincide."},
        {"SELECT N FROM t WHERE MAX(N) > 1",
         "ESintaxis: No se puede usar la función de agregado "
         "MAX en la cláusula WHERE."},
        {"SELECT S FROM t WHERE N IN (SELECT N, G FROM u)",
         "ESintaxis: Ha escrito una subconsulta"},
    };
    for (const auto& c : casos) {
        const std::string s = Falla(c.sSql);
        EXPECT_EQ(s.substr(0, std::string(c.sFallo).size()), c.sFallo) << c.sSql << "\n" << s;
    }
}

// An outer reference, a result column read by its name and a result column
// of a derived table keep their kind: here a date each.
TEST(Enlazador, ANameKeepsTheKindOfWhatItNames) {
    TCatalogo catalogo;
    const auto r = jet::sql::Compila(
        "SELECT (SELECT MAX(x.F) FROM u) AS A, (SELECT MIN(d.H) FROM (SELECT F AS H FROM t) AS d) "
        "AS B FROM t AS x ORDER BY A",
        catalogo, {});
    EXPECT_EQ(r.tipos, (std::vector<TipoJet>{TipoJet::Fecha, TipoJet::Fecha}));
}

// Jet matches names in any letter's case ("AÑO" is "Año"); SQLite only in
// ASCII's: the name is written as the table spells it, and it answers.
TEST(Enlazador, ANameInAnyLettersCaseAnswers) {
    auto a = std::make_shared<TArchivoFalso>();
    a->Tabla("Tabla", {{"Año", jet::TTipoColumna::tcEnteroLargo, 4}}, {{int64_t{2017}}});
    auto motor = MotorSobre(a);
    EXPECT_EQ(Texto(motor->Ejecuta("SELECT AÑO FROM tabla AS Él WHERE él.año > 2000")), "2017");
    EXPECT_EQ(motor->Traduce("SELECT él.AÑO FROM tabla AS Él"),
              "SELECT \"Él\".\"Año\" AS \"AÑO\" FROM \"Tabla\" AS \"Él\"");
}

}  // namespace
