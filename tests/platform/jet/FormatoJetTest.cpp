// Format under a locale that writes numbers and dates unlike the C locale
// of the other cases: its separators, currency sign and names.
#include "platform/jet/sql/FormatoJet.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/jet/sql/FechaJet.h"

namespace {

using jet::sql::ValorFormato;

class LocalEspanol : public ::testing::Test {
protected:
    void SetUp() override {
        sAnterior_ = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, "es_ES.UTF-8") && !std::setlocale(LC_ALL, "es_ES.utf8"))
            GTEST_SKIP() << "sin el locale es_ES.UTF-8";
    }
    void TearDown() override { std::setlocale(LC_ALL, sAnterior_.c_str()); }

private:
    std::string sAnterior_;
};

TEST_F(LocalEspanol, FormatTakesTheLocalesSeparatorsAndNames) {
    const double dFecha = jet::sql::SerialDeFecha(2017, 12, 31, 0.75);
    struct {
        ValorFormato::Tipo eTipo;
        double d;
        const char* sFormato;
        const char* sEsperado;
    } casos[] = {
        {ValorFormato::Numero, 1234.567, "Standard", "1.234,57"},
        {ValorFormato::Numero, 1234.567, "#,##0.00", "1.234,57"},
        {ValorFormato::Numero, 1234.567, "Currency", "1.234,57 €"},
        {ValorFormato::Numero, -1234.567, "Currency", "-1.234,57 €"},
        {ValorFormato::Numero, 1234.567, "General Number", "1234,567"},
        {ValorFormato::Numero, 1234.567, "", "1234,567"},
        {ValorFormato::Numero, 0.5, "0.0%", "50,0%"},
        {ValorFormato::Fecha, dFecha, "Short Date", "31/12/2017"},
        {ValorFormato::Fecha, dFecha, "Long Date", "domingo, 31 de diciembre de 2017"},
        {ValorFormato::Fecha, dFecha, "General Date", "31/12/2017 18:00:00"},
        {ValorFormato::Fecha, dFecha, "dddd d \"de\" mmmm", "domingo 31 de diciembre"},
    };
    for (const auto& c : casos) {
        ValorFormato v;
        v.eTipo = c.eTipo;
        v.d = c.d;
        EXPECT_EQ(jet::sql::FormatoJet(v, c.sFormato).value_or("NULL"), c.sEsperado)
            << c.d << " " << c.sFormato;
    }
    EXPECT_EQ(jet::sql::NombreMes(1, false), "enero");
}

}  // namespace
