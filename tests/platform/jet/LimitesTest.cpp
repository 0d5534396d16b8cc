// Statements a hostile user would type: every one gets its rows or a clear
// Jet failure, never a crash. Flat chains of any length run; nesting beyond
// the engine's depth and numbers beyond Double's range are refused.
#include <gtest/gtest.h>

#include "ArchivoFalso.h"
#include "platform/jet/EErrorJet.h"

using jet::TTipoColumna;

namespace {

std::shared_ptr<TArchivoFalso> Datos() {
    auto a = std::make_shared<TArchivoFalso>();
    a->Tabla("tMov", {{"Id", TTipoColumna::tcEnteroLargo, 4}, {"Tipo", TTipoColumna::tcTexto, 1}},
             {{int64_t{1}, std::string("C")}, {int64_t{2}, std::string("V")}});
    return a;
}

std::string Repite(const std::string& s, int n, const std::string& sep = "") {
    std::string r;
    for (int i = 0; i < n; ++i) r += (i ? sep : "") + s;
    return r;
}

struct Hostil {
    std::string sNombre;
    std::string sSql;
    std::string sEsperado;  // the rows, or "!" and the failure's kind
};
std::ostream& operator<<(std::ostream& o, const Hostil& c) {
    return o << c.sNombre;
}

class Limites : public ::testing::TestWithParam<Hostil> {};

TEST_P(Limites, AnswerOrFailClearly) {
    auto motor = MotorSobre(Datos());
    const Hostil& c = GetParam();
    std::string sObtenido;
    try {
        sObtenido = Texto(motor->Ejecuta(c.sSql));
    } catch (const jet::EErrorJet& e) {
        sObtenido = "!" + e.Clase();
        EXPECT_FALSE(e.Mensaje().empty());
    }
    EXPECT_EQ(sObtenido, c.sEsperado);
}

std::string Parentesis(int n) {
    return std::string(n, '(') + "1" + std::string(n, ')');
}

std::string Subconsultas(int n) {
    std::string s = "SELECT Id FROM tMov WHERE Id = 2";
    for (int i = 0; i < n; ++i) s = "SELECT * FROM (" + s + ")";
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Hostiles, Limites,
    ::testing::Values(
        // Flat chains are one level deep at any length, and keep Jet's
        // left-to-right evaluation and its failures.
        Hostil{"Sum50000", "SELECT " + Repite("1", 50000, "+"), "50000"},
        Hostil{"MixedChain", "SELECT 10" + Repite(" - 1 + 2", 3000), "3010"},
        Hostil{"ProductChain", "SELECT " + Repite("2", 40, "*") + " / 2", "549755813888"},
        Hostil{"ConcatOfColumns",
               "SELECT " + Repite("Tipo", 500, " & ") + " = '" + std::string(500, 'C') +
                   "' FROM tMov WHERE Id = 1",
               "-1"},
        Hostil{"LongChainMismatch", "SELECT " + Repite("1", 30, "+") + " + 'x'",
               "!ETiposNoCoinciden"},
        Hostil{"LongChainDivByZero", "SELECT " + Repite("Id", 30, "+") + " / (Id - 1) FROM tMov",
               "!EDivisionPorCero"},
        Hostil{"Or50000",
               "SELECT COUNT(*) FROM tMov WHERE " + Repite("Id = 7", 49999, " OR ") + " OR Id = 2",
               "1"},
        Hostil{"And20000", "SELECT COUNT(*) FROM tMov WHERE " + Repite("Id > 0", 20000, " AND "),
               "2"},
        // Nesting: within the limit it runs, beyond it the engine says so.
        Hostil{"Parentheses200", "SELECT " + Parentesis(200), "1"},
        Hostil{"Parentheses10000", "SELECT " + Parentesis(10000), "!EAnidamiento"},
        Hostil{"Not20000", "SELECT COUNT(*) FROM tMov WHERE " + Repite("NOT ", 20000) + "Id = 1",
               "!EAnidamiento"},
        Hostil{"Minus20000", "SELECT " + Repite("-", 20000) + "1", "!EAnidamiento"},
        Hostil{"Calls10000", "SELECT " + Repite("ABS(", 10000) + "1" + std::string(10000, ')'),
               "!EAnidamiento"},
        Hostil{"DerivedTables60", Subconsultas(60), "2"},
        Hostil{"DerivedTables400", Subconsultas(400), "!EAnidamiento"},
        Hostil{"UnclosedParentheses", "SELECT " + std::string(100000, '('), "!EAnidamiento"},
        Hostil{"Length", "SELECT '" + std::string(17 * 1024 * 1024, 'x') + "'", "!ELongitud"},
        // Numbers beyond Double's range are Jet's overflow, never an infinity.
        Hostil{"LiteralOverflow", "SELECT 1e309", "!EDesbordamiento"},
        Hostil{"ProductOverflow", "SELECT 1e308 * 10", "!EDesbordamiento"},
        Hostil{"DifferenceOverflow", "SELECT -1e308 - 1e308 FROM tMov", "!EDesbordamiento"},
        Hostil{"LargestDouble", "SELECT 1.7976931348623157e308 / 1e308", "1.79769313486232"}),
    [](const auto& info) { return info.param.sNombre; });

}  // namespace
