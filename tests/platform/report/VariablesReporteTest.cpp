#include <gtest/gtest.h>

#include <QStringList>

#include "platform/report/TVariablesReporte.h"

using rpt::TVariablesReporte;

namespace {

// Two categories, so "the end of a category" and "anywhere in the list" differ.
TVariablesReporte Lista() {
    TVariablesReporte v;
    v.Agrega(" Cuestionario");
    v.Agrega("preg_1");
    v.Agrega("NombreCC");
    v.Agrega(" Otros");
    v.Agrega("extra", QStringLiteral("'x'"));
    return v;
}

QStringList Nombres(const TVariablesReporte& v) {
    QStringList s;
    for (const auto& e : v.DameEntradas()) s << e.sNombre;
    return s;
}

}  // namespace

TEST(VariablesReporte, AsignarReemplazaSinImportarMayusculasNiMoverLaEntrada) {
    TVariablesReporte v = Lista();
    v.AsignaVariable("CUESTIONARIO", "PREG_1", "'uno'");
    v.AsignaVariable("cuestionario", "EXTRA", "'otro'");  // lives in another category
    EXPECT_EQ(Nombres(v), Nombres(Lista()));
    EXPECT_EQ(v.DameTexto("preg_1"), "uno");
    EXPECT_EQ(v.DameTexto("Extra"), "otro");
}

TEST(VariablesReporte, UnaVariableNuevaVaAlFinalDeSuCategoria) {
    TVariablesReporte v = Lista();
    v.AsignaVariable("Cuestionario", "preg_400", "'n'");
    v.AsignaVariable("Otros", "ultima", "'u'");
    EXPECT_EQ(Nombres(v), QStringList({" Cuestionario", "preg_1", "NombreCC", "preg_400", " Otros",
                                       "extra", "ultima"}));
}

TEST(VariablesReporte, UnaCategoriaDesconocidaNoCambiaNada) {
    TVariablesReporte v = Lista();
    v.AsignaVariable("Inexistente", "preg_1", "'x'");
    v.AsignaVariable("Inexistente", "nueva", "'x'");
    v.AsignaVariable("preg_1", "preg_1", "'x'");  // a variable is not a heading
    EXPECT_EQ(Nombres(v), Nombres(Lista()));
    EXPECT_EQ(v.DameTexto("preg_1"), "");
    EXPECT_FALSE(v.DameTexto("nueva").has_value());
}

TEST(VariablesReporte, LoQueMuestraCadaValor) {
    struct Caso {
        std::optional<QString> valor;
        QString sMuestra;
    } casos[] = {
        {std::nullopt, ""},
        {"''", ""},
        {"'Respuesta: 25'", "Respuesta: 25"},
        {"'CAMBIOS O'BRIEN'", "CAMBIOS O'BRIEN"},  // quote inside a literal
        {"'''", "'"},
        {"'", "'"},                    // unbalanced: shown as given, never an error
        {"uno\r\ndos", "uno\r\ndos"},  // CR LF: as it is
        {"'a\r\nb'", "'a\r\nb'"},      // CR LF wins over the quotes
        {"25", "25"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TVariablesReporte::Evalua(c.valor), c.sMuestra)
            << c.valor.value_or("NULL").toStdString();
}
