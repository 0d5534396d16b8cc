// Jet removes duplicates by sorting: a SELECT DISTINCT without ORDER BY
// gives its rows sorted by its columns in order, text in Jet's order
// (letter case ignored, accents after plain letters); an ORDER BY of the
// statement's own still wins.
#include <gtest/gtest.h>

#include "ArchivoFalso.h"

using jet::TTipoColumna;

namespace {

std::shared_ptr<TArchivoFalso> Datos() {
    auto a = std::make_shared<TArchivoFalso>();
    // Table order is neither Jet's order nor byte order.
    a->Tabla("tCliente",
             {{"Clave", TTipoColumna::tcTexto, 20},
              {"Nombre", TTipoColumna::tcTexto, 100},
              {"Grupo", TTipoColumna::tcEnteroLargo, 4}},
             {{std::string("K3"), std::string("Zoë"), int64_t{2}},
              {std::string("K1"), std::string("acme"), int64_t{1}},
              {std::string("K2"), std::string("Juan"), int64_t{2}},
              {std::string("K5"), std::string("Éric"), int64_t{1}},
              {std::string("K4"), std::string("Eric"), int64_t{1}},
              {std::string("K6"), std::string("Juan"), int64_t{2}}});
    return a;
}

struct Caso {
    const char* sSql;
    const char* sEsperado;
};
std::ostream& operator<<(std::ostream& o, const Caso& c) {
    return o << c.sSql;
}

class Distinto : public ::testing::TestWithParam<Caso> {};

TEST_P(Distinto, SortsLikeJet) {
    auto motor = MotorSobre(Datos());
    EXPECT_EQ(Texto(motor->Ejecuta(GetParam().sSql)), GetParam().sEsperado)
        << motor->Traduce(GetParam().sSql);
}

INSTANTIATE_TEST_SUITE_P(
    Motor, Distinto,
    ::testing::Values(Caso{"SELECT DISTINCT Nombre FROM tCliente", "acme; Eric; Éric; Juan; Zoë"},
                      Caso{"SELECT DISTINCT Grupo, Nombre FROM tCliente",
                           "1,acme; 1,Eric; 1,Éric; 2,Juan; 2,Zoë"},
                      Caso{"SELECT DISTINCT Nombre, Grupo FROM tCliente",
                           "acme,1; Eric,1; Éric,1; Juan,2; Zoë,2"},
                      // A constant column is sorted as a value, not read as a column number.
                      Caso{"SELECT DISTINCT 5 AS k, UCASE(Nombre) FROM tCliente WHERE Grupo = 2",
                           "5,JUAN; 5,ZOË"},
                      Caso{"SELECT DISTINCT TOP 2 Nombre FROM tCliente", "acme; Eric"},
                      Caso{"SELECT * FROM (SELECT DISTINCT Nombre FROM tCliente WHERE Grupo = 1)",
                           "acme; Eric; Éric"},
                      Caso{"SELECT DISTINCT Nombre FROM tCliente ORDER BY Nombre DESC",
                           "Zoë; Juan; Éric; Eric; acme"},
                      // Without DISTINCT, rows keep the table's order.
                      Caso{"SELECT Clave FROM tCliente WHERE Grupo = 1", "K1; K5; K4"}));

}  // namespace
