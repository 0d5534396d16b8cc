// Values as text, shared by the recordset fields and the CSV of jetsql: only
// the decimal point changes between them.
#include "platform/jet/TextoValor.h"

#include <gtest/gtest.h>

namespace {

TEST(TextoValor, ElSeparadorSoloCambiaLosNumeros) {
    struct {
        jet::TValor valor;
        const char* sPunto;
        const char* sComa;
    } casos[] = {
        {2.5, "2.5", "2,5"},
        {jet::TMoneda{-1234567}, "-123.4567", "-123,4567"},
        {int64_t{-7}, "-7", "-7"},
        {std::string("1.5"), "1.5", "1.5"},
        {jet::TFecha{-1.25}, "1899-12-29 06:00:00", "1899-12-29 06:00:00"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(jet::TextoValor(c.valor), c.sPunto);
        EXPECT_EQ(jet::TextoValor(c.valor, ','), c.sComa);
    }
}

}  // namespace
