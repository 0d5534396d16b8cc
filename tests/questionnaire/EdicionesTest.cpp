// Editions as data: the program's editions read whole, and a broken edition
// refused with every problem where a person editing it finds it.
#include <gtest/gtest.h>

#include <algorithm>

#include "questionnaire/CatalogoEdiciones.h"
#include "questionnaire/LeeEdicion.h"

namespace {

int Cuenta(const TEdicion& e, TFormaPregunta f) {
    return static_cast<int>(
        std::count_if(e.preguntas.begin(), e.preguntas.end(),
                      [f](const TPreguntaEdicion& p) { return p.eForma == f; }));
}

}  // namespace

TEST(Ediciones, La2018EsLaPredeterminadaYSeLeeEntera) {
    const auto e = EdicionPredeterminada();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->sClave, "2018");
    EXPECT_EQ(e->sNombre, "Encuesta ANDU 2018");
    EXPECT_EQ(e->DameFIniSQL(), "01/01/2017");
    EXPECT_EQ(e->DameFFinSQL(), "12/31/2017");
    EXPECT_EQ(e->DameFDespuesSQL(), "01/01/2018");
    EXPECT_EQ(e->DameTotalPreguntas(), 195);
    EXPECT_EQ(Cuenta(*e, fpCalculo), 160);
    EXPECT_EQ(Cuenta(*e, fpCentro), 35);
    EXPECT_EQ(e->nPaginas, 22);
    EXPECT_EQ(e->pdf.sArchivo, "CuestionarioKOVA");
    EXPECT_EQ(e->pdf.sTitulo, "Cuestionario KOVA");
}
