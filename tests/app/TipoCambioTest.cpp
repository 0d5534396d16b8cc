#include <gtest/gtest.h>

#include "AplicacionQt.h"
#include "app/TipoCambio.h"

namespace {

TEST(TipoCambioTest, LeeConElSeparadorDelLocal) {
    struct TCaso {
        QLocale::Language eIdioma;
        const char* sTexto;
        double dEsperado;
    };
    const TCaso casos[] = {
        {QLocale::English, "18.91", 18.91}, {QLocale::English, "18.", 18},
        {QLocale::English, ".5", 0.5},      {QLocale::English, " 20 ", 20},
        {QLocale::English, "1e2", 100},     {QLocale::English, "-3", -3},
        {QLocale::English, "", 0},          {QLocale::English, ".", 0},
        {QLocale::English, "18.91.", 0},    {QLocale::English, "18,91", 0},
        {QLocale::English, "1,000", 0},     {QLocale::English, "abc", 0},
        {QLocale::English, "1e", 0},        {QLocale::German, "18,91", 18.91},
        {QLocale::German, "18.91", 0},      {QLocale::German, "18.", 0},
    };
    for (const TCaso& c : casos) {
        TLocalTemporal local{QLocale(c.eIdioma)};
        EXPECT_DOUBLE_EQ(TextoATipoCambio(c.sTexto), c.dEsperado) << c.sTexto;
    }
}

}  // namespace
