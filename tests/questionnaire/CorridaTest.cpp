// The run over an edition whose questions are given by the test. Without a
// database every statement fails (one BD-101 box each), so these cases use
// the texts the run answers without one, plus failing statements.
#include <gtest/gtest.h>

#include <functional>

#include "Grabadores.h"
#include "TCajaGrabadora.h"
#include "questionnaire/RepCuestionarioKOVA.h"
#include "report/TablaPEPs.h"

namespace {

const std::string sMano = "(** El CC debe responder **)";
const std::string sError = "** E R R O R **";

class TEdicionPrueba : public TRepCuestionarioKOVA {
public:
    TEdicionPrueba(int nTotal, std::function<std::string(int)> texto,
                   std::shared_ptr<TMensajeroGrabador> m = std::make_shared<TMensajeroGrabador>(),
                   std::shared_ptr<TReportesGrabador> r = std::make_shared<TReportesGrabador>())
        : TRepCuestionarioKOVA(
              nullptr,
              [r](const std::string& sNomRep) {
                  r->sNomRep = sNomRep;
                  return r;
              },
              "Prueba", m, nTotal, 1, "01/01/2017", "12/31/2017"),
          mensajero(m),
          reportes(r),
          texto_(std::move(texto)) {}

    std::shared_ptr<TMensajeroGrabador> mensajero;
    std::shared_ptr<TReportesGrabador> reportes;
    std::vector<int> pedidas;
    void FijaTotal(int n) { F_nTotalPreguntas = n; }

protected:
    void DameConsulta(int nPregunta, std::string& sConsulta) override {
        pedidas.push_back(nPregunta);
        sConsulta = texto_(nPregunta);
    }

private:
    std::function<std::string(int)> texto_;
};

bool EsBD101(const std::string& sCaja) {
    return sCaja.rfind("Error #BD-101.", 0) == 0 &&
           sCaja.find("TEdicionPrueba: Llame a Soporte Técnico. ") != std::string::npos;
}

TEST(CorridaTest, NoQuestions) {
    TGrabaCajas cajas;
    TTablaPEPs peps;
    TEdicionPrueba ed(0, [](int) { return sMano; });
    EXPECT_EQ(ed.reportes->sNomRep, "Prueba");
    EXPECT_TRUE(ed.GeneraReporte(peps));
    EXPECT_EQ(ed.mensajero->textos,
              (std::vector<std::string>{"E:Iniciando...", "E:Preparando reporte..."}));
    EXPECT_TRUE(ed.pedidas.empty());
    EXPECT_EQ(ed.reportes->orden, std::vector<std::string>{"NombreCC"});
    // No company could be read: one BD-101 box, and an empty name.
    EXPECT_EQ(ed.reportes->variables.at("Cuestionario.NombreCC"), "");
    ASSERT_EQ(cajas.textos().size(), 1u);
    EXPECT_TRUE(EsBD101(cajas.textos()[0])) << cajas.textos()[0];
    EXPECT_EQ(ed.reportes->nVistas, 1);
}

TEST(CorridaTest, AllQuestionsAnsweredShowsEveryPercentageAndThePreview) {
    TGrabaCajas cajas;
    TTablaPEPs peps;
    TEdicionPrueba ed(195, [](int) { return sMano; });
    EXPECT_TRUE(ed.GeneraReporte(peps));
    const auto& t = ed.mensajero->textos;
    ASSERT_EQ(t.size(), 1u + 195u + 1u);
    EXPECT_EQ(t.front(), "E:Iniciando...");
    EXPECT_EQ(t[1], "T:Por favor espere... 0%");      // 100 div 195
    EXPECT_EQ(t[2], "T:Por favor espere... 1%");      // 200 div 195
    EXPECT_EQ(t[194], "T:Por favor espere... 99%");   // question 194
    EXPECT_EQ(t[195], "E:Por favor espere... 100%");  // only after the last
    EXPECT_EQ(t[196], "E:Preparando reporte...");
    EXPECT_EQ(std::count(t.begin(), t.end(), "E:Por favor espere... 100%"), 1);
    for (int i = 1; i <= 195; ++i)
        EXPECT_EQ(ed.reportes->variables.at("Cuestionario.preg_" + std::to_string(i)), sMano);
    EXPECT_EQ(ed.reportes->orden.size(), 196u);
    EXPECT_EQ(ed.reportes->nVistas, 1);
    EXPECT_EQ(cajas.textos().size(), 1u);  // the company only
}

// The run stops at the first question that fails, whatever made it fail.
TEST(CorridaTest, StopsAtTheFirstFailure) {
    struct Caso {
        int nFalla;
        std::string sTexto;
        std::size_t nCajas;  // BD-101 boxes, the company's included
    };
    const std::vector<Caso> casos = {
        {1, sError, 1},       // a number the edition does not know
        {195, sError, 1},     // the very last one
        {3, sMano + " ", 2},  // not the fixed text: sent as SQL and it fails
        {4, "", 2},           // an empty text is SQL too
        {5, "SELECT 1 AS Resultado FROM tEmpresa", 2},  // no database to answer
    };
    for (const Caso& c : casos) {
        TGrabaCajas cajas;
        TTablaPEPs peps;
        TEdicionPrueba ed(195, [&](int n) { return n == c.nFalla ? c.sTexto : sMano; });
        ed.reportes->variables["Cuestionario.preg_196"] = "antes";
        EXPECT_FALSE(ed.GeneraReporte(peps)) << c.nFalla;
        EXPECT_EQ(ed.pedidas.size(), static_cast<std::size_t>(c.nFalla));
        EXPECT_EQ(ed.reportes->nVistas, 0);
        EXPECT_EQ(ed.mensajero->textos.back(), "E:Error...");
        EXPECT_EQ(ed.reportes->variables.at("Cuestionario.preg_" + std::to_string(c.nFalla)),
                  sError);
        // Later variables are left as they were: a run never clears.
        if (c.nFalla < 195) {
            EXPECT_EQ(
                ed.reportes->variables.count("Cuestionario.preg_" + std::to_string(c.nFalla + 1)),
                0u);
        }
        EXPECT_EQ(ed.reportes->variables.at("Cuestionario.preg_196"), "antes");
        EXPECT_EQ(cajas.textos().size(), c.nCajas) << c.nFalla;
        for (const std::string& sCaja : cajas.textos()) EXPECT_TRUE(EsBD101(sCaja)) << sCaja;
        // Before the failure: "Iniciando...", then one percentage per answered question.
        ASSERT_EQ(ed.mensajero->textos.size(), 1u + (c.nFalla - 1) + 1u);
        if (c.nFalla == 195) {
            EXPECT_EQ(ed.mensajero->textos[194], "T:Por favor espere... 99%");
        }
    }
}

// The total is read anew at every step, so an edition may shorten its run.
TEST(CorridaTest, TotalReadAtEachStep) {
    TGrabaCajas cajas;
    TTablaPEPs peps;
    TEdicionPrueba* pEd = nullptr;
    TEdicionPrueba ed(10, [&](int n) {
        if (n == 2)
            pEd->FijaTotal(4);
        return sMano;
    });
    pEd = &ed;
    EXPECT_TRUE(ed.GeneraReporte(peps));
    EXPECT_EQ(ed.pedidas, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(ed.mensajero->textos[4], "E:Por favor espere... 100%");
}

}  // namespace
