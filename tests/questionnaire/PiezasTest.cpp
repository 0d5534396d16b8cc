// The success flag, the PEP table and the detection's statement.
#include <gtest/gtest.h>

#include "CuestPrueba.h"
#include "TCajaGrabadora.h"
#include "questionnaire/BoolPersist.h"

namespace {

TEST(BoolPersistTest, KeepsTheFirstValueAwayFromTheInitialOne) {
    struct Caso {
        bool bInicial;
        std::vector<bool> asignados;
        bool bEsperado;
    };
    const std::vector<Caso> casos = {
        {true, {}, true},
        {true, {true, true}, true},
        {true, {true, false, true, true}, false},  // a failure is never forgotten
        {false, {false, true, false}, true},
    };
    for (const Caso& c : casos) {
        TBoolPersist b(c.bInicial);
        for (bool v : c.asignados) b.AsignaValor(v);
        EXPECT_EQ(b.DameValor(), c.bEsperado);
    }
    TBoolPersist b(true);
    b.AsignaValor(false);
    b.Inicializa(true);  // starts over
    EXPECT_TRUE(b.DameValor());
    b.Inicializa(false);
    b.AsignaValor(true);
    EXPECT_TRUE(b.DameValor());
}

TEST(TablaPEPsTest, CutsWidthsInCharactersAndKeepsIds) {
    TTablaPEPs t;
    int nAvisos = 0;
    t.FijaAvisoCambio([&] { ++nAvisos; });
    const std::string sClave25 = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    std::string sNombre;
    for (int i = 0; i < 60; ++i) sNombre += "Ñá";  // 120 characters, 240 bytes
    t.Agrega(7, sClave25, sNombre, true);
    t.Agrega(3, "Ñ1", "JUAN PEREZ", false);
    ASSERT_EQ(t.Cuenta(), 2u);
    EXPECT_EQ(t.Fila(0).nIdPEP, 7);
    EXPECT_EQ(t.Fila(0).sClaveCliente, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(t.Fila(0).sNombre, sNombre.substr(0, 200));  // 100 two-byte characters
    EXPECT_TRUE(t.Fila(0).bEsPEP);
    EXPECT_EQ(t.Fila(1).sClaveCliente, "Ñ1");
    t.MarcaPEP(1, true);
    EXPECT_TRUE(t.Fila(1).bEsPEP);
    t.Vacia();
    EXPECT_TRUE(t.EstaVacia());
    EXPECT_EQ(nAvisos, 4);  // every change reaches a view over the table
    EXPECT_EQ(TTablaPEPs::Corta("12345", 5), "12345");
    EXPECT_EQ(TTablaPEPs::Corta("", 5), "");
}

// Without a database the search fails, after one BD-101 box, with the table
// emptied of an earlier detection and its ticks.
TEST(DetectaPEPsTest, StatementAndFailure) {
    TGrabaCajas cajas;
    TTablaPEPs peps;
    peps.Agrega(1, "VIEJO", "ANTERIOR", true);
    TCuestPrueba q(18.91, 3);
    EXPECT_FALSE(q.DetectaPEPs(peps));
    EXPECT_TRUE(peps.EstaVacia());
    EXPECT_EQ(cajas.textos().size(), 1u);
    EXPECT_EQ(q.UltimaSQL(),
              "SELECT DISTINCT tCliente.Nombre, tCliente.ApellidoPaterno,  "
              "tCliente.ApellidoMaterno, tCliente.ClaveCliente FROM tRelevan, tCliente WHERE "
              "tRelevan.TipoRelev = 'I' AND tRelevan.Fecha >= #01/01/2017# AND tRelevan.Fecha < "
              "#01/01/2018# AND tRelevan.Observaciones LIKE '%PEP%' AND tRelevan.NumEmp = 3 AND "
              "tCliente.ClaveCliente = tRelevan.ClaveCliente");
    // The detection does not attach its table to the run.
    EXPECT_EQ(q.DameExprPEP(), ", 0 AS EsPEP ");
}

TEST(EdicionTest, ConstantsOfThe2018Edition) {
    TCuestPrueba q(18.91, 1);
    EXPECT_EQ(q.reportes->sNomRep, "Encuesta ANDU 2018");
    EXPECT_NE(q.Consulta(195), "** E R R O R **");
    EXPECT_EQ(q.Consulta(196), "** E R R O R **");
}

}  // namespace
