#include <gtest/gtest.h>

#include "TCajaGrabadora.h"
#include "errors/ErroresBD.h"
#include "errors/InterfacedPadre.h"

namespace {

struct CasoMuestra {
    std::string sClave, sClase, sAdicional, sEsperado;
};

void PrintTo(const CasoMuestra& c, std::ostream* os) { *os << c.sEsperado; }

class MuestraErrorTest : public ::testing::TestWithParam<CasoMuestra> {};

TEST_P(MuestraErrorTest, ShowsExactlyOneBoxWithTheComposedText) {
    TGrabaCajas cajas;
    auto errores = TErroresBD::Crea();
    const auto& c = GetParam();
    errores->MuestraError(c.sClave, c.sClase, c.sAdicional);
    ASSERT_EQ(cajas.textos().size(), 1u);
    EXPECT_EQ(cajas.textos()[0], c.sEsperado);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogo, MuestraErrorTest,
    ::testing::Values(
        CasoMuestra{"BD-101", "TConsultasSQL", "EJet - falla",
                    "Error #BD-101.TConsultasSQL: Llame a Soporte Técnico. EJet - falla"},
        // A class name of blanks gives no "." part.
        CasoMuestra{"BD-101", "   ", "T", "Error #BD-101: Llame a Soporte Técnico. T"},
        // Blanks around a real class name are kept as they are.
        CasoMuestra{"BD-101", " TX ", "T", "Error #BD-101. TX : Llame a Soporte Técnico. T"},
        // Unknown codes, letter case included: no user text and no ": ".
        CasoMuestra{"XX-1", "C", "T", "Error #XX-1.C T"},
        CasoMuestra{"bd-101", "C", "T", "Error #bd-101.C T"}));

TEST(DameErrorMsjTest, ComposesWithoutShowing) {
    TGrabaCajas cajas;
    auto errores = TErroresBD::Crea();
    EXPECT_EQ(errores->DameErrorMsj("BD-101", "T", false), "Llame a Soporte Técnico. T");
    EXPECT_EQ(errores->DameErrorMsj("BD-101", "T", true),
              "Error #BD-101: Llame a Soporte Técnico. T");
    EXPECT_EQ(errores->DameErrorMsj("ZZ", "", true), "Error #ZZ: Error desconocido");
    EXPECT_EQ(errores->DameErrorMsj("ZZ", " ", false), " ");
    EXPECT_TRUE(cajas.textos().empty());
}

class TCatalogoDoble : public TManejadorErrores {
protected:
    void CargaErrores() override {
        AgregaError("A", "x", "", true);
        AgregaError("A", "y", "", true);
    }
    friend class TManejadorErrores;
};

class TCatalogoMudo : public TManejadorErrores {
protected:
    void CargaErrores() override { AgregaError("M", "mudo", "log", false); }
    friend class TManejadorErrores;
};

TEST(CatalogoTest, DuplicateCodeIsAProgrammingErrorAndHiddenCodeShowsNothing) {
    EXPECT_THROW(TManejadorErrores::Crea<TCatalogoDoble>(), std::logic_error);

    TGrabaCajas cajas;
    auto mudo = TManejadorErrores::Crea<TCatalogoMudo>();
    mudo->MuestraError("M", "C", "T");
    EXPECT_TRUE(cajas.textos().empty());
    EXPECT_EQ(mudo->DameErrorMsj("M", "T", false), "mudo T");
}

TEST(InterfacedPadreTest, ForwardsOnlyWhenItHasAPresenter) {
    TGrabaCajas cajas;
    TInterfacedPadre sin;
    sin.MuestraError("BD-101", "C", "T");
    EXPECT_EQ(sin.DameErrorMsj("BD-101", "T", true), "");
    EXPECT_TRUE(cajas.textos().empty());

    TInterfacedPadre con(TErroresBD::Crea());
    con.MuestraError("BD-101", "C", "T");
    EXPECT_EQ(con.DameErrorMsj("BD-101", "T", false), "Llame a Soporte Técnico. T");
    EXPECT_EQ(cajas.textos().size(), 1u);
}

}  // namespace
