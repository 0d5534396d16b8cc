// Which derived tables the engine keeps once TOP and a union's order are
// steps of the tree: a TOP query whole, never its steps apart; a union
// never (its columns take their kind from every branch), however it was
// rewritten; nor a query that calls Rnd() or Now(), wherever the call
// stands, also in a TOP's ORDER BY, which ends up inside the window
// functions that rank the rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/jet/sql/Catalogo.h"
#include "platform/jet/sql/Compilador.h"

namespace {

using jet::sql::TipoJet;

// One table t(N, S) under any name; every derived table it is asked to keep
// is noted and kept as k1, k2...
class TCatalogoAnotador : public jet::sql::ICatalogo {
public:
    TablaCatalogo DameTabla(const std::string&) override {
        return {"t", {"N", "S"}, {TipoJet::Otro, TipoJet::Otro}};
    }
    std::string Materializa(const std::string& sSql) override {
        pedidas.push_back(sSql);
        return "k" + std::to_string(pedidas.size());
    }
    std::vector<std::string> pedidas;
};

struct Caso {
    const char* sSql;
    size_t nGuardadas;
    const char* sGuardada;  // a text the first kept table's statement holds
};

TEST(Guardadas, TopQueriesWholeUnionsAndVolatileRowsNever) {
    const Caso casos[] = {
        {"SELECT * FROM (SELECT TOP 2 N FROM t ORDER BY N) AS d", 1, "RANK() OVER"},
        {"SELECT * FROM (SELECT DISTINCT TOP 1 S FROM t ORDER BY S) AS d", 1, "SELECT DISTINCT"},
        {"SELECT * FROM (SELECT TOP 2 N FROM t ORDER BY RND(N)) AS d", 0, ""},
        {"SELECT * FROM (SELECT TOP 2 N FROM t ORDER BY N, NOW()) AS d", 0, ""},
        {"SELECT * FROM (SELECT N FROM t UNION ALL SELECT N FROM t) AS d", 0, ""},
        {"SELECT * FROM (SELECT TOP 1 N FROM t ORDER BY N UNION ALL "
         "SELECT e.N FROM (SELECT N FROM t WHERE N > 1) AS e) AS d",
         1, "WHERE"},
        {"SELECT TOP 1 N FROM t ORDER BY N UNION ALL SELECT N FROM t ORDER BY N", 0, ""},
    };
    for (const Caso& c : casos) {
        TCatalogoAnotador catalogo;
        const std::string sSql = jet::sql::Compila(c.sSql, catalogo, {}).sSql;
        ASSERT_EQ(catalogo.pedidas.size(), c.nGuardadas) << c.sSql;
        if (c.nGuardadas == 0)
            continue;
        EXPECT_NE(catalogo.pedidas[0].find(c.sGuardada), std::string::npos) << c.sSql << "\n"
                                                                            << catalogo.pedidas[0];
        // The statement reads the kept table in place of what it holds.
        EXPECT_NE(sSql.find("\"k1\""), std::string::npos) << c.sSql;
    }
}

}  // namespace
