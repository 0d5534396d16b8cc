// Statements too large to write by hand, built here; every other statement
// of the dialect and its answer lives in casos/*.test.
#include <gtest/gtest.h>

#include "DatosConformidad.h"

namespace {

// A statement of 64 KB made of thousands of OR-ed conditions, as ticked
// PEPs compose it, in WHERE and inside IIF.
TEST(StatementSize, ThousandsOfOrsRun) {
    auto motor = MotorSobre(Datos());
    std::string lista;
    for (int i = 0; i < 4000; ++i)
        lista += (i ? " or " : "") + std::string("ClaveCliente = 'K") + std::to_string(i) + "' ";
    lista += " or ClaveCliente = 'C3' ";
    const std::string sql = "SELECT ClaveCliente, IIF( ( " + lista +
                            "), -1, 0 ) AS EsPEP FROM tCliente WHERE (" + lista +
                            ") OR Nombre = 'Zoë'" + " ORDER BY ClaveCliente";
    ASSERT_GT(sql.size(), 64u * 1024u);
    EXPECT_EQ(Texto(motor->Ejecuta(sql)), "C3,-1; C5,0");
    std::string enLista = "SELECT COUNT(1) FROM tCliente WHERE ClaveCliente IN (";
    for (int i = 0; i < 6000; ++i) enLista += "'K" + std::to_string(i) + "', ";
    EXPECT_EQ(Texto(motor->Ejecuta(enLista + "'c1')")), "1");
}

// Derived tables nested far deeper than the questionnaire nests them.
TEST(StatementSize, DeepNestingRuns) {
    auto motor = MotorSobre(Datos());
    std::string sql = "SELECT TOP 1 Id, Tipo FROM tMov WHERE Id >= 2 ORDER BY Id";
    for (int i = 0; i < 60; ++i)
        sql = (i % 2 ? "SELECT * FROM (" : "SELECT t.* FROM (") + sql + (i % 2 ? ")" : ") AS t");
    EXPECT_EQ(Texto(motor->Ejecuta(sql)), "2,V");
}

}  // namespace
