#include <gtest/gtest.h>

#include "AplicacionQt.h"
#include "app/TipoCambio.h"

namespace {

// The rate reads with a point under every locale, also one whose decimal
// sign is a comma.
TEST(TipoCambioTest, LeeConPuntoEnCualquierLocal) {
    struct TCaso {
        const char* sTexto;
        double dEsperado;
    };
    const TCaso casos[] = {
        {"18.91", 18.91}, {"18.", 18}, {".5", 0.5}, {" 20 ", 20},  {"1e2", 100},
        {"-3", -3},       {"", 0},     {".", 0},    {"18.91.", 0}, {"18,91", 0},
        {"1,000", 0},     {"abc", 0},  {"1e", 0},   {"1 8", 0},
    };
    for (const QLocale& local :
         {QLocale(QLocale::English), QLocale(QLocale::Spanish, QLocale::Spain),
          QLocale(QLocale::Spanish, QLocale::Mexico)}) {
        TLocalTemporal temporal{local};
        for (const TCaso& c : casos)
            EXPECT_DOUBLE_EQ(TextoATipoCambio(c.sTexto), c.dEsperado)
                << c.sTexto << " en " << local.name().toStdString();
    }
}

// Any rate with its decimal point one place off from a real yearly average
// falls outside the range that is asked about.
TEST(TipoCambioTest, UnPuntoFueraDeLugarNuncaEsVerosimil) {
    for (double d : {10.0, 11.13, 18.91, 21.49, 40.0}) EXPECT_TRUE(TipoCambioVerosimil(d)) << d;
    for (double d : {9.99, 40.01, 1.891, 189.1, 1891.0, 0.0})
        EXPECT_FALSE(TipoCambioVerosimil(d)) << d;
    for (double d = kTipoCambioMinimo; d <= kTipoCambioMaximo; d += 0.01) {
        EXPECT_FALSE(TipoCambioVerosimil(d * 10)) << d;
        EXPECT_FALSE(TipoCambioVerosimil(d / 10)) << d;
    }
    EXPECT_EQ(AvisoTipoCambio(1891),
              "El tipo de cambio 1891 está fuera de lo que vale un dólar en pesos (entre 10 y "
              "40): revise que el punto decimal esté en su lugar. Con un tipo de cambio "
              "equivocado, las cantidades de las operaciones en otras divisas salen equivocadas "
              "en el reporte.");
}

}  // namespace
