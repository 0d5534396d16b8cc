// Numbers as text: the general form with at most 15 significant digits.
#include "platform/jet/FormatoNumero.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatoNumero, GeneralFormWithFifteenDigits) {
    struct {
        double d;
        char cSeparador;
        const char* sEsperado;
    } casos[] = {
        {12345.0, '.', "12345"},
        {0.1 + 0.2, '.', "0.3"},
        {1.0 / 3.0, '.', "0.333333333333333"},
        {-2.5, ',', "-2,5"},
        {-0.0, '.', "0"},
        {123456789012345.0, '.', "123456789012345"},
        {1e15, '.', "1E+15"},
        {123456789012345678.0, '.', "1.23456789012346E+17"},
        {0.0001, '.', "0.0001"},
        {0.00001, ',', "1E-05"},
    };
    for (const auto& c : casos) EXPECT_EQ(jet::TextoNumero(c.d, c.cSeparador), c.sEsperado) << c.d;
}

}  // namespace
