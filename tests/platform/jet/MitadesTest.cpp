// A kept derived table with GROUP BY computed in two halves on two threads
// (CopiaPorMitades) holds the rows the statement gives in one piece, in the
// same order, down to what only the order inside a group decides: which
// spelling a group of letters equal but for case shows, and the last bits
// of a sum of doubles. Derived tables that cannot be split so, or are not
// worth it, stay in one piece.
#include <gtest/gtest.h>

#include <cstdio>

#include "ArchivoFalso.h"
#include "platform/jet/Latido.h"

using jet::TTipoColumna;

namespace {

// Groups whose rows differ in what they show: "c" and "C" are one group, and
// a sum of 1e16, 1 and -1e16 depends on the order it adds them in.
std::shared_ptr<TArchivoFalso> Operaciones(int nFilas) {
    auto a = std::make_shared<TArchivoFalso>();
    const char* tipos[] = {"C", "c", "V", "v", "V", "C", "X"};
    const double cantidades[] = {1e16, 1.0, -1e16, 0.1, 2.5, -0.3, 1e-3};
    std::vector<TArchivoFalso::Fila> filas;
    for (int i = 0; i < nFilas; ++i) {
        jet::TValor tipo = std::string(tipos[(i * 5 + i / 7) % 7]);
        if (i % 97 == 0)
            tipo = std::monostate{};
        filas.push_back({int64_t{i}, tipo, int64_t{(i * 7) % 300}, cantidades[(i / 3) % 7]});
    }
    a->Tabla("tOps",
             {{"Id", TTipoColumna::tcEnteroLargo, 4},
              {"Tipo", TTipoColumna::tcTexto, 1},
              {"Folio", TTipoColumna::tcEnteroLargo, 4},
              {"Cant", TTipoColumna::tcDoble, 8}},
             filas);
    return a;
}

// Every value as it is, doubles to their last bit.
std::string Exacto(const jet::TResultado& r) {
    std::string s;
    for (const auto& fila : r.filas) {
        for (const auto& v : fila) {
            if (const double* d = std::get_if<double>(&v)) {
                char buf[40];
                std::snprintf(buf, sizeof buf, "%.17g", *d);
                s += buf;
            } else {
                s += jet::EsNulo(v) ? "NULL" : jet::TextoValor(v);
            }
            s += ",";
        }
        s += "\n";
    }
    return s;
}

struct Caso {
    const char* sSql;
    bool bPorMitades;
};

const Caso kCasos[] = {
    // By a text column first, Nulls among its values.
    {"SELECT * FROM (SELECT Tipo, Folio, SUM(Cant) AS S, COUNT(*) AS N FROM tOps "
     "GROUP BY Tipo, Folio) AS g",
     true},
    // By a number first, with a condition and HAVING.
    {"SELECT * FROM (SELECT Folio, Tipo, SUM(Cant) AS S FROM tOps WHERE Id > 5 "
     "GROUP BY Folio, Tipo HAVING COUNT(*) > 3) AS g",
     true},
    // Over a union, as the questionnaire's operations.
    {"SELECT * FROM (SELECT Tipo, Folio, SUM(Cant) AS S FROM (SELECT Tipo, Folio, Cant FROM "
     "tOps WHERE Folio < 200 UNION ALL SELECT Tipo, Folio, Cant FROM tOps WHERE Id MOD 3 = 0) "
     "GROUP BY Tipo, Folio) AS g",
     true},
    // A first term holding numbers, text and Null: each kind in its place.
    {"SELECT * FROM (SELECT K, SUM(Cant) AS S, LAST(Tipo) AS T FROM (SELECT IIF(Folio MOD 50 = "
     "0, Null, IIF(Folio < 120, Folio, Tipo)) AS K, Cant, Tipo FROM tOps) GROUP BY K) AS g",
     true},
    // A join may read its rows in another order once a condition is added.
    {"SELECT * FROM (SELECT a.Tipo, SUM(b.Cant) AS S FROM tOps AS a, (SELECT TOP 3 Id, Cant FROM "
     "tOps ORDER BY Id) AS b WHERE a.Id = b.Id GROUP BY a.Tipo) AS g",
     false},
    // One value of the first term in the sample: no second half.
    {"SELECT * FROM (SELECT Tipo, SUM(Cant) AS S FROM tOps WHERE Tipo = 'X' GROUP BY Tipo, Folio) "
     "AS g",
     false},
    // Fewer rows than the sample: not worth a thread.
    {"SELECT * FROM (SELECT Tipo, Folio, SUM(Cant) AS S FROM tOps WHERE Id < 1000 "
     "GROUP BY Tipo, Folio) AS g",
     false},
};

TEST(Mitades, TheSameRowsInTheSameOrderAsInOnePiece) {
    const auto a = Operaciones(20000);
    for (const auto& c : kCasos) {
        auto entera = MotorSobre(a);
        entera->PonMitades(false);
        const std::string sEsperado = Exacto(entera->Ejecuta(c.sSql));
        ASSERT_EQ(entera->PorMitades(), 0u);
        auto motor = MotorSobre(a);
        EXPECT_EQ(Exacto(motor->Ejecuta(c.sSql)), sEsperado) << c.sSql;
        EXPECT_EQ(motor->PorMitades(), c.bPorMitades ? 1u : 0u) << c.sSql;
        // Kept: asked again, the same rows from the table kept.
        EXPECT_EQ(Exacto(motor->Ejecuta(c.sSql)), sEsperado) << c.sSql;
    }
}

// Stopped at any point (the n-th heartbeat, for n doubling until a run goes
// through), the statement fails as interrupted, and the next run gives the
// rows in full: nothing half-made was kept.
TEST(Mitades, AnInterruptionAnywhereKeepsNothingHalfMade) {
    const auto a = Operaciones(20000);
    const std::string sSql = kCasos[0].sSql;
    const std::string sEsperado = Exacto(MotorSobre(a)->Ejecuta(sSql));
    bool bTermina = false;
    for (int n = 1; !bTermina && n < (1 << 20); n *= 2) {
        auto motor = MotorSobre(a);
        int nLatidos = 0;
        std::shared_ptr<jet::TLatido> latido;
        latido = std::make_shared<jet::TLatido>(
            [&] {
                if (++nLatidos == n)
                    latido->Interrumpe();
            },
            std::chrono::milliseconds(0));
        motor->PonLatido(latido);
        try {
            EXPECT_EQ(Exacto(motor->Ejecuta(sSql)), sEsperado);
            bTermina = true;
        } catch (const jet::EErrorJet& e) {
            EXPECT_EQ(e.Clase(), "EInterrumpida") << n;
            latido->Reanuda();
            EXPECT_EQ(Exacto(motor->Ejecuta(sSql)), sEsperado) << n;
        }
    }
    EXPECT_TRUE(bTermina);
}

}  // namespace
